// The built executable started with argument counts that run no hall: the role it takes, its exit code
// and the windows it shows. (The hall's start-up is walked in PortalRoadTest.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/win32/ProbedLauncher.h"

namespace app {
namespace {

using testsupport::ProbedLauncher;

// Argument counts without a role end at once with 0; four arguments run the child role, which refuses
// switches that are not its own with -1. Neither shows a window.
TEST(LauncherRoles, EveryOtherArgumentCountEndsAtOnceWithoutAWindow) {
    const struct {
        const wchar_t* arguments;
        DWORD exitCode;
    } cases[] = {
        {L"a", 0},
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

}  // namespace
}  // namespace app
