// The crash filter in a probe that faults on a thread of its own (crash_probe.exe).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "PortalConfig.h"
#include "tests/support/win32/MessageBoxes.h"
#include "tests/support/win32/TestProcess.h"

namespace app {
namespace {

TEST(CrashReportTest, TheDumpReplacesAnOlderOneBeforeTheNoticeAndOnlyOkOpensTheHelpPage) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        temp + std::wstring(L"tolvane-crash-") + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring dump = folder + L"\\gravewinds-ie.dmp";
    const std::string host = portal::kHelpHost;
    const std::wstring help = L"http://" + std::wstring(host.begin(), host.end()) + L"/index.php";
    testsupport::RecordingDefaultBrowser browser;
    for (int answer : {IDCANCEL, IDOK}) {
        std::ofstream(dump.c_str(), std::ios::binary) << "an older crash's dump, much longer than four bytes";
        testsupport::TestProcess probe;
        ASSERT_TRUE(probe.Start(testsupport::SiblingProgram(L"crash_probe.exe"), L"\"" + folder + L"\""));
        const testsupport::ShownMessageBox notice =
            testsupport::WaitForMessageBox(probe.ProcessId(), L"Tolvane-Runecourt", 60000);
        ASSERT_NE(notice.window, nullptr) << "no crash notice";
        EXPECT_EQ(notice.text, L"检测到当前系统IE版本太低，建议去Tolvane游戏中心下载完整版");
        EXPECT_EQ(notice.owner, nullptr);
        // The dump is complete before the player is asked anything.
        std::ifstream in(dump.c_str(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(bytes.substr(0, 4), "MDMP") << "the older dump was not replaced by a minidump";

        testsupport::AnswerMessageBox(notice.window, answer);
        ASSERT_TRUE(probe.WaitForExit(20000)) << "the process did not end after the notice";
        EXPECT_EQ(probe.ExitCode(), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
        if (answer == IDCANCEL) {
            testsupport::PumpMessagesFor(500);
            EXPECT_EQ(browser.Recorded(), L"") << "Cancel must not open the help page";
        } else {
            EXPECT_TRUE(browser.WaitForAddress(help, 20000)) << testing::PrintToString(browser.Recorded());
        }
    }
    DeleteFileW(dump.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace app
