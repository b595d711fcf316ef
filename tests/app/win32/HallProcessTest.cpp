// The built executable started with every argument count: the role it takes, its exit code, the windows
// it shows, and the order of the hall's start-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/win32/ProbedLauncher.h"
#include "tests/support/win32/TestProcess.h"

namespace app {
namespace {

using testsupport::ProbedLauncher;
using testsupport::WaitUntil;

// Argument counts without a role end at once with 0; four arguments run the child role, which refuses
// switches that are not its own with -1. Neither shows a window.
TEST(LauncherRoles, EveryOtherArgumentCountEndsAtOnceWithoutAWindow) {
    const struct {
        const wchar_t* arguments;
        DWORD exitCode;
    } cases[] = {
        {L"a", 0},
        {L"fromc=12 b", 0},
        {L"a b c", 0},
        {L"a b c d e f g", 0},
        {L"a b c d", static_cast<DWORD>(-1)},
        {L"-KVGameBox -KVGameBox -KVHallWnd=5 -ChildIPCWndName=x", static_cast<DWORD>(-1)},
        {L"-KVGameBox -KVGameBoxChildProcess -KVHallWnd=0 -ChildIPCWndName=x", static_cast<DWORD>(-1)},
        {L"-KVGameBox -KVGameBoxChildProcess -KVHallWnd=5 -ChildIPCWndName=", static_cast<DWORD>(-1)},
    };
    for (const auto& c : cases) {
        ProbedLauncher launcher(c.arguments);
        ASSERT_TRUE(launcher.Ready()) << c.arguments;
        ASSERT_TRUE(launcher.Process().WaitForExit(10000)) << c.arguments;
        EXPECT_EQ(launcher.Process().ExitCode(), c.exitCode) << c.arguments;
        EXPECT_EQ(launcher.Record().windowsCreated, 0) << c.arguments;
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

    const testsupport::HallWindows windows = testsupport::FindHallWindows(launcher.Process().ProcessId());
    ASSERT_EQ(windows.count, 2);
    ASSERT_NE(windows.visible, nullptr);
    ASSERT_NE(windows.hidden, nullptr);
    RECT launcherRect;
    GetWindowRect(windows.visible, &launcherRect);
    EXPECT_GE(launcherRect.right - launcherRect.left, 1280);
    const LONG style = GetWindowLongW(windows.visible, GWL_STYLE);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    // Created without the layered style, the launcher takes it with its first paint: its skin has
    // transparent parts.
    EXPECT_TRUE(WaitUntil(
        10000, [&] { return (GetWindowLongW(windows.visible, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }));
    wchar_t title[64] = {};
    GetWindowTextW(windows.visible, title, 64);
    EXPECT_STREQ(title, L"Tolvane-Runecourt");

    // A quit message ends the loop and the hall with 0.
    ASSERT_NE(PostThreadMessageW(launcher.Process().ThreadId(), WM_QUIT, 0, 0), FALSE);
    ASSERT_TRUE(launcher.Process().WaitForExit(10000));
    EXPECT_EQ(launcher.Process().ExitCode(), 0u);
}

}  // namespace
}  // namespace app
