#pragma once

#include <windows.h>

#include <string>

#include "browser/PageController.h"
#include "browser/PageWindow.h"
#include "browser/win32/CHtmlEvents.h"
#include "browser/win32/CWebBrowser.h"
#include "browser/win32/ComPageBrowser.h"

namespace browser {

// One page window: the browser host window whose events and page commands the page controller decides
// on, reporting to its owner window. Made, used and deleted on its page thread; only the owner and the
// pending address are set from the child's IPC thread.
class WebPage : public CWebBrowser, private PageWindow {
  public:
    // `isServerList` is the page's scroll-bar flag as well: only the server list shows scroll bars.
    WebPage(HWND ownerWindow, bool isServerList);
    // Destroys the window first when it still exists.
    ~WebPage() override;

    // Navigates the top-level frame (flags, target frame, post data and headers empty); nothing without
    // a browser.
    void Navigate(const std::wstring& address);

    // The page thread's mouse hook for button presses, releases and double clicks: `x` and `y` are the
    // pointer position of the message in screen coordinates. The window and the message code do not
    // matter.
    void OnMouseButton(HWND window, UINT message, int x, int y);

    HWND OwnerWindow() const;
    void SetOwnerWindow(HWND owner);
    // The address page command 5 navigates to; narrow text in the system code page.
    void SetPendingAddress(std::string address);

    // The page thread, stored by the child when the thread runs.
    void SetThread(HANDLE handle, DWORD id);

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void OnBeforeNavigate2(IDispatch* frame, VARIANT* address, VARIANT* flags, VARIANT* targetFrame,
                           VARIANT* postData, VARIANT* headers, VARIANT_BOOL* cancel) override;
    void OnDocumentComplete(IDispatch* frame, VARIANT* address) override;
    void OnNewWindow3(IDispatch** dispatch, VARIANT_BOOL* cancel, DWORD flags, BSTR contextAddress,
                      BSTR address) override;
    void OnCommandStateChange(long command, VARIANT_BOOL enabled) override;
    void OnNavigateComplete(VARIANT* first, VARIANT* second) override;
    void OnNavigateComplete2(IDispatch* frame, VARIANT* address) override;
    void OnNcDestroying() override;
    void OnTimerTick(UINT_PTR id) override;

  private:
    // Whether an event's frame is the top-level frame, the control itself.
    bool IsTopLevel(IDispatch* frame) const;

    // PageWindow
    WindowId Handle() override;
    PageBrowser* HostedBrowser() override;
    intptr_t Send(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void Post(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void SendCopyData(WindowId to, uint32_t command, uintptr_t tag,
                      const std::vector<uint8_t>& data) override;
    void StartTimer(uint32_t id, uint32_t periodMs) override;
    void StopTimer(uint32_t id) override;
    void PostQuit() override;
    bool CursorPosition(Point& screen) override;
    bool ScreenToClient(Point& point) override;
    std::string ToSystemCodePage(const std::wstring& text) override;
    std::wstring FromSystemCodePage(const std::string& text) override;
    bool SpawnWebProcess(const std::wstring& address) override;
    OutOfProcessPage RequestOutOfProcessBrowser(WindowId owner) override;

    ComPtr<CHtmlEvents> scrollEvents_;
    ComPtr<CHtmlEvents> hoverEvents_;
    PageController controller_;
    ComPageBrowser pageBrowser_;
    HANDLE threadHandle_ = nullptr;
    DWORD threadId_ = 0;
};

}  // namespace browser
