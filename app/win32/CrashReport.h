#pragma once

#include <windows.h>

// The hall's unhandled-exception filter: writes a minidump, tells the player and lets the process end.
LONG WINAPI CrashReportFilter(EXCEPTION_POINTERS* exception);
