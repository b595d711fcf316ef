#pragma once

#include <windows.h>

#include "childproc/win32/ScopedHandles.h"

namespace childproc {

class ChildIpcContext;

// The child's watch over the hall: once a second it looks at the owner window; when that is gone it
// closes the IPC window, gives the child a second to end by itself and then ends the whole process with
// exit code 0, busy pages or not.
class HallWatchdog {
  public:
    HallWatchdog(const ChildIpcContext& context, HWND ipcWindow);
    // Stops the watch and waits for its thread (unless the process is already on its way out).
    ~HallWatchdog();
    HallWatchdog(const HallWatchdog&) = delete;
    HallWatchdog& operator=(const HallWatchdog&) = delete;

  private:
    static DWORD WINAPI Run(void* self);

    const ChildIpcContext& context_;
    HWND ipcWindow_;
    UniqueHandle stop_;
    UniqueHandle thread_;
};

}  // namespace childproc
