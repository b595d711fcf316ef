#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/drawing/ImagePixels.h"

namespace SkinUI {

// A top-down 32-bit device-independent bitmap of the image's size, owning the image's pixels, so that
// they can be drawn without a copy.
class GdiPixelBuffer final : public SkinPixelBuffer {
  public:
    ~GdiPixelBuffer() override;
    HBITMAP Bitmap() const { return bitmap_; }

    // A new bitmap, or null when the system refuses one.
    static std::unique_ptr<SkinPixelBuffer> Allocate(int32_t width, int32_t height);

  private:
    GdiPixelBuffer(HBITMAP bitmap, uint8_t* bits, int32_t width, int32_t height)
        : SkinPixelBuffer(bits, width, height), bitmap_(bitmap) {}

    HBITMAP bitmap_;
};

// A top-down 32-bit bitmap; *bits receives its pixels. Null on failure.
HBITMAP CreateTopDownDib(int32_t width, int32_t height, uint8_t** bits);

// Images decoded from now on keep their pixels in bitmaps (call once at start-up, before skins load).
void InstallDibPixelStorage();

}  // namespace SkinUI
