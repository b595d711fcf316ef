#include <gtest/gtest.h>

#include "services/ResponseHeaders.h"
#include "services/UpdateRules.h"

namespace services {
namespace {

TEST(UpdateAddress, KeepsPrintableAsciiUpTo255BytesAndArmsFromTwoCharacters) {
    EXPECT_EQ(NarrowUpdateAddress(L"http://dl.tolvane.com/pkg/setup.exe"),
              "http://dl.tolvane.com/pkg/setup.exe");
    EXPECT_EQ(NarrowUpdateAddress(std::wstring(255, L'a')).size(), 255u);
    for (const std::wstring& refused : {std::wstring(L"http://dl.tolvane.com/更新.exe"),
                                        std::wstring(L"http://a/\tb"), std::wstring(256, L'a')}) {
        EXPECT_EQ(NarrowUpdateAddress(refused), "");
    }
    EXPECT_FALSE(AddressArmsUpdate("a"));
    EXPECT_TRUE(AddressArmsUpdate("ab"));
}

// The name comes from a web page and becomes a path in the player's profile.
TEST(PackageName, OnlyANameAfterTheLastSlashThatStaysInTheUpdateFolder) {
    EXPECT_EQ(PackageFileName("http://dl.tolvane.com/a/b/setup_1.2.exe"), "setup_1.2.exe");
    EXPECT_EQ(PackageFileName("http://dl.tolvane.com/"), "");
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
    EXPECT_FALSE(IsChecksumGiven(L"  \t\r\n"));
}

TEST(UpdateDecision, SizeAndChecksumDecideAndAnAbsentOrEmptyCopyIsNeverComplete) {
    struct Case {
        uint32_t remote, local;
        ChecksumState checksum;
        UpdateAction expected;
    };
    const Case cases[] = {
        {kNoAnnouncedSize, 0, ChecksumState::NotGiven, UpdateAction::Download},
        {kSizeQueryFailed, kSizeQueryFailed, ChecksumState::Matches, UpdateAction::Download},
        {1000, 1000, ChecksumState::Matches, UpdateAction::Install},
        {1000, 1000, ChecksumState::Differs, UpdateAction::DownloadAfterDelete},
        {1000, 1001, ChecksumState::NotGiven, UpdateAction::DownloadAfterDelete},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideUpdate(c.remote, c.local, c.checksum), c.expected) << c.remote << " " << c.local;
    }
}

TEST(AnnouncedSize, ReadsTheNumberAfterTheName) {
    const auto parse = [](const std::string& text) { return ParseAnnouncedSize(text.data(), text.size()); };
    for (const auto& [text, size] : {std::pair<const char*, uint32_t>{" 1048576\r\n", 1048576u},
                                     {"\t+42\r\n", 42u},
                                     {"12abc", 12u},
                                     {"4294967294", 4294967294u}}) {
        EXPECT_EQ(parse(text), size) << text;
    }
    // Not a size: no digits, a negative number, a size beyond 32 bits or the failure marker itself.
    for (const char* none : {"", "-5", "4294967295", "99999999999999999999999999"}) {
        EXPECT_FALSE(parse(none)) << none;
    }
}

TEST(ResponseHeadersTest, TheLastResponseCountsAndOnlyTheGivenBytes) {
    ResponseHeaders headers;
    for (const std::string line : {"HTTP/2 302\r\n", "Content-Length: 154\r\n", "HTTP/1.1 206 Partial\r\n",
                                   "Content-Range: bytes 1000-1999/2000\r\n"}) {
        headers.OnHeaderLine(line.data(), line.size());
    }
    EXPECT_EQ(headers.Status(), 206);
    EXPECT_FALSE(headers.ContentLength()) << "the redirect's size is not the package's";
    EXPECT_EQ(headers.RangeStart(), 1000u);
    // A header line is not a terminated string.
    const std::string line = "content-length: 12345";
    headers.OnHeaderLine(line.data(), line.size() - 3);
    EXPECT_EQ(headers.ContentLength(), 12u);
}

}  // namespace
}  // namespace services
