#include <gtest/gtest.h>

#include <map>
#include <set>

#include "services/FolderCleaner.h"

namespace services {
namespace {

// A file system in memory that behaves as Windows does where the cleaner relies on it: read-only files
// cannot be deleted and folders with contents cannot be removed. A link shows as an empty folder that
// can be removed as it is; whatever lies behind it is reached only by listing it, which the test watches.
class MemoryFolders : public FolderAccess {
  public:
    struct Node {
        bool isFolder;
        bool isReadOnly;
        bool isLink;
    };
    std::map<std::wstring, Node> nodes;
    std::set<std::wstring> listed;

    bool List(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        listed.insert(folder);
        const auto it = nodes.find(folder);
        if (it == nodes.end() || !it->second.isFolder) {
            return false;
        }
        entries.push_back(FolderEntry{L".", true, false, false});
        entries.push_back(FolderEntry{L"..", true, false, false});
        for (const auto& [path, node] : nodes) {
            if (IsChild(path, folder)) {
                entries.push_back(
                    FolderEntry{path.substr(folder.size() + 1), node.isFolder, node.isReadOnly, node.isLink});
            }
        }
        return true;
    }
    void ClearReadOnly(const std::wstring& path) override { nodes[path].isReadOnly = false; }
    void DeleteOneFile(const std::wstring& path) override {
        if (!nodes[path].isFolder && !nodes[path].isReadOnly) {
            nodes.erase(path);
        }
    }
    void RemoveFolder(const std::wstring& path) override {
        for (const auto& entry : nodes) {
            if (entry.first.compare(0, path.size() + 1, path + L"\\") == 0) {
                return;
            }
        }
        nodes.erase(path);
    }

  private:
    static bool IsChild(const std::wstring& path, const std::wstring& folder) {
        return path.size() > folder.size() + 1 && path.compare(0, folder.size() + 1, folder + L"\\") == 0 &&
               path.find(L'\\', folder.size() + 1) == std::wstring::npos;
    }
};

TEST(EmptyFolderTest, DeletesContentsKeepsTheFolderAndDesktopIniAndRemovesLinksUnfollowed) {
    const MemoryFolders::Node folder{true, false, false};
    const MemoryFolders::Node file{false, false, false};
    const MemoryFolders::Node link{true, false, true};
    MemoryFolders fs;
    fs.nodes = {
        {L"C:\\Cache", folder},
        {L"C:\\Cache\\desktop.ini", file},
        {L"C:\\Cache\\index.dat", file},
        {L"C:\\Cache\\Content.IE5", folder},
        {L"C:\\Cache\\Content.IE5\\Desktop.INI", file},
        {L"C:\\Cache\\Content.IE5\\AB12CD", folder},
        {L"C:\\Cache\\Content.IE5\\AB12CD\\page[1].htm", {false, true, false}},
        {L"C:\\Cache\\desktop.ini.d", folder},
        {L"C:\\Cache\\desktop.ini.d\\DESKTOP.ini", file},
        {L"C:\\Cache\\Docs", link},
        {L"C:\\Cache\\Sub", folder},
        {L"C:\\Cache\\Sub\\Deeper", link},
    };
    EmptyFolder(fs, L"C:\\Cache");
    EmptyFolder(fs, L"C:\\Missing");

    std::set<std::wstring> left;
    for (const auto& entry : fs.nodes) {
        left.insert(entry.first);
    }
    // A folder that keeps its desktop.ini cannot be removed; that is no error.
    EXPECT_EQ(left,
              (std::set<std::wstring>{L"C:\\Cache", L"C:\\Cache\\desktop.ini", L"C:\\Cache\\Content.IE5",
                                      L"C:\\Cache\\Content.IE5\\Desktop.INI", L"C:\\Cache\\desktop.ini.d",
                                      L"C:\\Cache\\desktop.ini.d\\DESKTOP.ini"}));
    EXPECT_EQ(fs.listed.count(L"C:\\Cache\\Docs"), 0u);
    EXPECT_EQ(fs.listed.count(L"C:\\Cache\\Sub\\Deeper"), 0u);
}

TEST(CachePassTest, CookiesOnlyInTheSecondPass) {
    const uint32_t normal = 0x00000001;
    const uint32_t cookie = kCookieCacheEntry | 0x00000001;
    EXPECT_TRUE(IsDeletedInPass(0, normal));
    EXPECT_FALSE(IsDeletedInPass(0, cookie));
    EXPECT_FALSE(IsDeletedInPass(1, normal));
    EXPECT_TRUE(IsDeletedInPass(1, cookie));
    EXPECT_FALSE(IsDeletedInPass(2, cookie));
    EXPECT_TRUE(IsKeptInCacheFolder(L"DeskTop.Ini"));
    EXPECT_FALSE(IsKeptInCacheFolder(L"desktop.ini.bak"));
}

}  // namespace
}  // namespace services
