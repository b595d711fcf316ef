// Hook library loaded into the measured program's main thread. A paint message sent to a visible
// top-level window (as UpdateWindow does) is seen when its handling returns. A paint message taken from
// the queue makes the hook post itself a marker, taken right after the paint was handled. The first of
// these moments is the first painted frame.
#include <windows.h>

#include "bench/win32/FirstFrameProbe.h"

namespace {

const UINT kMarker = RegisterWindowMessageW(L"TolvaneFirstFrameMarker");
bool g_markerPosted = false;

FirstFrameRecord* Record() {
    static FirstFrameRecord* record = [] {
        wchar_t name[64];
        FirstFrameBlockName(GetCurrentProcessId(), name, 64);
        HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name);
        if (mapping == nullptr) {
            return static_cast<FirstFrameRecord*>(nullptr);
        }
        return static_cast<FirstFrameRecord*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }();
    return record;
}

bool IsVisibleTopLevel(HWND window) {
    return window != nullptr && GetParent(window) == nullptr && IsWindowVisible(window);
}

void NotePainted() {
    if (InterlockedCompareExchange(&Record()->painted, 2, 0) == 0) {
        QueryPerformanceCounter(&Record()->paintedAt);
        InterlockedExchange(&Record()->painted, 1);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    FirstFrameCallWndRetProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && Record() != nullptr && Record()->painted == 0 && sent->message == WM_PAINT &&
        IsVisibleTopLevel(sent->hwnd)) {
        NotePainted();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    FirstFrameGetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && Record() != nullptr && Record()->painted == 0) {
        if (!g_markerPosted && msg->message == WM_PAINT && IsVisibleTopLevel(msg->hwnd)) {
            g_markerPosted = PostThreadMessageW(GetCurrentThreadId(), kMarker, 0, 0) != FALSE;
        } else if (g_markerPosted && msg->message == kMarker) {
            NotePainted();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
