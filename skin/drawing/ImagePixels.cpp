#include "skin/drawing/ImagePixels.h"

#include <cstdint>
#include <limits>
#include <new>

namespace SkinUI {
namespace {

class HeapPixelBuffer final : public SkinPixelBuffer {
  public:
    HeapPixelBuffer(std::unique_ptr<uint8_t[]> bytes, int32_t width, int32_t height)
        : SkinPixelBuffer(bytes.get(), width, height), bytes_(std::move(bytes)) {}

  private:
    std::unique_ptr<uint8_t[]> bytes_;
};

SkinPixelAllocator g_allocator = nullptr;

bool SizeFitsAddressSpace(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
    return bytes <= std::numeric_limits<size_t>::max() / 2;
}

}  // namespace

void SetPixelAllocator(SkinPixelAllocator allocator) {
    g_allocator = allocator;
}

std::unique_ptr<SkinPixelBuffer> AllocateHeapPixels(int32_t width, int32_t height) {
    if (!SizeFitsAddressSpace(width, height)) {
        return nullptr;
    }
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    std::unique_ptr<uint8_t[]> storage(new (std::nothrow) uint8_t[bytes]);
    if (!storage) {
        return nullptr;
    }
    return std::make_unique<HeapPixelBuffer>(std::move(storage), width, height);
}

std::unique_ptr<SkinPixelBuffer> AllocatePixels(int32_t width, int32_t height) {
    if (!SizeFitsAddressSpace(width, height)) {
        return nullptr;
    }
    return g_allocator != nullptr ? g_allocator(width, height) : AllocateHeapPixels(width, height);
}

}  // namespace SkinUI
