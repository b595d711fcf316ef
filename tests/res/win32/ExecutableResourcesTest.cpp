// The resources of the built executable: the skin archive ("ZIPRES" 113) holds every file of the skin
// folder, deflated and byte for byte, and the window icon comes at the large and small sizes.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/resources/Archive.h"
#include "tests/support/win32/TestProcess.h"

namespace res {
namespace {

TEST(ExecutableResources, EveryFileOfTheSkinFolderDeflatedInTheArchiveAndTheIconAtEachSize) {
    HMODULE exe = LoadLibraryExW(testsupport::SiblingProgram(L"TolvaneRunecourt.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr) << "the executable cannot be loaded as a data file";
    HRSRC resource = FindResourceW(exe, MAKEINTRESOURCEW(113), L"ZIPRES");
    ASSERT_NE(resource, nullptr) << "no ZIPRES 113 in the executable";
    SkinUI::ArchivePtr archive =
        SkinUI::OpenArchive(LockResource(LoadResource(exe, resource)), SizeofResource(exe, resource));
    ASSERT_TRUE(archive) << "the skin archive's directory is damaged";
    // The skin folder the archive was packed from, as the build tells the test.
    const wchar_t* folder = _wgetenv(L"TOLVANE_SKIN_SOURCE");
    ASSERT_NE(folder, nullptr);
    int32_t files = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        const std::wstring name = file.path().filename().wstring();
        if (!file.is_regular_file() || name[0] == L'.') {
            continue;
        }
        ++files;
        SCOPED_TRACE(file.path().filename().string());
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<uint8_t> source((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
        SkinUI::ArchiveEntryInfo entry;
        ASSERT_EQ(SkinUI::FindArchiveEntry(archive.get(), name, false, entry), SkinUI::kArchiveDone);
        EXPECT_EQ(entry.method, 8);
        std::vector<uint8_t> packed(entry.uncompressedSize);
        EXPECT_EQ(SkinUI::ExtractArchiveEntry(archive.get(), entry.index, packed.data(), packed.size()),
                  SkinUI::kArchiveDone);
        EXPECT_EQ(packed, source);
    }
    EXPECT_GT(files, 10);
    EXPECT_EQ(SkinUI::ArchiveEntryCount(archive.get()), files)
        << "files in the archive that the folder lacks";

    for (int size : {16, 32, 48}) {
        HANDLE icon = LoadImageW(exe, MAKEINTRESOURCEW(101), IMAGE_ICON, size, size, 0);
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(static_cast<HICON>(icon));
    }
    EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr);  // version
    FreeLibrary(exe);
}

}  // namespace
}  // namespace res
