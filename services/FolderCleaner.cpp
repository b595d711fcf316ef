#include "services/FolderCleaner.h"

#include "skin/markup/AsciiText.h"

namespace services {

bool IsKeptInCacheFolder(const std::wstring& name) {
    return SkinUI::EqualsIgnoringAsciiCase(name, L"desktop.ini");
}

bool IsDeletedInPass(int pass, uint32_t entryType) {
    const bool cookie = (entryType & kCookieCacheEntry) != 0;
    return pass == 0 ? !cookie : (pass == 1 && cookie);
}

void EmptyFolder(FolderAccess& access, const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    if (!access.List(folder, entries)) {
        return;
    }
    for (const FolderEntry& entry : entries) {
        if (entry.name == L"." || entry.name == L".." || entry.name.empty()) {
            continue;
        }
        if (!entry.isFolder && IsKeptInCacheFolder(entry.name)) {
            continue;
        }
        const std::wstring path = folder + L"\\" + entry.name;
        if (entry.isReadOnly) {
            access.ClearReadOnly(path);
        }
        if (!entry.isFolder) {
            access.DeleteOneFile(path);
            continue;
        }
        // A linked folder is removed as the link itself; its target belongs to someone else.
        if (!entry.isLink) {
            EmptyFolder(access, path);
        }
        access.RemoveFolder(path);
    }
}

}  // namespace services
