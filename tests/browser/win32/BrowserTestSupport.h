#pragma once

#include <windows.h>

#include <exdisp.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/win32/CWebBrowser.h"
#include "browser/win32/WebPage.h"

namespace browsertest {

// A browser window that records which of its operations ran, in order.
class RecordingBrowser : public browser::CWebBrowser {
  public:
    explicit RecordingBrowser(bool showScrollBars) : CWebBrowser(showScrollBars) {}
    RecordingBrowser(bool showScrollBars, const wchar_t* controlName)
        : CWebBrowser(showScrollBars, controlName) {}

    void OnBeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                           VARIANT_BOOL*) override {
        calls.push_back("BeforeNavigate2");
    }
    void OnDocumentComplete(IDispatch*, VARIANT*) override { calls.push_back("DocumentComplete"); }
    void OnNewWindow3(IDispatch**, VARIANT_BOOL*, DWORD, BSTR, BSTR) override {
        calls.push_back("NewWindow3");
    }
    void OnCommandStateChange(long command, VARIANT_BOOL enabled) override {
        calls.push_back("CommandStateChange " + std::to_string(command) + " " + std::to_string(enabled));
    }
    void OnNavigateComplete(VARIANT*, VARIANT*) override { calls.push_back("NavigateComplete"); }
    void OnNavigateComplete2(IDispatch*, VARIANT*) override { calls.push_back("NavigateComplete2"); }
    int32_t OnCreated(LPARAM) override {
        calls.push_back("Created");
        return createdResult;
    }
    void OnDestroying() override {
        eventsConnectedAtDestroying = EventsConnected();
        calls.push_back(WebBrowser() == nullptr ? "Destroying" : "Destroying with browser");
    }
    void OnNcDestroying() override { calls.push_back("NcDestroying"); }
    void OnTimerTick(UINT_PTR id) override { calls.push_back("Timer " + std::to_string(id)); }
    void OnFinalMessage(HWND) override { calls.push_back("FinalMessage"); }

    std::vector<std::string> calls;
    int32_t createdResult = 0;
    bool eventsConnectedAtDestroying = true;
};

// One message an owner window received; data-copy messages keep their bytes.
struct Received {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    ULONG_PTR tag = 0;
    std::vector<uint8_t> data;
    bool dataPresent = false;
};

// A top-level window on the creating thread that records the hall/child messages it receives and
// answers them as configured: a hall window that knows no child answers the child query with 0.
class OwnerWindow {
  public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND Handle() const { return window_; }
    std::vector<Received> Messages(UINT message) const;

    std::vector<Received> received;
    HWND childIpcWindow = nullptr;  // the answer to WM_IPC_QUERY_CHILD
    // Called for WM_IPC_CREATE_BROWSER; its result is the answer.
    std::function<HWND()> createBrowser;
    // Called for every recorded message once it is recorded, before the answer.
    std::function<void(const Received&)> onReceived;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// A page on a thread of its own, as the child runs it: its own apartment, its own message loop that
// offers keys to the browser and clicks to the page's mouse hook.
class PageThread {
  public:
    explicit PageThread(HWND owner, bool asChild = false);
    ~PageThread();
    PageThread(const PageThread&) = delete;
    PageThread& operator=(const PageThread&) = delete;

    HWND Window() const { return window_; }
    DWORD ThreadId() const { return threadId_; }
    // Closes the page window and waits for the thread to end.
    void Close();

  private:
    static DWORD WINAPI Run(void* self);

    HWND owner_;
    bool asChild_;
    HWND window_ = nullptr;
    HANDLE started_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

// An owner window that lives on a thread of its own, like a child's IPC window: `setup` configures it
// on that thread before the constructor returns.
class OwnerThread {
  public:
    explicit OwnerThread(std::function<void(OwnerWindow&)> setup = nullptr);
    ~OwnerThread();
    OwnerThread(const OwnerThread&) = delete;
    OwnerThread& operator=(const OwnerThread&) = delete;

    HWND Window() const { return window_; }

  private:
    static DWORD WINAPI Run(void* self);

    std::function<void(OwnerWindow&)> setup_;
    HWND window_ = nullptr;
    HANDLE started_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

// The parent window the tests' child browser windows live in.
HWND TestParentWindow();

}  // namespace browsertest
