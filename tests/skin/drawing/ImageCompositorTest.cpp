#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "skin/drawing/ImageCompositor.h"
#include "tests/support/skin/RecordingCanvas.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::CanvasCall;
using testsupport::CanvasOp;
using testsupport::RecordingCanvas;

struct Blit {
    CanvasOp op;
    SkinRect dest;
    SkinRect source;
};

bool operator==(const Blit& a, const Blit& b) {
    return a.op == b.op && a.dest == b.dest && a.source == b.source;
}

std::ostream& operator<<(std::ostream& out, const Blit& blit) {
    return out << testsupport::CanvasOpName(blit.op) << " " << blit.dest << " from " << blit.source;
}

std::vector<Blit> BlitsOf(const RecordingCanvas& canvas) {
    std::vector<Blit> blits;
    for (const CanvasCall& call : canvas.ImageBlits()) {
        blits.push_back(Blit{call.op, call.rect, call.source});
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

TEST_F(Compositor, HoleLeavesTheMiddleOutAndOnlyPositiveMarginsGetBorderPieces) {
    ImageDrawParams params;
    params.source = {0, 0, 30, 30};
    params.corners = {10, 0, 5, 0};
    params.hole = true;
    const SkinRect dest{0, 0, 100, 60};
    CompositeImage(canvas, *opaque, dest, dest, params);
    const std::vector<Blit> expected = {
        {kStretch, {0, 0, 10, 60}, {0, 0, 10, 30}},     // left
        {kStretch, {95, 0, 100, 60}, {25, 0, 30, 30}},  // right
    };
    EXPECT_EQ(BlitsOf(canvas), expected);
}

TEST_F(Compositor, TilingCutsTheLastTileWithoutScalingAndStretchesAcrossAnUntiledDirection) {
    ImageDrawParams params;
    params.source = {0, 0, 10, 10};
    params.xTiled = true;
    params.yTiled = true;
    CompositeImage(canvas, *tile, SkinRect{0, 0, 25, 15}, SkinRect{0, 0, 25, 15}, params);
    const std::vector<Blit> both = {
        {kCopy, {0, 0, 10, 10}, {0, 0, 10, 10}},  {kCopy, {10, 0, 20, 10}, {0, 0, 10, 10}},
        {kCopy, {20, 0, 25, 10}, {0, 0, 5, 10}},  {kCopy, {0, 10, 10, 15}, {0, 0, 10, 5}},
        {kCopy, {10, 10, 20, 15}, {0, 0, 10, 5}}, {kCopy, {20, 10, 25, 15}, {0, 0, 5, 5}},
    };
    EXPECT_EQ(BlitsOf(canvas), both);

    canvas.calls.clear();
    params.xTiled = false;
    CompositeImage(canvas, *tile, SkinRect{5, 0, 45, 12}, SkinRect{0, 0, 100, 100}, params);
    const std::vector<Blit> down = {
        {kStretch, {5, 0, 45, 10}, {0, 0, 10, 10}},
        {kStretch, {5, 10, 45, 12}, {0, 0, 10, 2}},
    };
    EXPECT_EQ(BlitsOf(canvas), down);
}

TEST_F(Compositor, TilesSitInsideTheCornersAndUseTheMiddleOfTheSource) {
    ImageDrawParams params;
    params.source = {0, 0, 30, 30};
    params.corners = {10, 10, 10, 10};
    params.xTiled = true;
    params.yTiled = true;
    CompositeImage(canvas, *opaque, SkinRect{0, 0, 45, 35}, SkinRect{0, 0, 45, 35}, params);
    const std::vector<Blit> blits = BlitsOf(canvas);
    ASSERT_EQ(blits.size(), 6u + 8u);
    // The middle (10,10)-(35,25) tiled with the 10x10 middle of the source.
    EXPECT_EQ(blits[0], (Blit{kCopy, {10, 10, 20, 20}, {10, 10, 20, 20}}));
    EXPECT_EQ(blits[5], (Blit{kCopy, {30, 20, 35, 25}, {10, 10, 15, 15}}));
}

// Whether a piece is blended shows in the pixels the GDI canvas tests check; here only that an
// opaque, unscaled image is copied.
TEST_F(Compositor, AnOpaqueUnscaledImageIsCopied) {
    ImageDrawParams params;
    params.source = {0, 0, 30, 30};
    CompositeImage(canvas, *opaque, SkinRect{0, 0, 30, 30}, SkinRect{0, 0, 60, 60}, params);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].op, CanvasOp::CopyImage);
}

TEST_F(Compositor, PiecesOutsideThePaintRectangleAreSkippedAndTheRestClipped) {
    ImageDrawParams params;
    params.source = {0, 0, 30, 30};
    params.corners = {10, 10, 10, 10};
    const SkinRect paint{0, 0, 40, 8};  // meets left-top and top only
    CompositeImage(canvas, *opaque, SkinRect{0, 0, 100, 60}, paint, params);
    ASSERT_EQ(canvas.calls.size(), 5u);
    EXPECT_EQ(canvas.calls[0].op, CanvasOp::SaveClip);
    EXPECT_EQ(canvas.calls[1].op, CanvasOp::IntersectClip);
    EXPECT_EQ(canvas.calls[1].rect, paint);
    EXPECT_EQ(canvas.calls[2].rect, (SkinRect{0, 0, 10, 10}));
    EXPECT_EQ(canvas.calls[3].rect, (SkinRect{10, 0, 90, 10}));
    EXPECT_EQ(canvas.calls[4].op, CanvasOp::RestoreClip);

    // Corners larger than the destination are clipped to it too.
    canvas.calls.clear();
    CompositeImage(canvas, *opaque, SkinRect{0, 0, 6, 6}, SkinRect{0, 0, 6, 6}, params);
    EXPECT_EQ(canvas.calls[1].rect, (SkinRect{0, 0, 6, 6}));
    EXPECT_EQ(canvas.Only(CanvasOp::CopyImage).size(), 4u);
    EXPECT_EQ(canvas.OpenClips(), 0);

    canvas.calls.clear();
    params.corners = {};
    params.xTiled = true;
    params.yTiled = true;
    params.source = {0, 0, 10, 10};
    CompositeImage(canvas, *tile, SkinRect{0, 0, 1000, 1000}, SkinRect{12, 23, 18, 37}, params);
    const std::vector<Blit> tiles = {
        {kCopy, {10, 20, 20, 30}, {0, 0, 10, 10}},
        {kCopy, {10, 30, 20, 40}, {0, 0, 10, 10}},
    };
    EXPECT_EQ(BlitsOf(canvas), tiles);
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
    for (const CanvasCall& call : canvas.ImageBlits()) {
        EXPECT_TRUE((SkinRect{0, 0, 10, 10}).Contains(call.source)) << call;
        EXPECT_FALSE(call.source.IsEmpty()) << call;
    }
    EXPECT_EQ(canvas.ImageBlits().size(), 4u);  // corners only: middle and edges have no source left

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
    for (const CanvasCall& call : canvas.ImageBlits()) {
        EXPECT_TRUE(dest.Contains(call.rect)) << call;
    }
}

}  // namespace
}  // namespace SkinUI
