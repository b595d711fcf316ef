#include "skin/drawing/win32/GdiPixelBuffer.h"

namespace SkinUI {

HBITMAP CreateTopDownDib(int32_t width, int32_t height, uint8_t** bits) {
    *bits = nullptr;
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr || pixels == nullptr) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        return nullptr;
    }
    *bits = static_cast<uint8_t*>(pixels);
    return bitmap;
}

GdiPixelBuffer::~GdiPixelBuffer() {
    DeleteObject(bitmap_);
}

std::unique_ptr<SkinPixelBuffer> GdiPixelBuffer::Allocate(int32_t width, int32_t height) {
    uint8_t* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(width, height, &bits);
    if (bitmap == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SkinPixelBuffer>(new GdiPixelBuffer(bitmap, bits, width, height));
}

void InstallDibPixelStorage() {
    SetPixelAllocator(&GdiPixelBuffer::Allocate);
}

}  // namespace SkinUI
