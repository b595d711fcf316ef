#pragma once

#include <cstddef>
#include <string>

namespace SkinUI {

// Narrow text of skin files and archive names into engine text and back, through the platform's own
// conversions: on Windows MultiByteToWideChar / WideCharToMultiByte with the UTF-8 code page or the
// system ANSI code page. Elsewhere there is no system code page worth the name, so "ANSI" means UTF-8
// there (the encoding of every text file and file name on such a system) and both go through the
// portable codec of TextCodecUtf8.h. Invalid sequences become U+FFFD; embedded NUL bytes are kept.
//
// Neither encoding needs more code units than it has bytes, so `out` must have room for `size`
// units; the result is the number written (no terminator).
size_t Utf8ToWide(const char* bytes, size_t size, wchar_t* out);
size_t AnsiToWide(const char* bytes, size_t size, wchar_t* out);
// Characters the ANSI code page cannot hold become the platform's default character ("?").
std::string WideToAnsi(const std::wstring& text);

inline std::wstring Utf8ToWide(const char* bytes, size_t size) {
    std::wstring text(size, L'\0');
    text.resize(Utf8ToWide(bytes, size, text.data()));
    return text;
}

inline std::wstring AnsiToWide(const char* bytes, size_t size) {
    std::wstring text(size, L'\0');
    text.resize(AnsiToWide(bytes, size, text.data()));
    return text;
}

}  // namespace SkinUI
