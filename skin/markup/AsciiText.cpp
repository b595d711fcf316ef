#include "skin/markup/AsciiText.h"

namespace SkinUI {
namespace {

template <typename Text>
bool EqualIgnoringCase(Text a, Text b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    return EqualIgnoringCase(a, b);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return EqualIgnoringCase(a, b);
}

bool SameNameIgnoringCase(const wchar_t* a, const wchar_t* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    return EqualIgnoringCase(std::wstring_view(a), std::wstring_view(b));
}

std::wstring AsciiLowerCase(const wchar_t* text) {
    std::wstring lower = text != nullptr ? text : L"";
    for (wchar_t& c : lower) {
        c = AsciiLower(c);
    }
    return lower;
}

std::wstring WidenAscii(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace SkinUI
