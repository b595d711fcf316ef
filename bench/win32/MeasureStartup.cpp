// Measures, for each program named on the command line, the time from process creation to its first
// painted frame, and its private memory a moment later. The programs run in turn, several rounds; the
// median of each is reported. Usage: measure_startup <runs> <program> [<program> ...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win32/FirstFrameProbe.h"

namespace {

struct Run {
    double firstFrameMs = -1;
    double privateMiB = -1;
};

std::wstring SiblingPath(const wchar_t* fileName) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + fileName;
}

double MillisecondsBetween(const FILETIME& created, const LARGE_INTEGER& counterAt) {
    // Both clocks are read now, so the creation time can be put onto the performance counter's scale.
    LARGE_INTEGER frequency;
    LARGE_INTEGER counterNow;
    FILETIME systemNow;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counterNow);
    GetSystemTimePreciseAsFileTime(&systemNow);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    const double sinceCreationMs = (ticks(systemNow) - ticks(created)) / 10000.0;
    const double sincePaintMs = (counterNow.QuadPart - counterAt.QuadPart) * 1000.0 / frequency.QuadPart;
    return sinceCreationMs - sincePaintMs;
}

// Committed memory of the process that no other process shares (its heaps, stacks and private data);
// counted region by region, because Wine leaves the counters of the process status library at zero.
unsigned long long PrivateCommittedBytes(HANDLE process) {
    unsigned long long total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* address = nullptr;
         VirtualQueryEx(process, address, &region, sizeof(region)) == sizeof(region);
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
    }
    return total;
}

Run MeasureOnce(const std::wstring& program, HMODULE hooks, HOOKPROC getMessageProc,
                HOOKPROC callWndRetProc) {
    Run run;
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &process)) {
        return run;
    }
    wchar_t name[64];
    FirstFrameBlockName(process.dwProcessId, name, 64);
    HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FirstFrameRecord), name);
    auto* record = static_cast<FirstFrameRecord*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, getMessageProc, hooks, process.dwThreadId);
    HHOOK sentHook = SetWindowsHookExW(WH_CALLWNDPROCRET, callWndRetProc, hooks, process.dwThreadId);
    ResumeThread(process.hThread);

    const DWORD start = GetTickCount();
    while (record->painted != 1 && GetTickCount() - start < 30000) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(1);
    }
    if (record->painted == 1) {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user);
        run.firstFrameMs = MillisecondsBetween(created, record->paintedAt);
        Sleep(2000);  // let the start-up settle before looking at memory
        run.privateMiB = PrivateCommittedBytes(process.hProcess) / (1024.0 * 1024.0);
    }
    UnhookWindowsHookEx(hook);
    UnhookWindowsHookEx(sentHook);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    UnmapViewOfFile(record);
    CloseHandle(mapping);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: measure_startup <runs> <program> [<program> ...]\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    HMODULE hooks = LoadLibraryW(SiblingPath(L"first_frame_hooks.dll").c_str());
    const auto hookProc = [hooks](const char* name) {
        return reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hooks, name)));
    };
    const HOOKPROC getMessageProc = hookProc("FirstFrameGetMessageProc");
    const HOOKPROC callWndRetProc = hookProc("FirstFrameCallWndRetProc");
    if (getMessageProc == nullptr || callWndRetProc == nullptr) {
        std::fprintf(stderr, "first_frame_hooks.dll is missing\n");
        return 2;
    }
    // The programs take turns, run after run, so that a machine that gets busier or quieter during the
    // measurement weighs on all of them alike.
    const int programs = argc - 2;
    std::vector<std::vector<double>> frames(programs);
    std::vector<std::vector<double>> memory(programs);
    for (int r = 0; r < runs; ++r) {
        for (int p = 0; p < programs; ++p) {
            const Run run = MeasureOnce(argv[p + 2], hooks, getMessageProc, callWndRetProc);
            if (run.firstFrameMs >= 0) {
                frames[p].push_back(run.firstFrameMs);
                memory[p].push_back(run.privateMiB);
            }
        }
    }
    int status = 0;
    for (int p = 0; p < programs; ++p) {
        if (frames[p].empty()) {
            std::fwprintf(stdout, L"%ls: no painted frame\n", argv[p + 2]);
            status = 1;
            continue;
        }
        std::fwprintf(stdout, L"%ls: first frame %.1f ms (median of %zu), private memory %.1f MiB\n",
                      argv[p + 2], Median(frames[p]), frames[p].size(), Median(memory[p]));
    }
    return status;
}
