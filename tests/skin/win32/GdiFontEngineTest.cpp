#include <gtest/gtest.h>
#include <windows.h>

#include "skin/SkinResourceTables.h"
#include "skin/win32/GdiFontEngine.h"

namespace SkinUI {
namespace {

LOGFONTW LogFontOf(SkinFontHandle font) {
    LOGFONTW logFont = {};
    GetObjectW(GdiFontHandle(font), sizeof(logFont), &logFont);
    return logFont;
}

class GdiFonts : public ::testing::Test {
  protected:
    GdiFontEngine engine;
    SkinSharedResources shared;
    CSkinResourceTables tables{engine, shared};
    LOGFONTW system = [] {
        LOGFONTW logFont = {};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
        return logFont;
    }();
};

TEST_F(GdiFonts, BoldAddsSevenHundredToTheSystemWeight) {
    const SkinFontHandle bold = tables.RegisterFont(1, L"Tahoma", 14, true, true, false, false);
    ASSERT_NE(bold, nullptr);
    const LOGFONTW made = LogFontOf(bold);
    EXPECT_EQ(made.lfWeight, system.lfWeight + 700);
    EXPECT_EQ(made.lfHeight, -14);
    EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
    EXPECT_TRUE(made.lfUnderline);
    EXPECT_FALSE(made.lfItalic);
    EXPECT_STREQ(made.lfFaceName, L"Tahoma");
    const SkinFontInfo* record = tables.FontRecordById(1);
    ASSERT_NE(record, nullptr);
    EXPECT_GE(record->metrics.height, 14);

    const SkinFontHandle regular = tables.RegisterFont(2, L"Tahoma", 14, false, false, true, false);
    EXPECT_EQ(LogFontOf(regular).lfWeight, system.lfWeight);
    EXPECT_TRUE(LogFontOf(regular).lfItalic);
}

TEST_F(GdiFonts, UnregisteredIdGivesTheSystemDefaultFont) {
    const SkinFontHandle font = tables.FontById(1);
    ASSERT_NE(font, nullptr);
    const LOGFONTW made = LogFontOf(font);
    EXPECT_STREQ(made.lfFaceName, system.lfFaceName);
    EXPECT_EQ(made.lfHeight, system.lfHeight);
    EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
    const SkinFontInfo* record = tables.BaseFontRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->size, system.lfHeight < 0 ? -system.lfHeight : system.lfHeight);
    EXPECT_EQ(record->bold, system.lfWeight >= 700);
    EXPECT_GT(record->metrics.height, 0);
}

TEST_F(GdiFonts, MeasuresGrowWithTextAndFontSize) {
    const SkinFontHandle small = tables.RegisterFont(1, L"Tahoma", 12, false, false, false, false);
    const SkinFontHandle large = tables.RegisterFont(2, L"Tahoma", 24, false, false, false, false);
    const SkinSize one = engine.MeasureText(small, L"Play", 0x20, 1000);
    const SkinSize two = engine.MeasureText(small, L"Play Play", 0x20, 1000);
    const SkinSize big = engine.MeasureText(large, L"Play", 0x20, 1000);
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(two.cx, one.cx);
    EXPECT_GT(big.cx, one.cx);
    EXPECT_GT(big.cy, one.cy);
    EXPECT_GT(engine.Metrics(large).height, engine.Metrics(small).height);
    EXPECT_EQ(engine.MeasureText(small, L"", 0x20, 1000), (SkinSize{0, 0}));
}

}  // namespace
}  // namespace SkinUI
