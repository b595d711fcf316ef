#include <gtest/gtest.h>
#include <windows.h>

#include "skin/drawing/ResourceTables.h"
#include "skin/drawing/win32/GdiFontEngine.h"

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

TEST_F(GdiFonts, BoldAddsSevenHundredToTheSystemWeightAndUnknownIdsGiveTheSystemFont) {
    const SkinFontHandle bold = tables.RegisterFont(1, L"Tahoma", 14, true, true, false, false);
    ASSERT_NE(bold, nullptr);
    const LOGFONTW made = LogFontOf(bold);
    EXPECT_EQ(made.lfWeight, system.lfWeight + 700);
    EXPECT_EQ(made.lfHeight, -14);
    EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
    EXPECT_TRUE(made.lfUnderline);
    EXPECT_STREQ(made.lfFaceName, L"Tahoma");
    EXPECT_GE(tables.FontRecordById(1)->metrics.height, 14);

    const LOGFONTW fallback = LogFontOf(tables.FontById(2));
    EXPECT_STREQ(fallback.lfFaceName, system.lfFaceName);
    EXPECT_EQ(fallback.lfHeight, system.lfHeight);
    EXPECT_EQ(fallback.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(tables.BaseFontRecord()->size, system.lfHeight < 0 ? -system.lfHeight : system.lfHeight);
}

TEST_F(GdiFonts, MeasuresGrowWithTextAndFontSize) {
    const SkinFontHandle small = tables.RegisterFont(1, L"Tahoma", 12, false, false, false, false);
    const SkinFontHandle large = tables.RegisterFont(2, L"Tahoma", 24, false, false, false, false);
    const SkinSize one = engine.MeasureText(small, L"Play", 0x20, 1000);
    const SkinSize two = engine.MeasureText(small, L"Play Play", 0x20, 1000);
    const SkinSize big = engine.MeasureText(large, L"Play", 0x20, 1000);
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(two.cx, one.cx);
    EXPECT_GT(big.cy, one.cy);
    EXPECT_GT(engine.Metrics(large).height, engine.Metrics(small).height);
    EXPECT_EQ(engine.MeasureText(small, L"", 0x20, 1000), (SkinSize{0, 0}));
}

}  // namespace
}  // namespace SkinUI
