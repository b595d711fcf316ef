// The self-update against real servers on loopback (tools/with-update-servers.sh): nginx, and a server
// that injects faults. Each case announces its own package name.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <memory>

#include "services/UpdateRules.h"
#include "services/win32/FileChecksum.h"
#include "services/win32/SelfUpdater.h"
#include "services/win32/UpdatePackage.h"
#include "tests/services/support/UpdateServers.h"
#include "tests/services/win32/TestSystem.h"
#include "tests/support/win32/TestProcess.h"

namespace servicetests {
namespace {

using services::UpdateCheck;
using testservers::LinesWith;

constexpr size_t kPackageSize = 2 * 1024 * 1024 + 333;
// Roaming application data of a player whose profile folder has a Chinese name.
constexpr wchar_t kProfileName[] = L"玩家档案 Ünïcode";

services::SelfUpdater* g_timerUpdater = nullptr;

LRESULT CALLBACK HallWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_timerUpdater != nullptr && g_timerUpdater->OnMessage(window, message, wParam)
               ? 0
               : DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window standing in for the launcher window: the update's messages go to the updater.
HWND NewHallWindow() {
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HallWindowProc));
    return window;
}

class SelfUpdaterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testservers::Available()) << "run through tools/with-update-servers.sh";
        testservers::Serve(name_, package_);
        CreateDirectoryW(appData_.c_str(), nullptr);
        system_.folders[CSIDL_APPDATA] = appData_;
        g_timerUpdater = &updater_;
    }
    void TearDown() override {
        WaitForDownloads();
        g_timerUpdater = nullptr;
    }

    std::wstring LocalCopy() const { return appData_ + L"\\Tolvane\\update\\" + WidenAscii(name_); }
    void Announce(const std::string& address, const std::wstring& checksum = L"", HWND hall = nullptr) {
        updater_.OnUpdateInfo(childproc::UpdateInfo{checksum, WidenAscii(address)}, hall);
    }
    UpdateCheck Check() { return updater_.CheckNow(nullptr); }
    // A local copy left by an earlier run.
    void PutLocalCopy(const std::vector<uint8_t>& bytes) {
        services::UpdateFolder(system_);
        ASSERT_TRUE(MakeFile(LocalCopy(), std::string(bytes.begin(), bytes.end())));
    }
    bool WaitForDownloads() {
        return testsupport::WaitUntil(30000, [&] { return updater_.RunningDownloads() == 0; });
    }
    // Runs checks, letting each download finish, until one installs or the rounds are used up.
    bool InstallsWithin(int rounds) {
        for (int i = 0; i < rounds; ++i) {
            if (Check() == UpdateCheck::Installing) {
                return true;
            }
            WaitForDownloads();
        }
        return false;
    }
    std::wstring Md5Text(const std::vector<uint8_t>& bytes) {
        const std::wstring path = scratch_.Sub(L"md5-probe");
        MakeFile(path, std::string(bytes.begin(), bytes.end()));
        return WidenAscii(services::Md5OfFile(path));
    }

    const std::string test_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string name_ = test_ + ".exe";
    std::vector<uint8_t> package_ =
        testservers::PackageBytes(kPackageSize, static_cast<uint32_t>(name_.size() * 7));
    ScratchFolder scratch_{WidenAscii(test_)};
    const std::wstring appData_ = scratch_.Sub(kProfileName);
    TestSystem system_;
    services::SelfUpdater updater_{system_};
};

// The package is the recording program, so that the shell really starts the complete copy; how a copy
// gets complete is in the cases below.
TEST_F(SelfUpdaterTest, TheCompleteCopyIsStartedFromItsWidePathWithTheExactParameters) {
    package_ = ReadWholeFile(testsupport::SiblingProgram(L"update_test_installer.exe"));
    ASSERT_FALSE(package_.empty());
    testservers::Serve(name_, package_);
    PutLocalCopy(package_);
    Announce(testservers::NginxUrl(name_), Md5Text(package_));
    system_.passShellRequestsOn = true;
    EXPECT_EQ(Check(), UpdateCheck::Installing);
    EXPECT_EQ(system_.notices.size(), 1u);
    ASSERT_EQ(system_.shellRequests.size(), 1u);
    EXPECT_EQ(system_.shellRequests[0].show, SW_SHOW);
    // The record lies beside the copy, in the profile with the Chinese name: it ran from there.
    std::vector<uint8_t> record;
    ASSERT_TRUE(testsupport::WaitUntil(20000, [&] {
        return !(record = ReadWholeFile(LocalCopy() + L".args")).empty();
    })) << "the installer did not run";
    EXPECT_EQ(std::string(record.begin(), record.end()),
              "/sp- /VERYSILENT /norestart /appid={C7E1B3A9-2F64-4A8D-B05E-93D17A6C24F8} "
              "/appname=services_update_test.exe\n");
    EXPECT_TRUE(LinesWith(testservers::NginxLog(), "GET /" + name_).empty())
        << "a complete copy fetched again";
}

// The size query may wait on the network for long; the launcher window must keep answering meanwhile.
TEST_F(SelfUpdaterTest, TheCheckRunsOffTheWindowThreadAfterTheLastRecordAndOneAtATime) {
    HWND hall = NewHallWindow();
    ASSERT_NE(hall, nullptr);
    // Nothing is served under the first name: its check ends quietly after the size query, held 10 s.
    const std::string held = testservers::FaultUrl("stall-size", "held-" + name_);
    const std::string next = testservers::FaultUrl("slow", name_);
    Announce(held, L"", hall);
    testsupport::PumpMessagesFor(1000);
    Announce(held, L"", hall);
    const DWORD second = GetTickCount();
    ASSERT_TRUE(testsupport::WaitUntil(5000, [&] { return updater_.CheckRunning(); })) << "no check";
    EXPECT_GE(GetTickCount() - second, 1900u) << "the second record did not re-arm the timer";

    // This thread goes on while the size query is held; a record that arrives meanwhile is checked next.
    Announce(next, L"", hall);
    ASSERT_TRUE(testsupport::WaitUntil(
        30000, [&] { return !LinesWith(testservers::FaultLog(), "HEAD /slow/").empty(); }));
    ASSERT_TRUE(testsupport::WaitUntil(10000, [&] { return updater_.RunningDownloads() == 1; }));
    const auto heads = LinesWith(LinesWith(testservers::FaultLog(), "HEAD /"), name_);
    ASSERT_EQ(heads.size(), 2u) << "one check for the two first records, then one for the next";
    EXPECT_NE(heads[0].find("/stall-size/"), std::string::npos);
    EXPECT_NE(heads[1].find("/slow/"), std::string::npos);
    // A copy that is still being written is neither judged nor touched.
    EXPECT_EQ(Check(), UpdateCheck::DownloadRunning);
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_EQ(ReadWholeFile(LocalCopy()), package_);
    DestroyWindow(hall);
}

// Servers that cut the connection, ignore the range asked for, or redirect: the copy still ends
// identical to the package and is installed.
TEST_F(SelfUpdaterTest, FaultyServersStillEndInAnIdenticalCopy) {
    const std::vector<uint8_t> half(package_.begin(), package_.begin() + kPackageSize / 2);
    for (const std::string fault : {"cut", "ignore-range", "redirect"}) {
        // A cut comes only in an answer from byte 0; the others start from a copy half there.
        DeleteFileW(LocalCopy().c_str());
        if (fault != "cut") {
            PutLocalCopy(half);
        }
        Announce(testservers::FaultUrl(fault, fault == "redirect" ? "slow/" + name_ : name_),
                 Md5Text(package_));
        EXPECT_TRUE(InstallsWithin(3)) << fault;
        EXPECT_EQ(ReadWholeFile(LocalCopy()), package_) << fault;
    }
    const std::string resumed = "GET /cut/" + name_ + " bytes=" + std::to_string(half.size()) + "-";
    EXPECT_EQ(testservers::AwaitLines(&testservers::FaultLog, resumed, 1).size(), 1u)
        << "the cut download was not resumed";
}

// A copy larger than announced, or of the right size with the wrong bytes, is deleted and fetched again
// from byte 0; a size that never matches, or an answer for a range not asked for, installs nothing.
TEST_F(SelfUpdaterTest, ACopyThatCannotBeThePackageIsReplacedOrNeverInstalled) {
    std::vector<uint8_t> grown = package_;
    grown.insert(grown.end(), package_.begin(), package_.begin() + 5000);
    PutLocalCopy(grown);
    Announce(testservers::NginxUrl(name_));
    EXPECT_TRUE(InstallsWithin(3));
    EXPECT_EQ(ReadWholeFile(LocalCopy()), package_);
    const size_t installs = system_.notices.size();

    Announce(testservers::NginxUrl(name_), L"0123456789abcdef0123456789ABCDEF");
    EXPECT_FALSE(InstallsWithin(2));
    EXPECT_EQ(testservers::AwaitLines(&testservers::NginxLog, "GET /" + name_ + " \"bytes=0-\"", 3).size(),
              3u);

    Announce(testservers::FaultUrl("wrong-size", name_));
    EXPECT_FALSE(InstallsWithin(2));
    EXPECT_EQ(ReadWholeFile(LocalCopy()), package_);

    const std::vector<uint8_t> partial(package_.begin(), package_.begin() + 4096);
    PutLocalCopy(partial);
    Announce(testservers::FaultUrl("wrong-range", name_));
    EXPECT_FALSE(InstallsWithin(2));
    EXPECT_EQ(ReadWholeFile(LocalCopy()), partial);
    EXPECT_EQ(system_.notices.size(), installs);
}

}  // namespace
}  // namespace servicetests
