// The GDI canvas on a bitmap: colour fills with alpha, text, the software alpha blend against the
// system's, and the fonts the GDI font engine makes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "skin/drawing/CanvasDrawing.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/drawing/win32/GdiCanvas.h"
#include "skin/drawing/win32/GdiDibSurface.h"
#include "skin/drawing/win32/GdiFontEngine.h"
#include "skin/drawing/win32/GdiImageLibrary.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

uint32_t Rgb(uint32_t argb) {
    return argb & 0x00FFFFFF;
}

// Channels of two pixels differ by at most `tolerance`.
::testing::AssertionResult PixelNear(uint32_t actual, uint32_t expected, int tolerance = 1) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return ::testing::AssertionFailure()
                   << std::hex << "pixel 0x" << actual << ", expected 0x" << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

class GdiDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.IsValid());
        surface.Fill(kWhite);
    }

    GdiDibSurface surface{40, 30};
    GdiCanvas canvas{surface.Dc()};
    GdiFontEngine fonts;
    SkinSharedResources shared;
    CSkinResourceTables tables{fonts, shared};
};

TEST_F(GdiDrawing, OpaqueFillCoversItsRectangleTranslucentIsBlendedAndAlphaZeroIsSkipped) {
    FillColor(canvas, SkinRect{2, 3, 10, 12}, 0xFF336699);
    EXPECT_EQ(Rgb(surface.PixelAt(2, 3)), 0x336699u);
    EXPECT_EQ(Rgb(surface.PixelAt(9, 11)), 0x336699u);
    EXPECT_EQ(surface.PixelAt(10, 11), kWhite);
    EXPECT_EQ(surface.PixelAt(9, 12), kWhite);

    surface.Fill(0xFF0000FF);
    FillColor(canvas, SkinRect{0, 0, 10, 10}, 0x80FF0000);
    // red 255 at alpha 128 over blue: red 128, blue 255 * 127 / 255
    EXPECT_TRUE(PixelNear(surface.PixelAt(5, 5), 0xFF80007F));
    EXPECT_EQ(surface.PixelAt(12, 5), 0xFF0000FFu);
    FillColor(canvas, SkinRect{0, 0, 40, 30}, 0x00FFFFFF);  // "#ffffff": alpha 0, nothing drawn
    EXPECT_EQ(surface.PixelAt(20, 20), 0xFF0000FFu);
}

// A layered window's frame starts transparent whatever its surface held: an image at full opacity lands
// as blending it onto transparent pixels would (copied, not blended), the rest stays clear, and a faded
// image is still blended.
TEST_F(GdiDrawing, FrameStartsTransparentAndTakesImagesAsIfBlendedOntoIt) {
    const auto red = testsupport::SolidImage(4, 4, 0x80800000, true);
    const auto green = testsupport::SolidImage(40, 30, 0x40004000, true);
    const struct {
        std::shared_ptr<SkinImageInfo> image;
        SkinRect dest;
        uint8_t opacity;
        uint32_t inside;
    } cases[] = {
        {red, {2, 2, 6, 6}, 255, 0x80800000},      // premultiplied red
        {green, {0, 0, 40, 30}, 255, 0x40004000},  // covers the whole frame
        {red, {2, 2, 6, 6}, 128, 0x40400000},      // faded: blended
        {nullptr, {0, 0, 0, 0}, 255, 0},           // nothing drawn
    };
    for (const auto& c : cases) {
        surface.Fill(kWhite);
        {
            GdiCanvas frame(surface);
            if (c.image) {
                frame.BlendImage(c.dest, *c.image, SkinRect{0, 0, c.dest.Width(), c.dest.Height()},
                                 c.opacity);
            }
        }
        EXPECT_TRUE(PixelNear(surface.PixelAt(3, 3), c.inside)) << c.dest.Width();
        EXPECT_EQ(surface.PixelAt(39, 29), c.dest.right == 40 ? c.inside : 0u) << c.dest.Width();
    }
}

TEST_F(GdiDrawing, TextUsesTheLowTwentyFourBitsOfItsColour) {
    const SkinFontHandle font = tables.RegisterFont(1, L"Tahoma", 24, true, false, false, false);
    ASSERT_NE(font, nullptr);
    DrawPlainText(
        canvas, SkinRect{0, 0, 40, 30}, L"HH", 0x00FF0000, font,
        CanvasTextFormat::kSingleLine | CanvasTextFormat::kCenter | CanvasTextFormat::kVerticalCenter);
    int red = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const uint32_t rgb = Rgb(surface.PixelAt(x, y));
            red += rgb == 0xFF0000 ? 1 : 0;
            // Anything drawn is a shade between red and the white background: no green or blue of its own.
            EXPECT_EQ((rgb >> 8) & 0xFF, rgb & 0xFF) << x << "," << y;
        }
    }
    EXPECT_GT(red, 20);
}

TEST(SoftwareAlphaBlend, MatchesTheSystemBlend) {
    GdiDibSurface source(6, 4);
    ASSERT_TRUE(source.IsValid());
    uint8_t* bits = source.Bits();
    for (int i = 0; i < 6 * 4; ++i) {
        const uint8_t alpha = static_cast<uint8_t>(i * 11);
        bits[i * 4 + 0] = static_cast<uint8_t>(alpha * (i % 3) / 2);
        bits[i * 4 + 1] = static_cast<uint8_t>(alpha / 2);
        bits[i * 4 + 2] = alpha;
        bits[i * 4 + 3] = alpha;
    }
    GdiDibSurface bySystem(8, 6);
    GdiDibSurface bySoftware(8, 6);
    bySystem.Fill(0xFF204080);
    bySoftware.Fill(0xFF204080);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 200, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlendFunction()(bySystem.Dc(), 1, 1, 6, 4, source.Dc(), 0, 0, 6, 4, blend));
    ASSERT_TRUE(SoftwareAlphaBlend(bySoftware.Dc(), 1, 1, 6, 4, source.Dc(), 0, 0, 6, 4, blend));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_TRUE(PixelNear(bySoftware.PixelAt(x, y), bySystem.PixelAt(x, y), 2)) << x << "," << y;
        }
    }
    EXPECT_FALSE(SoftwareAlphaBlend(bySoftware.Dc(), 0, 0, 6, 4, source.Dc(), 1, 0, 6, 4, blend));
}

LOGFONTW LogFontOf(SkinFontHandle font) {
    LOGFONTW logFont = {};
    GetObjectW(GdiFontHandle(font), sizeof(logFont), &logFont);
    return logFont;
}

TEST_F(GdiDrawing, BoldAddsSevenHundredToTheSystemWeightAndUnknownIdsGiveTheSystemFont) {
    LOGFONTW system = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system);
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

}  // namespace
}  // namespace SkinUI
