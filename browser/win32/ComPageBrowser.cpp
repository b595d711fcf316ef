#include "browser/win32/ComPageBrowser.h"

#include <mshtml.h>

#include "browser/win32/ComHtmlDocument.h"
#include "browser/win32/ComValues.h"
#include "childproc/win32/BrowserHandOver.h"

namespace browser {

ComPageBrowser::ComPageBrowser(ComPtr<IWebBrowser2> owned)
    : owned_(std::move(owned)), browser_(owned_.Get()) {}

void ComPageBrowser::Borrow(IWebBrowser2* browser) {
    owned_.Reset();
    browser_ = browser;
}

void ComPageBrowser::GoBack() {
    browser_->GoBack();
}

void ComPageBrowser::GoForward() {
    browser_->GoForward();
}

void ComPageBrowser::GoHome() {
    browser_->GoHome();
}

// Flags, target frame, post data and headers go as empty values.
void ComPageBrowser::Navigate(const std::wstring& address) {
    Variant target;
    V_VT(target.Get()) = VT_BSTR;
    V_BSTR(target.Get()) = SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
    Variant flags, frame, postData, headers;
    browser_->Navigate2(target.Get(), flags.Get(), frame.Get(), postData.Get(), headers.Get());
}

bool ComPageBrowser::LocationUrl(std::wstring& address) {
    Bstr value;
    if (FAILED(browser_->get_LocationURL(value.Put()))) {
        return false;
    }
    address = value.Text();
    return true;
}

bool ComPageBrowser::LocationName(std::wstring& name) {
    Bstr value;
    if (FAILED(browser_->get_LocationName(value.Put())) || value.Get() == nullptr) {
        return false;
    }
    name = value.Text();
    return true;
}

bool ComPageBrowser::ReadyState(int32_t& state) {
    READYSTATE value = READYSTATE_UNINITIALIZED;
    if (FAILED(browser_->get_ReadyState(&value))) {
        return false;
    }
    state = static_cast<int32_t>(value);
    return true;
}

void ComPageBrowser::PutTop(int32_t top) {
    browser_->put_Top(top);
}

std::unique_ptr<HtmlDocument> ComPageBrowser::Document() {
    ComPtr<IDispatch> dispatch;
    if (FAILED(browser_->get_Document(dispatch.Put())) || !dispatch) {
        return nullptr;
    }
    ComPtr<IHTMLDocument2> document = dispatch.As<IHTMLDocument2>();
    if (!document) {
        return nullptr;
    }
    return std::make_unique<ComHtmlDocument>(std::move(document));
}

uintptr_t ComPageBrowser::HandOverToProcess(uint32_t processId) {
    return childproc::MarshalBrowserToProcess(browser_, processId);
}

uintptr_t ComPageBrowser::HandOverToThread() {
    return childproc::MarshalBrowserToThread(browser_);
}

}  // namespace browser
