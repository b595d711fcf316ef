#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "services/BrowserRules.h"
#include "services/PluginRules.h"

namespace services {
namespace {

// Where the default browser is looked up; the registry reading itself is walked wherever the launcher
// opens an address (the crash report's and the road's tests, with a recording browser registered).
TEST(BrowserLookupTest, VersionDecidesWhereToLook) {
    const std::tuple<unsigned, unsigned, BrowserLookup> cases[] = {
        {5, 0, BrowserLookup::BuiltInBrowser}, {5, 1, BrowserLookup::HtmlFileCommand},
        {6, 1, BrowserLookup::FtpUserChoice},  {6, 2, BrowserLookup::HttpUserChoice},
        {10, 0, BrowserLookup::FtpUserChoice},
    };
    for (const auto& [major, minor, lookup] : cases) {
        EXPECT_EQ(BrowserLookupFor(major, minor), lookup) << major << "." << minor;
    }
}

TEST(OpenCommandTest, SplitAsTheShellDoesWithTheAddressInPlace) {
    const std::set<std::wstring> files = {L"C:\\Program Files\\Browser\\b.exe", L"C:\\My Tools\\view.exe",
                                          L"D:\\Web.exe", L"D:\\Web Browser\\web.exe"};
    const auto isFile = [&](const std::wstring& path) { return files.count(path) > 0; };
    const std::wstring address = L"http://t/p?a=1&b=2";
    struct Case {
        const wchar_t* command;
        const wchar_t* program;
        const wchar_t* parameters;
    };
    const Case cases[] = {
        {L"\"C:\\Program Files\\Fox\\fox.exe\" -osint -url \"%1\"", L"C:\\Program Files\\Fox\\fox.exe",
         L"-osint -url \"http://t/p?a=1&b=2\""},
        {L"C:\\Program Files\\Browser\\b.exe  -url %1", L"C:\\Program Files\\Browser\\b.exe",
         L"-url http://t/p?a=1&b=2"},
        {L"C:\\My Tools\\view %1 -new", L"C:\\My Tools\\view.exe", L"http://t/p?a=1&b=2 -new"},
        // The shorter prefix that names a file wins, as with the shell.
        {L"D:\\Web Browser\\web.exe %1", L"D:\\Web.exe", L"Browser\\web.exe http://t/p?a=1&b=2"},
        // No place for the address: it follows the arguments.
        {L" \"C:\\IE\\iexplore.exe\" -nohome", L"C:\\IE\\iexplore.exe", L"-nohome http://t/p?a=1&b=2"},
        // No prefix names a file: the program ends at the first blank.
        {L"C:\\Tools\\viewer.exe %1", L"C:\\Tools\\viewer.exe", L"http://t/p?a=1&b=2"},
        {L"iexplore.exe", L"iexplore.exe", L"http://t/p?a=1&b=2"},
        {L"\"C:\\unclosed.exe %1", L"C:\\unclosed.exe %1", L"http://t/p?a=1&b=2"},
        {L"  ", L"", L"http://t/p?a=1&b=2"},
    };
    for (const Case& c : cases) {
        const OpenCommand split = SplitOpenCommand(c.command, isFile);
        EXPECT_EQ(split.program, c.program) << c.command;
        EXPECT_EQ(ArgumentsWithAddress(split.arguments, address), c.parameters) << c.command;
    }
}

TEST(PluginFolderTest, ProfileSourceAndParentFolder) {
    EXPECT_EQ(ProfileSourceFor(5, 1), ProfileSource::AppDataParent);
    EXPECT_EQ(ProfileSourceFor(6, 1), ProfileSource::UserProfile);
    EXPECT_EQ(WithoutLastPathElement(L"C:\\Documents and Settings\\wei\\Application Data\\"),
              L"C:\\Documents and Settings\\wei");
    EXPECT_EQ(WithoutLastPathElement(L"C:\\Data"), L"C:\\");
    EXPECT_EQ(WithoutLastPathElement(L"C:\\"), L"C:\\");
    EXPECT_FALSE(IsRegisteredAt(L"", L""));
}

TEST(RegistrationTest, ElevationOnlyForKnownNonAdministratorsOnVersion6) {
    EXPECT_STREQ(ElevationVerb(true, 6, true, false), L"runas");
    EXPECT_STREQ(ElevationVerb(true, 5, true, false), L"open");
    EXPECT_STREQ(ElevationVerb(true, 6, true, true), L"open");
    EXPECT_STREQ(ElevationVerb(true, 6, false, false), L"open");
    EXPECT_STREQ(ElevationVerb(false, 6, true, false), L"open");
}

}  // namespace
}  // namespace services
