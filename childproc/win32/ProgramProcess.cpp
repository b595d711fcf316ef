#include "childproc/win32/ProgramProcess.h"

namespace childproc {

std::wstring ExecutablePath(DWORD capacity) {
    std::wstring path(capacity, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
    if (length == 0 || length >= capacity) {
        return std::wstring();
    }
    path.resize(length);
    return path;
}

bool StartProgram(std::wstring commandLine, StartedProgram& started) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.wShowWindow = SW_SHOW;  // not flagged as used: the program decides how it shows itself
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    started.process = UniqueHandle(process.hProcess);
    started.processId = process.dwProcessId;
    return true;
}

}  // namespace childproc
