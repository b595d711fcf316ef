#include "tests/support/win32/ProbedLauncher.h"

namespace testsupport {
namespace {

template <typename Proc>
Proc HookProc(HMODULE hooks, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(hooks, name)));
}

}  // namespace

ProbedLauncher::ProbedLauncher(const std::wstring& arguments) {
    started_ = process_.Start(SiblingProgram(L"TolvaneRunecourt.exe"), arguments, /*suspended=*/true);
    if (!started_) {
        return;
    }
    wchar_t name[64];
    ProcessProbeBlockName(process_.ProcessId(), name, 64);
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(ProcessProbeRecord), name);
    record_ = static_cast<ProcessProbeRecord*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    hooks_ = LoadLibraryW(SiblingProgram(L"process_probe_hooks.dll").c_str());
    cbtHook_ =
        SetWindowsHookExW(WH_CBT, HookProc<HOOKPROC>(hooks_, "ProbeCbtProc"), hooks_, process_.ThreadId());
    getMessageHook_ = SetWindowsHookExW(WH_GETMESSAGE, HookProc<HOOKPROC>(hooks_, "ProbeGetMessageProc"),
                                        hooks_, process_.ThreadId());
    process_.Resume();
}

ProbedLauncher::~ProbedLauncher() {
    process_.Terminate();
    if (cbtHook_ != nullptr)
        UnhookWindowsHookEx(cbtHook_);
    if (getMessageHook_ != nullptr)
        UnhookWindowsHookEx(getMessageHook_);
    if (record_ != nullptr)
        UnmapViewOfFile(record_);
    if (mapping_ != nullptr)
        CloseHandle(mapping_);
    if (hooks_ != nullptr)
        FreeLibrary(hooks_);
}

HallWindows FindHallWindows(DWORD processId) {
    HallWindows found;
    for (HWND window : WindowsOf(processId)) {
        if (ClassOf(window) == L"Tolvane-Runecourt") {
            (IsWindowVisible(window) ? found.visible : found.hidden) = window;
        }
    }
    return found;
}

}  // namespace testsupport
