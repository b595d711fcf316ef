#include "childproc/win32/ChildProcess.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "childproc/ChildSwitches.h"

namespace {

std::vector<std::wstring> ProcessArguments() {
    std::vector<std::wstring> arguments;
    for (int i = 0; i < __argc; ++i) {
        arguments.emplace_back(__wargv != nullptr && __wargv[i] != nullptr ? __wargv[i] : L"");
    }
    return arguments;
}

}  // namespace

int RunChildProcess() {
    ChildSwitches switches;
    if (!ParseChildSwitches(ProcessArguments(), switches)) {
        return -1;
    }
    // The IPC window, the watchdog and the page threads arrive with the child process proper.
    return -1;
}
