#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "skin/drawing/CanvasGradientBands.h"
#include "skin/drawing/CanvasPixelBlend.h"

namespace SkinUI {
namespace {

// A small surface of 0xAARRGGBB pixels in the blue, green, red, alpha byte order.
struct Surface {
    int32_t width;
    int32_t height;
    std::vector<uint8_t> bytes;

    Surface(int32_t w, int32_t h, uint32_t argb)
        : width(w), height(h), bytes(static_cast<size_t>(w * h) * 4) {
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                Set(x, y, argb);
            }
        }
    }
    void Set(int32_t x, int32_t y, uint32_t argb) {
        uint8_t* p = &bytes[static_cast<size_t>(y * width + x) * 4];
        p[0] = static_cast<uint8_t>(argb);
        p[1] = static_cast<uint8_t>(argb >> 8);
        p[2] = static_cast<uint8_t>(argb >> 16);
        p[3] = static_cast<uint8_t>(argb >> 24);
    }
    uint32_t At(int32_t x, int32_t y) const {
        const uint8_t* p = &bytes[static_cast<size_t>(y * width + x) * 4];
        return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
    PixelBlock Block() { return PixelBlock{bytes.data(), width, height, width * 4}; }
    ConstPixelBlock ConstBlock() const { return ConstPixelBlock{bytes.data(), width, height, width * 4}; }
};

TEST(SoftwareBlend, PremultipliedSourceOverTheDestinationScaledByTheConstantOpacity) {
    struct Case {
        uint32_t dest;
        uint32_t source;
        uint8_t opacity;
        bool perPixelAlpha;
        uint32_t expected;
    };
    const Case cases[] = {
        // red: 128 + 255 * 127 / 255 = 255; green and blue: 0 + 127
        {0xFFFFFFFF, 0x80800000, 255, true, 0xFFFF7F7F},
        {0xFF000000, 0xFFFFFFFF, 64, true, 0xFF404040},
        // Without per-pixel alpha the source's alpha is ignored.
        {0xFF000000, 0x00FFFFFF, 128, false, 0xFF808080},
    };
    for (const Case& c : cases) {
        Surface dest(2, 1, c.dest);
        const Surface source(1, 1, c.source);
        ASSERT_TRUE(BlendPixels(dest.Block(), SkinRect{0, 0, 2, 1}, source.ConstBlock(), SkinRect{0, 0, 1, 1},
                                c.opacity, c.perPixelAlpha));
        EXPECT_EQ(dest.At(0, 0), c.expected);
        EXPECT_EQ(dest.At(1, 0), c.expected);
    }
}

TEST(SoftwareBlend, StretchesWithTheNearestSourcePixelAndCutsAtTheSurface) {
    Surface source(2, 1, 0xFFFF0000);
    source.Set(1, 0, 0xFF0000FF);
    Surface dest(4, 2, 0);
    ASSERT_TRUE(BlendPixels(dest.Block(), SkinRect{0, 0, 4, 2}, source.ConstBlock(), SkinRect{0, 0, 2, 1},
                            255, true));
    EXPECT_EQ(dest.At(1, 1), 0xFFFF0000u);
    EXPECT_EQ(dest.At(2, 0), 0xFF0000FFu);

    // The part of the destination left of the surface is cut and the mapping kept.
    Surface cut(1, 1, 0);
    ASSERT_TRUE(BlendPixels(cut.Block(), SkinRect{-1, 0, 1, 1}, source.ConstBlock(), SkinRect{0, 0, 2, 1},
                            255, true));
    EXPECT_EQ(cut.At(0, 0), 0xFF0000FFu);
}

TEST(SoftwareBlend, RefusesSourceRectanglesOutsideTheSource) {
    Surface dest(2, 2, 0);
    const Surface source(2, 2, 0xFFFFFFFF);
    EXPECT_FALSE(BlendPixels(dest.Block(), SkinRect{0, 0, 2, 2}, source.ConstBlock(), SkinRect{1, 1, 3, 2},
                             255, true));
    EXPECT_FALSE(BlendPixels(dest.Block(), SkinRect{0, 0, 2, 2}, source.ConstBlock(), SkinRect{-1, 0, 1, 2},
                             255, true));
    EXPECT_FALSE(BlendPixels(dest.Block(), SkinRect{0, 0, 0, 2}, source.ConstBlock(), SkinRect{0, 0, 1, 1},
                             255, true));
    EXPECT_EQ(dest.At(0, 0), 0u);
}

TEST(GradientFallback, BandsRunFromTheFirstColourToTheSecond) {
    const auto bands = GradientBands(SkinRect{0, 0, 10, 16}, 0xFF000000, 0xFFFF00FF, true, 4);
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ(bands[0].rect, (SkinRect{0, 0, 10, 4}));
    EXPECT_EQ(bands[3].rect, (SkinRect{0, 12, 10, 16}));
    EXPECT_EQ(bands[0].color, 0xFF000000u);
    EXPECT_EQ(bands[1].color, 0xFF550055u);
    EXPECT_EQ(bands[3].color, 0xFFFF00FFu);

    const auto across = GradientBands(SkinRect{5, 0, 8, 2}, 0xFF000000, 0xFF0000FF, false, 16);
    ASSERT_EQ(across.size(), 3u);  // never more bands than pixels
    EXPECT_EQ(across[2].rect, (SkinRect{7, 0, 8, 2}));
    EXPECT_EQ(across[2].color, 0xFF0000FFu);

    EXPECT_EQ(GradientBands(SkinRect{0, 0, 4, 4}, 1, 2, true, 0).size(), 1u);
    EXPECT_TRUE(GradientBands(SkinRect{0, 0, 4, 0}, 1, 2, true, 8).empty());
}

}  // namespace
}  // namespace SkinUI
