#include "childproc/win32/ChildProcess.h"

#include <windows.h>

#include <string>
#include <vector>

#include "browser/win32/AxHosting.h"
#include "childproc/ChildSwitches.h"
#include "childproc/win32/ChildIpcWindow.h"
#include "childproc/win32/HallWatchdog.h"
#include "childproc/win32/ScopedHandles.h"

namespace childproc {

namespace {

std::vector<std::wstring> ProcessArguments() {
    std::vector<std::wstring> arguments;
    for (int i = 0; i < __argc; ++i) {
        arguments.emplace_back(__wargv != nullptr && __wargv[i] != nullptr ? __wargv[i] : L"");
    }
    return arguments;
}

// The hall printed its window as a signed 32-bit number; handles widen with their sign.
HWND HallWindowFrom(int64_t printed) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(printed)));
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int RunChildProcess() {
    ChildSwitches switches;
    if (!ParseChildSwitches(ProcessArguments(), switches)) {
        return -1;
    }
    const HWND hallWindow = HallWindowFrom(switches.hallWindow);
    ChildIpcContext& context = TheChildIpcContext(hallWindow);
    // The main thread's apartment, for the control hosting support registered here.
    const OleApartment apartment;
    browser::AxHostInitialize();

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterChildIpcWindowClass(instance)) {
        return -1;
    }
    const HWND ipcWindow = CreateChildIpcWindow(instance, switches.ipcName.c_str());
    if (ipcWindow == nullptr) {
        return -1;
    }
    HallWatchdog watchdog(context, ipcWindow);
    try {
        RunMessageLoop();
    } catch (...) {
        // A failure that escaped a message ends the child the normal way.
    }
    return 0;
}

}  // namespace childproc
