#include <windows.h>

#include <cstdlib>

#include "app/ProcessRole.h"
#include "app/win32/Hall.h"
#include "childproc/win32/ChildProcess.h"

namespace {
HINSTANCE g_moduleInstance = nullptr;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPWSTR commandLineTail, int /*show*/) {
    g_moduleInstance = instance;
    switch (RoleForArgumentCount(__argc)) {
        case ProcessRole::Child:
            return childproc::RunChildProcess();
        case ProcessRole::Hall:
            return RunHall(g_moduleInstance, commandLineTail);
        case ProcessRole::None:
            break;
    }
    return 0;
}
