#include "skin/drawing/ImageDecoder.h"

#include <stb_image.h>

#include <climits>
#include <cstdint>

#include "skin/drawing/ImageJpegCheck.h"
#include "skin/drawing/ImageStb.h"
#include "skin/drawing/PngDecoder.h"
#include "skin/drawing/Premultiply.h"

namespace SkinUI {
namespace {

// The largest block decoding an image of this size may need: its data inflated at 16 bits per channel
// with a filter byte per row, twice over for buffers that grow by doubling, plus room for the decoder's
// own tables.
size_t DecoderAllocationLimit(int32_t width, int32_t height) {
    const uint64_t inflated =
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 8 + uint64_t{8} * height;
    const uint64_t limit = 2 * inflated + (uint64_t{1} << 20);
    return limit < SIZE_MAX ? static_cast<size_t>(limit) : SIZE_MAX;
}

struct StbPixels {
    stbi_uc* data = nullptr;
    ~StbPixels() { stbi_image_free(data); }
};

}  // namespace

uint32_t SkinImageInfo::PixelAt(int32_t x, int32_t y) const {
    const uint8_t* pixel = Bits() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
    return uint32_t{pixel[3]} << 24 | uint32_t{pixel[2]} << 16 | uint32_t{pixel[1]} << 8 | pixel[0];
}

bool ImageSizeAllowed(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return false;
    }
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4 <= kMaxImagePixelBytes;
}

std::unique_ptr<SkinImageInfo> DecodeImageBytes(const uint8_t* data, size_t size, uint32_t mask) {
    if (data == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX)) {
        return nullptr;
    }
    if (!JpegHuffmanTablesFit(data, size)) {
        return nullptr;
    }
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channels) ||
        !ImageSizeAllowed(width, height)) {
        return nullptr;
    }
    auto image = std::make_unique<SkinImageInfo>();
    image->pixels = AllocatePixels(width, height);
    if (!image->pixels) {
        return nullptr;
    }
    image->width = width;
    image->height = height;
    image->mask = mask;
    if (DecodePlainPng(data, size, width, height, mask, image->pixels->Bits(), image->hasAlpha) ==
        PlainPngResult::Decoded) {
        return image;
    }
    int decodedWidth = 0;
    int decodedHeight = 0;
    StbPixels decoded;
    const ScopedStbAllocationLimit limit(DecoderAllocationLimit(width, height));
    decoded.data = stbi_load_from_memory(data, length, &decodedWidth, &decodedHeight, &channels, 4);
    if (decoded.data == nullptr || decodedWidth != width || decodedHeight != height) {
        return nullptr;
    }
    image->hasAlpha = PremultiplyRgbaToBgra(decoded.data, image->pixels->Bits(),
                                            static_cast<size_t>(width) * static_cast<size_t>(height), mask);
    return image;
}

}  // namespace SkinUI
