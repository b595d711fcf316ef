#include "tests/support/skin/TestImages.h"

#include <zlib.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace testsupport {
namespace {

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

RgbaPixels::RgbaPixels(int32_t width, int32_t height, uint32_t fillArgb)
    : width(width), height(height), bytes(static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            Set(x, y, fillArgb);
        }
    }
}

void RgbaPixels::Set(int32_t x, int32_t y, uint32_t argb) {
    uint8_t* pixel =
        &bytes[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
    pixel[0] = static_cast<uint8_t>(argb >> 16);
    pixel[1] = static_cast<uint8_t>(argb >> 8);
    pixel[2] = static_cast<uint8_t>(argb);
    pixel[3] = static_cast<uint8_t>(argb >> 24);
}

std::vector<uint8_t> EncodePng(const RgbaPixels& pixels) {
    std::vector<uint8_t> out;
    stbi_write_png_to_func(AppendBytes, &out, pixels.width, pixels.height, 4, pixels.bytes.data(),
                           pixels.width * 4);
    return out;
}

std::vector<uint8_t> EncodePngRows(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                                   int channels, int filter) {
    std::vector<uint8_t> out;
    stbi_write_force_png_filter = filter;
    stbi_write_png_to_func(AppendBytes, &out, width, height, channels, pixels.data(), width * channels);
    stbi_write_force_png_filter = -1;
    return out;
}

const std::vector<uint8_t> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void AppendPngChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    PutBigEndian(png, static_cast<uint32_t>(data.size()));
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBigEndian(png, 0);
}

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(size);
    compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(size);
    return packed;
}

std::vector<uint8_t> EncodeBmp(const RgbaPixels& pixels) {
    std::vector<uint8_t> out;
    stbi_write_bmp_to_func(AppendBytes, &out, pixels.width, pixels.height, 4, pixels.bytes.data());
    return out;
}

std::vector<uint8_t> EncodeJpeg(const RgbaPixels& pixels) {
    std::vector<uint8_t> out;
    stbi_write_jpg_to_func(AppendBytes, &out, pixels.width, pixels.height, 4, pixels.bytes.data(), 95);
    return out;
}

std::shared_ptr<SkinUI::SkinImageInfo> SolidImage(int32_t width, int32_t height, uint32_t premultipliedArgb,
                                                  bool hasAlpha) {
    auto image = std::make_shared<SkinUI::SkinImageInfo>();
    image->pixels = SkinUI::AllocateHeapPixels(width, height);
    image->width = width;
    image->height = height;
    image->hasAlpha = hasAlpha;
    uint8_t* bits = image->pixels->Bits();
    for (size_t i = 0; i < image->pixels->ByteSize(); ++i) {
        bits[i] = static_cast<uint8_t>(premultipliedArgb >> (8 * (i % 4)));  // blue, green, red, alpha
    }
    return image;
}

}  // namespace testsupport
