#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "childproc/ChildIpcContext.h"
#include "childproc/win32/ScopedHandles.h"

namespace browsertest {

// One message an owner window received.
struct Received {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// A top-level window that records the hall and child messages it receives and answers them as a hall
// window does: the child query with `childIpcWindow` (0: no child), a new browser with `createBrowser`.
class OwnerWindow {
  public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND Handle() const { return window_; }
    std::vector<Received> Messages(UINT message) const;

    std::vector<Received> received;
    HWND childIpcWindow = nullptr;
    std::function<HWND()> createBrowser;
    // Called for every recorded message before the answer.
    std::function<void(const Received&)> onReceived;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// An owner window on a thread of its own, like a child's IPC window; `setup` runs on that thread before
// the constructor returns.
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
    childproc::UniqueHandle started_;
    childproc::UniqueHandle thread_;
    DWORD threadId_ = 0;
};

// A page without an address, started on its own thread by the child's page thread and run by its message
// loop; closed, and its thread waited for, on destruction. The calling thread handles its messages
// meanwhile, so that an owner window of its own can answer the page.
class PageThread {
  public:
    explicit PageThread(HWND owner);
    ~PageThread();
    PageThread(const PageThread&) = delete;
    PageThread& operator=(const PageThread&) = delete;

    HWND Window() const;

  private:
    std::shared_ptr<childproc::ChildPage> page_;
    childproc::UniqueHandle thread_;
};

// The parent window the tests' child browser windows live in.
HWND TestParentWindow();

}  // namespace browsertest
