#pragma once

#include <cstdint>

#include "skin/markup/Geometry.h"

namespace SkinUI {

// A block of 32-bit blue, green, red, alpha pixels, top row first, `stride` bytes from one row to the next.
struct PixelBlock {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

struct ConstPixelBlock {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

// Composes `sourceRect` of `source` over `destRect` of `dest`, scaled with the nearest source pixel: the
// platform's alpha blend in software. Source colours are premultiplied; each is first multiplied by
// `opacity` / 255. With `perPixelAlpha` the source alpha (scaled the same way) says how much of the
// destination stays; without it the opacity alone does. Pixels of `destRect` outside `dest` are left
// alone. False, drawing nothing, when a rectangle is empty or `sourceRect` reaches outside `source`.
bool BlendPixels(const PixelBlock& dest, const SkinRect& destRect, const ConstPixelBlock& source,
                 const SkinRect& sourceRect, uint8_t opacity, bool perPixelAlpha);

}  // namespace SkinUI
