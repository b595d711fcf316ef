// Skin archives from outside the program: open the bytes as an archive, look every entry up by its
// own name (in other letter case), and extract it whole and into a smaller buffer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/resources/Archive.h"

namespace {

constexpr uint32_t kLargestExtraction = 1 << 20;

std::wstring Shouted(const std::string& name) {
    std::wstring wide;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        wide.push_back(static_cast<wchar_t>(byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A'
                                                                       : (byte == '/' ? '\\' : byte)));
    }
    return wide;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SkinUI::ArchivePtr archive = SkinUI::OpenArchive(data, size);
    if (!archive) {
        return 0;
    }
    const int32_t count = SkinUI::ArchiveEntryCount(archive.get());
    for (int32_t i = 0; i < count && i < 64; ++i) {
        SkinUI::ArchiveEntryInfo entry;
        if (SkinUI::ArchiveEntryAt(archive.get(), i, entry) != SkinUI::kArchiveDone) {
            __builtin_trap();
        }
        SkinUI::ArchiveEntryInfo found;
        SkinUI::FindArchiveEntry(archive.get(), Shouted(entry.name), true, found);
        if (entry.uncompressedSize > kLargestExtraction) {
            continue;
        }
        std::vector<uint8_t> whole(entry.uncompressedSize);
        const uint32_t status = SkinUI::ExtractArchiveEntry(archive.get(), i, whole.data(), whole.size());
        if (status == SkinUI::kArchiveMoreData) {
            __builtin_trap();  // a buffer of the announced size never leaves data behind
        }
        std::vector<uint8_t> part(entry.uncompressedSize / 2);
        SkinUI::ExtractArchiveEntry(archive.get(), i, part.data(), part.size());
    }
    return 0;
}
