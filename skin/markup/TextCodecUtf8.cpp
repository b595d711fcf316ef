#include "skin/markup/TextCodecUtf8.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SkinUI {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Writes one code point at `out` and returns the position after it.
wchar_t* PutCodePoint(wchar_t* out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            *out++ = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            *out++ = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            return out;
        }
    }
    *out++ = static_cast<wchar_t>(c);
    return out;
}

// Widens a run of ASCII bytes sixteen at a time where the processor has the vector instructions for
// it; returns how many bytes it took.
size_t WidenAsciiRun(const uint8_t* p, const uint8_t* end, wchar_t* out) {
    size_t done = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (end - (p + done) >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + done));
        if (_mm_movemask_epi8(bytes) != 0) {
            break;
        }
        WidenSixteen(bytes, zero, out + done);
        done += 16;
    }
#endif
    while (end - (p + done) >= 8) {
        uint64_t eight;
        std::memcpy(&eight, p + done, 8);
        if ((eight & 0x8080808080808080ull) != 0) {
            break;
        }
        for (int k = 0; k < 8; ++k) {
            out[done + k] = static_cast<wchar_t>((eight >> (8 * k)) & 0xFF);  // little-endian order
        }
        done += 8;
    }
    return done;
}

bool IsContinuation(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// The allowed range of the second byte after a lead byte (Unicode table 3-7): it excludes overlong
// forms, encoded surrogates and values above U+10FFFF. Later continuation bytes take 80..BF.
bool SecondByteFits(uint8_t lead, uint8_t second) {
    switch (lead) {
        case 0xE0:
            return second >= 0xA0 && second <= 0xBF;
        case 0xED:
            return second >= 0x80 && second <= 0x9F;
        case 0xF0:
            return second >= 0x90 && second <= 0xBF;
        case 0xF4:
            return second >= 0x80 && second <= 0x8F;
        default:
            return IsContinuation(second);
    }
}

// Length of the sequence a lead byte starts, 0 for a byte that cannot start one.
int SequenceLength(uint8_t lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

}  // namespace

const uint8_t* DecodeUtf8Character(const uint8_t* p, const uint8_t* end, wchar_t*& out) {
    const uint8_t lead = *p++;
    const int length = SequenceLength(lead);
    if (length == 0) {
        *out++ = static_cast<wchar_t>(kReplacement);
        return p;
    }
    char32_t c = lead & (0xFF >> (length + 1));
    int taken = 1;
    for (; taken < length && p < end; ++taken, ++p) {
        const bool fits = taken == 1 ? SecondByteFits(lead, *p) : IsContinuation(*p);
        if (!fits) {
            break;
        }
        c = (c << 6) | (*p & 0x3F);
    }
    out = PutCodePoint(out, taken == length ? c : kReplacement);
    return p;
}

size_t DecodeUtf8(const char* bytes, size_t size, wchar_t* out) {
    wchar_t* const start = out;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes);
    const uint8_t* const end = p + size;
    while (p < end) {
        // Runs of ASCII are the bulk of every skin file.
        const size_t run = WidenAsciiRun(p, end, out);
        p += run;
        out += run;
        while (p < end && *p < 0x80) {
            *out++ = static_cast<wchar_t>(*p++);
        }
        if (p == end) {
            break;
        }
        p = DecodeUtf8Character(p, end, out);
    }
    return static_cast<size_t>(out - start);
}

std::wstring DecodeUtf8(const char* bytes, size_t size) {
    std::wstring text(size, L'\0');
    text.resize(DecodeUtf8(bytes, size, text.data()));
    return text;
}

std::string EncodeUtf8(const std::wstring& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            c = kReplacement;
        }
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (c >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return bytes;
}

}  // namespace SkinUI
