#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "childproc/ChildIpcContext.h"

namespace childproc {

// Starts a page of the child on a new thread: the thread makes the page window (owned by, or a child of,
// `ownerWindow`), navigates it to `address` unless that is empty and then runs the page's message loop
// until the window is gone. Returns once the window exists: the page, or null when the thread or the
// window could not be made. Called on the IPC window's thread.
std::shared_ptr<ChildPage> StartBrowserThread(HWND ownerWindow, const std::string& address);

}  // namespace childproc
