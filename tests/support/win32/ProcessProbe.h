#pragma once

#include <windows.h>

#include <cwchar>

// What the probe hooks see inside a process of the launcher, kept in a shared block named after that
// process's id so that the test reads it from outside.
struct ProcessProbeRecord {
    volatile LONG windowsCreated;
    volatile LONG hallStartSeen;
    volatile LONG gameWindowExistedAtHallStart;
    volatile LONG gameWindowVisibleAtHallStart;
};

inline void ProcessProbeBlockName(DWORD processId, wchar_t* buffer, size_t count) {
    swprintf(buffer, count, L"Local\\TolvaneProcessProbe-%lu", static_cast<unsigned long>(processId));
    buffer[count - 1] = L'\0';
}
