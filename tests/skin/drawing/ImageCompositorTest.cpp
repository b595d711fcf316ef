// Drawing an image into a rectangle (nine parts, clipping, bounds) and the software blend under it.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <vector>

#include <cstdint>
#include "skin/drawing/CanvasPixelBlend.h"
#include "skin/drawing/ImageCompositor.h"
#include "tests/support/skin/RecordingCanvas.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::CanvasCall;
using testsupport::CanvasOp;
using testsupport::RecordingCanvas;

using Blit = std::tuple<CanvasOp, SkinRect, SkinRect>;  // destination, source

std::vector<Blit> BlitsOf(const RecordingCanvas& canvas) {
    std::vector<Blit> blits;
    for (const CanvasCall& call : canvas.Only(CanvasOp::CopyImage)) {
        blits.emplace_back(call.op, call.rect, call.source);
    }
    return blits;
}

class Compositor : public ::testing::Test {
  protected:
    RecordingCanvas canvas;
    std::shared_ptr<SkinImageInfo> opaque = testsupport::SolidImage(30, 30, 0xFF808080, false);
    std::shared_ptr<SkinImageInfo> tile = testsupport::SolidImage(10, 10, 0xFF808080, false);
};

constexpr CanvasOp kCopy = CanvasOp::CopyImage;
constexpr CanvasOp kStretch = CanvasOp::StretchImage;

TEST_F(Compositor, NinePartsDrawTheMiddleThenTheBordersWithCornersUnscaled) {
    ImageDrawParams params;
    params.source = {0, 0, 30, 30};
    params.corners = {10, 10, 10, 10};
    const SkinRect dest{0, 0, 100, 60};
    CompositeImage(canvas, *opaque, dest, dest, params);
    const std::vector<Blit> expected = {
        {kStretch, {10, 10, 90, 50}, {10, 10, 20, 20}},   // middle
        {kCopy, {0, 0, 10, 10}, {0, 0, 10, 10}},          // left-top
        {kStretch, {10, 0, 90, 10}, {10, 0, 20, 10}},     // top
        {kCopy, {90, 0, 100, 10}, {20, 0, 30, 10}},       // right-top
        {kStretch, {0, 10, 10, 50}, {0, 10, 10, 20}},     // left
        {kStretch, {90, 10, 100, 50}, {20, 10, 30, 20}},  // right
        {kCopy, {0, 50, 10, 60}, {0, 20, 10, 30}},        // left-bottom
        {kStretch, {10, 50, 90, 60}, {10, 20, 20, 30}},   // bottom
        {kCopy, {90, 50, 100, 60}, {20, 20, 30, 30}},     // right-bottom
    };
    EXPECT_EQ(BlitsOf(canvas), expected);
    EXPECT_EQ(canvas.calls.size(), expected.size());  // no clip: everything lies inside the paint rectangle
}

TEST_F(Compositor, PiecesOutsideThePaintRectangleAreSkippedAndTheRestClipped) {
    ImageDrawParams params;
    params.source = {0, 0, 30, 30};
    params.corners = {10, 10, 10, 10};
    const SkinRect paint{0, 0, 40, 8};  // meets left-top and top only
    CompositeImage(canvas, *opaque, SkinRect{0, 0, 100, 60}, paint, params);
    ASSERT_EQ(canvas.calls.size(), 5u);  // save, clip, two pieces, restore
    EXPECT_EQ(canvas.calls[1].rect, paint);
    EXPECT_EQ(canvas.calls[2].rect, (SkinRect{0, 0, 10, 10}));
    EXPECT_EQ(canvas.calls[3].rect, (SkinRect{10, 0, 90, 10}));

    // Corners larger than the destination are clipped to it too.
    canvas.calls.clear();
    CompositeImage(canvas, *opaque, SkinRect{0, 0, 6, 6}, SkinRect{0, 0, 6, 6}, params);
    EXPECT_EQ(canvas.calls[1].rect, (SkinRect{0, 0, 6, 6}));
    EXPECT_EQ(canvas.Only(CanvasOp::CopyImage).size(), 4u);
    EXPECT_EQ(canvas.OpenClips(), 0);
}

TEST_F(Compositor, EmptyOrOutlyingSourcesAndOversizedMarginsNeverReadOutsideTheImage) {
    ImageDrawParams params;
    params.source = {20, 0, 20, 30};
    CompositeImage(canvas, *opaque, SkinRect{0, 0, 10, 10}, SkinRect{0, 0, 10, 10}, params);
    params.source = {40, 40, 50, 50};
    CompositeImage(canvas, *opaque, SkinRect{0, 0, 10, 10}, SkinRect{0, 0, 10, 10}, params);
    EXPECT_TRUE(canvas.calls.empty());

    params.source = {0, 0, 10, 10};
    params.corners = {8, 8, 8, 8};
    CompositeImage(canvas, *tile, SkinRect{0, 0, 50, 50}, SkinRect{0, 0, 50, 50}, params);
    for (const CanvasCall& call : canvas.Only(CanvasOp::CopyImage)) {
        EXPECT_TRUE((SkinRect{0, 0, 10, 10}).Contains(call.source)) << call.rect;
        EXPECT_FALSE(call.source.IsEmpty()) << call.rect;
    }
    // Corners only: middle and edges have no source left.
    EXPECT_EQ(canvas.Only(CanvasOp::CopyImage).size(), 4u);

    canvas.calls.clear();
    params.corners = {-5, -5, -5, -5};  // negative margins count as none
    CompositeImage(canvas, *tile, SkinRect{0, 0, 50, 50}, SkinRect{0, 0, 50, 50}, params);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].source, (SkinRect{0, 0, 10, 10}));
}

TEST_F(Compositor, CoordinatesAtTheEndOfTheRangeDoNotWrap) {
    ImageDrawParams params;
    params.source = {0, 0, 10, 10};
    params.corners = {4, 4, 4, 4};
    params.xTiled = true;
    const SkinRect dest{INT_MAX - 25, INT_MAX - 30, INT_MAX, INT_MAX};
    CompositeImage(canvas, *tile, dest, dest, params);
    ASSERT_FALSE(canvas.calls.empty());
    for (const CanvasCall& call : canvas.Only(CanvasOp::CopyImage)) {
        EXPECT_TRUE(dest.Contains(call.rect)) << call.rect;
    }
}

// A small surface of 0xAARRGGBB pixels, which little-endian memory holds in the blue, green, red, alpha
// byte order of the canvas.
struct Surface {
    int32_t width;
    int32_t height;
    std::vector<uint32_t> pixels;

    Surface(int32_t w, int32_t h, uint32_t argb)
        : width(w), height(h), pixels(static_cast<size_t>(w * h), argb) {}
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    PixelBlock Block() {
        return PixelBlock{reinterpret_cast<uint8_t*>(pixels.data()), width, height, width * 4};
    }
    ConstPixelBlock ConstBlock() const {
        return ConstPixelBlock{reinterpret_cast<const uint8_t*>(pixels.data()), width, height, width * 4};
    }
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
        EXPECT_EQ(dest.At(1, 0), c.expected);
    }
}

TEST(SoftwareBlend, StretchesWithTheNearestSourcePixelCutsAtTheSurfaceAndRefusesSourcesOutsideTheSource) {
    Surface source(2, 1, 0xFFFF0000);
    source.pixels[1] = 0xFF0000FF;
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

    Surface untouched(2, 2, 0);
    for (const SkinRect& outside : {SkinRect{1, 0, 3, 1}, SkinRect{-1, 0, 1, 1}}) {
        EXPECT_FALSE(
            BlendPixels(untouched.Block(), SkinRect{0, 0, 2, 2}, source.ConstBlock(), outside, 255, true));
    }
    EXPECT_FALSE(BlendPixels(untouched.Block(), SkinRect{0, 0, 0, 2}, source.ConstBlock(),
                             SkinRect{0, 0, 1, 1}, 255, true));
    EXPECT_EQ(untouched.At(0, 0), 0u);
}

}  // namespace
}  // namespace SkinUI
