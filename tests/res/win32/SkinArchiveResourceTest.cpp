// The skin archive carried by the built executable ("ZIPRES" 113): every file of the skin folder is in
// it, deflated, with its size and checksum, and every image the two skins name has the size the skin
// lays it out at. The archive is read here with a minimal walk of its central directory, apart from the
// engine's own reader, so that a fault in one is not hidden by the same fault in the other.
#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/support/win32/TestProcess.h"

namespace {

constexpr uint32_t kEndOfDirectorySignature = 0x06054b50;
constexpr uint32_t kDirectoryEntrySignature = 0x02014b50;
constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr size_t kEndOfDirectorySize = 22;
constexpr size_t kDirectoryEntrySize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr uint16_t kMethodDeflate = 8;

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
    if (size < kEndOfDirectorySize) {
        return false;
    }
    // The end record sits at the end, followed only by a comment of at most 65535 bytes.
    size_t end = size - kEndOfDirectorySize;
    const size_t lowest = size - kEndOfDirectorySize > 0xFFFF ? size - kEndOfDirectorySize - 0xFFFF : 0;
    while (Read32(bytes + end) != kEndOfDirectorySignature) {
        if (end == lowest) {
            return false;
        }
        --end;
    }
    const uint16_t count = Read16(bytes + end + 10);
    const uint32_t directorySize = Read32(bytes + end + 12);
    const uint32_t directoryOffset = Read32(bytes + end + 16);
    if (directoryOffset > end || directorySize > end - directoryOffset) {
        return false;
    }
    size_t at = directoryOffset;
    const size_t directoryEnd = directoryOffset + directorySize;
    for (uint16_t i = 0; i < count; ++i) {
        if (directoryEnd - at < kDirectoryEntrySize || Read32(bytes + at) != kDirectoryEntrySignature) {
            return false;
        }
        const uint8_t* record = bytes + at;
        const size_t variable = size_t{Read16(record + 28)} + Read16(record + 30) + Read16(record + 32);
        if (directoryEnd - at - kDirectoryEntrySize < variable) {
            return false;
        }
        ArchiveEntry entry;
        entry.method = Read16(record + 10);
        entry.crc = Read32(record + 16);
        entry.packedSize = Read32(record + 20);
        entry.size = Read32(record + 24);
        entry.localHeaderOffset = Read32(record + 42);
        const std::string name(reinterpret_cast<const char*>(record + kDirectoryEntrySize),
                               Read16(record + 28));
        if (!entries.emplace(name, entry).second) {
            return false;
        }
        at += kDirectoryEntrySize + variable;
    }
    return true;
}

std::string Narrow(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text) {
        result += c < 128 ? static_cast<char>(c) : '?';
    }
    return result;
}

// The skin folder the archive was packed from, as the build tells the test.
std::wstring SkinFolder() {
    const wchar_t* folder = _wgetenv(L"TOLVANE_SKIN_SOURCE");
    return folder != nullptr ? folder : L"";
}

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (64 << 20);
    DWORD got = 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        ok =
            bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                              got == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

// Every skin file of the source folder by name (hidden files aside), with its bytes.
std::map<std::string, std::vector<uint8_t>> SkinSourceFiles() {
    std::map<std::string, std::vector<uint8_t>> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((SkinFolder() + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return files;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || found.cFileName[0] == L'.') {
            continue;
        }
        std::vector<uint8_t> bytes;
        if (ReadWholeFile(SkinFolder() + L"\\" + found.cFileName, bytes)) {
            files[Narrow(found.cFileName)] = std::move(bytes);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

class SkinArchiveResourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW(testsupport::SiblingProgram(L"TolvaneRunecourt.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "the executable cannot be loaded as a data file";
        HRSRC resource = FindResourceW(module_, MAKEINTRESOURCEW(113), L"ZIPRES");
        ASSERT_NE(resource, nullptr) << "no ZIPRES 113 in the executable";
        HGLOBAL loaded = LoadResource(module_, resource);
        ASSERT_NE(loaded, nullptr);
        bytes_ = static_cast<const uint8_t*>(LockResource(loaded));
        size_ = SizeofResource(module_, resource);
        ASSERT_NE(bytes_, nullptr);
        ASSERT_TRUE(ReadDirectory(bytes_, size_, entries_)) << "the skin archive's directory is damaged";
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    HMODULE module_ = nullptr;
    const uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
    std::map<std::string, ArchiveEntry> entries_;
};

TEST_F(SkinArchiveResourceTest, HoldsEveryFileOfTheSkinFolderDeflatedWithItsSizeAndChecksum) {
    const auto sources = SkinSourceFiles();
    ASSERT_FALSE(sources.empty()) << "no skin files found in the folder the build names";
    for (const auto& [name, source] : sources) {
        SCOPED_TRACE(name);
        const auto entry = entries_.find(name);
        ASSERT_TRUE(entry != entries_.end()) << "missing from the archive";
        EXPECT_EQ(entry->second.method, kMethodDeflate);
        EXPECT_EQ(entry->second.size, source.size());
        EXPECT_EQ(entry->second.crc, crc32(0, source.data(), static_cast<uInt>(source.size())));
        const size_t local = entry->second.localHeaderOffset;
        ASSERT_LE(local + kLocalHeaderSize, size_);
        EXPECT_EQ(Read32(bytes_ + local), kLocalHeaderSignature);
        const size_t data =
            local + kLocalHeaderSize + Read16(bytes_ + local + 26) + Read16(bytes_ + local + 28);
        EXPECT_LE(data + entry->second.packedSize, size_) << "the entry's data runs past the archive";
    }
    for (const auto& entry : entries_) {
        EXPECT_EQ(sources.count(entry.first), 1u) << entry.first << " is packed but not in the skin folder";
    }
}

struct SkinImage {
    const char* name;
    uint32_t width;
    uint32_t height;
};

// The images the launcher and game window skins name, at the sizes of the controls that draw them.
constexpr SkinImage kSkinImages[] = {
    {"bg.png", 1280, 768},
    {"mini.png", 35, 35},
    {"close.png", 35, 35},
    {"home.png", 90, 31},
    {"home_hover.png", 90, 31},
    {"home_click.png", 90, 31},
    {"charge.png", 90, 31},
    {"charge_hover.png", 90, 31},
    {"charge_click.png", 90, 31},
    {"custom.png", 90, 31},
    {"custom_hover.png", 90, 31},
    {"custom_click.png", 90, 31},
    {"bbs.png", 90, 31},
    {"bbs_hover.png", 90, 31},
    {"bbs_click.png", 90, 31},
    {"game_back.png", 1000, 700},
    {"min_normal.png", 27, 23},
    {"min_hover.png", 27, 23},
    {"min_pressed.png", 27, 23},
    {"normal2max-normal.png", 27, 23},
    {"normal2max-hover.png", 27, 23},
    {"normal2max-press.png", 27, 23},
    {"close_normal.png", 27, 23},
    {"close_hover.png", 27, 23},
    {"close_pressed.png", 27, 23},
};

uint32_t ReadBig32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

TEST_F(SkinArchiveResourceTest, EveryImageTheSkinsNameIsAPackedPngOfItsControlsSize) {
    const auto sources = SkinSourceFiles();
    static const uint8_t kPngStart[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                                        0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (const SkinImage& image : kSkinImages) {
        SCOPED_TRACE(image.name);
        EXPECT_EQ(entries_.count(image.name), 1u) << "not packed";
        const auto source = sources.find(image.name);
        ASSERT_TRUE(source != sources.end()) << "not in the skin folder";
        const std::vector<uint8_t>& png = source->second;
        ASSERT_GE(png.size(), sizeof kPngStart + 10);
        ASSERT_EQ(memcmp(png.data(), kPngStart, sizeof kPngStart), 0) << "not a PNG";
        EXPECT_EQ(ReadBig32(png.data() + 16), image.width);
        EXPECT_EQ(ReadBig32(png.data() + 20), image.height);
        EXPECT_EQ(png[24], 8) << "8 bits per channel";
        EXPECT_EQ(png[25], 6) << "red, green, blue and alpha";
    }
}

}  // namespace
