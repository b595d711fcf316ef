#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "childproc/win32/ScopedHandles.h"

namespace childproc {

// The hall's record of one child browser process it started. Owned by the hall window that started the
// child and kept for the hall's lifetime; the process handle stays open all that time.
struct ChildProcessLink {
    HWND hallWindow = nullptr;      // the window the child reports to
    HWND childIpcWindow = nullptr;  // the child's IPC window; null until found
    UniqueHandle process;
    DWORD processId = 0;
    std::vector<HWND> browsers;  // page windows the child reported; kept by the hall window
};

// How long the hall looks for a new child's IPC window, and how often.
inline constexpr DWORD kChildWindowSearchMs = 2000;
inline constexpr DWORD kChildWindowSearchStepMs = 10;

// Starts this executable in its child role for `hallWindow` and waits up to two seconds for the child's
// IPC window. 0 when the window was found, -1 otherwise (the process, if it started, is left running and
// kept in the link).
int32_t SpawnChildProcess(ChildProcessLink& link, HWND hallWindow);
// The same with another program in the child role.
int32_t SpawnChildProcessOf(ChildProcessLink& link, HWND hallWindow, const std::wstring& executablePath);

// Asks the child to open its start page at `address` (narrow text in the system code page, or null for
// none) for `ownerOverride`, or for the child's current owner when that is null. Synchronous: the child
// has created the page and sent WM_IPC_BROWSER_CREATED to the owner before this returns. -1 when the
// child's IPC window is gone, else 0.
int32_t SendStartAddress(ChildProcessLink& link, const char* address, HWND ownerOverride);

}  // namespace childproc
