#include <gtest/gtest.h>

#include "skin/SkinImageDecoder.h"
#include "skin/SkinResourceTables.h"
#include "skin/SkinResources.h"
#include "tests/skin/native/SkinTestFolder.h"
#include "tests/support/skin/FixedFontEngine.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::EncodePng;
using testsupport::FixedFontEngine;
using testsupport::RgbaPixels;

class ResourceTables : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetResourceSettings();
        SetSkinPath(folder.WithSeparator());
        folder.Write(L"a.png", EncodePng(RgbaPixels(2, 2, 0xFFFF00FF)));
        folder.Write(L"b.png", EncodePng(RgbaPixels(3, 3, 0x80FFFFFF)));
    }
    void TearDown() override { ResetResourceSettings(); }

    skintest::SkinTestFolder folder{L"tables"};
    FixedFontEngine engine;
    SkinSharedResources shared;
    CSkinResourceTables tables{engine, shared};
};

TEST_F(ResourceTables, RegisterStoresTheLoadFlagsAndTheWindowTableFindsIt) {
    const auto image = tables.RegisterImage(L"a.png", L"", 0xFFFF00FF, true, false);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->mask, 0xFFFF00FFu);
    EXPECT_TRUE(image->recolour);
    EXPECT_EQ(image->sourcePixels.size(), 2u * 2u * 4u);  // kept for recolouring
    EXPECT_EQ(image->PixelAt(0, 0), 0u);                  // masked when decoded
    EXPECT_EQ(tables.FindImage(L"a.png"), image);
    EXPECT_FALSE(shared.images.Find(L"a.png"));
    EXPECT_TRUE(tables.RegisterImage(L"b.png", L"", 0, false, false)->sourcePixels.empty());
}

TEST_F(ResourceTables, RefusesEmptyNamesMissingFilesAndResourceNamesThatAreNotIds) {
    EXPECT_FALSE(tables.RegisterImage(L"", L"", 0, false, false));
    EXPECT_FALSE(tables.RegisterImage(L"missing.png", L"", 0, false, false));
    // With a type the name must spell a resource id: the file that the name would reach as a path of
    // its own is not even tried.
    const std::wstring path = (folder.Path() / L"a.png").wstring();
    ASSERT_TRUE(DecodeImageFile(path, L"PNG", 0));
    EXPECT_FALSE(tables.RegisterImage(path, L"PNG", 0, false, false));
    EXPECT_FALSE(tables.FindImage(path));
}

TEST_F(ResourceTables, SecondRegistrationOfANameReplacesAndReleasesTheFirst) {
    const std::weak_ptr<SkinImageInfo> first = tables.RegisterImage(L"a.png", L"", 0, false, false);
    folder.Write(L"a.png", EncodePng(RgbaPixels(7, 1, 0xFF000000)));
    const auto second = tables.RegisterImage(L"a.png", L"", 0, false, false);
    ASSERT_TRUE(second);
    EXPECT_TRUE(first.expired());
    EXPECT_EQ(tables.FindImage(L"a.png")->width, 7);
}

TEST_F(ResourceTables, FindOrRegisterReturnsTheCachedImageWhateverTheNewMask) {
    const auto first = tables.FindOrRegisterImage(L"a.png", L"", 0, false);
    ASSERT_TRUE(first);
    folder.Write(L"a.png", EncodePng(RgbaPixels(7, 1, 0xFF000000)));  // not read again
    const auto again = tables.FindOrRegisterImage(L"a.png", L"", 0xFFFF00FF, true);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->width, 2);
    EXPECT_EQ(again->mask, 0u);
    EXPECT_EQ(again->PixelAt(0, 0), 0xFFFF00FFu);
}

TEST_F(ResourceTables, LookupTriesTheWindowFirstThenTheSharedTable) {
    const auto common = tables.RegisterImage(L"a.png", L"", 0, false, true);
    ASSERT_TRUE(common);
    EXPECT_EQ(shared.images.Find(L"a.png"), common);
    EXPECT_EQ(tables.FindImage(L"a.png"), common);

    // Another window sees the shared image too.
    CSkinResourceTables other(engine, shared);
    EXPECT_EQ(other.FindImage(L"a.png"), common);
    EXPECT_EQ(other.FindOrRegisterImage(L"a.png", L"", 0, false), common);

    const auto own = tables.RegisterImage(L"a.png", L"", 0xFFFF00FF, false, false);
    EXPECT_EQ(tables.FindImage(L"a.png"), own);
    EXPECT_EQ(other.FindImage(L"a.png"), common);

    tables.RemoveAllImages();
    EXPECT_EQ(tables.FindImage(L"a.png"), common);
    tables.RemoveAllSharedImages();
    EXPECT_FALSE(tables.FindImage(L"a.png"));
}

TEST_F(ResourceTables, FontsStartFromTheSystemFont) {
    engine.systemFont.weight = 400;
    const SkinFontHandle bold = tables.RegisterFont(1, L"A face name longer than thirty-one characters", 14,
                                                    true, true, false, false);
    ASSERT_NE(bold, nullptr);
    const SkinFontDescription& made = FixedFontEngine::DescriptionOf(bold);
    EXPECT_EQ(made.weight, 1100);
    EXPECT_EQ(made.height, -14);
    EXPECT_EQ(made.faceName, L"A face name longer than thirty-");
    EXPECT_EQ(made.charSet, 1);
    EXPECT_TRUE(made.underline);
    EXPECT_FALSE(made.italic);
    const SkinFontInfo* record = tables.FontRecordById(1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->size, 14);
    EXPECT_TRUE(record->bold);
    EXPECT_EQ(record->metrics.height, 16);
}

TEST_F(ResourceTables, UnknownAndNegativeFontIdsGiveTheDefaultFont) {
    const SkinFontInfo* systemDefault = tables.BaseFontRecord();
    ASSERT_NE(systemDefault, nullptr);
    EXPECT_EQ(systemDefault->faceName, L"Fixed Sans");
    EXPECT_EQ(systemDefault->size, 12);
    EXPECT_EQ(FixedFontEngine::DescriptionOf(systemDefault->Handle()).charSet, 1);
    EXPECT_EQ(tables.FontById(1), systemDefault->Handle());
    EXPECT_EQ(tables.FontById(-1), systemDefault->Handle());

    const SkinFontHandle windowDefault = tables.SetBaseFont(L"Window", 20, false, false, false, false);
    EXPECT_EQ(tables.FontById(1), windowDefault);
    EXPECT_EQ(tables.BaseFontRecord()->size, 20);
    CSkinResourceTables other(engine, shared);
    EXPECT_EQ(other.FontById(1), systemDefault->Handle());  // the window default stays with its window

    tables.RegisterFont(1, L"One", 9, false, false, false, false);
    EXPECT_NE(tables.FontById(1), windowDefault);
    EXPECT_EQ(tables.FontById(-1), windowDefault);
}

TEST_F(ResourceTables, WindowFontsComeBeforeSharedOnesAndReplaceByIdentifier) {
    const SkinFontHandle common = tables.RegisterFont(3, L"Shared", 10, false, false, false, true);
    EXPECT_EQ(tables.FontById(3), common);
    const SkinFontHandle own = tables.RegisterFont(3, L"Own", 11, false, false, false, false);
    EXPECT_EQ(tables.FontById(3), own);
    const SkinFontHandle replaced = tables.RegisterFont(3, L"Own again", 12, false, false, false, false);
    EXPECT_EQ(tables.FontRecordById(3)->faceName, L"Own again");
    EXPECT_EQ(tables.FontById(3), replaced);
    tables.RemoveAllFonts();
    EXPECT_EQ(tables.FontById(3), common);
}

TEST_F(ResourceTables, SharedBaseFontChangesTheDefaultOfEveryWindowWithoutOneOfItsOwn) {
    CSkinResourceTables other(engine, shared);
    const SkinFontHandle base = tables.SetBaseFont(L"Process", 16, true, false, true, true);
    EXPECT_EQ(other.FontById(-1), base);
    EXPECT_TRUE(other.BaseFontRecord()->italic);
}

TEST_F(ResourceTables, FontsThePlatformRefusesAreNotRecorded) {
    engine.refuseFonts = true;
    EXPECT_EQ(tables.RegisterFont(2, L"Nope", 12, false, false, false, false), nullptr);
    EXPECT_EQ(tables.FontById(2), nullptr);
    EXPECT_EQ(tables.BaseFontRecord(), nullptr);
}

TEST_F(ResourceTables, DefaultColoursAreCopiedFromTheProcessWhenTheTablesAreMade) {
    EXPECT_EQ(tables.DefaultColors().disabledText, 0xFFA7A6AAu);
    EXPECT_EQ(tables.DefaultColors().text, 0xFF000000u);
    EXPECT_EQ(tables.DefaultColors().linkText, 0xFF0000FFu);
    EXPECT_EQ(tables.DefaultColors().linkTextHot, 0xFFD3215Fu);
    EXPECT_EQ(tables.DefaultColors().selectedBackground, 0xFFBAE4FFu);
    shared.defaultColors.text = 0xFF112233;
    EXPECT_EQ(tables.DefaultColors().text, 0xFF000000u);
    CSkinResourceTables later(engine, shared);
    EXPECT_EQ(later.DefaultColors().text, 0xFF112233u);
}

}  // namespace
}  // namespace SkinUI
