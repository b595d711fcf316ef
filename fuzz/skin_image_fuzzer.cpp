// Image files from a skin: whatever bytes they hold, decoding either refuses them or gives an image
// within the size cap whose pixels are validly premultiplied; and a file that the direct PNG path takes
// comes out exactly as the general decoder makes it.
#include <stb_image.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "skin/drawing/ImageDecoder.h"
#include "skin/drawing/PngDecoder.h"
#include "skin/drawing/Premultiply.h"

namespace {

constexpr uint32_t kMask = 0xFFFF00FF;

void CheckPremultiplied(const SkinUI::SkinImageInfo& image) {
    if (!SkinUI::ImageSizeAllowed(image.width, image.height) || image.Bits() == nullptr) {
        abort();
    }
    const uint8_t* bits = image.Bits();
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    bool anyBelowOpaque = false;
    for (size_t i = 0; i < count; ++i, bits += 4) {
        const uint8_t alpha = bits[3];
        if (bits[0] > alpha || bits[1] > alpha || bits[2] > alpha) {
            abort();
        }
        if (bits[0] == 0xFF && bits[1] == 0 && bits[2] == 0xFF && alpha == 0xFF) {
            abort();  // the mask colour survived
        }
        anyBelowOpaque = anyBelowOpaque || alpha != 255;
    }
    if (anyBelowOpaque && !image.hasAlpha) {
        abort();
    }
}

// Only PNG files go to the general decoder unguarded here: the engine checks JPEG tables before the
// library may read them.
void CheckDirectPathAgainstGeneralDecoder(const uint8_t* data, size_t size) {
    static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < sizeof kPngSignature || std::memcmp(data, kPngSignature, sizeof kPngSignature) != 0) {
        return;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    if (size > 1u << 20 || !stbi_info_from_memory(data, static_cast<int>(size), &width, &height, &channels) ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > (1u << 20)) {
        return;
    }
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    std::vector<uint8_t> direct(bytes);
    bool directAlpha = false;
    if (SkinUI::DecodePlainPng(data, size, width, height, kMask, direct.data(), directAlpha) !=
        SkinUI::PlainPngResult::Decoded) {
        return;
    }
    stbi_uc* rgba = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
    if (rgba == nullptr) {
        abort();  // the direct path took a file the general decoder refuses
    }
    std::vector<uint8_t> general(bytes);
    const bool generalAlpha = SkinUI::PremultiplyRgbaToBgra(rgba, general.data(), bytes / 4, kMask);
    stbi_image_free(rgba);
    if (general != direct || generalAlpha != directAlpha) {
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto image = SkinUI::DecodeImageBytes(data, size, kMask);
    if (image) {
        CheckPremultiplied(*image);
    }
    CheckDirectPathAgainstGeneralDecoder(data, size);
    return 0;
}
