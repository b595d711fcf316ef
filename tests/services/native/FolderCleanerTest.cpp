#include <gtest/gtest.h>

#include <map>
#include <set>

#include "services/FolderCleaner.h"

namespace services {
namespace {

// A file system in memory that behaves as Windows does where the cleaner relies on it: read-only files
// cannot be deleted, folders with contents cannot be removed, and a path through a link reaches the
// link's target.
class MemoryFolders : public FolderAccess {
  public:
    struct Node {
        bool isFolder = false;
        bool isReadOnly = false;
        std::wstring linkTarget;
    };

    void AddFolder(const std::wstring& path, const std::wstring& linkTarget = L"") {
        nodes_[path] = Node{true, false, linkTarget};
    }
    void AddFile(const std::wstring& path, bool readOnly = false) {
        nodes_[path] = Node{false, readOnly, L""};
    }
    bool Exists(const std::wstring& path) const { return nodes_.count(path) != 0; }
    const std::set<std::wstring>& Listed() const { return listed_; }

    bool List(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        listed_.insert(folder);
        const std::wstring real = Resolve(folder);
        auto it = nodes_.find(real);
        if (it == nodes_.end() || !it->second.isFolder) {
            return false;
        }
        entries.push_back(FolderEntry{L".", true, false, false});
        entries.push_back(FolderEntry{L"..", true, false, false});
        for (const auto& [path, node] : nodes_) {
            if (path.size() > real.size() + 1 && path.compare(0, real.size() + 1, real + L"\\") == 0 &&
                path.find(L'\\', real.size() + 1) == std::wstring::npos) {
                entries.push_back(FolderEntry{path.substr(real.size() + 1), node.isFolder, node.isReadOnly,
                                              !node.linkTarget.empty()});
            }
        }
        return true;
    }
    void ClearReadOnly(const std::wstring& path) override {
        auto it = nodes_.find(Resolve(path));
        if (it != nodes_.end()) {
            it->second.isReadOnly = false;
        }
    }
    void DeleteOneFile(const std::wstring& path) override {
        auto it = nodes_.find(Resolve(path));
        if (it != nodes_.end() && !it->second.isFolder && !it->second.isReadOnly) {
            nodes_.erase(it);
        }
    }
    void RemoveFolder(const std::wstring& path) override {
        // Removing a link removes the link: the path is not resolved through itself.
        const std::wstring real = ResolveParent(path);
        auto it = nodes_.find(real);
        if (it == nodes_.end() || !it->second.isFolder || it->second.isReadOnly) {
            return;
        }
        if (it->second.linkTarget.empty()) {
            for (const auto& entry : nodes_) {
                if (entry.first.compare(0, real.size() + 1, real + L"\\") == 0) {
                    return;
                }
            }
        }
        nodes_.erase(it);
    }

  private:
    // Replaces a leading part of the path that is a link by the link's target.
    std::wstring Resolve(const std::wstring& path) const {
        for (const auto& [linkPath, node] : nodes_) {
            if (node.linkTarget.empty()) {
                continue;
            }
            if (path == linkPath) {
                return node.linkTarget;
            }
            if (path.compare(0, linkPath.size() + 1, linkPath + L"\\") == 0) {
                return Resolve(node.linkTarget + path.substr(linkPath.size()));
            }
        }
        return path;
    }
    std::wstring ResolveParent(const std::wstring& path) const {
        const size_t separator = path.rfind(L'\\');
        return separator == std::wstring::npos ? path
                                               : Resolve(path.substr(0, separator)) + path.substr(separator);
    }

    std::map<std::wstring, Node> nodes_;
    std::set<std::wstring> listed_;
};

TEST(EmptyFolderTest, DeletesContentsKeepsFolderAndDesktopIni) {
    MemoryFolders fs;
    fs.AddFolder(L"C:\\Cache");
    fs.AddFile(L"C:\\Cache\\desktop.ini");
    fs.AddFile(L"C:\\Cache\\index.dat");
    fs.AddFolder(L"C:\\Cache\\Content.IE5");
    fs.AddFile(L"C:\\Cache\\Content.IE5\\Desktop.INI");
    fs.AddFolder(L"C:\\Cache\\Content.IE5\\AB12CD");
    fs.AddFile(L"C:\\Cache\\Content.IE5\\AB12CD\\page[1].htm", true);
    fs.AddFile(L"C:\\Cache\\Content.IE5\\AB12CD\\client.swf");
    fs.AddFolder(L"C:\\Cache\\desktop.ini.d");
    fs.AddFile(L"C:\\Cache\\desktop.ini.d\\DESKTOP.ini");

    EmptyFolder(fs, L"C:\\Cache");

    EXPECT_TRUE(fs.Exists(L"C:\\Cache"));
    EXPECT_TRUE(fs.Exists(L"C:\\Cache\\desktop.ini"));
    EXPECT_FALSE(fs.Exists(L"C:\\Cache\\index.dat"));
    EXPECT_TRUE(fs.Exists(L"C:\\Cache\\Content.IE5\\Desktop.INI"));
    EXPECT_FALSE(fs.Exists(L"C:\\Cache\\Content.IE5\\AB12CD\\page[1].htm")) << "read-only files go too";
    EXPECT_FALSE(fs.Exists(L"C:\\Cache\\Content.IE5\\AB12CD\\client.swf"));
    EXPECT_FALSE(fs.Exists(L"C:\\Cache\\Content.IE5\\AB12CD"));
    // A folder that keeps its desktop.ini cannot be removed; that is no error.
    EXPECT_TRUE(fs.Exists(L"C:\\Cache\\Content.IE5"));
    EXPECT_TRUE(fs.Exists(L"C:\\Cache\\desktop.ini.d\\DESKTOP.ini"));
}

TEST(EmptyFolderTest, LinksAreRemovedAndNeverFollowed) {
    MemoryFolders fs;
    fs.AddFolder(L"C:\\Users\\wei\\Documents");
    fs.AddFile(L"C:\\Users\\wei\\Documents\\save.dat");
    fs.AddFolder(L"C:\\Users\\wei\\Documents\\Photos");
    fs.AddFile(L"C:\\Users\\wei\\Documents\\Photos\\one.jpg", true);
    fs.AddFolder(L"C:\\Cookies");
    fs.AddFile(L"C:\\Cookies\\wei@tolvane.txt");
    fs.AddFolder(L"C:\\Cookies\\Docs", L"C:\\Users\\wei\\Documents");
    fs.AddFolder(L"C:\\Cookies\\Sub");
    fs.AddFolder(L"C:\\Cookies\\Sub\\Deeper", L"C:\\Users\\wei\\Documents\\Photos");

    EmptyFolder(fs, L"C:\\Cookies");

    EXPECT_FALSE(fs.Exists(L"C:\\Cookies\\wei@tolvane.txt"));
    EXPECT_FALSE(fs.Exists(L"C:\\Cookies\\Docs")) << "the link itself is removed";
    EXPECT_FALSE(fs.Exists(L"C:\\Cookies\\Sub"));
    EXPECT_TRUE(fs.Exists(L"C:\\Users\\wei\\Documents\\save.dat"));
    EXPECT_TRUE(fs.Exists(L"C:\\Users\\wei\\Documents\\Photos\\one.jpg"));
    EXPECT_EQ(fs.Listed().count(L"C:\\Cookies\\Docs"), 0u);
    EXPECT_EQ(fs.Listed().count(L"C:\\Cookies\\Sub\\Deeper"), 0u);
}

TEST(EmptyFolderTest, AFolderThatCannotBeListedIsLeftAlone) {
    MemoryFolders fs;
    fs.AddFile(L"C:\\NotAFolder");
    EmptyFolder(fs, L"C:\\NotAFolder");
    EmptyFolder(fs, L"C:\\Missing");
    EXPECT_TRUE(fs.Exists(L"C:\\NotAFolder"));
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
