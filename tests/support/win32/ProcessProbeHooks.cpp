// A hook library that the process tests load into the launcher's main thread: a CBT hook counts window
// creations, a get-message hook records what exists when the hall's start message is taken.
#include <windows.h>

#include "tests/support/win32/ProcessProbe.h"

namespace {

constexpr UINT kHallStartMessage = WM_USER + 1010;

ProcessProbeRecord* Record() {
    static ProcessProbeRecord* record = [] {
        wchar_t name[64];
        ProcessProbeBlockName(GetCurrentProcessId(), name, 64);
        HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name);
        if (mapping == nullptr) {
            return static_cast<ProcessProbeRecord*>(nullptr);
        }
        // The view stays mapped for the life of the process.
        return static_cast<ProcessProbeRecord*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }();
    return record;
}

struct HallWindowSearch {
    HWND launcher;
    HWND other;
};

BOOL CALLBACK FindOtherHallWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<HallWindowSearch*>(param);
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    if (hwnd != search->launcher && lstrcmpW(className, L"Tolvane-Runecourt") == 0) {
        search->other = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && Record() != nullptr) {
        InterlockedIncrement(&Record()->windowsCreated);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeGetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == kHallStartMessage &&
        Record() != nullptr) {
        HallWindowSearch search = {msg->hwnd, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), &FindOtherHallWindow, reinterpret_cast<LPARAM>(&search));
        if (search.other != nullptr) {
            InterlockedExchange(&Record()->gameWindowExistedAtHallStart, 1);
            InterlockedExchange(&Record()->gameWindowVisibleAtHallStart,
                                IsWindowVisible(search.other) ? 1 : 0);
        }
        InterlockedIncrement(&Record()->hallStartSeen);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
