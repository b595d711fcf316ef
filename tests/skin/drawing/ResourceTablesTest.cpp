#include <gtest/gtest.h>

#include "skin/drawing/ImageFile.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/resources/Resources.h"
#include "tests/skin/resources/SkinTestFolder.h"
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

TEST_F(ResourceTables, RegisterKeepsTheLoadFlagsAndRefusesWhatCannotBeLoaded) {
    const auto image = tables.RegisterImage(L"a.png", L"", 0xFFFF00FF, true, false);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->mask, 0xFFFF00FFu);
    EXPECT_EQ(image->sourcePixels.size(), 2u * 2u * 4u);  // kept for recolouring
    EXPECT_EQ(image->PixelAt(0, 0), 0u);                  // masked when decoded
    EXPECT_EQ(tables.FindImage(L"a.png"), image);
    EXPECT_FALSE(shared.images.Find(L"a.png"));
    EXPECT_TRUE(tables.RegisterImage(L"b.png", L"", 0, false, false)->sourcePixels.empty());

    EXPECT_FALSE(tables.RegisterImage(L"", L"", 0, false, false));
    EXPECT_FALSE(tables.RegisterImage(L"missing.png", L"", 0, false, false));
    folder.Write(L"broken.png", std::string("not an image"));
    EXPECT_FALSE(tables.RegisterImage(L"broken.png", L"", 0, false, false));
    // A name that is no skin file is decoded as a path of its own, also when it was meant as a module
    // resource that does not exist; but with a type the tables take only names that spell a resource id.
    const std::wstring path = (folder.Path() / L"a.png").wstring();
    ASSERT_TRUE(DecodeImageFile(path, L"", 0));
    ASSERT_TRUE(DecodeImageFile(path, L"PNG", 0));
    EXPECT_FALSE(tables.RegisterImage(path, L"PNG", 0, false, false));
}

TEST_F(ResourceTables, RegisterReplacesButFindOrRegisterKeepsTheCachedImage) {
    const std::weak_ptr<SkinImageInfo> first = tables.FindOrRegisterImage(L"a.png", L"", 0, false);
    folder.Write(L"a.png", EncodePng(RgbaPixels(7, 1, 0xFF000000)));
    const auto again = tables.FindOrRegisterImage(L"a.png", L"", 0xFFFF00FF, true);
    EXPECT_EQ(again, first.lock());  // not read again, whatever the new mask
    EXPECT_EQ(again->mask, 0u);

    const auto second = tables.RegisterImage(L"a.png", L"", 0, false, false);
    ASSERT_TRUE(second);
    EXPECT_EQ(tables.FindImage(L"a.png")->width, 7);
    EXPECT_NE(second, again);
}

TEST_F(ResourceTables, LookupTriesTheWindowFirstThenTheSharedTable) {
    const auto common = tables.RegisterImage(L"a.png", L"", 0, false, true);
    ASSERT_TRUE(common);
    EXPECT_EQ(shared.images.Find(L"a.png"), common);
    CSkinResourceTables other(engine, shared);
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
    const SkinFontHandle bold = tables.RegisterFont(1, L"A face name longer than thirty-one characters", 14,
                                                    true, true, false, false);
    ASSERT_NE(bold, nullptr);
    const SkinFontDescription& made = FixedFontEngine::DescriptionOf(bold);
    EXPECT_EQ(made.weight, 400 + 700);
    EXPECT_EQ(made.height, -14);
    EXPECT_EQ(made.faceName, L"A face name longer than thirty-");
    EXPECT_EQ(made.charSet, 1);
    EXPECT_TRUE(made.underline);
    EXPECT_EQ(tables.FontRecordById(1)->metrics.height, 16);

    engine.refuseFonts = true;  // fonts the platform refuses are not recorded
    EXPECT_EQ(tables.RegisterFont(2, L"Nope", 12, false, false, false, false), nullptr);
    EXPECT_EQ(tables.FontById(2), nullptr);
}

TEST_F(ResourceTables, UnknownAndNegativeFontIdsGiveTheDefaultFont) {
    const SkinFontInfo* systemDefault = tables.BaseFontRecord();
    ASSERT_NE(systemDefault, nullptr);
    EXPECT_EQ(systemDefault->size, 12);
    EXPECT_EQ(tables.FontById(1), systemDefault->Handle());
    EXPECT_EQ(tables.FontById(-1), systemDefault->Handle());

    const SkinFontHandle windowDefault = tables.SetBaseFont(L"Window", 20, false, false, false, false);
    EXPECT_EQ(tables.FontById(1), windowDefault);
    CSkinResourceTables other(engine, shared);
    EXPECT_EQ(other.FontById(1), systemDefault->Handle());  // the window default stays with its window
    const SkinFontHandle base = tables.SetBaseFont(L"Process", 16, true, false, true, true);
    EXPECT_EQ(other.FontById(-1), base);  // ... but the shared one reaches every window without its own

    tables.RegisterFont(1, L"One", 9, false, false, false, false);
    EXPECT_NE(tables.FontById(1), windowDefault);
    EXPECT_EQ(tables.FontById(-1), windowDefault);
}

TEST_F(ResourceTables, WindowFontsComeBeforeSharedOnesAndReplaceByIdentifier) {
    const SkinFontHandle common = tables.RegisterFont(3, L"Shared", 10, false, false, false, true);
    tables.RegisterFont(3, L"Own", 11, false, false, false, false);
    const SkinFontHandle replaced = tables.RegisterFont(3, L"Own again", 12, false, false, false, false);
    EXPECT_EQ(tables.FontById(3), replaced);
    tables.RemoveAllFonts();
    EXPECT_EQ(tables.FontById(3), common);
}

TEST_F(ResourceTables, DefaultColoursAreCopiedFromTheProcessWhenTheTablesAreMade) {
    shared.defaultColors.text = 0xFF112233;
    EXPECT_EQ(tables.DefaultColors().text, 0xFF000000u);
    CSkinResourceTables later(engine, shared);
    EXPECT_EQ(later.DefaultColors().text, 0xFF112233u);
}

}  // namespace
}  // namespace SkinUI
