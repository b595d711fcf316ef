// Text conversions where the platform offers no code pages: UTF-8 stands for the ANSI code page too.
#include "skin/TextCodec.h"
#include "skin/TextCodecUtf8.h"

namespace SkinUI {

std::wstring Utf8ToWide(const char* bytes, size_t size) { return DecodeUtf8(bytes, size); }

std::wstring AnsiToWide(const char* bytes, size_t size) { return DecodeUtf8(bytes, size); }

std::string WideToAnsi(const std::wstring& text) { return EncodeUtf8(text); }

}  // namespace SkinUI
