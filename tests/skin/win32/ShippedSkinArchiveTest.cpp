// The skin archive inside the built program, read the way a skinned window reads it: the program's
// "ZIPRES" 113 resource becomes the archive in memory, and both skins parse from it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/SkinFiles.h"
#include "skin/SkinMarkup.h"
#include "skin/SkinResources.h"
#include "tests/support/win32/TestProcess.h"

namespace SkinUI {
namespace {

TEST(ShippedSkinArchive, BothSkinsAndTheirImagesLoadFromTheProgramsResource) {
    ResetResourceSettings();
    HMODULE program = LoadLibraryExW(testsupport::SiblingProgram(L"TolvaneRunecourt.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    SetResourceModule(program);
    static std::vector<uint8_t> archive;
    ASSERT_TRUE(LoadSkinFileBytes(L"113", L"ZIPRES", archive));
    UseArchiveMemory(archive.data(), archive.size());

    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseSkinFile(L"main.xml", SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    EXPECT_STREQ(markup.Root().FindAttribute(L"size"), L"1280,768");
    ASSERT_TRUE(markup.ParseSkinFile(L"game.xml", SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    EXPECT_STREQ(markup.Root().FindAttribute(L"size"), L"1000,700");

    std::vector<uint8_t> image;
    for (const wchar_t* name : {L"bg.png", L"home_hover.png", L"game_back.png", L"normal2max-press.png"}) {
        EXPECT_TRUE(LoadSkinFileBytes(name, L"", image)) << name;
        EXPECT_GT(image.size(), 8u) << name;
    }
    ResetResourceSettings();
    FreeLibrary(program);
}

}  // namespace
}  // namespace SkinUI
