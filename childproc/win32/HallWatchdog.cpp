#include "childproc/win32/HallWatchdog.h"

#include "childproc/ChildIpcContext.h"

namespace childproc {

namespace {
constexpr DWORD kWatchPeriodMs = 1000;
}

HallWatchdog::HallWatchdog(const ChildIpcContext& context, HWND ipcWindow)
    : context_(context), ipcWindow_(ipcWindow), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (stop_) {
        thread_ = UniqueHandle(CreateThread(nullptr, 0, &HallWatchdog::Run, this, 0, nullptr));
    }
}

HallWatchdog::~HallWatchdog() {
    // Stopped by its event rather than terminated: a thread killed in the middle of a call may leave a
    // lock of the runtime held for good.
    if (thread_) {
        SetEvent(stop_.Get());
        WaitForSingleObject(thread_.Get(), INFINITE);
    }
}

DWORD WINAPI HallWatchdog::Run(void* parameter) {
    auto* self = static_cast<HallWatchdog*>(parameter);
    while (WaitForSingleObject(self->stop_.Get(), kWatchPeriodMs) == WAIT_TIMEOUT) {
        if (!IsWindow(reinterpret_cast<HWND>(self->context_.OwnerWindow()))) {
            PostMessageW(self->ipcWindow_, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(self->stop_.Get(), kWatchPeriodMs) == WAIT_TIMEOUT) {
                ExitProcess(0);
            }
            return 0;
        }
    }
    return 0;
}

}  // namespace childproc
