#include "tests/support/win32/TestProcess.h"

#include <vector>

namespace testsupport {

std::wstring SiblingProgram(const wchar_t* fileName) {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::wstring self(path.data(), length);
    return self.substr(0, self.find_last_of(L"\\/") + 1) + fileName;
}

std::vector<HWND> WindowsOf(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search = {processId, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->processId) {
                search->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

TestProcess::~TestProcess() {
    if (info_.hProcess != nullptr) {
        Terminate();
        CloseHandle(info_.hProcess);
    }
    if (info_.hThread != nullptr) {
        CloseHandle(info_.hThread);
    }
}

bool TestProcess::Start(const std::wstring& program, const std::wstring& arguments, bool suspended) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, suspended ? CREATE_SUSPENDED : 0,
                          nullptr, nullptr, &startup, &info_) != FALSE;
}

void TestProcess::Resume() {
    ResumeThread(info_.hThread);
}

bool TestProcess::WaitForExit(DWORD timeoutMs) {
    return WaitUntil(timeoutMs, [&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; });
}

DWORD TestProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void TestProcess::Terminate() {
    TerminateProcess(info_.hProcess, 255);
    WaitForSingleObject(info_.hProcess, 5000);
}

void PumpMessagesFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (milliseconds > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    } while (GetTickCount() - start < milliseconds);
}

}  // namespace testsupport
