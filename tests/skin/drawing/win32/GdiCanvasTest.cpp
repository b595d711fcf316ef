#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "skin/drawing/CanvasDrawing.h"
#include "skin/drawing/ImageDescriptor.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/drawing/win32/GdiCanvas.h"
#include "skin/drawing/win32/GdiDibSurface.h"
#include "skin/drawing/win32/GdiFontEngine.h"
#include "skin/drawing/win32/GdiImageLibrary.h"
#include "skin/drawing/win32/GdiPixelBuffer.h"
#include "skin/resources/Resources.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::EncodePng;
using testsupport::RgbaPixels;

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

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
        InstallDibPixelStorage();
        ResetResourceSettings();
        SetSkinPath(folder.WithSeparator());
    }
    void TearDown() override {
        ResetResourceSettings();
        SetPixelAllocator(nullptr);
    }

    bool DrawImage(const std::wstring& descriptorText, const SkinRect& item) {
        SkinImageDescriptor descriptor(descriptorText);
        return DrawImageDescriptor(canvas, tables, item, SkinRect{0, 0, surface.Width(), surface.Height()},
                                   descriptor);
    }

    skintest::SkinTestFolder folder{L"gdi"};
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

// A 9x9 image whose 3x3 corners, edges and middle each have a colour of their own.
std::vector<uint8_t> NinePartImage() {
    RgbaPixels pixels(9, 9, 0xFF808080);  // middle
    for (int i = 0; i < 9; ++i) {
        for (int j = 0; j < 3; ++j) {
            pixels.Set(i, j, 0xFF00FFFF);      // top edge
            pixels.Set(i, 8 - j, 0xFFFF00FF);  // bottom edge
        }
    }
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            pixels.Set(x, y, 0xFFFF0000);
            pixels.Set(8 - x, y, 0xFF00FF00);
            pixels.Set(x, 8 - y, 0xFF0000FF);
            pixels.Set(8 - x, 8 - y, 0xFFFFFF00);
        }
    }
    return EncodePng(pixels);
}

TEST_F(GdiDrawing, NinePartCornersKeepTheirSizeWhileTheMiddleStretches) {
    folder.Write(L"nine.png", NinePartImage());
    ASSERT_TRUE(DrawImage(L"file='nine.png' corner='3,3,3,3'", SkinRect{5, 5, 35, 25}));
    EXPECT_EQ(Rgb(surface.PixelAt(7, 7)), 0xFF0000u);
    EXPECT_EQ(Rgb(surface.PixelAt(8, 5)), 0x00FFFFu);  // the top edge starts right after the corner
    EXPECT_EQ(Rgb(surface.PixelAt(32, 7)), 0x00FF00u);
    EXPECT_EQ(Rgb(surface.PixelAt(31, 7)), 0x00FFFFu);
    EXPECT_EQ(Rgb(surface.PixelAt(34, 24)), 0xFFFF00u);
    EXPECT_EQ(Rgb(surface.PixelAt(32, 22)), 0xFFFF00u);
    EXPECT_EQ(Rgb(surface.PixelAt(20, 15)), 0x808080u);
    EXPECT_EQ(surface.PixelAt(35, 25), kWhite);
}

TEST_F(GdiDrawing, TiledImageCutsTheLastTileAtTheEdge) {
    RgbaPixels strip(4, 2, kBlack);
    const uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int x = 0; x < 4; ++x) {
        strip.Set(x, 0, colours[x]);
    }
    folder.Write(L"strip.png", EncodePng(strip));
    surface.Fill(0xFF123456);
    ASSERT_TRUE(DrawImage(L"file='strip.png' xtiled='true' ytiled='true'", SkinRect{0, 0, 10, 3}));
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(surface.PixelAt(x, 0), colours[x % 4]) << x;
        EXPECT_EQ(surface.PixelAt(x, 1), kBlack) << x;
        EXPECT_EQ(surface.PixelAt(x, 2), colours[x % 4]) << x;  // the second row of tiles, cut to one line
    }
    EXPECT_EQ(surface.PixelAt(10, 0), 0xFF123456u);
    EXPECT_EQ(surface.PixelAt(0, 3), 0xFF123456u);
}

TEST_F(GdiDrawing, FadeBlendsAnOpaqueImageFromABitmapOrFromTheHeap) {
    folder.Write(L"white.png", EncodePng(RgbaPixels(4, 4, kWhite)));
    for (const bool inBitmap : {true, false}) {
        SetPixelAllocator(nullptr);
        if (inBitmap) {
            InstallDibPixelStorage();
        }
        tables.RemoveAllImages();
        surface.Fill(kBlack);
        ASSERT_TRUE(DrawImage(L"file='white.png' fade='128'", SkinRect{0, 0, 8, 8}));
        EXPECT_TRUE(PixelNear(surface.PixelAt(3, 3), 0xFF808080)) << inBitmap;
        EXPECT_EQ(surface.PixelAt(8, 8), kBlack);
    }
}

TEST_F(GdiDrawing, MaskedPixelsLetTheBackgroundThrough) {
    RgbaPixels pixels(2, 1, 0xFFFF00FF);
    pixels.Set(1, 0, 0xFF0000FF);
    folder.Write(L"masked.png", EncodePng(pixels));
    surface.Fill(0xFF00FF00);
    ASSERT_TRUE(DrawImage(L"file='masked.png' mask='#ffff00ff'", SkinRect{0, 0, 2, 1}));
    EXPECT_EQ(surface.PixelAt(0, 0), 0xFF00FF00u);
    EXPECT_EQ(surface.PixelAt(1, 0), 0xFF0000FFu);
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

TEST_F(GdiDrawing, SavedClipsNarrowAndRestore) {
    canvas.SaveClip();
    canvas.IntersectClip(SkinRect{10, 10, 20, 20});
    canvas.SaveClip();
    canvas.IntersectRoundClip(SkinRect{10, 10, 20, 20}, 8, 8);
    canvas.FillSolid(SkinRect{0, 0, 40, 30}, 0xFF00FF00);
    EXPECT_EQ(Rgb(surface.PixelAt(15, 15)), 0x00FF00u);
    EXPECT_EQ(surface.PixelAt(10, 10), kWhite);  // the rounded corner is outside the clip
    EXPECT_EQ(surface.PixelAt(5, 5), kWhite);
    canvas.RestoreClip();
    canvas.RestoreClip();
    canvas.FillSolid(SkinRect{0, 0, 40, 30}, 0xFF0000FF);
    EXPECT_EQ(Rgb(surface.PixelAt(5, 5)), 0x0000FFu);
}

TEST_F(GdiDrawing, GradientsRunFromTheFirstColourToTheSecondAndOutlinesStayOnTheirEdges) {
    FillGradient(canvas, SkinRect{0, 0, 10, 30}, kBlack, 0xFF0000FF, true, 16);
    const uint32_t top = surface.PixelAt(5, 0) & 0xFF;
    const uint32_t middle = surface.PixelAt(5, 15) & 0xFF;
    const uint32_t bottom = surface.PixelAt(5, 29) & 0xFF;
    EXPECT_LT(top, 20u);
    EXPECT_GT(middle, top);
    EXPECT_GT(bottom, 230u);
    EXPECT_EQ(surface.PixelAt(10, 0), kWhite);

    StrokeRect(canvas, SkinRect{15, 5, 25, 15}, 1, kBlack);
    EXPECT_EQ(Rgb(surface.PixelAt(15, 5)), 0u);
    EXPECT_EQ(Rgb(surface.PixelAt(24, 14)), 0u);
    EXPECT_EQ(surface.PixelAt(20, 10), kWhite);
    EXPECT_EQ(surface.PixelAt(25, 15), kWhite);
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

}  // namespace
}  // namespace SkinUI
