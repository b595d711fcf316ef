#include "skin/drawing/CanvasPixelBlend.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace SkinUI {
namespace {

// x / 255 rounded to nearest, for x up to 255 * 255 + 255 * 255.
inline uint32_t DivideBy255(uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

inline void BlendOne(uint8_t* to, const uint8_t* from, uint32_t opacity, bool perPixelAlpha) {
    uint32_t b = from[0];
    uint32_t g = from[1];
    uint32_t r = from[2];
    uint32_t a = perPixelAlpha ? from[3] : 255;
    if (opacity != 255) {
        b = DivideBy255(b * opacity);
        g = DivideBy255(g * opacity);
        r = DivideBy255(r * opacity);
        a = DivideBy255(a * opacity);
    }
    if (a == 0 && b == 0 && g == 0 && r == 0) {
        return;
    }
    const uint32_t keep = 255 - a;
    to[0] = static_cast<uint8_t>(std::min<uint32_t>(255, b + DivideBy255(to[0] * keep)));
    to[1] = static_cast<uint8_t>(std::min<uint32_t>(255, g + DivideBy255(to[1] * keep)));
    to[2] = static_cast<uint8_t>(std::min<uint32_t>(255, r + DivideBy255(to[2] * keep)));
    to[3] = static_cast<uint8_t>(std::min<uint32_t>(255, a + DivideBy255(to[3] * keep)));
}

bool Inside(const SkinRect& r, int32_t width, int32_t height) {
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
}

// The source coordinate sampled for each destination coordinate: the centre of the destination pixel
// mapped into the source.
int32_t SampleAt(int64_t offset, int64_t destExtent, int64_t sourceStart, int64_t sourceExtent) {
    return static_cast<int32_t>(sourceStart + (2 * offset + 1) * sourceExtent / (2 * destExtent));
}

}  // namespace

bool BlendPixels(const PixelBlock& dest, const SkinRect& destRect, const ConstPixelBlock& source,
                 const SkinRect& sourceRect, uint8_t opacity, bool perPixelAlpha) {
    if (dest.bits == nullptr || source.bits == nullptr || destRect.IsEmpty() || sourceRect.IsEmpty() ||
        !Inside(sourceRect, source.width, source.height)) {
        return false;
    }
    const SkinRect visible{std::max(destRect.left, 0), std::max(destRect.top, 0),
                           std::min(destRect.right, dest.width), std::min(destRect.bottom, dest.height)};
    if (visible.IsEmpty()) {
        return true;
    }
    const int64_t destWidth = int64_t{destRect.right} - destRect.left;
    const int64_t destHeight = int64_t{destRect.bottom} - destRect.top;
    std::vector<int32_t> columns(static_cast<size_t>(visible.Width()));
    for (int32_t x = visible.left; x < visible.right; ++x) {
        columns[static_cast<size_t>(x - visible.left)] =
            SampleAt(int64_t{x} - destRect.left, destWidth, sourceRect.left, sourceRect.Width());
    }
    for (int32_t y = visible.top; y < visible.bottom; ++y) {
        const int32_t sourceY =
            SampleAt(int64_t{y} - destRect.top, destHeight, sourceRect.top, sourceRect.Height());
        const uint8_t* sourceRow = source.bits + static_cast<ptrdiff_t>(sourceY) * source.stride;
        uint8_t* destPixel =
            dest.bits + static_cast<ptrdiff_t>(y) * dest.stride + static_cast<ptrdiff_t>(visible.left) * 4;
        for (const int32_t sourceX : columns) {
            BlendOne(destPixel, sourceRow + static_cast<ptrdiff_t>(sourceX) * 4, opacity, perPixelAlpha);
            destPixel += 4;
        }
    }
    return true;
}

}  // namespace SkinUI
