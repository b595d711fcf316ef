#pragma once

// Time stamps along the hall's start-up, for the measurement build only (configure with
// -DTOLVANE_STARTUP_TRACE=ON): each mark notes the milliseconds since the process was created, and the
// list goes to the file named by the environment variable TOLVANE_STARTUP_TRACE when the launcher's first
// frame is on the screen. In every other build the marks compile to nothing.
#if defined(TOLVANE_STARTUP_TRACE)
#include <windows.h>

#include <cstdio>

namespace SkinUI::StartupTrace {

struct Mark {
    const char* stage;
    double ms;
};

inline Mark g_marks[64];
inline int g_markCount = 0;
inline bool g_written = false;

inline double MillisecondsSinceCreation() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return (ticks(now) - ticks(created)) / 10000.0;
}

inline void Note(const char* stage) {
    if (g_markCount < 64) {
        g_marks[g_markCount++] = Mark{stage, MillisecondsSinceCreation()};
    }
}

inline void Write() {
    wchar_t path[MAX_PATH];
    if (g_written || GetEnvironmentVariableW(L"TOLVANE_STARTUP_TRACE", path, MAX_PATH) == 0) {
        return;
    }
    g_written = true;
    FILE* file = _wfopen(path, L"a");
    if (file == nullptr) {
        return;
    }
    for (int i = 0; i < g_markCount; ++i) {
        std::fprintf(file, "%s\t%.2f\n", g_marks[i].stage, g_marks[i].ms);
    }
    std::fprintf(file, "-\n");
    std::fclose(file);
}

}  // namespace SkinUI::StartupTrace

#define TOLVANE_TRACE(stage) ::SkinUI::StartupTrace::Note(stage)
#define TOLVANE_TRACE_WRITE() ::SkinUI::StartupTrace::Write()
#else
#define TOLVANE_TRACE(stage) ((void)0)
#define TOLVANE_TRACE_WRITE() ((void)0)
#endif
