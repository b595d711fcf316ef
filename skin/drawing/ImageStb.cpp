// The one translation unit that compiles the image decoder library. Only the formats skins use are
// built, nothing reads files by itself (the engine hands it bytes), no side may exceed what the engine
// accepts anyway, and its allocations go through a per-thread limit.
#include "skin/drawing/ImageStb.h"

#include <cstdint>
#include <cstdlib>

namespace SkinUI {
namespace {

thread_local size_t g_allocationLimit = SIZE_MAX;
thread_local size_t g_refusedAllocations = 0;

void* Refuse() {
    ++g_refusedAllocations;
    return nullptr;
}

}  // namespace

ScopedStbAllocationLimit::ScopedStbAllocationLimit(size_t limit) : previous_(g_allocationLimit) {
    g_allocationLimit = limit;
}

ScopedStbAllocationLimit::~ScopedStbAllocationLimit() {
    g_allocationLimit = previous_;
}

size_t StbRefusedAllocations() {
    return g_refusedAllocations;
}

// The decoder keeps its state (Huffman tables among it) in blocks it allocates, and a damaged JPEG can
// make it use a table it never defined: small blocks are cleared, so such a table decodes as zeros
// instead of steering reads by whatever the memory held. Pixel buffers are filled before use and stay
// uncleared.
constexpr size_t kClearedBlockLimit = size_t{64} << 10;

void* StbAllocate(size_t size) {
    if (size > g_allocationLimit) {
        return Refuse();
    }
    return size <= kClearedBlockLimit ? std::calloc(1, size) : std::malloc(size);
}

void* StbReallocate(void* block, size_t size) {
    return size <= g_allocationLimit ? std::realloc(block, size) : Refuse();
}

void StbFree(void* block) {
    std::free(block);
}

}  // namespace SkinUI

#define STBI_MALLOC(size) SkinUI::StbAllocate(size)
#define STBI_REALLOC(block, size) SkinUI::StbReallocate(block, size)
#define STBI_FREE(block) SkinUI::StbFree(block)

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 16384

#include <stb_image.h>
