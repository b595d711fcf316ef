#pragma once

#include <cstdint>
#include <string>

#include "skin/markup/Geometry.h"

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

// Where an image descriptor draws inside the item: the item itself, or, when any offset is non-zero, the
// item moved in by the left and top offsets and limited to the right and bottom offsets (never beyond
// the item's own right and bottom edges).
SkinRect DescriptorDestination(const SkinRect& item, const SkinRect& offsets);

}  // namespace SkinUI
