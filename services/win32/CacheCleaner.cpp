#include "services/win32/CacheCleaner.h"

#include <shlobj.h>
#include <wininet.h>

#include <vector>

#include "services/FolderCleaner.h"
#include "services/win32/WinHandles.h"

namespace services {
namespace {

constexpr int kCachePasses = 2;
constexpr int kPassFolders[kCachePasses] = {CSIDL_INTERNET_CACHE, CSIDL_COOKIES};

struct CacheFindTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static void Close(Handle handle) { FindCloseUrlCache(handle); }
};

// One URL-cache entry record; the platform tells the size it needs.
class CacheEntryBuffer {
  public:
    INTERNET_CACHE_ENTRY_INFOW* Entry() {
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(bytes_.data());
    }
    DWORD* Size() { return &size_; }
    // Makes room for the size the platform asked for; false when it asked for nothing sensible.
    bool Grow() {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size_ <= bytes_.size() * sizeof(uint64_t)) {
            return false;
        }
        bytes_.resize((size_ + sizeof(uint64_t) - 1) / sizeof(uint64_t));
        return true;
    }
    void PrepareCall() { size_ = static_cast<DWORD>(bytes_.size() * sizeof(uint64_t)); }
    INTERNET_CACHE_ENTRY_INFOW* CallBuffer() { return bytes_.empty() ? nullptr : Entry(); }

  private:
    // 8-byte elements keep the record aligned for its 64-bit fields.
    std::vector<uint64_t> bytes_;
    DWORD size_ = 0;
};

bool FindFirstEntry(UniqueResource<CacheFindTraits>& find, CacheEntryBuffer& buffer) {
    for (;;) {
        buffer.PrepareCall();
        find.Reset(FindFirstUrlCacheEntryW(nullptr, buffer.CallBuffer(), buffer.Size()));
        if (find) {
            return true;
        }
        if (!buffer.Grow()) {
            return false;
        }
    }
}

bool FindNextEntry(const UniqueResource<CacheFindTraits>& find, CacheEntryBuffer& buffer) {
    for (;;) {
        buffer.PrepareCall();
        if (FindNextUrlCacheEntryW(find.Get(), buffer.CallBuffer(), buffer.Size())) {
            return true;
        }
        if (!buffer.Grow()) {
            return false;
        }
    }
}

class WinFolderAccess : public FolderAccess {
  public:
    bool List(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        WIN32_FIND_DATAW data = {};
        UniqueFind find(FindFirstFileW((folder + L"\\*.*").c_str(), &data));
        if (!find) {
            return false;
        }
        do {
            FolderEntry entry;
            entry.name = data.cFileName;
            entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            entry.isReadOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
            entry.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            entries.push_back(std::move(entry));
        } while (FindNextFileW(find.Get(), &data));
        return true;
    }
    void ClearReadOnly(const std::wstring& path) override {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
        }
    }
    void DeleteOneFile(const std::wstring& path) override { DeleteFileW(path.c_str()); }
    // On a junction or a linked folder this removes the link, not what it points to.
    void RemoveFolder(const std::wstring& path) override { RemoveDirectoryW(path.c_str()); }
};

}  // namespace

bool DeleteUrlCacheEntries(int pass) {
    CacheEntryBuffer buffer;
    UniqueResource<CacheFindTraits> find;
    if (!FindFirstEntry(find, buffer)) {
        return false;
    }
    do {
        const INTERNET_CACHE_ENTRY_INFOW* entry = buffer.Entry();
        if (entry->lpszSourceUrlName != nullptr && IsDeletedInPass(pass, entry->CacheEntryType)) {
            // An entry in use stays; the enumeration goes on.
            DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
        }
    } while (FindNextEntry(find, buffer));
    return true;
}

void EmptyFolder(const std::wstring& folder) {
    WinFolderAccess access;
    EmptyFolder(access, folder);
}

void ClearBrowserCache(SystemAccess& system) {
    for (int pass = 0; pass < kCachePasses; ++pass) {
        DeleteUrlCacheEntries(pass);
        const std::wstring folder = system.SpecialFolder(kPassFolders[pass], false);
        if (!folder.empty()) {
            EmptyFolder(folder);
        }
    }
}

void ClearBrowserCache() {
    ClearBrowserCache(RealSystem());
}

}  // namespace services
