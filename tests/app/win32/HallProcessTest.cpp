// The built executable started with every argument count: the role it takes, its exit code, the windows
// it shows, and the order of the hall's start-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/app/win32/ProcessProbe.h"
#include "tests/support/win32/TestProcess.h"

namespace {

using testsupport::SiblingProgram;
using testsupport::TestProcess;
using testsupport::WaitUntil;

// A launcher process started suspended with the probe hooks on its main thread.
class ProbedLauncher {
public:
    explicit ProbedLauncher(const std::wstring& arguments) {
        started_ = process_.Start(SiblingProgram(L"TolvaneRunecourt.exe"), arguments, /*suspended=*/true);
        if (!started_) {
            return;
        }
        wchar_t name[64];
        ProcessProbeBlockName(process_.ProcessId(), name, 64);
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProcessProbeRecord), name);
        record_ = static_cast<ProcessProbeRecord*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        hooks_ = LoadLibraryW(SiblingProgram(L"process_probe_hooks.dll").c_str());
        const auto cbt = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hooks_, "ProbeCbtProc")));
        const auto getMessage = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hooks_, "ProbeGetMessageProc")));
        cbtHook_ = SetWindowsHookExW(WH_CBT, cbt, hooks_, process_.ThreadId());
        getMessageHook_ = SetWindowsHookExW(WH_GETMESSAGE, getMessage, hooks_, process_.ThreadId());
        process_.Resume();
    }
    ~ProbedLauncher() {
        process_.Terminate();
        if (cbtHook_ != nullptr) UnhookWindowsHookEx(cbtHook_);
        if (getMessageHook_ != nullptr) UnhookWindowsHookEx(getMessageHook_);
        if (record_ != nullptr) UnmapViewOfFile(record_);
        if (mapping_ != nullptr) CloseHandle(mapping_);
        if (hooks_ != nullptr) FreeLibrary(hooks_);
    }

    bool Ready() const { return started_ && record_ != nullptr && cbtHook_ != nullptr && getMessageHook_ != nullptr; }
    TestProcess& Process() { return process_; }
    const ProcessProbeRecord& Record() const { return *record_; }

private:
    TestProcess process_;
    bool started_ = false;
    HANDLE mapping_ = nullptr;
    ProcessProbeRecord* record_ = nullptr;
    HMODULE hooks_ = nullptr;
    HHOOK cbtHook_ = nullptr;
    HHOOK getMessageHook_ = nullptr;
};

struct HallWindows {
    DWORD processId;
    HWND visible = nullptr;
    HWND hidden = nullptr;
    int count = 0;
};

BOOL CALLBACK CollectHallWindows(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<HallWindows*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    if (pid == found->processId && lstrcmpW(className, L"Tolvane-Runecourt") == 0) {
        ++found->count;
        (IsWindowVisible(hwnd) ? found->visible : found->hidden) = hwnd;
    }
    return TRUE;
}

HallWindows FindHallWindows(DWORD processId) {
    HallWindows found{processId};
    EnumWindows(&CollectHallWindows, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(LauncherRoles, ArgumentCountsWithoutARoleEndAtOnceWithZeroAndNoWindow) {
    for (const wchar_t* arguments : {L"a", L"fromc=12 b", L"a b c", L"a b c d e", L"a b c d e f g"}) {
        ProbedLauncher launcher(arguments);
        ASSERT_TRUE(launcher.Ready()) << arguments;
        ASSERT_TRUE(launcher.Process().WaitForExit(10000)) << arguments;
        EXPECT_EQ(launcher.Process().ExitCode(), 0u) << arguments;
        EXPECT_EQ(launcher.Record().windowsCreated, 0) << arguments;
    }
}

TEST(LauncherRoles, FourArgumentsRunTheChildRoleWhichRefusesBadSwitches) {
    for (const wchar_t* arguments :
         {L"a b c d", L"-KVGameBox -KVGameBox -KVHallWnd=5 -ChildIPCWndName=x",
          L"-KVGameBox -KVGameBoxChildProcess -KVHallWnd=0 -ChildIPCWndName=x",
          L"-KVGameBox -KVGameBoxChildProcess -KVHallWnd=5 -ChildIPCWndName="}) {
        ProbedLauncher launcher(arguments);
        ASSERT_TRUE(launcher.Ready()) << arguments;
        ASSERT_TRUE(launcher.Process().WaitForExit(10000)) << arguments;
        EXPECT_EQ(launcher.Process().ExitCode(), static_cast<DWORD>(-1)) << arguments;
        EXPECT_EQ(launcher.Record().windowsCreated, 0) << arguments;
    }
}

TEST(LauncherHall, ShowsTheLauncherKeepsTheGameWindowHiddenAndStartsAfterBothExist) {
    ProbedLauncher launcher(L"");
    ASSERT_TRUE(launcher.Ready());
    ASSERT_TRUE(WaitUntil(15000, [&] { return launcher.Record().hallStartSeen > 0; }));
    // The start message was posted before the game window was made, yet taken only after it existed.
    EXPECT_EQ(launcher.Record().hallStartSeen, 1);
    EXPECT_EQ(launcher.Record().gameWindowExistedAtHallStart, 1);
    EXPECT_EQ(launcher.Record().gameWindowVisibleAtHallStart, 0);

    const HallWindows windows = FindHallWindows(launcher.Process().ProcessId());
    ASSERT_EQ(windows.count, 2);
    ASSERT_NE(windows.visible, nullptr);
    ASSERT_NE(windows.hidden, nullptr);
    RECT launcherRect;
    GetWindowRect(windows.visible, &launcherRect);
    EXPECT_GE(launcherRect.right - launcherRect.left, 1280);
    const LONG style = GetWindowLongW(windows.visible, GWL_STYLE);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(GetWindowLongW(windows.visible, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    wchar_t title[64] = {};
    GetWindowTextW(windows.visible, title, 64);
    EXPECT_STREQ(title, L"Tolvane-Runecourt");

    // A quit message ends the loop and the hall with 0.
    ASSERT_NE(PostThreadMessageW(launcher.Process().ThreadId(), WM_QUIT, 0, 0), FALSE);
    ASSERT_TRUE(launcher.Process().WaitForExit(10000));
    EXPECT_EQ(launcher.Process().ExitCode(), 0u);
}

TEST(LauncherResources, CarriesTheWindowIconAtTheLargeAndSmallSizes) {
    HMODULE exe = LoadLibraryExW(SiblingProgram(L"TolvaneRunecourt.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    for (int size : {16, 32, 48}) {
        HANDLE icon = LoadImageW(exe, MAKEINTRESOURCEW(101), IMAGE_ICON, size, size, 0);
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(static_cast<HICON>(icon));
    }
    EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr);  // version
    FreeLibrary(exe);
}

}  // namespace
