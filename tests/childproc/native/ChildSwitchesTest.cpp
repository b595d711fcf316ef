#include <gtest/gtest.h>

#include "childproc/ChildSwitches.h"

namespace childproc {
namespace {

std::vector<std::wstring> Line(std::wstring a1, std::wstring a2, std::wstring a3, std::wstring a4) {
    return {L"C:\\Games\\TolvaneRunecourt.exe", a1, a2, a3, a4};
}

// Each switch matches over its own full length, so longer arguments match too.
TEST(ChildSwitches, AcceptsTheHallsCommandLineAndLongerSwitches) {
    ChildSwitches s;
    ASSERT_TRUE(ParseChildSwitches(
        Line(L"-KVGameBox", L"-KVGameBoxChildProcess", L"-KVHallWnd=132456", L"-ChildIPCWndName=IPC:{A-B}"),
        s));
    EXPECT_EQ(s.hallWindow, 132456);
    EXPECT_EQ(s.ipcName, L"IPC:{A-B}");
    ASSERT_TRUE(ParseChildSwitches(
        Line(L"-KVGameBoxX", L"-KVGameBoxChildProcessMore", L"-KVHallWnd=-5x", L"-ChildIPCWndName=n"), s));
    EXPECT_EQ(s.hallWindow, -5);
}

TEST(ChildSwitches, RefusesOtherSwitchesNoHallWindowNoNameAndOtherCounts) {
    const std::wstring a1 = L"-KVGameBox", a2 = L"-KVGameBoxChildProcess", name = L"-ChildIPCWndName=n";
    const std::vector<std::vector<std::wstring>> refused = {
        // The second switch is longer than the first: the first alone does not satisfy it.
        Line(a1, a1, L"-KVHallWnd=5", name),
        Line(L"-kvgamebox", a2, L"-KVHallWnd=5", name),
        Line(a1, a2, L"-KVHallWnd=0", name),
        Line(a1, a2, L"-KVHallWnd=", name),
        Line(a1, a2, L"-KVHallWnd=abc", name),
        Line(a1, a2, L"-KVHallWnd=5", L"-ChildIPCWndName="),
        Line(a1, a2, L"-KVHallWnd=5", L"-OtherName=n"),
        Line(a1, a2, L"-HallWnd=5", name),
        {L"exe", a1, a2, L"-KVHallWnd=5", name, L"extra"},
        {L"exe", a1, a2, L"-KVHallWnd=5"},
    };
    for (const auto& line : refused) {
        ChildSwitches s;
        EXPECT_FALSE(ParseChildSwitches(line, s)) << line[1] << " " << line[2] << " " << line[3];
    }
}

}  // namespace
}  // namespace childproc
