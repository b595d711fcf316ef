// Skin files through the system's own file and resource functions: folders whose names the ANSI code
// page cannot spell, and skins carried in the program's resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/markup/Markup.h"
#include "skin/resources/Files.h"
#include "skin/resources/Resources.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/skin/resources/TestArchiveBuilder.h"

namespace SkinUI {
namespace {

class SkinFilesWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetResourceSettings();
        SetInstance(GetModuleHandleW(nullptr));
    }
    void TearDown() override { ResetResourceSettings(); }
};

TEST_F(SkinFilesWin32, AFolderWithAChineseNameServesFilesAndArchives) {
    skintest::SkinTestFolder folder(L"\u76ae\u80a4\u6d4b\u8bd5");
    folder.Write(L"main.xml", std::string("<Window caption=\"0,0,0,768\" />"));
    folder.Write(L"\u80cc\u666f.zip",
                 skintest::TestArchiveBuilder()
                     .Add("game.xml", "<Window size=\"1000,700\" />", skintest::Packing::Deflated)
                     .Build());
    SetSkinPath(folder.Path().wstring());
    EXPECT_EQ(SkinPath().back(), L'\\');

    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseSkinFile(L"main.xml", SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    EXPECT_STREQ(markup.Root().FindAttribute(L"caption"), L"0,0,0,768");

    UseArchiveFile(L"\u80cc\u666f.zip", true);
    ASSERT_NE(KeptArchive(), nullptr);
    ASSERT_TRUE(markup.ParseSkinFile(L"GAME.xml", SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    EXPECT_STREQ(markup.Root().FindAttribute(L"size"), L"1000,700");
}

TEST_F(SkinFilesWin32, TheProgramsOwnResourcesServeSkinFiles) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(LoadSkinFileBytes(L"SKINTEXT", L"TESTDATA", bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "<Window name=\"from a resource\" />");
    EXPECT_FALSE(LoadSkinFileBytes(L"114", L"ZIPRES", bytes));
    EXPECT_TRUE(bytes.empty());

    // The skin archive resource becomes the archive in memory, as a skinned window sets it up.
    static std::vector<uint8_t> archive;
    ASSERT_TRUE(LoadSkinFileBytes(L"113", L"ZIPRES", archive));
    UseArchiveMemory(archive.data(), archive.size());
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseSkinFile(L"main.xml", SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    EXPECT_STREQ(markup.Root().FirstChild().FindAttribute(L"text"), L"\u5fae\u8f6f\u96c5\u9ed1");
    ASSERT_TRUE(LoadSkinFileBytes(L"IMG\\logo.png", L"", bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "\x89PNG not really an image");
}

TEST_F(SkinFilesWin32, AResourceModuleOfItsOwnIsSearchedInsteadOfTheProgram) {
    SetResourceModule(GetModuleHandleW(L"kernel32.dll"));
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(LoadSkinFileBytes(L"SKINTEXT", L"TESTDATA", bytes));
    SetResourceModule(nullptr);
    EXPECT_TRUE(LoadSkinFileBytes(L"SKINTEXT", L"TESTDATA", bytes));
}

}  // namespace
}  // namespace SkinUI
