#include "skin/markup/Colors.h"

#include "skin/markup/Numbers.h"

namespace SkinUI {

SkinColor ParseColorText(const wchar_t* text) {
    if (text == nullptr) {
        return 0;
    }
    if (*text == L'#') {
        ++text;
    }
    return ParseUInt32(text, nullptr, 16);
}

SkinColor ParseColorText(const std::wstring& text) {
    return ParseColorText(text.c_str());
}

uint32_t PremultipliedPixel(SkinColor color) {
    const uint32_t alpha = ColorAlpha(color);
    const auto scale = [alpha](uint32_t channel) { return channel * alpha / 255; };
    return alpha << 24 | scale(ColorRed(color)) << 16 | scale(ColorGreen(color)) << 8 |
           scale(ColorBlue(color));
}

}  // namespace SkinUI
