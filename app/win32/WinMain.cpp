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
    switch (app::RoleForArgumentCount(__argc)) {
        case app::ProcessRole::Child:
            return childproc::RunChildProcess();
        case app::ProcessRole::Hall:
            return app::RunHall(g_moduleInstance, commandLineTail);
        case app::ProcessRole::None:
            break;
    }
    return 0;
}
