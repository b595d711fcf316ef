#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace SkinUI {

// Status codes of the skin archive reader. The last status of every operation is also kept for the
// whole process (LastArchiveStatus).
constexpr uint32_t kArchiveDone = 0;               // success; an extracted entry is complete
constexpr uint32_t kArchiveNoFile = 0x200;         // the archive file cannot be opened
constexpr uint32_t kArchiveNoMemory = 0x300;       // the decompressor could not get its memory
constexpr uint32_t kArchiveNotFound = 0x500;       // no entry of that name
constexpr uint32_t kArchiveMoreData = 0x600;       // the buffer is full and more data remains
constexpr uint32_t kArchiveCorrupt = 0x700;        // the archive or the entry's data cannot be true
constexpr uint32_t kArchiveReadError = 0x800;      // the archive file could not be read
constexpr uint32_t kArchiveUnsupported = 0x900;    // encrypted, or compressed other than stored/deflate
constexpr uint32_t kArchiveNullHandle = 0x10000;   // no archive given
constexpr uint32_t kArchiveBadArgument = 0x20000;  // an index, name or buffer the call cannot use
// The handle is not an archive reader. Handles are typed here, so no call reports it; kept for the
// callers that test for it.
constexpr uint32_t kArchiveNotReader = 0x80000;

// One entry of the archive's central directory.
struct ArchiveEntryInfo {
    int32_t index = -1;
    std::string name;  // as stored: narrow text in the archive's own encoding, "/" between folders
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;   // bit 0: encrypted; bit 3: sizes follow the data in a descriptor
    uint16_t method = 0;  // 0 stored, 8 deflate
    uint16_t modifiedTime = 0;
    uint16_t modifiedDate = 0;
    uint32_t crc32 = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint32_t localHeaderOffset = 0;
};

class SkinArchive;
struct SkinArchiveCloser {
    void operator()(SkinArchive* archive) const noexcept;
};
// An open archive; closing it is letting it go (or CloseArchive).
using ArchivePtr = std::unique_ptr<SkinArchive, SkinArchiveCloser>;

// Opens a ZIP archive from a file, or from a memory block that the caller keeps alive as long as the
// archive is open. Null on failure (see LastArchiveStatus). Only the central directory is read here.
ArchivePtr OpenArchive(const std::wstring& path);
ArchivePtr OpenArchive(const void* bytes, size_t size);

int32_t ArchiveEntryCount(const SkinArchive* archive);
// The entry at `index` of the central directory.
uint32_t ArchiveEntryAt(const SkinArchive* archive, int32_t index, ArchiveEntryInfo& entry);

// Looks an entry up by name: at most 255 characters, converted to the ANSI code page, every "\"
// taken as "/", letter case (ASCII) ignored when asked. kArchiveDone fills `entry`; an entry whose
// directory record cannot be true (sizes that no stored or deflated data could have, data past the
// end of the archive) is kArchiveCorrupt.
uint32_t FindArchiveEntry(const SkinArchive* archive, const std::wstring& name, bool ignoreCase,
                          ArchiveEntryInfo& entry);

// Extracts entry `index` into `buffer` of `size` bytes: kArchiveDone when the whole entry is there,
// kArchiveMoreData when the buffer filled before the end of the entry (a later call starts again from
// the beginning). Stored and deflated entries are supported. An entry whose data is shorter or longer
// than its directory record says, whose deflated data is malformed, or whose data does not match its
// checksum is kArchiveCorrupt.
uint32_t ExtractArchiveEntry(const SkinArchive* archive, int32_t index, void* buffer, size_t size);

uint32_t CloseArchive(ArchivePtr& archive);

uint32_t LastArchiveStatus();

}  // namespace SkinUI
