#pragma once

#include <windows.h>

#include <exdisp.h>

#include <cstdint>

namespace childproc {

// Handing a page's browser interface to another thread or process. The page marshals on its own
// thread (it answers the page command there); the requester unmarshals on its own thread and so gets a
// proxy it may use there.

// Marshals `browser` for process `processId` into an unnamed shared block and duplicates the block's
// handle into that process: the handle value is meaningful only there and this process keeps none.
// 0 on failure; kNoBrowserHandle when `browser` is null. Runs on the browser's thread.
uintptr_t MarshalBrowserToProcess(IWebBrowser2* browser, DWORD processId);

// Marshals `browser` into a stream for another thread of this process: the stream's address, which the
// receiving thread turns back into a proxy (and releases) with one call. 0 on failure.
uintptr_t MarshalBrowserToThread(IWebBrowser2* browser);

// Obtains the browser interface of a page window. `ipcWindow` is the child's IPC window; with
// `browserWindow` 0 it is asked for a new page first. A window of the calling thread itself is refused
// with E_FAIL before anything is sent, and so is a page window of another process than the IPC
// window's, before anything is taken from its answer. Pages of this process hand over through a stream,
// pages of other processes through a shared block. S_OK with the interface in `outBrowser` (and the page
// window in `outWindow` when given); otherwise E_FAIL or the platform's code, `outBrowser` null and nothing
// acquired on the way left behind.
HRESULT AcquireBrowserInterface(HWND ipcWindow, HWND browserWindow, HWND* outWindow,
                                IWebBrowser2** outBrowser);

// Gets a new browser page for a window the page's browser wants to open: asks the owner window for the
// child that serves new windows, acquires a page from it and tells the owner about the page. The new
// page window, or null (with `outBrowser` null) when any step fails.
HWND RequestOutOfProcessBrowser(HWND ownerWindow, IWebBrowser2** outBrowser);

}  // namespace childproc
