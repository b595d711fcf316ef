#include "skin/drawing/CanvasDrawing.h"

#include "skin/drawing/ImageCompositor.h"
#include "skin/drawing/ImagePixels.h"

namespace SkinUI {
namespace {

// One premultiplied pixel of the colour, to be stretched and blended over a rectangle.
bool MakeColorPixel(SkinColor color, SkinImageInfo& image) {
    image.pixels = AllocatePixels(1, 1);
    if (!image.pixels) {
        return false;
    }
    const uint32_t pixel = PremultipliedPixel(color);
    uint8_t* bits = image.pixels->Bits();
    bits[0] = static_cast<uint8_t>(pixel);
    bits[1] = static_cast<uint8_t>(pixel >> 8);
    bits[2] = static_cast<uint8_t>(pixel >> 16);
    bits[3] = static_cast<uint8_t>(pixel >> 24);
    image.width = 1;
    image.height = 1;
    image.hasAlpha = true;
    return true;
}

}  // namespace

void FillColor(SkinCanvas& canvas, const SkinRect& rect, SkinColor color) {
    const uint8_t alpha = ColorAlpha(color);
    if (alpha == 0 || rect.IsEmpty()) {
        return;
    }
    if (alpha == 255) {
        canvas.FillSolid(rect, color);
        return;
    }
    SkinImageInfo pixel;
    if (MakeColorPixel(color, pixel)) {
        ImageDrawParams params;
        params.source = SkinRect{0, 0, 1, 1};
        CompositeImage(canvas, pixel, rect, rect, params);
    }
}

void FillGradient(SkinCanvas& canvas, const SkinRect& rect, SkinColor from, SkinColor to, bool vertical,
                  int32_t steps) {
    if (!rect.IsEmpty()) {
        canvas.FillGradient(rect, from, to, vertical, steps);
    }
}

void StrokeLine(SkinCanvas& canvas, const SkinPoint& from, const SkinPoint& to, int32_t size, SkinColor color,
                int32_t penStyle) {
    canvas.DrawLine(from, to, size, color, penStyle);
}

void StrokeRect(SkinCanvas& canvas, const SkinRect& rect, int32_t size, SkinColor color) {
    canvas.DrawRect(rect, size, color);
}

void StrokeRoundRect(SkinCanvas& canvas, const SkinRect& rect, int32_t size, int32_t width, int32_t height,
                     SkinColor color) {
    canvas.DrawRoundRect(rect, size, width, height, color);
}

void DrawPlainText(SkinCanvas& canvas, const SkinRect& rect, const std::wstring& text, SkinColor color,
                   SkinFontHandle font, uint32_t format) {
    canvas.PaintText(rect, text, color & 0x00FFFFFF, font, format);
}

}  // namespace SkinUI
