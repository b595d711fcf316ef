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
std::vector<uint8_t> EncodeBmp(const RgbaPixels& pixels);
std::vector<uint8_t> EncodeJpeg(const RgbaPixels& pixels);

// A decoded image made directly: every pixel `premultipliedArgb`, has-alpha as given. Heap pixels.
std::shared_ptr<SkinUI::SkinImageInfo> SolidImage(int32_t width, int32_t height, uint32_t premultipliedArgb,
                                                  bool hasAlpha);

}  // namespace testsupport
