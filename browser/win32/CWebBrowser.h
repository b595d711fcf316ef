#pragma once

#include <windows.h>

#include <exdisp.h>

#include <cstdint>
#include <string>

#include "browser/win32/ComPtr.h"

namespace browser {

class BrowserEventSink;

// A window that hosts the system's web browser control "Shell.Explorer.2" in a MyAxHostWindowEx site
// and turns the control's events and the window's creation, destruction and timer messages into
// operations that a page controller overrides; by itself it does nothing with a page. The window class
// is a superclass of the host window class. One window per object; the object outlives its window and
// is deleted by whoever made it, on the window's thread.
class CWebBrowser {
  public:
    // The traits' window style: child, visible, clipping siblings and children.
    static constexpr DWORD kDefaultStyle = 0x56000000;

    explicit CWebBrowser(bool showScrollBars);
    virtual ~CWebBrowser();
    CWebBrowser(const CWebBrowser&) = delete;
    CWebBrowser& operator=(const CWebBrowser&) = delete;

    // Creates the window with the control in it; null when the window, the control, its browser
    // interface or its event connection cannot be made. Style 0 takes kDefaultStyle. A creation
    // parameter, when given, starts with a 16-bit byte count followed by that many bytes of the
    // control's persisted state.
    HWND Create(HWND parent, const RECT& rect, const wchar_t* title = nullptr, DWORD style = 0,
                DWORD exStyle = 0, UINT_PTR menuOrId = 0, const void* creationParameter = nullptr);

    HWND Window() const { return window_; }
    // The hosted control's browser interface: set while the window exists, null before and after.
    IWebBrowser2* WebBrowser() const { return browser_.Get(); }
    // Whether the control's events are connected to this window.
    bool EventsConnected() const;

    // Offers a queued message to the control's keyboard handling first; true when the control consumed
    // it as an accelerator and the message must go no further.
    bool TranslateAccelerator(MSG& message);

    // Slot 0: the window's message table. True when the message was handled, with `result` set;
    // unhandled messages then reach the host window class's default processing.
    virtual bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId = 0);
    // The window has had its last message.
    virtual void OnFinalMessage(HWND window);

    // The control's events, on the window's thread, between the control's creation and the window's
    // destruction.
    virtual void OnBeforeNavigate2(IDispatch* frame, VARIANT* address, VARIANT* flags, VARIANT* targetFrame,
                                   VARIANT* postData, VARIANT* headers, VARIANT_BOOL* cancel);
    virtual void OnDocumentComplete(IDispatch* frame, VARIANT* address);
    virtual void OnNewWindow3(IDispatch** dispatch, VARIANT_BOOL* cancel, DWORD flags, BSTR contextAddress,
                              BSTR address);
    virtual void OnCommandStateChange(long command, VARIANT_BOOL enabled);
    virtual void OnNavigateComplete(VARIANT* first, VARIANT* second);
    virtual void OnNavigateComplete2(IDispatch* frame, VARIANT* address);

    // The window's life: creation result (0 lets the window be created, -1 refuses it), destruction
    // (browser already released) and last message; timers are passed on to default processing after.
    virtual int32_t OnCreated(LPARAM createParameter);
    virtual void OnDestroying();
    virtual void OnNcDestroying();
    virtual void OnTimerTick(UINT_PTR id);

  protected:
    // For hosts of another control than the system browser: `controlName` is a programmatic name or a
    // "{CLSID}".
    CWebBrowser(bool showScrollBars, std::wstring controlName);

    // The processing the window would get without this class: the host window class's procedure.
    LRESULT DefaultProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static CWebBrowser* Attached(HWND window);
    LRESULT CreateControl(HWND window, WPARAM wParam, LPARAM lParam);
    // Disconnects the events and releases the browser; nothing when that already happened.
    void ReleaseControl();

    HWND window_ = nullptr;
    // The creation's own OLE initialisation of the window's thread, balanced after the window's last
    // message.
    bool oleInitialized_ = false;
    bool showScrollBars_;
    std::wstring controlName_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IOleInPlaceActiveObject> keyHandler_;
    ComPtr<BrowserEventSink> events_;
};

}  // namespace browser
