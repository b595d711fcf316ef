#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

// How reading a skin file went, one value per reason a caller may want to tell apart.
enum class SkinFileStatus {
    Loaded,
    OpenFailed,         // the file cannot be opened
    Empty,              // the file or entry holds no bytes
    TooLarge,           // more bytes than the caller's limit
    ShortRead,          // fewer bytes arrived than the file's size
    ArchiveOpenFailed,  // the skin archive cannot be opened
    EntryMissing,       // the skin archive has no entry of that name
    ExtractFailed,      // the entry is damaged or cannot be extracted
};

// Reads one file whole, at most `limit` bytes.
SkinFileStatus ReadFileBytes(const std::wstring& path, uint64_t limit, std::vector<uint8_t>& bytes);

// Reads the skin file `name` from where the resource settings say skin files come from: the skin
// folder (resource path + name) when no archive is in use, else the skin archive (the kept one, or one
// opened and closed for this read), the entry looked up ignoring letter case. At most `limit` bytes.
// `bytes` is empty unless the result is Loaded.
SkinFileStatus ReadSkinFile(const std::wstring& name, uint64_t limit, std::vector<uint8_t>& bytes);

}  // namespace SkinUI
