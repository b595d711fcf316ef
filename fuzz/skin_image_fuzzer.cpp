// Image files from a skin: whatever bytes they hold, decoding either refuses them or gives an image
// within the size cap whose pixels are validly premultiplied.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "skin/drawing/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto image = SkinUI::DecodeImageBytes(data, size, 0xFFFF00FF);
    if (!image) {
        return 0;
    }
    if (!SkinUI::ImageSizeAllowed(image->width, image->height) || image->Bits() == nullptr) {
        abort();
    }
    const uint8_t* bits = image->Bits();
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
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
    if (anyBelowOpaque && !image->hasAlpha) {
        abort();
    }
    return 0;
}
