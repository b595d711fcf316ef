#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>
#include <wininet.h>

#include <cstdlib>

#include "services/win32/CacheCleaner.h"
#include "tests/services/win32/TestSystem.h"

namespace servicetests {
namespace {

bool CacheEntryExists(const std::wstring& url) {
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

bool MakeCacheEntry(const std::wstring& url, DWORD type) {
    wchar_t file[MAX_PATH] = {};
    const FILETIME expires = {0xFFFFFFFF, 0x7FFFFFFF};
    return CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0) && MakeFile(file, "cached bytes") &&
           CommitUrlCacheEntryW(url.c_str(), file, expires, FILETIME{}, type, nullptr, 0, nullptr, nullptr);
}

// The cache, the cookies and a folder of the player's own, with read-only files and the shell's
// desktop.ini files among them.
TEST(CacheCleanerTest, UrlEntriesGoByPassCookiesLastAndBothFoldersAreEmptiedKeepingDesktopIni) {
    ScratchFolder scratch(L"cache-cleaner");
    const std::wstring cache = scratch.Sub(L"Temporary Internet Files");
    const std::wstring cookies = scratch.Sub(L"Cookies");
    const std::wstring outside = scratch.Sub(L"Documents");
    for (const std::wstring& folder : {cache, cookies, outside, cache + L"\\Content.IE5",
                                       cache + L"\\Content.IE5\\AB12CD", cookies + L"\\Sub"}) {
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    const struct {
        std::wstring path;
        DWORD attributes;
        bool kept;
    } files[] = {
        {cache + L"\\desktop.ini", FILE_ATTRIBUTE_HIDDEN, true},
        {cache + L"\\index.dat", FILE_ATTRIBUTE_NORMAL, false},
        {cache + L"\\Content.IE5\\Desktop.INI", FILE_ATTRIBUTE_NORMAL, true},
        {cache + L"\\Content.IE5\\AB12CD\\client[1].swf", FILE_ATTRIBUTE_READONLY, false},
        {cookies + L"\\wei@tolvane[1].txt", FILE_ATTRIBUTE_NORMAL, false},
        {cookies + L"\\Sub\\old.txt", FILE_ATTRIBUTE_READONLY, false},
        {outside + L"\\save.dat", FILE_ATTRIBUTE_READONLY, true},
    };
    for (const auto& file : files) {
        ASSERT_TRUE(MakeFile(file.path, "bytes", file.attributes));
    }
    const std::wstring page = L"http://runecourt.tolvane.test/cache-cleaner/page.html";
    const std::wstring cookie = L"Cookie:wei@runecourt.tolvane.test/";
    ASSERT_TRUE(MakeCacheEntry(page, NORMAL_CACHE_ENTRY));
    ASSERT_TRUE(MakeCacheEntry(cookie, COOKIE_CACHE_ENTRY));

    EXPECT_TRUE(services::DeleteUrlCacheEntries(0));
    EXPECT_FALSE(CacheEntryExists(page));
    EXPECT_TRUE(CacheEntryExists(cookie)) << "cookies wait for the second pass";

    TestSystem system;
    system.folders[CSIDL_INTERNET_CACHE] = cache;
    system.folders[CSIDL_COOKIES] = cookies;
    services::ClearBrowserCache(system);
    EXPECT_FALSE(CacheEntryExists(cookie));
    for (const auto& file : files) {
        EXPECT_EQ(Exists(file.path), file.kept) << testing::PrintToString(file.path);
    }
    EXPECT_TRUE(Exists(cache) && Exists(cookies));
    EXPECT_FALSE(Exists(cache + L"\\Content.IE5\\AB12CD") || Exists(cookies + L"\\Sub"));
}

// tools/with-folder-link.sh lays out, outside the program's reach, a cache folder holding a file and a
// link to a folder elsewhere: a link the host system made, which shows here as a reparse point.
TEST(CacheCleanerLinkTest, AHostLinkedFolderInsideLeavesItsTargetUntouched) {
    const char* root = std::getenv("TOLVANE_TEST_LINK_ROOT");
    if (root == nullptr) {
        GTEST_SKIP() << "run through tools/with-folder-link.sh";
    }
    const std::wstring base = WidenAscii(testservers::HostPath(root));
    const std::wstring cache = base + L"\\cache";
    ASSERT_NE(GetFileAttributesW((cache + L"\\Linked").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    ASSERT_TRUE(Exists(cache + L"\\Linked\\save.dat"));

    services::EmptyFolder(cache);

    EXPECT_FALSE(Exists(cache + L"\\page.htm"));
    EXPECT_TRUE(Exists(base + L"\\outside\\save.dat"));
    EXPECT_TRUE(Exists(base + L"\\outside\\Photos\\one.jpg"));
}

}  // namespace
}  // namespace servicetests
