#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "childproc/IpcProtocol.h"

namespace childproc {

// One browser page of the child as its IPC window sees it. The page lives on a thread of its own; these
// calls come from the IPC window's thread and are safe after the page has ended.
class ChildPage {
  public:
    virtual ~ChildPage() = default;
    // The page window, fixed when the page was made (it may since have been destroyed).
    virtual WindowId Window() const = 0;
    virtual void SetOwnerWindow(WindowId owner) = 0;
    // The address page command 5 navigates to; narrow text in the system code page.
    virtual void SetPendingAddress(std::string address) = 0;
};

// What the IPC window does through the system.
class ChildIpcHost {
  public:
    virtual ~ChildIpcHost() = default;
    // Makes a page on a new thread, owned by (and reporting to) `owner`, navigated to `address` unless
    // it is empty; returns once the page window exists, or null when it could not be made.
    virtual std::shared_ptr<ChildPage> StartBrowserThread(WindowId owner, const std::string& address) = 0;
    virtual intptr_t Send(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Posts the registered page command message to a page window.
    virtual void PostPageCommand(WindowId page, uint32_t command) = 0;
    virtual void PostClose(WindowId window) = 0;
    virtual bool IsWindow(WindowId window) = 0;
    // The process a window belongs to; 0 when it is no window.
    virtual uint32_t ProcessOfWindow(WindowId window) = 0;
    // Destroys the IPC window, which ends the child's message loop.
    virtual void DestroyIpcWindow() = 0;
};

// What the IPC window answers a data-copy message with.
enum class CopyDataAnswer {
    Opened,   // the open-page command ran: answer 1
    Refused,  // a malformed record, or an owner that is no window of the hall: answer 0, nothing done
    PassOn,   // every other command, after handling: default processing
};

// The child's IPC window: the hall's commands, the pages they made and the owner they report to. All of
// it runs on the IPC window's thread; only the owner window is also read by the watchdog thread.
// An owner named by a record must be a live window of the hall's process (the process of the window the
// child was started with): anything else would make the lifetime tick and the watchdog end the child.
class ChildIpcContext {
  public:
    ChildIpcContext(ChildIpcHost& host, WindowId ownerWindow);
    ChildIpcContext(const ChildIpcContext&) = delete;
    ChildIpcContext& operator=(const ChildIpcContext&) = delete;

    // WM_COPYDATA with the command in wParam; `data` and `size` are the record as received. Every record
    // is read through the protocol's checked readers; a page window that is not one of this child's
    // pages makes a page command do nothing.
    CopyDataAnswer OnCopyData(uint32_t command, uintptr_t tag, const void* data, size_t size);
    // WM_IPC_CREATE_START_PAGE: a page for the stored start address, reported to the owner with `echo`.
    void OnCreateStartPage(uintptr_t echo);
    // WM_IPC_CREATE_BROWSER: a page without an address; its window, or 0.
    WindowId OnCreateBrowser();
    // WM_IPC_CLOSE_BROWSER: closes one of this child's pages and forgets it; other windows are ignored.
    void OnCloseBrowser(WindowId page);
    // The lifetime timer: once the owner window is gone the IPC window goes too.
    void OnLifetimeTick();

    WindowId OwnerWindow() const { return ownerWindow_.load(std::memory_order_relaxed); }
    size_t PageCount() const { return pages_.size(); }

  private:
    CopyDataAnswer OpenStartPage(uintptr_t tag, const void* data, size_t size);
    void NavigatePage(uintptr_t tag, const void* data, size_t size);
    void ReloadPage(uintptr_t tag);
    CopyDataAnswer SetPageOwner(uintptr_t tag, const void* data, size_t size);
    ChildPage* FindPage(WindowId window) const;
    bool IsHallWindow(WindowId window) const;

    ChildIpcHost& host_;
    const uint32_t hallProcess_;
    std::atomic<WindowId> ownerWindow_;
    std::string startAddress_;
    std::vector<std::shared_ptr<ChildPage>> pages_;
};

}  // namespace childproc
