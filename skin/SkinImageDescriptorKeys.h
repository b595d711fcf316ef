#pragma once

#include <cstdint>
#include <string>

#include "skin/SkinGeometry.h"

namespace SkinUI {

// What an image attribute value says: a plain file name, or key='value' pairs separated by blanks.
struct ImageDescriptorKeys {
    std::wstring imageName;
    bool fromResource = false;  // "res" named the image
    std::wstring resourceType;
    SkinRect dest;    // offsets inside the item; all zero = the whole item
    SkinRect source;  // image pixels; all zero = the whole image
    SkinRect corner;  // nine-part margins
    uint32_t mask = 0;
    uint8_t fade = 255;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
    bool recolour = false;  // "hsl"
};

// Reads an image attribute value. The whole text is the image name unless a "file" or "res" key names
// one; reading stops at the first pair that is not well formed, keeping what was read before it.
ImageDescriptorKeys ParseImageDescriptor(const std::wstring& text);

}  // namespace SkinUI
