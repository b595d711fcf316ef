#pragma once

#include <cstdint>
#include <string>

namespace SkinUI {

// A skin colour: 0xAARRGGBB. Text drawing ignores the alpha byte; fills skip alpha 0, fill alpha 255
// solid and blend the rest.
using SkinColor = uint32_t;

inline uint8_t ColorAlpha(SkinColor color) {
    return static_cast<uint8_t>(color >> 24);
}
inline uint8_t ColorRed(SkinColor color) {
    return static_cast<uint8_t>(color >> 16);
}
inline uint8_t ColorGreen(SkinColor color) {
    return static_cast<uint8_t>(color >> 8);
}
inline uint8_t ColorBlue(SkinColor color) {
    return static_cast<uint8_t>(color);
}

// Colour text of the markup: an optional "#", then hexadecimal digits read as far as they go ("#ffffff"
// is 0x00FFFFFF, alpha 0). Text without digits gives 0.
SkinColor ParseColorText(const wchar_t* text);
SkinColor ParseColorText(const std::wstring& text);

// The colour as one premultiplied blue, green, red, alpha pixel, the layout of decoded images.
uint32_t PremultipliedPixel(SkinColor color);

// Colours a window uses when a control leaves its own at 0.
struct SkinDefaultColors {
    SkinColor disabledText = 0xFFA7A6AA;
    SkinColor text = 0xFF000000;
    SkinColor linkText = 0xFF0000FF;
    SkinColor linkTextHot = 0xFFD3215F;
    SkinColor selectedBackground = 0xFFBAE4FF;
};

}  // namespace SkinUI
