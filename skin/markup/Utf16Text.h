#pragma once

#include <cstddef>
#include <string>

namespace SkinUI {

// UTF-16 code units to engine text and back. On Windows wchar_t is a UTF-16 code unit and these are
// copies; elsewhere wchar_t holds whole code points, surrogate pairs are joined and split, and an
// unpaired surrogate becomes U+FFFD.
std::wstring Utf16ToWide(const char16_t* units, size_t count);
std::u16string WideToUtf16(const std::wstring& text);

}  // namespace SkinUI
