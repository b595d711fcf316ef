// Text conversions where the platform offers no code pages: UTF-8 stands for the ANSI code page too.
#include "skin/markup/TextCodec.h"
#include "skin/markup/TextCodecUtf8.h"

namespace SkinUI {

size_t Utf8ToWide(const char* bytes, size_t size, wchar_t* out) {
    return DecodeUtf8(bytes, size, out);
}

size_t AnsiToWide(const char* bytes, size_t size, wchar_t* out) {
    return DecodeUtf8(bytes, size, out);
}

std::string WideToAnsi(const std::wstring& text) {
    return EncodeUtf8(text);
}

}  // namespace SkinUI
