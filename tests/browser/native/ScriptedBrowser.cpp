#include "tests/browser/native/ScriptedBrowser.h"

namespace scripted {
namespace {

// The view of a scripted item, or null for none.
template <typename View, typename Script>
std::unique_ptr<View> Of(Script* script) {
    return script != nullptr ? std::make_unique<View>(script) : nullptr;
}

template <typename T>
T* At(const std::vector<T*>& items, size_t index) {
    return index < items.size() ? items[index] : nullptr;
}

}  // namespace

bool ScriptedElement::Attribute(const std::wstring& name, std::wstring& value) {
    value.clear();
    const auto found = s_->attributes.find(name);
    return found == s_->attributes.end() ||
           Read(found->second.has_value(), found->second.value_or(L""), value);
}

std::unique_ptr<browser::HtmlElement> ScriptedElement::Parent() {
    return Of<ScriptedElement>(s_->parent);
}

std::unique_ptr<browser::PageBrowser> ScriptedElement::FrameBrowser() {
    return Of<ScriptedBrowser>(s_->frameBrowser);
}

std::unique_ptr<browser::HtmlElement> ScriptedDocument::ElementAt(size_t index) {
    return Of<ScriptedElement>(At(s_->all, index));
}

std::unique_ptr<browser::HtmlDocument> ScriptedDocument::FrameDocument(size_t index) {
    return Of<ScriptedDocument>(At(s_->frames, index));
}

std::unique_ptr<browser::HtmlElement> ScriptedDocument::ElementFromPoint(int32_t x, int32_t y) {
    s_->pointQueries.emplace_back(x, y);
    for (const Region& region : s_->regions) {
        if (x >= region.left && x < region.right && y >= region.top && y < region.bottom) {
            return Of<ScriptedElement>(region.element);
        }
    }
    return nullptr;
}

std::unique_ptr<browser::HtmlElement> ScriptedDocument::ActiveElement() {
    return Of<ScriptedElement>(s_->active);
}

std::unique_ptr<browser::HtmlDocument> ScriptedBrowser::Document() {
    return Of<ScriptedDocument>(s_->document);
}

std::string ScriptedPageWindow::ToSystemCodePage(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t c : text) {
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return narrow;
}

browser::OutOfProcessPage ScriptedPageWindow::RequestOutOfProcessBrowser(browser::WindowId owner) {
    requestsTo.push_back(owner);
    browser::OutOfProcessPage page;
    page.window = requestedWindow;
    if (requestedBrowserId != 0) {
        page.browser = std::make_unique<ScriptedHandedBrowser>(requestedBrowserId);
    }
    return page;
}

std::vector<Message> ScriptedPageWindow::Filtered(bool copyData, uint32_t code) const {
    std::vector<Message> found;
    for (const Message& m : messages) {
        if ((m.kind == Message::kCopyData) == copyData && m.message == code) {
            found.push_back(m);
        }
    }
    return found;
}

}  // namespace scripted
