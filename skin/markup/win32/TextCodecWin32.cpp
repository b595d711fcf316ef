// Text conversions through the system's code pages.
#include <windows.h>

#include <climits>

#include "skin/markup/TextCodec.h"

namespace SkinUI {
namespace {

size_t MultiByteToWide(UINT codePage, const char* bytes, size_t size, wchar_t* out) {
    if (size == 0 || size > static_cast<size_t>(INT_MAX)) {
        return 0;
    }
    const int length = static_cast<int>(size);
    const int written = MultiByteToWideChar(codePage, 0, bytes, length, out, length);
    return written > 0 ? static_cast<size_t>(written) : 0;
}

}  // namespace

size_t Utf8ToWide(const char* bytes, size_t size, wchar_t* out) {
    return MultiByteToWide(CP_UTF8, bytes, size, out);
}

size_t AnsiToWide(const char* bytes, size_t size, wchar_t* out) {
    return MultiByteToWide(CP_ACP, bytes, size, out);
}

std::string WideToAnsi(const std::wstring& text) {
    std::string bytes;
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) {
        return bytes;
    }
    const int length = static_cast<int>(text.size());
    const int count = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0) {
        return bytes;
    }
    bytes.resize(static_cast<size_t>(count));
    const int written =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), count, nullptr, nullptr);
    bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return bytes;
}

}  // namespace SkinUI
