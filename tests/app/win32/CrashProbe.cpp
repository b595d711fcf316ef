// A program that installs the hall's crash filter and then faults on a thread of its own, in the folder
// named by its argument.
#include <windows.h>

#include "app/win32/CrashReport.h"

namespace {

DWORD WINAPI Fault(void*) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    if (__argc < 2 || !SetCurrentDirectoryW(__wargv[1])) {
        return 2;
    }
    SetUnhandledExceptionFilter(&app::CrashReportFilter);
    HANDLE thread = CreateThread(nullptr, 0, &Fault, nullptr, 0, nullptr);
    if (thread == nullptr) {
        return 3;
    }
    // The main thread keeps pumping while the faulting thread shows its notice.
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}
