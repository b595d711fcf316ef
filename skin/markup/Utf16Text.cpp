#include "skin/markup/Utf16Text.h"

namespace SkinUI {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::wstring Utf16ToWide(const char16_t* units, size_t count) {
    std::wstring text;
    text.reserve(count);
    if constexpr (sizeof(wchar_t) == 2) {
        text.assign(reinterpret_cast<const wchar_t*>(units), count);
    } else {
        for (size_t i = 0; i < count; ++i) {
            const char32_t c = units[i];
            if (IsHighSurrogate(c) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
                const char32_t low = units[++i];
                text.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00)));
            } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
                text.push_back(static_cast<wchar_t>(kReplacement));
            } else {
                text.push_back(static_cast<wchar_t>(c));
            }
        }
    }
    return text;
}

std::u16string WideToUtf16(const std::wstring& text) {
    std::u16string units;
    units.reserve(text.size());
    if constexpr (sizeof(wchar_t) == 2) {
        units.assign(reinterpret_cast<const char16_t*>(text.data()), text.size());
    } else {
        for (wchar_t wc : text) {
            const char32_t c = static_cast<char32_t>(wc);
            if (c >= 0x10000 && c <= 0x10FFFF) {
                units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
                units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
            } else if (c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) {
                units.push_back(kReplacement);
            } else {
                units.push_back(static_cast<char16_t>(c));
            }
        }
    }
    return units;
}

}  // namespace SkinUI
