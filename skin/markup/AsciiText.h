#pragma once

#include <string>
#include <string_view>

namespace SkinUI {

// ASCII letters folded to lower case; every other character stands as it is. Names in skins, archive
// entries, file paths and registry values all compare by this rule.
template <typename Char>
constexpr Char AsciiLower(Char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

// The C library's white space in the ASCII range: space, tab, line feed, vertical tab, form feed and
// carriage return.
template <typename Char>
constexpr bool IsAsciiSpace(Char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// What markup, image descriptors and attribute lists skip between items: every control character and
// the space.
template <typename Char>
constexpr bool IsMarkupBlank(Char c) {
    return c >= 1 && c <= 32;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Element names and the names of resource attributes match without regard to ASCII letter case;
// null matches only null.
bool SameNameIgnoringCase(const wchar_t* a, const wchar_t* b);
std::wstring AsciiLowerCase(const wchar_t* text);

// Bytes of ASCII text as UTF-16 code units, one for one.
std::wstring WidenAscii(std::string_view text);

}  // namespace SkinUI
