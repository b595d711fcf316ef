#pragma once

#include <string>

namespace SkinUI {

// Element names and the names of resource attributes match without regard to ASCII letter case;
// other characters must be equal.
bool SameNameIgnoringCase(const wchar_t* a, const wchar_t* b);
std::wstring AsciiLowerCase(const wchar_t* text);

}  // namespace SkinUI
