#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/resources/Archive.h"

namespace SkinUI {

// The record layouts of a ZIP archive, read from byte blocks with every size checked first.

constexpr uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr uint32_t kEndRecordSignature = 0x06054B50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kLongestComment = 0xFFFF;

// Where the central directory lies, from the end-of-directory record.
struct ArchiveDirectorySpan {
    uint32_t entryCount = 0;
    uint32_t offset = 0;  // of the central directory; entry data lies before it
    uint32_t size = 0;
};

uint16_t ReadLe16(const uint8_t* p);
uint32_t ReadLe32(const uint8_t* p);

// Finds the end-of-directory record in the last bytes of an archive (`tail`, which ends where the
// archive ends; `tailStart` is its offset in an archive of `archiveSize` bytes) and checks that the
// directory it names lies inside the archive before the record. Multi-part and ZIP64 archives are
// kArchiveUnsupported; anything that cannot be true is kArchiveCorrupt.
uint32_t LocateArchiveDirectory(const uint8_t* tail, size_t tailSize, uint64_t tailStart,
                                ArchiveDirectorySpan& span);

// Reads every entry record of the central directory. Each record and its name, extra field and
// comment must lie inside the directory and every local header before the directory.
uint32_t ReadArchiveDirectory(const uint8_t* directory, const ArchiveDirectorySpan& span,
                              std::vector<ArchiveEntryInfo>& entries);

// Whether the record's sizes could belong to real stored or deflated data lying before `dataEnd`.
bool EntryRecordIsPlausible(const ArchiveEntryInfo& entry, uint32_t dataEnd);

}  // namespace SkinUI
