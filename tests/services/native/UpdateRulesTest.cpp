#include <gtest/gtest.h>

#include "services/DownloadSlots.h"
#include "services/UpdateRules.h"

namespace services {
namespace {

TEST(UpdateAddress, KeepsPrintableAsciiUpTo255Bytes) {
    EXPECT_EQ(NarrowUpdateAddress(L"http://dl.tolvane.com/pkg/setup.exe"),
              "http://dl.tolvane.com/pkg/setup.exe");
    EXPECT_EQ(NarrowUpdateAddress(std::wstring(255, L'a')).size(), 255u);
    EXPECT_EQ(NarrowUpdateAddress(std::wstring(256, L'a')), "");
    EXPECT_EQ(NarrowUpdateAddress(L"http://dl.tolvane.com/更新.exe"), "");
    EXPECT_EQ(NarrowUpdateAddress(L"http://a/\tb"), "");
}

TEST(UpdateAddress, OnlyTwoCharactersOrMoreArmTheCheck) {
    EXPECT_FALSE(AddressArmsUpdate("a"));
    EXPECT_TRUE(AddressArmsUpdate("ab"));
    EXPECT_EQ(RangeFrom(5000000000ull), "5000000000-");
}

TEST(PackageName, IsWhatFollowsTheLastSlash) {
    EXPECT_EQ(PackageFileName("http://dl.tolvane.com/a/b/setup_1.2.exe"), "setup_1.2.exe");
    EXPECT_EQ(PackageFileName("setup.exe"), "setup.exe");
    EXPECT_EQ(PackageFileName("http://dl.tolvane.com/"), "");
}

TEST(PackageName, NamesThatLeaveTheUpdateFolderAreRefused) {
    EXPECT_TRUE(IsUsablePackageFileName("setup.exe"));
    for (const char* bad :
         {"", "..", "..\\..\\evil.exe", "c:evil.exe", "setup.exe?v=2", "name.", "tab\tname"}) {
        EXPECT_FALSE(IsUsablePackageFileName(bad)) << bad;
    }
}

TEST(Checksum, ComparesHexIgnoringCaseAndBlanks) {
    const std::string actual = "9e107d9d372bb6826bd81d3542a419d6";
    EXPECT_TRUE(ChecksumMatches(L"9E107D9D372BB6826BD81D3542A419D6", actual));
    EXPECT_TRUE(ChecksumMatches(L" 9e107d9d372bb6826bd81d3542a419d6\r\n", actual));
    EXPECT_FALSE(ChecksumMatches(L"9e107d9d372bb6826bd81d3542a419d", actual));
    // Same length, same letters when lowered, but not hexadecimal.
    EXPECT_FALSE(ChecksumMatches(L"xe107d9d372bb6826bd81d3542a419d6", "xe107d9d372bb6826bd81d3542a419d6"));
    EXPECT_TRUE(IsChecksumGiven(L"abc"));
    EXPECT_FALSE(IsChecksumGiven(L"  \t"));
}

TEST(UpdateDecision, SizeAndChecksumDecideAndAnAbsentOrEmptyCopyIsNeverComplete) {
    EXPECT_FALSE(SizesSayComplete(kNoAnnouncedSize, 0));
    EXPECT_FALSE(SizesSayComplete(kSizeQueryFailed, kSizeQueryFailed));
    struct Case {
        uint32_t remote;
        uint32_t local;
        ChecksumState checksum;
        UpdateAction expected;
    };
    const Case cases[] = {
        {kNoAnnouncedSize, 0, ChecksumState::NotGiven, UpdateAction::Download},
        {kNoAnnouncedSize, 500, ChecksumState::Matches, UpdateAction::Download},
        {1000, 1000, ChecksumState::Matches, UpdateAction::Install},
        {1000, 1000, ChecksumState::Differs, UpdateAction::DownloadAfterDelete},
        {1000, 400, ChecksumState::NotGiven, UpdateAction::Download},
        {1000, 1001, ChecksumState::NotGiven, UpdateAction::DownloadAfterDelete},
        {kSizeQueryFailed, 1000, ChecksumState::NotGiven, UpdateAction::Download},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideUpdate(c.remote, c.local, c.checksum), c.expected) << c.remote << " " << c.local;
    }
}

TEST(Installer, ParametersNameTheApplicationAndTheLauncher) {
    EXPECT_EQ(FileNameOfPath(L"C:\\Games\\Tolvane\\TolvaneRunecourt.exe"), L"TolvaneRunecourt.exe");
    EXPECT_EQ(InstallerParameters(L"TolvaneRunecourt.exe"),
              L" /sp- /VERYSILENT /norestart /appid={C7E1B3A9-2F64-4A8D-B05E-93D17A6C24F8} "
              L"/appname=TolvaneRunecourt.exe");
}

TEST(DownloadSlotsTest, OneDownloadPerPackage) {
    DownloadSlots slots;
    EXPECT_TRUE(slots.TryAcquire(L"C:\\Update\\Setup.exe"));
    EXPECT_FALSE(slots.TryAcquire(L"c:\\update\\setup.EXE"));
    EXPECT_TRUE(slots.TryAcquire(L"C:\\Update\\Other.exe"));
    slots.Release(L"C:\\UPDATE\\SETUP.EXE");
    EXPECT_FALSE(slots.IsRunning(L"C:\\Update\\Setup.exe"));
    EXPECT_TRUE(slots.TryAcquire(L"C:\\Update\\Setup.exe"));
}

}  // namespace
}  // namespace services
