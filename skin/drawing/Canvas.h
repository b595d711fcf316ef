#pragma once

#include <cstdint>
#include <string>

#include "skin/drawing/Font.h"
#include "skin/markup/Colors.h"
#include "skin/markup/Geometry.h"

namespace SkinUI {

struct SkinImageInfo;

// Text format flags of plain text drawing, the values of the platform's text drawing.
namespace CanvasTextFormat {
constexpr uint32_t kLeft = 0x0000;
constexpr uint32_t kCenter = 0x0001;
constexpr uint32_t kRight = 0x0002;
constexpr uint32_t kVerticalCenter = 0x0004;
constexpr uint32_t kBottom = 0x0008;
constexpr uint32_t kWordBreak = 0x0010;
constexpr uint32_t kSingleLine = 0x0020;
constexpr uint32_t kNoPrefix = 0x0800;
constexpr uint32_t kEndEllipsis = 0x8000;
}  // namespace CanvasTextFormat

// Pen styles of lines, the values of the platform's pens.
namespace CanvasPenStyle {
constexpr int32_t kSolid = 0;
constexpr int32_t kDash = 1;
constexpr int32_t kDot = 2;
}  // namespace CanvasPenStyle

// The surface the engine paints on. Every operation is clipped by the current clip; coordinates are
// client pixels. Colours are 0xAARRGGBB; which operations look at alpha is said per operation.
class SkinCanvas {
  public:
    virtual ~SkinCanvas() = default;

    // Solid fill; alpha is ignored.
    virtual void FillSolid(const SkinRect& rect, SkinColor color) = 0;
    // A linear gradient from `from` to `to`, top to bottom when vertical, else left to right; `steps` is
    // the number of bands a platform without gradient support draws instead.
    virtual void FillGradient(const SkinRect& rect, SkinColor from, SkinColor to, bool vertical,
                              int32_t steps) = 0;
    // Pen-based outlines of `width` pixels; alpha is ignored.
    virtual void DrawLine(const SkinPoint& from, const SkinPoint& to, int32_t width, SkinColor color,
                          int32_t penStyle) = 0;
    virtual void DrawRect(const SkinRect& rect, int32_t width, SkinColor color) = 0;
    virtual void DrawRoundRect(const SkinRect& rect, int32_t width, int32_t radiusX, int32_t radiusY,
                               SkinColor color) = 0;
    // Text on a transparent background in the colour's low 24 bits, formatted by CanvasTextFormat flags.
    virtual void PaintText(const SkinRect& rect, const std::wstring& text, SkinColor color,
                           SkinFontHandle font, uint32_t format) = 0;

    // Image blits from `source` (image pixels, inside the image) to `dest`. Copy: same size, pixels
    // replace the destination. Stretch: scaled, pixels replace the destination. Blend: scaled, the
    // premultiplied pixels composed over the destination with their own alpha and a constant opacity.
    virtual void CopyImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source) = 0;
    virtual void StretchImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source) = 0;
    virtual void BlendImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source,
                            uint8_t opacity) = 0;

    // The clip: SaveClip remembers the current one, the Intersect operations narrow it, RestoreClip goes
    // back to the last one saved. Saves and restores pair up like brackets.
    virtual void SaveClip() = 0;
    virtual void IntersectClip(const SkinRect& rect) = 0;
    virtual void IntersectRoundClip(const SkinRect& rect, int32_t radiusX, int32_t radiusY) = 0;
    virtual void RestoreClip() = 0;
};

// Saves the clip for the life of the scope.
class ScopedCanvasClip {
  public:
    explicit ScopedCanvasClip(SkinCanvas& canvas) : canvas_(canvas) { canvas_.SaveClip(); }
    ~ScopedCanvasClip() { canvas_.RestoreClip(); }
    ScopedCanvasClip(const ScopedCanvasClip&) = delete;
    ScopedCanvasClip& operator=(const ScopedCanvasClip&) = delete;

  private:
    SkinCanvas& canvas_;
};

}  // namespace SkinUI
