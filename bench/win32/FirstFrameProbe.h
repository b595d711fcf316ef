#pragma once

#include <windows.h>

#include <cwchar>

// Shared between the start-up measurement and its hook library inside the measured process: the
// performance-counter reading when the first paint of a visible top-level window had been handled.
struct FirstFrameRecord {
    volatile LONG painted;
    LARGE_INTEGER paintedAt;
};

inline void FirstFrameBlockName(DWORD processId, wchar_t* buffer, size_t count) {
    swprintf(buffer, count, L"Local\\TolvaneFirstFrame-%lu", static_cast<unsigned long>(processId));
    buffer[count - 1] = L'\0';
}
