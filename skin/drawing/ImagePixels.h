#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace SkinUI {

// Storage of one decoded image: width x height pixels, top row first, 4 bytes each (blue, green, red,
// alpha), rows packed without padding. The platform may keep the pixels in a drawable bitmap of its own
// (see SetPixelAllocator); otherwise they live on the heap.
class SkinPixelBuffer {
  public:
    virtual ~SkinPixelBuffer() = default;
    SkinPixelBuffer(const SkinPixelBuffer&) = delete;
    SkinPixelBuffer& operator=(const SkinPixelBuffer&) = delete;

    uint8_t* Bits() const { return bits_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    size_t ByteSize() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4; }

  protected:
    SkinPixelBuffer(uint8_t* bits, int32_t width, int32_t height)
        : bits_(bits), width_(width), height_(height) {}

  private:
    uint8_t* bits_;
    int32_t width_;
    int32_t height_;
};

// Creates the storage for a width x height image, or null when the platform cannot provide it.
using SkinPixelAllocator = std::unique_ptr<SkinPixelBuffer> (*)(int32_t width, int32_t height);

// Process-wide choice of the storage of images decoded from now on; null restores heap storage.
void SetPixelAllocator(SkinPixelAllocator allocator);

// Storage for a width x height image from the current allocator; null for a non-positive size, a size
// whose byte count does not fit the address space, or an allocation failure. The bytes are not cleared.
std::unique_ptr<SkinPixelBuffer> AllocatePixels(int32_t width, int32_t height);

// Heap storage, the choice when the platform installs nothing.
std::unique_ptr<SkinPixelBuffer> AllocateHeapPixels(int32_t width, int32_t height);

}  // namespace SkinUI
