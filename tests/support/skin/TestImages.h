#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/drawing/Image.h"

namespace testsupport {

// Red, green, blue, alpha pixels, top row first, as image files hold them before encoding.
struct RgbaPixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bytes;

    RgbaPixels(int32_t width, int32_t height, uint32_t fillArgb = 0xFF000000);
    void Set(int32_t x, int32_t y, uint32_t argb);
};

std::vector<uint8_t> EncodePng(const RgbaPixels& pixels);
// Rows of `channels` bytes per pixel (3: red, green, blue; 4: with alpha). `filter` -1 lets the encoder
// choose per row; 0 to 4 forces that filter on every row.
std::vector<uint8_t> EncodePngRows(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                                   int channels, int filter);
std::vector<uint8_t> EncodeBmp(const RgbaPixels& pixels);
std::vector<uint8_t> EncodeJpeg(const RgbaPixels& pixels);

// Pieces for PNG files built by hand: the signature, a chunk (its checksum left zero: no decoder the
// engine uses checks them), a zlib stream at the best compression.
extern const std::vector<uint8_t> kPngSignature;
void PutBigEndian(std::vector<uint8_t>& out, uint32_t value);
void AppendPngChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data);
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw);

// A decoded image made directly: every pixel `premultipliedArgb`, has-alpha as given. Heap pixels.
std::shared_ptr<SkinUI::SkinImageInfo> SolidImage(int32_t width, int32_t height, uint32_t premultipliedArgb,
                                                  bool hasAlpha);

}  // namespace testsupport
