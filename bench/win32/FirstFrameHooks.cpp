// Hook library loaded into the measured program's main thread. When that thread takes its first paint
// message of a visible top-level window, the hook posts itself a marker; the marker is taken right after
// the paint was handled, and that moment is the first painted frame.
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

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    FirstFrameGetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && Record() != nullptr && Record()->painted == 0) {
        if (!g_markerPosted && msg->message == WM_PAINT && IsVisibleTopLevel(msg->hwnd)) {
            g_markerPosted = PostThreadMessageW(GetCurrentThreadId(), kMarker, 0, 0) != FALSE;
        } else if (g_markerPosted && msg->message == kMarker) {
            QueryPerformanceCounter(&Record()->paintedAt);
            InterlockedExchange(&Record()->painted, 1);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
