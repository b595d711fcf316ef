#pragma once

#include <windows.h>

#include <exdisp.h>

#include "browser/PageBrowser.h"
#include "browser/win32/ComPtr.h"

namespace browser {

// The page controller's browser over a control's IWebBrowser2: the page's own (borrowed from its
// window, which owns it) or a frame's (owned).
class ComPageBrowser : public PageBrowser {
  public:
    ComPageBrowser() = default;
    explicit ComPageBrowser(ComPtr<IWebBrowser2> owned);

    // Points at a browser the caller keeps alive for as long as this is used.
    void Borrow(IWebBrowser2* browser);

    void GoBack() override;
    void GoForward() override;
    void GoHome() override;
    void Navigate(const std::wstring& address) override;
    bool LocationUrl(std::wstring& address) override;
    bool LocationName(std::wstring& name) override;
    bool ReadyState(int32_t& state) override;
    void PutTop(int32_t top) override;
    std::unique_ptr<HtmlDocument> Document() override;
    uintptr_t HandOverToProcess(uint32_t processId) override;
    uintptr_t HandOverToThread() override;

  private:
    ComPtr<IWebBrowser2> owned_;
    IWebBrowser2* browser_ = nullptr;
};

}  // namespace browser
