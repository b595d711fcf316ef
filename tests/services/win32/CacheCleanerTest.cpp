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
    if (!CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) {
        return false;
    }
    if (!MakeFile(file, "cached bytes")) {
        return false;
    }
    FILETIME expires = {0xFFFFFFFF, 0x7FFFFFFF};
    FILETIME modified = {};
    return CommitUrlCacheEntryW(url.c_str(), file, expires, modified, type, nullptr, 0, nullptr, nullptr) !=
           FALSE;
}

class CacheCleanerTest : public ::testing::Test {
  protected:
    ScratchFolder scratch_{L"cache-cleaner"};
    std::wstring cache_ = scratch_.Sub(L"Temporary Internet Files");
    std::wstring cookies_ = scratch_.Sub(L"Cookies");
    std::wstring outside_ = scratch_.Sub(L"Documents");

    void SetUp() override {
        for (const std::wstring& folder : {cache_, cookies_, outside_, cache_ + L"\\Content.IE5",
                                           cache_ + L"\\Content.IE5\\AB12CD", cookies_ + L"\\Sub"}) {
            ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        }
        ASSERT_TRUE(MakeFile(cache_ + L"\\desktop.ini", "[.ShellClassInfo]", FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(MakeFile(cache_ + L"\\index.dat", "index"));
        ASSERT_TRUE(MakeFile(cache_ + L"\\Content.IE5\\Desktop.INI", "[.ShellClassInfo]"));
        ASSERT_TRUE(
            MakeFile(cache_ + L"\\Content.IE5\\AB12CD\\client[1].swf", "swf", FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(MakeFile(cache_ + L"\\Content.IE5\\AB12CD\\page[1].htm", "<html>"));
        ASSERT_TRUE(MakeFile(cookies_ + L"\\wei@tolvane[1].txt", "session"));
        ASSERT_TRUE(MakeFile(cookies_ + L"\\Sub\\old.txt", "old", FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(MakeFile(outside_ + L"\\save.dat", "the player's own file", FILE_ATTRIBUTE_READONLY));
        system_.folders[CSIDL_INTERNET_CACHE] = cache_;
        system_.folders[CSIDL_COOKIES] = cookies_;
    }

    TestSystem system_;
};

TEST_F(CacheCleanerTest, EmptiesBothFoldersKeepingThemAndTheirDesktopIni) {
    services::ClearBrowserCache(system_);

    EXPECT_TRUE(Exists(cache_));
    EXPECT_TRUE(Exists(cookies_));
    EXPECT_TRUE(Exists(cache_ + L"\\desktop.ini"));
    EXPECT_TRUE(Exists(cache_ + L"\\Content.IE5\\Desktop.INI"));
    EXPECT_FALSE(Exists(cache_ + L"\\index.dat"));
    EXPECT_FALSE(Exists(cache_ + L"\\Content.IE5\\AB12CD")) << "read-only file and its folder removed";
    EXPECT_FALSE(Exists(cookies_ + L"\\wei@tolvane[1].txt"));
    EXPECT_FALSE(Exists(cookies_ + L"\\Sub"));
    EXPECT_TRUE(Exists(outside_ + L"\\save.dat"));
}

// tools/with-folder-link.sh lays out, outside the program's reach, a cache folder holding a file and a
// link to a folder elsewhere: a link the host system made, which shows here as a reparse point.
TEST(CacheCleanerLinkTest, AHostLinkedFolderInsideLeavesItsTargetUntouched) {
    const char* root = std::getenv("TOLVANE_TEST_LINK_ROOT");
    if (root == nullptr) {
        GTEST_SKIP() << "run through tools/with-folder-link.sh";
    }
    std::wstring base = L"Z:" + Widen(root);
    for (wchar_t& c : base) {
        c = c == L'/' ? L'\\' : c;
    }
    const std::wstring cache = base + L"\\cache";
    const std::wstring target = base + L"\\outside";
    ASSERT_NE(GetFileAttributesW((cache + L"\\Linked").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    ASSERT_TRUE(Exists(cache + L"\\Linked\\save.dat"));

    services::EmptyFolder(cache);

    EXPECT_FALSE(Exists(cache + L"\\page.htm"));
    EXPECT_TRUE(Exists(target + L"\\save.dat"));
    EXPECT_TRUE(Exists(target + L"\\Photos\\one.jpg"));
}

TEST_F(CacheCleanerTest, UrlCacheEntriesGoByPassCookiesLast) {
    const std::wstring page = L"http://runecourt.tolvane.test/cache-cleaner/page.html";
    const std::wstring cookie = L"Cookie:wei@runecourt.tolvane.test/";
    ASSERT_TRUE(MakeCacheEntry(page, NORMAL_CACHE_ENTRY));
    ASSERT_TRUE(MakeCacheEntry(cookie, COOKIE_CACHE_ENTRY));
    ASSERT_TRUE(CacheEntryExists(page));
    ASSERT_TRUE(CacheEntryExists(cookie));

    EXPECT_TRUE(services::DeleteUrlCacheEntries(0));
    EXPECT_FALSE(CacheEntryExists(page));
    EXPECT_TRUE(CacheEntryExists(cookie)) << "cookies wait for the second pass";

    services::DeleteUrlCacheEntries(1);
    EXPECT_FALSE(CacheEntryExists(cookie));

    // With the cache empty the folder walk still runs.
    services::ClearBrowserCache(system_);
    EXPECT_FALSE(Exists(cache_ + L"\\index.dat"));
}

}  // namespace
}  // namespace servicetests
