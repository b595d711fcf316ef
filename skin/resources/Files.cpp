#include "skin/resources/Files.h"

#include "skin/markup/FileRead.h"
#include "skin/resources/Archive.h"
#include "skin/resources/FilePlatform.h"
#include "skin/resources/Resources.h"

namespace SkinUI {
namespace {

// No skin file comes near this; it bounds what a damaged archive or a stray file can make us allocate.
constexpr uint64_t kSkinFileLimit = 64ull * 1024 * 1024;

SkinFileStatus ReadArchiveEntry(const std::wstring& name, uint64_t limit, std::vector<uint8_t>& bytes) {
    ArchivePtr owned;
    const SkinArchive* archive = OpenArchiveInUse(owned);
    if (archive == nullptr) {
        return SkinFileStatus::ArchiveOpenFailed;
    }
    ArchiveEntryInfo entry;
    const uint32_t found = FindArchiveEntry(archive, name, true, entry);
    if (found == kArchiveNotFound) {
        return SkinFileStatus::EntryMissing;
    }
    if (found != kArchiveDone) {
        return SkinFileStatus::ExtractFailed;
    }
    if (entry.uncompressedSize == 0) {
        return SkinFileStatus::Empty;
    }
    if (entry.uncompressedSize > limit) {
        return SkinFileStatus::TooLarge;
    }
    bytes.resize(entry.uncompressedSize);
    const uint32_t status = ExtractArchiveEntry(archive, entry.index, bytes.data(), bytes.size());
    if (status != kArchiveDone && status != kArchiveMoreData) {
        bytes.clear();
        return SkinFileStatus::ExtractFailed;
    }
    return SkinFileStatus::Loaded;
}

}  // namespace

SkinFileStatus ReadFileBytes(const std::wstring& path, uint64_t limit, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const PlatformFile file = PlatformFile::Open(path);
    uint64_t size = 0;
    if (!file.IsOpen() || !file.Size(size)) {
        return SkinFileStatus::OpenFailed;
    }
    if (size == 0) {
        return SkinFileStatus::Empty;
    }
    if (size > limit) {
        return SkinFileStatus::TooLarge;
    }
    bytes.resize(static_cast<size_t>(size));
    size_t read = 0;
    if (!file.ReadAt(0, bytes.data(), bytes.size(), read) || read != bytes.size()) {
        bytes.clear();
        return SkinFileStatus::ShortRead;
    }
    return SkinFileStatus::Loaded;
}

SkinFileStatus ReadSkinFile(const std::wstring& name, uint64_t limit, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (ArchiveName().empty()) {
        return ReadFileBytes(SkinPath() + name, limit, bytes);
    }
    return ReadArchiveEntry(name, limit, bytes);
}

bool LoadSkinFileBytes(const std::wstring& name, const std::wstring& resourceType,
                       std::vector<uint8_t>& bytes) {
    if (!resourceType.empty()) {
        return LoadModuleResourceBytes(ResourceModule(), name, resourceType, bytes);
    }
    return ReadSkinFile(name, kSkinFileLimit, bytes) == SkinFileStatus::Loaded;
}

}  // namespace SkinUI
