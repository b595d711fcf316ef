#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SkinUI {

// A portable UTF-8 codec producing engine text: UTF-16 code units where wchar_t is 16 bits wide
// (surrogate pairs for characters beyond U+FFFF), whole code points where it is 32 bits wide.
// Decoding replaces each maximal ill-formed part (a stray continuation byte, a truncated sequence, an
// overlong form, an encoded surrogate, anything above U+10FFFF) with one U+FFFD. Encoding turns
// unpaired surrogates into U+FFFD.
std::wstring DecodeUtf8(const char* bytes, size_t size);
// The same into `out`, which has room for `size` code units (never more are needed); returns the
// number of units written.
size_t DecodeUtf8(const char* bytes, size_t size, wchar_t* out);
std::string EncodeUtf8(const std::wstring& text);
// One character from its lead byte at `p` (0x80 or above; `p` < `end`): writes its one or two units
// (or U+FFFD for an ill-formed part) at `out`, moves `out` past them and returns the position after the
// bytes it took.
const uint8_t* DecodeUtf8Character(const uint8_t* p, const uint8_t* end, wchar_t*& out);

#if defined(__SSE2__)
// Sixteen ASCII bytes as sixteen characters at `out`.
inline void WidenSixteen(__m128i bytes, __m128i zero, wchar_t* out) {
    const __m128i low = _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = _mm_unpackhi_epi8(bytes, zero);
    auto* target = reinterpret_cast<__m128i*>(out);
    if constexpr (sizeof(wchar_t) == 2) {
        _mm_storeu_si128(target, low);
        _mm_storeu_si128(target + 1, high);
    } else {
        _mm_storeu_si128(target, _mm_unpacklo_epi16(low, zero));
        _mm_storeu_si128(target + 1, _mm_unpackhi_epi16(low, zero));
        _mm_storeu_si128(target + 2, _mm_unpacklo_epi16(high, zero));
        _mm_storeu_si128(target + 3, _mm_unpackhi_epi16(high, zero));
    }
}
#endif

}  // namespace SkinUI
