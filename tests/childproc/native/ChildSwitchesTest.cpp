#include <gtest/gtest.h>

#include "childproc/ChildSwitches.h"

namespace {

std::vector<std::wstring> Line(std::wstring a1, std::wstring a2, std::wstring a3, std::wstring a4) {
    return {L"C:\\Games\\TolvaneRunecourt.exe", a1, a2, a3, a4};
}

TEST(ChildSwitches, AcceptsTheHallsCommandLine) {
    ChildSwitches s;
    ASSERT_TRUE(ParseChildSwitches(
        Line(L"-KVGameBox", L"-KVGameBoxChildProcess", L"-KVHallWnd=132456", L"-ChildIPCWndName=IPC:{A-B}"),
        s));
    EXPECT_EQ(s.hallWindow, 132456);
    EXPECT_EQ(s.ipcName, L"IPC:{A-B}");
}

TEST(ChildSwitches, SwitchesMatchOverTheirFullLengthSoLongerArgumentsMatch) {
    ChildSwitches s;
    EXPECT_TRUE(ParseChildSwitches(
        Line(L"-KVGameBoxX", L"-KVGameBoxChildProcessMore", L"-KVHallWnd=-5x", L"-ChildIPCWndName=n"), s));
    EXPECT_EQ(s.hallWindow, -5);
    // The second switch is longer than the first: the first alone does not satisfy it.
    EXPECT_FALSE(
        ParseChildSwitches(Line(L"-KVGameBox", L"-KVGameBox", L"-KVHallWnd=5", L"-ChildIPCWndName=n"), s));
    EXPECT_FALSE(ParseChildSwitches(
        Line(L"-kvgamebox", L"-KVGameBoxChildProcess", L"-KVHallWnd=5", L"-ChildIPCWndName=n"), s));
}

TEST(ChildSwitches, RefusesWithoutAHallWindowOrName) {
    ChildSwitches s;
    const std::wstring a1 = L"-KVGameBox", a2 = L"-KVGameBoxChildProcess";
    EXPECT_FALSE(ParseChildSwitches(Line(a1, a2, L"-KVHallWnd=0", L"-ChildIPCWndName=n"), s));
    EXPECT_FALSE(ParseChildSwitches(Line(a1, a2, L"-KVHallWnd=", L"-ChildIPCWndName=n"), s));
    EXPECT_FALSE(ParseChildSwitches(Line(a1, a2, L"-KVHallWnd=abc", L"-ChildIPCWndName=n"), s));
    EXPECT_FALSE(ParseChildSwitches(Line(a1, a2, L"-KVHallWnd=5", L"-ChildIPCWndName="), s));
    EXPECT_FALSE(ParseChildSwitches(Line(a1, a2, L"-KVHallWnd=5", L"-OtherName=n"), s));
    EXPECT_FALSE(ParseChildSwitches(Line(a1, a2, L"-HallWnd=5", L"-ChildIPCWndName=n"), s));
}

TEST(ChildSwitches, NeedsExactlyFiveArguments) {
    ChildSwitches s;
    std::vector<std::wstring> six =
        Line(L"-KVGameBox", L"-KVGameBoxChildProcess", L"-KVHallWnd=5", L"-ChildIPCWndName=n");
    six.push_back(L"extra");
    EXPECT_FALSE(ParseChildSwitches(six, s));
    EXPECT_FALSE(ParseChildSwitches({L"exe", L"-KVGameBox", L"-KVGameBoxChildProcess", L"-KVHallWnd=5"}, s));
}

}  // namespace
