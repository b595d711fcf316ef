#include "tests/browser/native/ScriptedBrowser.h"

namespace scripted {

using browser::HtmlDocument;
using browser::HtmlElement;
using browser::PageBrowser;

bool ScriptedElement::TagName(std::wstring& name) {
    if (!s_->tagReadable) {
        return false;
    }
    name = s_->tag;
    return true;
}

bool ScriptedElement::Attribute(const std::wstring& name, std::wstring& value) {
    value.clear();
    const auto found = s_->attributes.find(name);
    if (found == s_->attributes.end()) {
        return true;
    }
    if (!found->second.has_value()) {
        return false;
    }
    value = *found->second;
    return true;
}

std::unique_ptr<HtmlElement> ScriptedElement::Parent() {
    return s_->parent != nullptr ? std::make_unique<ScriptedElement>(s_->parent) : nullptr;
}

bool ScriptedElement::LinkHref(int32_t& result, std::optional<std::wstring>& href) {
    if (!s_->isLink) {
        return false;
    }
    result = s_->hrefResult;
    href = s_->href;
    return true;
}

std::unique_ptr<PageBrowser> ScriptedElement::FrameBrowser() {
    return s_->frameBrowser != nullptr ? std::make_unique<ScriptedBrowser>(s_->frameBrowser) : nullptr;
}

bool ScriptedElement::BoundingTopLeft(int32_t& left, int32_t& top) {
    if (!s_->hasBounds) {
        return false;
    }
    left = s_->left;
    top = s_->top;
    return true;
}

bool ScriptedElement::ScrollOffsets(int32_t& left, int32_t& top) {
    if (!s_->scrollable) {
        return false;
    }
    left = s_->scrollLeft;
    top = s_->scrollTop;
    return true;
}

std::unique_ptr<HtmlElement> ScriptedDocument::ElementAt(size_t index) {
    ElementScript* element = index < s_->all.size() ? s_->all[index] : nullptr;
    return element != nullptr ? std::make_unique<ScriptedElement>(element) : nullptr;
}

std::unique_ptr<HtmlDocument> ScriptedDocument::FrameDocument(size_t index) {
    DocumentScript* frame = index < s_->frames.size() ? s_->frames[index] : nullptr;
    return frame != nullptr ? std::make_unique<ScriptedDocument>(frame) : nullptr;
}

std::unique_ptr<HtmlElement> ScriptedDocument::ElementFromPoint(int32_t x, int32_t y) {
    s_->pointQueries.emplace_back(x, y);
    for (const Region& region : s_->regions) {
        if (x >= region.left && x < region.right && y >= region.top && y < region.bottom) {
            return std::make_unique<ScriptedElement>(region.element);
        }
    }
    return nullptr;
}

std::unique_ptr<HtmlElement> ScriptedDocument::ActiveElement() {
    return s_->active != nullptr ? std::make_unique<ScriptedElement>(s_->active) : nullptr;
}

bool ScriptedDocument::SetBodyScrollHandler(browser::HtmlEventSink& sink) {
    if (!s_->bodyTakesHandler) {
        return false;
    }
    s_->scrollHandler = &sink;
    return true;
}

bool ScriptedBrowser::LocationUrl(std::wstring& address) {
    if (!s_->urlReadable) {
        return false;
    }
    address = s_->locationUrl;
    return true;
}

bool ScriptedBrowser::LocationName(std::wstring& name) {
    if (s_->nameUnreadableFor > 0) {
        --s_->nameUnreadableFor;
        return false;
    }
    name = s_->locationName;
    return true;
}

bool ScriptedBrowser::ReadyState(int32_t& state) {
    if (!s_->readyReadable) {
        return false;
    }
    state = s_->readyState;
    return true;
}

void ScriptedBrowser::PutTop(int32_t top) {
    s_->top = top;
    s_->calls.push_back("top " + std::to_string(top));
}

std::unique_ptr<HtmlDocument> ScriptedBrowser::Document() {
    return s_->document != nullptr ? std::make_unique<ScriptedDocument>(s_->document) : nullptr;
}

intptr_t ScriptedPageWindow::Send(browser::WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    messages.push_back({Message::kSent, to, message, wParam, lParam, 0, {}});
    return 0;
}

void ScriptedPageWindow::Post(browser::WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    messages.push_back({Message::kPosted, to, message, wParam, lParam, 0, {}});
}

void ScriptedPageWindow::SendCopyData(browser::WindowId to, uint32_t command, uintptr_t tag,
                                      const std::vector<uint8_t>& data) {
    messages.push_back({Message::kCopyData, to, command, 0, 0, tag, data});
}

void ScriptedPageWindow::StartTimer(uint32_t id, uint32_t periodMs) {
    timers[id] = periodMs;
    timerLog.push_back("start " + std::to_string(id) + " " + std::to_string(periodMs));
}

void ScriptedPageWindow::StopTimer(uint32_t id) {
    timers.erase(id);
    timerLog.push_back("stop " + std::to_string(id));
}

bool ScriptedPageWindow::ScreenToClient(browser::Point& point) {
    point.x -= clientOrigin.x;
    point.y -= clientOrigin.y;
    return true;
}

// The scripted code page keeps ASCII and marks everything else with '?'.
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
