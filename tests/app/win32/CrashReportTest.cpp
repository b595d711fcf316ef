#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "PortalConfig.h"
#include "tests/support/win32/MessageBoxes.h"
#include "tests/support/win32/TestProcess.h"

namespace {

using testsupport::TestProcess;

const std::wstring kNoticeCaption = L"Tolvane-Runecourt";
const std::wstring kNoticeText = L"检测到当前系统IE版本太低，建议去Tolvane游戏中心下载完整版";

std::wstring ScratchFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class CrashReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = ScratchFolder(L"tolvane-crash-");
        dump_ = folder_ + L"\\gravewinds-ie.dmp";
        std::ofstream(dump_.c_str(), std::ios::binary)
            << "an older crash's dump, much longer than four bytes";
    }
    void TearDown() override {
        DeleteFileW(dump_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    // Starts the probe, which faults on a second thread, and returns the notice it shows.
    testsupport::ShownMessageBox Crash(TestProcess& probe) {
        EXPECT_TRUE(probe.Start(testsupport::SiblingProgram(L"crash_probe.exe"), L"\"" + folder_ + L"\""));
        return testsupport::WaitForMessageBox(probe.ProcessId(), kNoticeCaption, 60000);
    }

    std::wstring folder_;
    std::wstring dump_;
};

TEST_F(CrashReportTest, FaultOnAnotherThreadReplacesTheDumpAndEndsAfterCancel) {
    testsupport::RecordingDefaultBrowser browser(folder_ + L"\\browser.txt");
    TestProcess probe;
    const testsupport::ShownMessageBox notice = Crash(probe);
    ASSERT_NE(notice.window, nullptr) << "no crash notice";
    EXPECT_EQ(kNoticeText, notice.text);
    EXPECT_EQ(nullptr, notice.owner);

    // The dump is complete before the player is asked anything.
    const std::string dump = ReadFile(dump_);
    ASSERT_GE(dump.size(), 32u);
    EXPECT_EQ("MDMP", dump.substr(0, 4)) << "the older dump was not replaced by a minidump";

    testsupport::AnswerMessageBox(notice.window, IDCANCEL);
    ASSERT_TRUE(probe.WaitForExit(20000)) << "the process did not end after the notice";
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), probe.ExitCode());
    testsupport::PumpMessagesFor(500);
    EXPECT_EQ(L"", browser.Recorded()) << "Cancel must not open the help page";
}

TEST_F(CrashReportTest, OkOpensTheHelpPageInTheDefaultBrowser) {
    testsupport::RecordingDefaultBrowser browser(folder_ + L"\\browser.txt");
    TestProcess probe;
    const testsupport::ShownMessageBox notice = Crash(probe);
    ASSERT_NE(notice.window, nullptr) << "no crash notice";
    testsupport::AnswerMessageBox(notice.window, IDOK);
    const std::string host = portal::kHelpHost;
    const std::wstring help = L"http://" + std::wstring(host.begin(), host.end()) + L"/index.php";
    EXPECT_TRUE(browser.WaitForAddress(help, 20000))
        << "recorded: " << testing::PrintToString(browser.Recorded());
    EXPECT_TRUE(probe.WaitForExit(20000));
}

}  // namespace
