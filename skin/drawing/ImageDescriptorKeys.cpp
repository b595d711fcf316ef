#include "skin/drawing/ImageDescriptorKeys.h"
#include "skin/markup/AsciiText.h"
#include "skin/markup/AttributeValues.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "skin/markup/Colors.h"
#include "skin/markup/Numbers.h"

namespace SkinUI {
namespace {

int32_t AddClamped(int32_t a, int32_t b) {
    return SaturateToInt32(int64_t{a} + b);
}

uint8_t ParseFadeValue(const std::wstring& value) {
    const int32_t fade = ParseInt32(value.c_str());
    return static_cast<uint8_t>(std::clamp(fade, 0, 255));
}

void ApplyKey(const std::wstring& key, const std::wstring& value, ImageDescriptorKeys& keys) {
    if (key == L"file") {
        keys.imageName = value;
    } else if (key == L"res") {
        keys.imageName = value;
        keys.fromResource = true;
    } else if (key == L"restype") {
        keys.resourceType = value;
    } else if (key == L"dest") {
        keys.dest = ParseRectValue(value.c_str());
    } else if (key == L"source") {
        keys.source = ParseRectValue(value.c_str());
    } else if (key == L"corner") {
        keys.corner = ParseRectValue(value.c_str());
    } else if (key == L"mask") {
        keys.mask = ParseColorText(value);
    } else if (key == L"fade") {
        keys.fade = ParseFadeValue(value);
    } else if (key == L"hole") {
        keys.hole = value == L"true";
    } else if (key == L"xtiled") {
        keys.xTiled = value == L"true";
    } else if (key == L"ytiled") {
        keys.yTiled = value == L"true";
    } else if (key == L"hsl") {
        keys.recolour = value == L"true";
    }
}

}  // namespace

ImageDescriptorKeys ParseImageDescriptor(const std::wstring& text) {
    ImageDescriptorKeys keys;
    keys.imageName = text;
    const size_t end = text.size();
    size_t i = 0;
    const auto skipSpace = [&] {
        while (i < end && IsMarkupBlank(text[i])) {
            ++i;
        }
    };
    while (i < end) {
        skipSpace();
        const size_t keyStart = i;
        while (i < end && text[i] != L'=' && static_cast<uint32_t>(text[i]) > 32) {
            ++i;
        }
        const std::wstring key = text.substr(keyStart, i - keyStart);
        skipSpace();
        if (i >= end || text[i] != L'=') {
            break;
        }
        ++i;
        skipSpace();
        if (i >= end || text[i] != L'\'') {
            break;
        }
        const size_t valueStart = ++i;
        while (i < end && text[i] != L'\'') {
            ++i;
        }
        if (i >= end) {
            break;
        }
        const std::wstring value = text.substr(valueStart, i - valueStart);
        if (!value.empty()) {
            ApplyKey(key, value, keys);
        }
        ++i;  // the closing apostrophe
        if (i >= end || text[i++] != L' ') {
            break;
        }
    }
    return keys;
}

SkinRect DescriptorDestination(const SkinRect& item, const SkinRect& offsets) {
    if (offsets.IsZero()) {
        return item;
    }
    return SkinRect{AddClamped(item.left, offsets.left), AddClamped(item.top, offsets.top),
                    std::min(AddClamped(item.left, offsets.right), item.right),
                    std::min(AddClamped(item.top, offsets.bottom), item.bottom)};
}

}  // namespace SkinUI
