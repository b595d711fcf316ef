#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "skin/drawing/Image.h"

namespace SkinUI {

// Images larger than this are refused from their header, before any pixel is decoded: a skin never
// needs them, and a damaged or hostile file must not make the process allocate gigabytes.
constexpr int32_t kMaxImageSide = 16384;
constexpr uint64_t kMaxImagePixelBytes = uint64_t{256} << 20;

// True when an image of this declared size may be decoded.
bool ImageSizeAllowed(int32_t width, int32_t height);

// Decodes PNG, JPEG or BMP bytes into premultiplied pixels. Each pixel keeps its alpha; an opaque pixel
// keeps its colours, the others get colour * alpha / 255. A pixel whose result (0xAARRGGBB) equals `mask`
// becomes all zero. Null for unknown, damaged or oversized data.
std::unique_ptr<SkinImageInfo> DecodeImageBytes(const uint8_t* data, size_t size, uint32_t mask);

}  // namespace SkinUI
