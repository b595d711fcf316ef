#pragma once

#include <cstddef>
#include <string>

namespace SkinUI {

// Narrow text of skin files and archive names into engine text and back, through the platform's own
// conversions: on Windows MultiByteToWideChar / WideCharToMultiByte with the UTF-8 code page or the
// system ANSI code page. Elsewhere there is no system code page worth the name, so "ANSI" means UTF-8
// there (the encoding of every text file and file name on such a system) and both go through the
// portable codec of TextCodecUtf8.h. Invalid sequences become U+FFFD; embedded NUL bytes are kept.
std::wstring Utf8ToWide(const char* bytes, size_t size);
std::wstring AnsiToWide(const char* bytes, size_t size);
// Characters the ANSI code page cannot hold become the platform's default character ("?").
std::string WideToAnsi(const std::wstring& text);

}  // namespace SkinUI
