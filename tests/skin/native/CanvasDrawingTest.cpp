#include <gtest/gtest.h>

#include "skin/CanvasDrawing.h"
#include "skin/SkinImage.h"
#include "tests/support/skin/FixedFontEngine.h"
#include "tests/support/skin/RecordingCanvas.h"

namespace SkinUI {
namespace {

using testsupport::CanvasOp;
using testsupport::RecordingCanvas;

TEST(FillColor, AlphaDecidesBetweenNothingSolidAndBlended) {
    RecordingCanvas canvas;
    const SkinRect rect{10, 10, 50, 30};
    FillColor(canvas, rect, 0x00FFFFFF);
    EXPECT_TRUE(canvas.calls.empty());

    FillColor(canvas, rect, 0xFF336699);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].op, CanvasOp::FillSolid);
    EXPECT_EQ(canvas.calls[0].rect, rect);
    EXPECT_EQ(canvas.calls[0].color, 0xFF336699u);

    canvas.calls.clear();
    FillColor(canvas, rect, 0x80FF0000);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].op, CanvasOp::BlendImage);
    EXPECT_EQ(canvas.calls[0].rect, rect);
    EXPECT_EQ(canvas.calls[0].source, (SkinRect{0, 0, 1, 1}));
    EXPECT_EQ(canvas.calls[0].opacity, 255);

    FillColor(canvas, SkinRect{5, 5, 5, 9}, 0xFF000000);  // empty rectangle
    EXPECT_EQ(canvas.calls.size(), 1u);
}

// The blended fill stretches one pixel, which is drawn blended as premultiplied: a colour stored as it
// is written would overshoot (255 red + half of the destination).
TEST(FillColor, TranslucentFillPixelIsPremultiplied) {
    struct PixelCheckingCanvas : RecordingCanvas {
        uint32_t pixel = 0;
        void BlendImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source,
                        uint8_t opacity) override {
            pixel = image.PixelAt(0, 0);
            EXPECT_TRUE(image.hasAlpha);
            RecordingCanvas::BlendImage(dest, image, source, opacity);
        }
    } canvas;
    FillColor(canvas, SkinRect{0, 0, 4, 4}, 0x80FF0000);
    EXPECT_EQ(canvas.pixel, 0x80800000u);
}

TEST(PlainText, DrawsInTheLowTwentyFourBitsOfTheColour) {
    RecordingCanvas canvas;
    testsupport::FixedFontEngine engine;
    const auto fontObject = engine.MakeFont(engine.SystemFont());
    const SkinFontHandle font = fontObject.get();
    DrawPlainText(canvas, SkinRect{0, 0, 80, 20}, L"Play", 0x00FFFFFF, font, CanvasTextFormat::kSingleLine);
    DrawPlainText(canvas, SkinRect{0, 0, 80, 20}, L"Play", 0xFF102030, font, CanvasTextFormat::kCenter);
    ASSERT_EQ(canvas.calls.size(), 2u);
    EXPECT_EQ(canvas.calls[0].color, 0x00FFFFFFu);
    EXPECT_EQ(canvas.calls[1].color, 0x00102030u);
    EXPECT_EQ(canvas.calls[1].text, L"Play");
    EXPECT_EQ(canvas.calls[1].font, font);
    EXPECT_EQ(canvas.calls[1].format, CanvasTextFormat::kCenter);
}

}  // namespace
}  // namespace SkinUI
