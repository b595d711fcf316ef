#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <memory>

#include "services/UpdateRules.h"
#include "services/win32/FileChecksum.h"
#include "services/win32/SelfUpdater.h"
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
const std::wstring kNotice =
    std::wstring(services::kUpdateNoticeText) + L"|" + services::kUpdateNoticeCaption;

services::SelfUpdater* g_timerUpdater = nullptr;

LRESULT CALLBACK HallWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_timerUpdater != nullptr && g_timerUpdater->OnMessage(window, message, wParam)) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window standing in for the launcher window: the update's messages go to the updater.
HWND NewHallWindow() {
    static const ATOM windowClass = [] {
        WNDCLASSW description = {};
        description.lpfnWndProc = &HallWindowProc;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = L"TolvaneUpdateTestHall";
        return RegisterClassW(&description);
    }();
    return CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

class SelfUpdaterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testservers::Available()) << "run through tools/with-update-servers.sh";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        name_ = std::string(info->name()) + ".bin";
        package_ = testservers::PackageBytes(kPackageSize, static_cast<uint32_t>(name_.size() * 7));
        testservers::Serve(name_, package_);
        scratch_ = std::make_unique<ScratchFolder>(Widen(info->name()));
        appData_ = scratch_->Sub(kProfileName);
        CreateDirectoryW(appData_.c_str(), nullptr);
        system_.folders[CSIDL_APPDATA] = appData_;
        updater_ = std::make_unique<services::SelfUpdater>(system_);
    }
    void TearDown() override {
        if (updater_) {
            WaitForCheckAndDownloads();
        }
        g_timerUpdater = nullptr;
        updater_.reset();
        scratch_.reset();
    }

    std::wstring LocalCopy(const std::string& name) const {
        return appData_ + L"\\Tolvane\\update\\" + Widen(name);
    }
    void Announce(const std::string& address, const std::wstring& checksum = L"") {
        updater_->OnUpdateInfo(childproc::UpdateInfo{checksum, Widen(address)}, nullptr);
    }
    UpdateCheck Check() { return updater_->CheckNow(nullptr); }
    // A local copy left by an earlier run.
    void PutLocalCopy(const std::string& name, const uint8_t* data, size_t size) {
        CreateDirectoryW((appData_ + L"\\Tolvane").c_str(), nullptr);
        CreateDirectoryW((appData_ + L"\\Tolvane\\update").c_str(), nullptr);
        ASSERT_TRUE(MakeFile(LocalCopy(name), std::string(data, data + size)));
    }
    bool WaitForDownloads() {
        return testsupport::WaitUntil(30000, [&] { return updater_->RunningDownloads() == 0; });
    }
    // The check that the timer started, and then the download it started.
    bool WaitForCheckAndDownloads() {
        return testsupport::WaitUntil(30000, [&] { return !updater_->CheckRunning(); }) && WaitForDownloads();
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
        const std::wstring path = scratch_->Sub(L"md5-probe");
        MakeFile(path, std::string(bytes.begin(), bytes.end()));
        return Widen(services::Md5OfFile(path));
    }

    std::string name_;
    std::vector<uint8_t> package_;
    std::unique_ptr<ScratchFolder> scratch_;
    std::wstring appData_;
    TestSystem system_;
    std::unique_ptr<services::SelfUpdater> updater_;
};

TEST_F(SelfUpdaterTest, DownloadsFromZeroResumesFromTheLocalSizeAndInstallsTheIdenticalCopy) {
    Announce(testservers::NginxUrl(name_));
    EXPECT_EQ(Check(), UpdateCheck::DownloadStarted);
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_EQ(ReadBytes(LocalCopy(name_)), package_);

    // An interrupted earlier attempt: the next check asks for the rest only.
    const size_t kept = 700001;
    PutLocalCopy(name_, package_.data(), kept);
    EXPECT_EQ(Check(), UpdateCheck::DownloadStarted);
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_EQ(ReadBytes(LocalCopy(name_)), package_);

    const auto gets = testservers::AwaitNginxLines("GET /" + name_, 2);
    ASSERT_EQ(gets.size(), 2u);
    EXPECT_NE(gets[0].find("\"bytes=0-\" 206 " + std::to_string(kPackageSize)), std::string::npos) << gets[0];
    EXPECT_NE(gets[1].find("\"bytes=700001-\" 206 " + std::to_string(kPackageSize - kept)), std::string::npos)
        << gets[1];

    // Complete now: the notice, then the installer through the shell, and no body fetched again.
    EXPECT_EQ(Check(), UpdateCheck::Installing);
    ASSERT_EQ(system_.notices.size(), 1u);
    EXPECT_EQ(system_.notices[0], kNotice);
    ASSERT_EQ(system_.shellRequests.size(), 1u);
    EXPECT_EQ(system_.shellRequests[0].verb, L"open");
    EXPECT_EQ(system_.shellRequests[0].file, LocalCopy(name_));
    EXPECT_EQ(system_.shellRequests[0].show, SW_SHOW);
    EXPECT_EQ(testservers::AwaitNginxLines("GET /" + name_, 2).size(), 2u);
}

TEST_F(SelfUpdaterTest, TheInstallerStartsFromANonAsciiProfileWithTheExactParameters) {
    const std::wstring installer = testsupport::SiblingProgram(L"update_test_installer.exe");
    const std::vector<uint8_t> installerBytes = ReadBytes(installer);
    ASSERT_FALSE(installerBytes.empty());
    const std::string name = "TolvaneSetup.exe";
    testservers::Serve(name, installerBytes);
    system_.passShellRequestsOn = true;

    // The real path: the record arms the timer on the launcher window, the timer runs the check.
    HWND hall = NewHallWindow();
    ASSERT_NE(hall, nullptr);
    g_timerUpdater = updater_.get();
    const childproc::UpdateInfo info{Md5Text(installerBytes), Widen(testservers::NginxUrl(name))};

    updater_->OnUpdateInfo(info, hall);
    testsupport::PumpMessagesFor(2500);
    ASSERT_TRUE(WaitForCheckAndDownloads());
    EXPECT_TRUE(system_.notices.empty());
    EXPECT_EQ(ReadBytes(LocalCopy(name)), installerBytes);

    updater_->OnUpdateInfo(info, hall);
    ASSERT_TRUE(testsupport::WaitUntil(10000, [&] { return !system_.notices.empty(); }));
    ASSERT_EQ(system_.notices.size(), 1u);
    const std::wstring record = LocalCopy(name) + L".args";
    ASSERT_TRUE(testsupport::WaitUntil(20000, [&] { return Exists(record); })) << "the installer did not run";
    testsupport::PumpMessagesFor(300);
    const std::vector<uint8_t> bytes = ReadBytes(record);
    const std::wstring commandLine(reinterpret_cast<const wchar_t*>(bytes.data()),
                                   bytes.size() / sizeof(wchar_t));
    const std::wstring expected =
        L"/sp- /VERYSILENT /norestart /appid={C7E1B3A9-2F64-4A8D-B05E-93D17A6C24F8} "
        L"/appname=services_update_test.exe";
    ASSERT_GE(commandLine.size(), expected.size());
    EXPECT_EQ(commandLine.substr(commandLine.size() - expected.size()), expected);
    EXPECT_NE(commandLine.find(kProfileName), std::wstring::npos) << "started from its own wide path";
    DestroyWindow(hall);
}

TEST_F(SelfUpdaterTest, TwoRecordsInARowStartOneDownload) {
    HWND hall = NewHallWindow();
    g_timerUpdater = updater_.get();
    const childproc::UpdateInfo info{L"", Widen(testservers::FaultUrl("slow", name_))};

    updater_->OnUpdateInfo(info, hall);
    testsupport::PumpMessagesFor(1000);
    updater_->OnUpdateInfo(info, hall);
    testsupport::PumpMessagesFor(2000);
    EXPECT_TRUE(testsupport::WaitUntil(5000, [&] { return updater_->RunningDownloads() == 1; }));
    // Another check while the download runs leaves it alone.
    EXPECT_EQ(Check(), UpdateCheck::DownloadRunning);
    EXPECT_FALSE(updater_->OnMessage(hall, WM_TIMER, services::kUpdateTimerId + 1));
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_EQ(ReadBytes(LocalCopy(name_)), package_);

    EXPECT_EQ(testservers::AwaitFaultLines("GET /slow/" + name_, 1).size(), 1u);
    EXPECT_EQ(LinesWith(testservers::FaultLog(), "HEAD /slow/" + name_).size(), 1u)
        << "one check for two records";
    DestroyWindow(hall);
}

TEST_F(SelfUpdaterTest, AServerIgnoringRangesOrACopyLargerThanAnnouncedStillGiveAnIdenticalCopy) {
    const std::vector<uint8_t> partial(package_.begin(), package_.begin() + 123456);
    PutLocalCopy(name_, partial.data(), partial.size());
    Announce(testservers::FaultUrl("ignore-range", name_), Md5Text(package_));
    EXPECT_TRUE(InstallsWithin(3));
    EXPECT_EQ(ReadBytes(LocalCopy(name_)), package_);

    // Larger than announced: deleted and fetched again from byte 0.
    std::vector<uint8_t> grown = package_;
    grown.insert(grown.end(), package_.begin(), package_.begin() + 5000);
    PutLocalCopy(name_, grown.data(), grown.size());
    Announce(testservers::NginxUrl(name_));
    EXPECT_TRUE(InstallsWithin(3));
    EXPECT_EQ(ReadBytes(LocalCopy(name_)), package_);
    EXPECT_EQ(testservers::AwaitNginxLines("GET /" + name_ + " \"bytes=0-\"", 1).size(), 1u);
}

TEST_F(SelfUpdaterTest, ACutConnectionIsResumedOnTheNextVisit) {
    Announce(testservers::FaultUrl("cut", name_), Md5Text(package_));
    EXPECT_EQ(Check(), UpdateCheck::DownloadStarted);
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_EQ(ReadBytes(LocalCopy(name_)).size(), kPackageSize / 2);
    EXPECT_TRUE(InstallsWithin(3));
    EXPECT_EQ(ReadBytes(LocalCopy(name_)), package_);
    EXPECT_EQ(
        testservers::AwaitFaultLines("GET /cut/" + name_ + " bytes=" + std::to_string(kPackageSize / 2), 1)
            .size(),
        1u);
}

TEST_F(SelfUpdaterTest, WrongSizesWrongChecksumsAndMissingPackagesAreNeverInstalled) {
    // The size query announces more than the server sends: the copy never looks complete.
    Announce(testservers::FaultUrl("wrong-size", name_));
    EXPECT_FALSE(InstallsWithin(3));
    EXPECT_EQ(ReadBytes(LocalCopy(name_)), package_);

    // The right size but the wrong bytes: deleted and fetched again from byte 0, never installed.
    const std::string other = "other-" + name_;
    testservers::Serve(other, package_);
    Announce(testservers::NginxUrl(other), L"0123456789abcdef0123456789ABCDEF");
    EXPECT_FALSE(InstallsWithin(3));
    EXPECT_GE(testservers::AwaitNginxLines("GET /" + other + " \"bytes=0-\"", 2).size(), 2u);

    // Nothing there: nothing written.
    const std::string missing = "missing-" + name_;
    Announce(testservers::NginxUrl(missing));
    EXPECT_FALSE(InstallsWithin(2));
    EXPECT_FALSE(Exists(LocalCopy(missing)));
    EXPECT_TRUE(system_.notices.empty());
    EXPECT_TRUE(system_.shellRequests.empty());
}

}  // namespace
}  // namespace servicetests
