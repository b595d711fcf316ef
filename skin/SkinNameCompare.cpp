#include "skin/SkinNameCompare.h"

namespace SkinUI {
namespace {

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool SameNameIgnoringCase(const wchar_t* a, const wchar_t* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (AsciiLower(*a) != AsciiLower(*b)) {
            return false;
        }
    }
    return *a == *b;
}

std::wstring AsciiLowerCase(const wchar_t* text) {
    std::wstring lower = text != nullptr ? text : L"";
    for (wchar_t& c : lower) {
        c = AsciiLower(c);
    }
    return lower;
}

}  // namespace SkinUI
