#include "childproc/win32/WebProcess.h"

#include <windows.h>

#include "childproc/CommandLines.h"
#include "childproc/win32/ProgramProcess.h"

namespace childproc {

int SpawnWebProcess(const std::wstring& address) {
    constexpr DWORD kPathCapacity = 1024;
    const std::wstring path = ExecutablePath(kPathCapacity);
    StartedProgram started;
    if (path.empty() || !StartProgram(WebProcessCommandLine(path, address), started)) {
        return -1;
    }
    return 0;  // nothing waits for it: its handles close here
}

}  // namespace childproc
