#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/drawing/Canvas.h"
#include "skin/drawing/win32/GdiCanvasObjects.h"
#include "skin/drawing/win32/GdiDibSurface.h"

namespace SkinUI {

// The canvas over a GDI device context: fills, gradients, pens, DrawTextW with GDI fonts, image blits
// with BitBlt, StretchBlt and AlphaBlend. The device context stays the caller's; the canvas leaves its
// state (selected objects, colours, modes, clip) as it found it.
class GdiCanvas final : public SkinCanvas {
  public:
    explicit GdiCanvas(HDC dc);
    // Paints into a surface whose alpha counts (a layered window's). GDI writes alpha 0 wherever it
    // draws, which would make text, solid fills and outlines see-through: here they come out opaque.
    explicit GdiCanvas(GdiDibSurface& alphaSurface);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    HDC Dc() const { return dc_; }

    void FillSolid(const SkinRect& rect, SkinColor color) override;
    void FillGradient(const SkinRect& rect, SkinColor from, SkinColor to, bool vertical,
                      int32_t steps) override;
    void DrawLine(const SkinPoint& from, const SkinPoint& to, int32_t width, SkinColor color,
                  int32_t penStyle) override;
    void DrawRect(const SkinRect& rect, int32_t width, SkinColor color) override;
    void DrawRoundRect(const SkinRect& rect, int32_t width, int32_t radiusX, int32_t radiusY,
                       SkinColor color) override;
    void PaintText(const SkinRect& rect, const std::wstring& text, SkinColor color, SkinFontHandle font,
                   uint32_t format) override;
    void CopyImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source) override;
    void StretchImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source) override;
    void BlendImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source,
                    uint8_t opacity) override;
    void SaveClip() override;
    void IntersectClip(const SkinRect& rect) override;
    void IntersectRoundClip(const SkinRect& rect, int32_t radiusX, int32_t radiusY) override;
    void RestoreClip() override;

  private:
    class ImageSource;
    class OpaqueOutput;

    void DrawOutline(const SkinRect& rect, int32_t width, SkinColor color, int32_t radiusX, int32_t radiusY);

    HDC dc_;
    GdiDibSurface* alphaSurface_ = nullptr;
    MemoryDc imageDc_;
    // One entry per SaveClip: the clip region then, or null when there was none.
    std::vector<GdiObject<HRGN>> savedClips_;
};

}  // namespace SkinUI
