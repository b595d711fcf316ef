#include "skin/drawing/win32/GdiDibSurface.h"

#include "skin/drawing/win32/GdiPixelBuffer.h"

namespace SkinUI {

GdiDibSurface::GdiDibSurface(int32_t width, int32_t height)
    : width_(width), height_(height), bitmap_(CreateTopDownDib(width, height, &bits_)), dc_(nullptr) {
    if (bitmap_ && dc_.Get() != nullptr) {
        previous_ = SelectObject(dc_.Get(), bitmap_.Get());
    } else {
        bits_ = nullptr;
    }
}

GdiDibSurface::~GdiDibSurface() {
    if (previous_ != nullptr) {
        SelectObject(dc_.Get(), previous_);
    }
}

uint8_t* GdiDibSurface::Bits() const {
    GdiFlush();
    return bits_;
}

uint32_t GdiDibSurface::PixelAt(int32_t x, int32_t y) const {
    const uint8_t* pixel = Bits() + (static_cast<size_t>(y) * static_cast<size_t>(width_) + x) * 4;
    return uint32_t{pixel[3]} << 24 | uint32_t{pixel[2]} << 16 | uint32_t{pixel[1]} << 8 | pixel[0];
}

void GdiDibSurface::Fill(uint32_t argb) {
    uint8_t* bits = Bits();
    if (bits == nullptr) {
        return;
    }
    auto* pixels = reinterpret_cast<uint32_t*>(bits);
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    for (size_t i = 0; i < count; ++i) {
        pixels[i] = argb;
    }
}

}  // namespace SkinUI
