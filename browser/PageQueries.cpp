#include "browser/PageQueries.h"

#include "browser/HtmlDocument.h"
#include "browser/HtmlElement.h"
#include "browser/HtmlEventSink.h"
#include "browser/PageBrowser.h"
#include "browser/ResultCodes.h"

namespace browser {
namespace {

constexpr wchar_t kChecksumMetaName[] = L"Tolvanewd-md5";
constexpr wchar_t kUpdateAddressMetaName[] = L"Tolvanewd-updateurl";

// Only the letters a to z are raised: tag names are ASCII.
bool IsMetaTag(const std::wstring& tagName) {
    static const std::wstring kMeta = L"META";
    if (tagName.size() != kMeta.size()) {
        return false;
    }
    for (size_t i = 0; i < tagName.size(); ++i) {
        wchar_t c = tagName[i];
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
        if (c != kMeta[i]) {
            return false;
        }
    }
    return true;
}

std::wstring ContentOf(HtmlElement& meta) {
    std::wstring content;
    if (!meta.Attribute(L"content", content)) {
        content.clear();
    }
    return content;
}

}  // namespace

std::optional<childproc::UpdateInfo> ReadUpdateInfo(HtmlDocument& document) {
    childproc::UpdateInfo info;
    const size_t count = document.ElementCount();
    for (size_t i = 0; i < count; ++i) {
        std::unique_ptr<HtmlElement> element = document.ElementAt(i);
        std::wstring tagName;
        if (element == nullptr || !element->TagName(tagName) || !IsMetaTag(tagName)) {
            continue;
        }
        std::wstring name;
        if (!element->Attribute(L"name", name)) {
            continue;
        }
        if (name == kChecksumMetaName) {
            info.checksum = ContentOf(*element);
        } else if (name == kUpdateAddressMetaName) {
            info.address = ContentOf(*element);
        }
    }
    if (info.checksum.empty()) {
        return std::nullopt;
    }
    return info;
}

void SuppressScriptErrors(PageBrowser* browser) {
    if (browser == nullptr) {
        return;
    }
    std::unique_ptr<HtmlDocument> document = browser->Document();
    if (document != nullptr) {
        InjectErrorHandler(*document);
    }
}

void InjectErrorHandler(HtmlDocument& document) {
    document.ExecScript(kErrorSwallowingScript, kScriptLanguage);
    const size_t frames = document.FrameCount();
    for (size_t i = 0; i < frames; ++i) {
        std::unique_ptr<HtmlDocument> frameDocument = document.FrameDocument(i);
        if (frameDocument != nullptr) {
            InjectErrorHandler(*frameDocument);
        }
    }
}

int32_t ElementFromPointDeep(PageBrowser* browser, int32_t x, int32_t y,
                             std::unique_ptr<HtmlElement>* element) {
    if (element == nullptr) {
        return kResultPointer;
    }
    element->reset();
    // Each pass owns the frame browser it descends into; the page's own browser is borrowed.
    std::unique_ptr<PageBrowser> frameBrowser;
    PageBrowser* current = browser;
    while (current != nullptr) {
        std::unique_ptr<HtmlDocument> document = current->Document();
        if (document == nullptr) {
            return kResultFail;
        }
        std::unique_ptr<HtmlElement> found = document->ElementFromPoint(x, y);
        if (found == nullptr) {
            return kResultFail;
        }
        std::unique_ptr<PageBrowser> inner = found->FrameBrowser();
        if (inner == nullptr) {
            *element = std::move(found);
            return kResultOk;
        }
        int32_t left = 0;
        int32_t top = 0;
        if (!found->BoundingTopLeft(left, top)) {
            left = 0;
            top = 0;
        }
        x -= left;
        y -= top;
        frameBrowser = std::move(inner);
        current = frameBrowser.get();
    }
    return kResultFail;
}

int32_t LinkAddressOf(std::unique_ptr<HtmlElement> element, std::optional<std::wstring>* address) {
    if (address != nullptr) {
        address->reset();
    }
    while (element != nullptr) {
        int32_t result = kResultOk;
        std::optional<std::wstring> href;
        if (element->LinkHref(result, href)) {
            if (address != nullptr) {
                *address = std::move(href);
            }
            return result;
        }
        element = element->Parent();
    }
    return kResultFail;
}

void AttachHoverSink(HtmlDocument& document, HtmlEventSink& sink, PageController& page) {
    sink.Attach(HtmlEventSink::kHover, page);
    document.SetMouseOverHandler(sink);
    const size_t frames = document.FrameCount();
    for (size_t i = 0; i < frames; ++i) {
        std::unique_ptr<HtmlDocument> frameDocument = document.FrameDocument(i);
        if (frameDocument != nullptr) {
            AttachHoverSink(*frameDocument, sink, page);
        }
    }
}

}  // namespace browser
