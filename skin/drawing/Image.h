#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/drawing/ImagePixels.h"

namespace SkinUI {

// One decoded skin image: premultiplied pixels (blue, green, red, alpha; colour channels multiplied by
// alpha), top row first.
struct SkinImageInfo {
    std::unique_ptr<SkinPixelBuffer> pixels;
    // A copy of the pixels as decoded, kept only for images that may be recoloured later.
    std::vector<uint8_t> sourcePixels;
    int32_t width = 0;
    int32_t height = 0;
    // Some pixel is not fully opaque, or the mask colour cleared one: the image must be blended.
    bool hasAlpha = false;
    bool recolour = false;
    // Set when the image came from a module resource of this type.
    std::wstring resourceType;
    uint32_t mask = 0;

    const uint8_t* Bits() const { return pixels ? pixels->Bits() : nullptr; }
    // The pixel at (x, y) as 0xAARRGGBB (premultiplied); the point must lie inside the image.
    uint32_t PixelAt(int32_t x, int32_t y) const;
};

}  // namespace SkinUI
