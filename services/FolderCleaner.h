#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Emptying the browser's cache and cookie folders, with the file system behind a small interface.
namespace services {

struct FolderEntry {
    std::wstring name;
    bool isFolder = false;
    bool isReadOnly = false;
    // A junction, symbolic link or other reparse point: it points somewhere else.
    bool isLink = false;
};

class FolderAccess {
  public:
    virtual ~FolderAccess() = default;
    // The entries of a folder, in the order the file system returns them; false when the listing
    // cannot start.
    virtual bool List(const std::wstring& folder, std::vector<FolderEntry>& entries) = 0;
    virtual void ClearReadOnly(const std::wstring& path) = 0;
    virtual void DeleteOneFile(const std::wstring& path) = 0;
    virtual void RemoveFolder(const std::wstring& path) = 0;
};

// "desktop.ini" in any ASCII letter case stays: it gives the shell folder its look.
bool IsKeptInCacheFolder(const std::wstring& name);

// Deletes what the folder holds, recursively, keeping the folder itself and every "desktop.ini".
// Read-only entries are made writable first. A link inside is removed as a link and never followed,
// so nothing outside the folder is touched. Single failures are ignored; the walk goes on.
void EmptyFolder(FolderAccess& access, const std::wstring& folder);

// URL-cache passes: 0 deletes every entry but cookies, 1 the cookies.
inline constexpr uint32_t kCookieCacheEntry = 0x00100000;
bool IsDeletedInPass(int pass, uint32_t entryType);

}  // namespace services
