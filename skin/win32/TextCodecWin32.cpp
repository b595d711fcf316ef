// Text conversions through the system's code pages.
#include <windows.h>

#include <climits>

#include "skin/TextCodec.h"

namespace SkinUI {
namespace {

std::wstring MultiByteToWide(UINT codePage, const char* bytes, size_t size) {
    std::wstring text;
    if (size == 0 || size > static_cast<size_t>(INT_MAX)) {
        return text;
    }
    const int length = static_cast<int>(size);
    const int units = MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
    if (units <= 0) {
        return text;
    }
    text.resize(static_cast<size_t>(units));
    const int written = MultiByteToWideChar(codePage, 0, bytes, length, text.data(), units);
    text.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return text;
}

}  // namespace

std::wstring Utf8ToWide(const char* bytes, size_t size) { return MultiByteToWide(CP_UTF8, bytes, size); }

std::wstring AnsiToWide(const char* bytes, size_t size) { return MultiByteToWide(CP_ACP, bytes, size); }

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
    const int written = WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), count, nullptr, nullptr);
    bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return bytes;
}

}  // namespace SkinUI
