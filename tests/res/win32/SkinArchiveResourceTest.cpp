// The skin archive carried by the built executable ("ZIPRES" 113): every file of the skin folder is in
// it, deflated, with its size and checksum. The archive is read here with a minimal walk of its central
// directory, apart from the engine's own reader, so that a fault in one is not hidden by the same fault
// in the other.
#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tests/support/win32/TestProcess.h"

namespace {

struct ArchiveEntry {
    uint16_t method = 0;
    uint32_t crc = 0;
    uint32_t packedSize = 0;
    uint32_t size = 0;
    uint32_t localHeaderOffset = 0;
};

uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Read32(const uint8_t* p) {
    return Read16(p) | static_cast<uint32_t>(Read16(p + 2)) << 16;
}

// Reads the central directory; false when the bytes are not a well-formed archive.
bool ReadDirectory(const uint8_t* bytes, size_t size, std::map<std::string, ArchiveEntry>& entries) {
    constexpr size_t kEndSize = 22;
    constexpr size_t kEntrySize = 46;
    if (size < kEndSize) {
        return false;
    }
    // The end record sits at the end, followed only by a comment of at most 65535 bytes.
    size_t end = size - kEndSize;
    const size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
    while (Read32(bytes + end) != 0x06054b50) {
        if (end-- == lowest) {
            return false;
        }
    }
    const uint32_t directorySize = Read32(bytes + end + 12);
    const uint32_t directoryOffset = Read32(bytes + end + 16);
    if (directoryOffset > end || directorySize > end - directoryOffset) {
        return false;
    }
    const size_t directoryEnd = directoryOffset + directorySize;
    size_t at = directoryOffset;
    for (uint16_t i = 0; i < Read16(bytes + end + 10); ++i) {
        const uint8_t* record = bytes + at;
        if (directoryEnd - at < kEntrySize || Read32(record) != 0x02014b50) {
            return false;
        }
        const size_t variable = size_t{Read16(record + 28)} + Read16(record + 30) + Read16(record + 32);
        if (directoryEnd - at - kEntrySize < variable) {
            return false;
        }
        const ArchiveEntry entry{Read16(record + 10), Read32(record + 16), Read32(record + 20),
                                 Read32(record + 24), Read32(record + 42)};
        const std::string name(reinterpret_cast<const char*>(record + kEntrySize), Read16(record + 28));
        if (!entries.emplace(name, entry).second) {
            return false;
        }
        at += kEntrySize + variable;
    }
    return true;
}

TEST(SkinArchiveResource, HoldsEveryFileOfTheSkinFolderDeflatedWithItsSizeAndChecksum) {
    HMODULE module = LoadLibraryExW(testsupport::SiblingProgram(L"TolvaneRunecourt.exe").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << "the executable cannot be loaded as a data file";
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(113), L"ZIPRES");
    ASSERT_NE(resource, nullptr) << "no ZIPRES 113 in the executable";
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, resource)));
    const size_t size = SizeofResource(module, resource);
    std::map<std::string, ArchiveEntry> entries;
    ASSERT_TRUE(ReadDirectory(bytes, size, entries)) << "the skin archive's directory is damaged";

    // The skin folder the archive was packed from, as the build tells the test.
    const wchar_t* folder = _wgetenv(L"TOLVANE_SKIN_SOURCE");
    ASSERT_NE(folder, nullptr);
    size_t files = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        const std::string name = file.path().filename().string();
        if (!file.is_regular_file() || name[0] == '.') {
            continue;
        }
        ++files;
        SCOPED_TRACE(name);
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<uint8_t> source((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
        const auto entry = entries.find(name);
        ASSERT_TRUE(entry != entries.end()) << "missing from the archive";
        EXPECT_EQ(entry->second.method, 8);
        EXPECT_EQ(entry->second.size, source.size());
        EXPECT_EQ(entry->second.crc, crc32(0, source.data(), static_cast<uInt>(source.size())));
        const size_t local = entry->second.localHeaderOffset;
        ASSERT_LE(local + 30, size);
        EXPECT_EQ(Read32(bytes + local), 0x04034b50u);
        const size_t data = local + 30 + Read16(bytes + local + 26) + Read16(bytes + local + 28);
        EXPECT_LE(data + entry->second.packedSize, size) << "the entry's data runs past the archive";
    }
    EXPECT_GT(files, 10u);
    EXPECT_EQ(entries.size(), files) << "the archive holds files that are not in the skin folder";
    FreeLibrary(module);
}

}  // namespace
