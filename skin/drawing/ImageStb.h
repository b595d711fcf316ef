#pragma once

#include <cstddef>

namespace SkinUI {

// Every block the image library allocates on this thread while the scope lives may be at most `limit`
// bytes; a larger request fails, and the library reports the image as undecodable. Damaged or hostile
// files declare data lengths and decompress to sizes far beyond what their image needs; the decoder sets
// the limit from the image's declared size.
class ScopedStbAllocationLimit {
  public:
    explicit ScopedStbAllocationLimit(size_t limit);
    ~ScopedStbAllocationLimit();
    ScopedStbAllocationLimit(const ScopedStbAllocationLimit&) = delete;
    ScopedStbAllocationLimit& operator=(const ScopedStbAllocationLimit&) = delete;

  private:
    size_t previous_;
};

// How many allocations of the image library this thread has refused so far.
size_t StbRefusedAllocations();

}  // namespace SkinUI
