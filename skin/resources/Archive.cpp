#include "skin/resources/Archive.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "skin/markup/AsciiText.h"
#include "skin/markup/TextCodec.h"
#include "skin/resources/ArchiveDirectory.h"
#include "skin/resources/FilePlatform.h"

namespace SkinUI {

// Where an archive's bytes come from: a memory block read in place, or a file read in pieces.
class ArchiveBytes {
  public:
    ArchiveBytes(const uint8_t* memory, uint64_t size) : memory_(memory), size_(size) {}
    ArchiveBytes(PlatformFile file, uint64_t size) : file_(std::move(file)), size_(size) {}

    uint64_t Size() const { return size_; }
    // The bytes in place, or null when they must be read.
    const uint8_t* Direct(uint64_t offset) const { return memory_ != nullptr ? memory_ + offset : nullptr; }

    // Reads exactly `count` bytes at `offset`, which the caller has checked against the size.
    bool Read(uint64_t offset, void* buffer, size_t count) const {
        if (memory_ != nullptr) {
            std::memcpy(buffer, memory_ + offset, count);
            return true;
        }
        size_t read = 0;
        return file_.ReadAt(offset, buffer, count, read) && read == count;
    }

  private:
    const uint8_t* memory_ = nullptr;
    PlatformFile file_;
    uint64_t size_ = 0;
};

class SkinArchive {
  public:
    SkinArchive(ArchiveBytes bytes, std::vector<ArchiveEntryInfo> entries, uint32_t dataEnd)
        : bytes_(std::move(bytes)), entries_(std::move(entries)), dataEnd_(dataEnd) {}

    const ArchiveBytes& Bytes() const { return bytes_; }
    const std::vector<ArchiveEntryInfo>& Entries() const { return entries_; }
    uint32_t DataEnd() const { return dataEnd_; }

  private:
    ArchiveBytes bytes_;
    std::vector<ArchiveEntryInfo> entries_;
    uint32_t dataEnd_;  // entry data lies before the central directory
};

void SkinArchiveCloser::operator()(SkinArchive* archive) const noexcept {
    delete archive;
}

namespace {

constexpr size_t kLongestEntryName = 255;
constexpr size_t kFileChunk = 64 * 1024;

std::atomic<uint32_t> g_lastStatus{kArchiveDone};

uint32_t Keep(uint32_t status) {
    g_lastStatus.store(status, std::memory_order_relaxed);
    return status;
}

bool NamesMatch(const std::string& stored, const std::string& wanted, bool ignoreCase) {
    return ignoreCase ? EqualsIgnoringAsciiCase(stored, wanted) : stored == wanted;
}

ArchivePtr ReadDirectoryOf(ArchiveBytes bytes) {
    const uint64_t size = bytes.Size();
    const size_t tailSize = static_cast<size_t>(std::min<uint64_t>(size, kEndRecordSize + kLongestComment));
    const uint64_t tailStart = size - tailSize;
    std::vector<uint8_t> tailCopy;
    const uint8_t* tail = bytes.Direct(tailStart);
    if (tail == nullptr) {
        tailCopy.resize(tailSize);
        if (!bytes.Read(tailStart, tailCopy.data(), tailSize)) {
            Keep(kArchiveReadError);
            return nullptr;
        }
        tail = tailCopy.data();
    }
    ArchiveDirectorySpan span;
    if (Keep(LocateArchiveDirectory(tail, tailSize, tailStart, span)) != kArchiveDone) {
        return nullptr;
    }
    std::vector<uint8_t> directoryCopy;
    const uint8_t* directory = bytes.Direct(span.offset);
    if (directory == nullptr) {
        directoryCopy.resize(span.size);  // bounded by the file's size, checked above
        if (!bytes.Read(span.offset, directoryCopy.data(), span.size)) {
            Keep(kArchiveReadError);
            return nullptr;
        }
        directory = directoryCopy.data();
    }
    std::vector<ArchiveEntryInfo> entries;
    if (Keep(ReadArchiveDirectory(directory, span, entries)) != kArchiveDone) {
        return nullptr;
    }
    return ArchivePtr(new SkinArchive(std::move(bytes), std::move(entries), span.offset));
}

// Offset of the entry's data, after its local header; 0 when the header cannot be read or is not one.
uint32_t LocateEntryData(const SkinArchive& archive, const ArchiveEntryInfo& entry, uint32_t& status) {
    uint8_t header[kLocalHeaderSize];
    if (!archive.Bytes().Read(entry.localHeaderOffset, header, sizeof header)) {
        status = kArchiveReadError;
        return 0;
    }
    const uint64_t start =
        uint64_t{entry.localHeaderOffset} + kLocalHeaderSize + ReadLe16(header + 26) + ReadLe16(header + 28);
    if (ReadLe32(header) != kLocalHeaderSignature || start + entry.compressedSize > archive.DataEnd()) {
        status = kArchiveCorrupt;
        return 0;
    }
    status = kArchiveDone;
    return static_cast<uint32_t>(start);
}

uint32_t ExtractStored(const SkinArchive& archive, const ArchiveEntryInfo& entry, uint32_t dataStart,
                       uint8_t* buffer, size_t size) {
    const size_t count = std::min<size_t>(size, entry.uncompressedSize);
    if (count > 0 && !archive.Bytes().Read(dataStart, buffer, count)) {
        return kArchiveReadError;
    }
    if (count < entry.uncompressedSize) {
        return kArchiveMoreData;
    }
    // Nothing but the checksum tells damaged stored data from sound data.
    return crc32(0, buffer, static_cast<uInt>(count)) == entry.crc32 ? kArchiveDone : kArchiveCorrupt;
}

// Raw inflate of the entry's data into at most min(size, announced size) bytes of `buffer`.
class RawInflater {
  public:
    RawInflater() { ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~RawInflater() {
        if (ready_) {
            inflateEnd(&stream_);
        }
    }
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    uint32_t Run(const SkinArchive& archive, const ArchiveEntryInfo& entry, uint32_t dataStart,
                 uint8_t* buffer, size_t size) {
        if (!ready_) {
            return kArchiveNoMemory;
        }
        const uint32_t room = static_cast<uint32_t>(std::min<size_t>(size, entry.uncompressedSize));
        // zlib wants somewhere to write even when there is nothing to write.
        stream_.next_out = buffer != nullptr ? buffer : &nowhere_;
        stream_.avail_out = room;
        const int result = Inflate(archive, entry, dataStart);
        if (result == Z_MEM_ERROR) {
            return kArchiveNoMemory;
        }
        if (result == Z_STREAM_END) {
            // The data ended: it must hold exactly the announced bytes. A flipped bit often still
            // inflates to a well-formed stream of the right length, so only the checksum tells.
            return stream_.total_out == entry.uncompressedSize &&
                           crc32(0, buffer, static_cast<uInt>(stream_.total_out)) == entry.crc32
                       ? kArchiveDone
                       : kArchiveCorrupt;
        }
        if (result == kReadFailed) {
            return kArchiveReadError;
        }
        if (result != Z_BUF_ERROR || stream_.avail_out != 0) {
            return kArchiveCorrupt;  // bad data, or the data ran out before the output did
        }
        // The output is full but the data goes on: more than announced when the buffer could hold
        // the whole entry, else simply more than the caller asked for.
        return room == entry.uncompressedSize ? kArchiveCorrupt : kArchiveMoreData;
    }

  private:
    static constexpr int kReadFailed = -100;

    // Feeds the data until the stream ends, fails, or can make no more progress (Z_BUF_ERROR: the
    // output is full, or the data ran out).
    int Inflate(const SkinArchive& archive, const ArchiveEntryInfo& entry, uint32_t dataStart) {
        const uint8_t* direct = archive.Bytes().Direct(dataStart);
        std::vector<uint8_t> chunk;
        uint32_t consumed = 0;
        for (;;) {
            if (stream_.avail_in == 0 && consumed < entry.compressedSize) {
                const uint32_t left = entry.compressedSize - consumed;
                if (direct != nullptr) {
                    stream_.next_in = const_cast<Bytef*>(direct + consumed);
                    stream_.avail_in = left;
                } else {
                    chunk.resize(std::min<size_t>(kFileChunk, left));
                    const uint32_t count = static_cast<uint32_t>(chunk.size());
                    if (!archive.Bytes().Read(uint64_t{dataStart} + consumed, chunk.data(), count)) {
                        return kReadFailed;
                    }
                    stream_.next_in = chunk.data();
                    stream_.avail_in = count;
                }
                consumed += stream_.avail_in;
            }
            const uInt inBefore = stream_.avail_in;
            const uInt outBefore = stream_.avail_out;
            const int result = inflate(&stream_, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_BUF_ERROR) {
                return result;
            }
            if (stream_.avail_in == inBefore && stream_.avail_out == outBefore) {
                return Z_BUF_ERROR;
            }
        }
    }

    z_stream stream_{};
    bool ready_ = false;
    Bytef nowhere_ = 0;
};

}  // namespace

ArchivePtr OpenArchive(const std::wstring& path) {
    PlatformFile file = PlatformFile::Open(path);
    uint64_t size = 0;
    if (!file.IsOpen()) {
        Keep(kArchiveNoFile);
        return nullptr;
    }
    if (!file.Size(size)) {
        Keep(kArchiveReadError);
        return nullptr;
    }
    return ReadDirectoryOf(ArchiveBytes(std::move(file), size));
}

ArchivePtr OpenArchive(const void* bytes, size_t size) {
    if (bytes == nullptr) {
        Keep(kArchiveBadArgument);
        return nullptr;
    }
    return ReadDirectoryOf(ArchiveBytes(static_cast<const uint8_t*>(bytes), size));
}

int32_t ArchiveEntryCount(const SkinArchive* archive) {
    return archive != nullptr ? static_cast<int32_t>(archive->Entries().size()) : 0;
}

uint32_t ArchiveEntryAt(const SkinArchive* archive, int32_t index, ArchiveEntryInfo& entry) {
    if (archive == nullptr) {
        return Keep(kArchiveNullHandle);
    }
    if (index < 0 || static_cast<size_t>(index) >= archive->Entries().size()) {
        return Keep(kArchiveBadArgument);
    }
    entry = archive->Entries()[static_cast<size_t>(index)];
    return Keep(kArchiveDone);
}

uint32_t FindArchiveEntry(const SkinArchive* archive, const std::wstring& name, bool ignoreCase,
                          ArchiveEntryInfo& entry) {
    if (archive == nullptr) {
        return Keep(kArchiveNullHandle);
    }
    if (name.size() > kLongestEntryName) {
        return Keep(kArchiveBadArgument);
    }
    // Separators are changed before the conversion: in double-byte code pages a "\" byte can be the
    // second half of a character.
    std::wstring slashed = name;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    const std::string wanted = WideToAnsi(slashed);
    for (const ArchiveEntryInfo& candidate : archive->Entries()) {
        if (NamesMatch(candidate.name, wanted, ignoreCase)) {
            entry = candidate;
            return Keep(EntryRecordIsPlausible(candidate, archive->DataEnd()) ? kArchiveDone
                                                                              : kArchiveCorrupt);
        }
    }
    return Keep(kArchiveNotFound);
}

uint32_t ExtractArchiveEntry(const SkinArchive* archive, int32_t index, void* buffer, size_t size) {
    if (archive == nullptr) {
        return Keep(kArchiveNullHandle);
    }
    if (index < 0 || static_cast<size_t>(index) >= archive->Entries().size() ||
        (buffer == nullptr && size > 0)) {
        return Keep(kArchiveBadArgument);
    }
    const ArchiveEntryInfo& entry = archive->Entries()[static_cast<size_t>(index)];
    if ((entry.flags & 1) != 0 || (entry.method != 0 && entry.method != 8)) {
        return Keep(kArchiveUnsupported);
    }
    if (!EntryRecordIsPlausible(entry, archive->DataEnd())) {
        return Keep(kArchiveCorrupt);
    }
    uint32_t status = kArchiveDone;
    const uint32_t dataStart = LocateEntryData(*archive, entry, status);
    if (status != kArchiveDone) {
        return Keep(status);
    }
    auto* out = static_cast<uint8_t*>(buffer);
    if (entry.method == 0) {
        return Keep(ExtractStored(*archive, entry, dataStart, out, size));
    }
    RawInflater inflater;
    return Keep(inflater.Run(*archive, entry, dataStart, out, size));
}

uint32_t CloseArchive(ArchivePtr& archive) {
    if (!archive) {
        return Keep(kArchiveNullHandle);
    }
    archive.reset();
    return Keep(kArchiveDone);
}

uint32_t LastArchiveStatus() {
    return g_lastStatus.load(std::memory_order_relaxed);
}

}  // namespace SkinUI
