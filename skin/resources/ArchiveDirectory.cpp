#include "skin/resources/ArchiveDirectory.h"

namespace SkinUI {
namespace {

// Deflate cannot expand more than 1032 times: a 258-byte match costs at least two bits. The margin
// covers the stream's own framing for tiny entries.
constexpr uint64_t kDeflateMaxRatio = 1032;
constexpr uint64_t kDeflateRatioMargin = 4096;

ArchiveEntryInfo ReadEntryRecord(const uint8_t* p) {
    ArchiveEntryInfo entry;
    entry.versionMadeBy = ReadLe16(p + 4);
    entry.versionNeeded = ReadLe16(p + 6);
    entry.flags = ReadLe16(p + 8);
    entry.method = ReadLe16(p + 10);
    entry.modifiedTime = ReadLe16(p + 12);
    entry.modifiedDate = ReadLe16(p + 14);
    entry.crc32 = ReadLe32(p + 16);
    entry.compressedSize = ReadLe32(p + 20);
    entry.uncompressedSize = ReadLe32(p + 24);
    entry.internalAttributes = ReadLe16(p + 36);
    entry.externalAttributes = ReadLe32(p + 38);
    entry.localHeaderOffset = ReadLe32(p + 42);
    return entry;
}

}  // namespace

uint16_t ReadLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t LocateArchiveDirectory(const uint8_t* tail, size_t tailSize, uint64_t tailStart,
                                ArchiveDirectorySpan& span) {
    if (tailSize < kEndRecordSize) {
        return kArchiveCorrupt;
    }
    // The record is the last one whose comment reaches no further than the archive's end.
    for (size_t at = tailSize - kEndRecordSize + 1; at-- > 0;) {
        const uint8_t* p = tail + at;
        if (ReadLe32(p) != kEndRecordSignature || at + kEndRecordSize + ReadLe16(p + 20) > tailSize) {
            continue;
        }
        const uint16_t disk = ReadLe16(p + 4);
        const uint16_t directoryDisk = ReadLe16(p + 6);
        const uint16_t entriesHere = ReadLe16(p + 8);
        const uint16_t entriesTotal = ReadLe16(p + 10);
        span.size = ReadLe32(p + 12);
        span.offset = ReadLe32(p + 16);
        span.entryCount = entriesTotal;
        if (disk != 0 || directoryDisk != 0 || entriesHere != entriesTotal) {
            return kArchiveUnsupported;
        }
        if (entriesTotal == 0xFFFF || span.size == 0xFFFFFFFFu || span.offset == 0xFFFFFFFFu) {
            return kArchiveUnsupported;  // ZIP64
        }
        const uint64_t recordOffset = tailStart + at;
        if (uint64_t{span.offset} + span.size > recordOffset ||
            uint64_t{span.entryCount} * kCentralHeaderSize > span.size) {
            return kArchiveCorrupt;
        }
        return kArchiveDone;
    }
    return kArchiveCorrupt;
}

uint32_t ReadArchiveDirectory(const uint8_t* directory, const ArchiveDirectorySpan& span,
                              std::vector<ArchiveEntryInfo>& entries) {
    entries.clear();
    entries.reserve(span.entryCount);  // bounded: each record takes 46 bytes of the directory
    size_t at = 0;
    for (uint32_t i = 0; i < span.entryCount; ++i) {
        if (span.size - at < kCentralHeaderSize) {
            return kArchiveCorrupt;
        }
        const uint8_t* p = directory + at;
        if (ReadLe32(p) != kCentralHeaderSignature) {
            return kArchiveCorrupt;
        }
        const size_t nameLength = ReadLe16(p + 28);
        const size_t recordSize = kCentralHeaderSize + nameLength + ReadLe16(p + 30) + ReadLe16(p + 32);
        if (span.size - at < recordSize) {
            return kArchiveCorrupt;
        }
        ArchiveEntryInfo entry = ReadEntryRecord(p);
        if (uint64_t{entry.localHeaderOffset} + kLocalHeaderSize > span.offset) {
            return kArchiveCorrupt;
        }
        entry.index = static_cast<int32_t>(i);
        entry.name.assign(reinterpret_cast<const char*>(p + kCentralHeaderSize), nameLength);
        entries.push_back(std::move(entry));
        at += recordSize;
    }
    return kArchiveDone;
}

bool EntryRecordIsPlausible(const ArchiveEntryInfo& entry, uint32_t dataEnd) {
    if (uint64_t{entry.localHeaderOffset} + kLocalHeaderSize + entry.compressedSize > dataEnd) {
        return false;
    }
    if (entry.method == 0) {
        return entry.compressedSize == entry.uncompressedSize;
    }
    if (entry.method == 8) {
        return entry.uncompressedSize <= entry.compressedSize * kDeflateMaxRatio + kDeflateRatioMargin;
    }
    return true;  // other methods are refused when extracted
}

}  // namespace SkinUI
