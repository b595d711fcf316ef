#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>
#include <wininet.h>
#include <winioctl.h>

#include <cstdlib>

#include "services/win32/CacheCleaner.h"
#include "tests/services/win32/TestSystem.h"

namespace servicetests {
namespace {

// The reparse data of a junction (mount point), as the file system takes it.
struct MountPointData {
    DWORD tag;
    WORD dataLength;
    WORD reserved;
    WORD substituteOffset;
    WORD substituteLength;
    WORD printOffset;
    WORD printLength;
    wchar_t paths[1024];
};

bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) {
        return false;
    }
    HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        RemoveDirectoryW(link.c_str());
        return false;
    }
    const std::wstring substitute = L"\\??\\" + target;
    MountPointData data = {};
    data.tag = IO_REPARSE_TAG_MOUNT_POINT;
    data.substituteLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    data.printOffset = static_cast<WORD>(data.substituteLength + sizeof(wchar_t));
    data.printLength = static_cast<WORD>(target.size() * sizeof(wchar_t));
    substitute.copy(data.paths, substitute.size());
    target.copy(data.paths + substitute.size() + 1, target.size());
    data.dataLength = static_cast<WORD>(8 + data.printOffset + data.printLength + sizeof(wchar_t));
    DWORD returned = 0;
    const BOOL made = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, &data, data.dataLength + 8, nullptr, 0,
                                      &returned, nullptr);
    CloseHandle(folder);
    if (!made) {
        RemoveDirectoryW(link.c_str());
    }
    return made != FALSE;
}

// A junction when the file system takes one, else a symbolic link to the folder; which one it is, or
// that neither could be made, is part of the answer.
std::wstring MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    if (MakeJunction(link, target)) {
        return L"junction";
    }
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
        return L"symbolic link";
    }
    return L"";
}

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

TEST_F(CacheCleanerTest, AJunctionInsideIsRemovedWithoutTouchingItsTarget) {
    const std::wstring link = cookies_ + L"\\Linked";
    const std::wstring kind = MakeFolderLink(link, outside_);
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (kind.empty() || attributes == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this system makes neither junctions nor symbolic links to folders";
    }
    ASSERT_NE(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << "the link does not show as a reparse point";
    ASSERT_TRUE(Exists(link + L"\\save.dat")) << "the link reaches its target";

    services::EmptyFolder(cookies_);

    EXPECT_FALSE(Exists(link));
    EXPECT_TRUE(Exists(outside_ + L"\\save.dat"));
    EXPECT_EQ(GetFileAttributesW((outside_ + L"\\save.dat").c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))
        << "not even the target's attributes change";
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
