#include "childproc/win32/WebProcess.h"

#include <windows.h>

#include "childproc/CommandLines.h"

int SpawnWebProcess(const std::wstring& address) {
    constexpr DWORD kPathCapacity = 1024;
    wchar_t path[kPathCapacity] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, kPathCapacity);
    if (length == 0 || length >= kPathCapacity) {
        return -1;  // a cut path would start some other program, or none
    }
    std::wstring commandLine = WebProcessCommandLine(std::wstring(path, length), address);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.wShowWindow = SW_SHOW;  // not flagged as used: the program decides how it shows itself
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
