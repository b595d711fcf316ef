#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

// Decoded red, green, blue, alpha to premultiplied blue, green, red, alpha: an opaque pixel keeps its
// colours, the others get colour * alpha / 255 rounded down, and a pixel whose result (0xAARRGGBB)
// equals `mask` becomes all zero. Returns whether any pixel needs blending (alpha below 255 or masked).
bool PremultiplyRgbaToBgra(const uint8_t* rgba, uint8_t* bgra, size_t pixelCount, uint32_t mask);

}  // namespace SkinUI
