#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/drawing/win32/GdiCanvasObjects.h"

namespace SkinUI {

// A top-down 32-bit bitmap selected into a memory device context of its own: somewhere to paint
// offscreen and read the pixels back.
class GdiDibSurface {
  public:
    GdiDibSurface(int32_t width, int32_t height);
    ~GdiDibSurface();
    GdiDibSurface(const GdiDibSurface&) = delete;
    GdiDibSurface& operator=(const GdiDibSurface&) = delete;

    bool IsValid() const { return bits_ != nullptr && dc_.Get() != nullptr; }
    HDC Dc() const { return dc_.Get(); }
    HBITMAP Bitmap() const { return bitmap_.Get(); }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // The pixels, once GDI has finished drawing (GdiFlush).
    uint8_t* Bits() const;
    // The pixel at (x, y) as 0xAARRGGBB.
    uint32_t PixelAt(int32_t x, int32_t y) const;
    // Every pixel set to the value, alpha included.
    void Fill(uint32_t argb);

  private:
    int32_t width_;
    int32_t height_;
    uint8_t* bits_ = nullptr;
    GdiObject<HBITMAP> bitmap_;
    MemoryDc dc_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace SkinUI
