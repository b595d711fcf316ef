#pragma once

#include <windows.h>

namespace app {

// The hall's unhandled-exception filter: writes a minidump, tells the player and lets the process end.
LONG WINAPI CrashReportFilter(EXCEPTION_POINTERS* exception);

}  // namespace app
