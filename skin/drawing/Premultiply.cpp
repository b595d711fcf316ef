#include "skin/drawing/Premultiply.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SkinUI {
namespace {

// c * a / 255 rounded down, exact for every c and a of 0 to 255, without a division.
inline uint32_t ScaleByAlpha(uint32_t channel, uint32_t alpha) {
    return (channel * alpha * 0x8081u) >> 23;
}

}  // namespace

// Opaque pixels come out unchanged by the same formula (c * 255 / 255 = c), so the loop
// has no branch. Where the processor has the vector instructions, four pixels go at once: c * a / 255
// rounded down is (t + 1 + (t >> 8)) >> 8 for t = c * a, exact for every c and a of 0 to 255.
bool PremultiplyRgbaToBgra(const uint8_t* rgba, uint8_t* bgra, size_t pixelCount, uint32_t mask) {
    uint32_t alphaOfAll = 0xFF;
    uint32_t anyMasked = 0;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi16(1);
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i maskPixels = _mm_set1_epi32(static_cast<int>(mask));
    __m128i alphaAnd = _mm_set1_epi8(-1);
    __m128i maskedAny = zero;
    const auto premultiplyTwo = [&](__m128i pixels) {
        const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, _MM_SHUFFLE(3, 3, 3, 3)),
                                                  _MM_SHUFFLE(3, 3, 3, 3));
        const __m128i t = _mm_mullo_epi16(pixels, alpha);
        const __m128i scaled = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, one), _mm_srli_epi16(t, 8)), 8);
        const __m128i kept =
            _mm_or_si128(_mm_and_si128(alphaLanes, pixels), _mm_andnot_si128(alphaLanes, scaled));
        // Red and blue change places.
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(kept, _MM_SHUFFLE(3, 0, 1, 2)),
                                   _MM_SHUFFLE(3, 0, 1, 2));
    };
    for (; i + 4 <= pixelCount; i += 4) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rgba + i * 4));
        const __m128i out = _mm_packus_epi16(premultiplyTwo(_mm_unpacklo_epi8(in, zero)),
                                             premultiplyTwo(_mm_unpackhi_epi8(in, zero)));
        const __m128i masked = _mm_cmpeq_epi32(out, maskPixels);
        alphaAnd = _mm_and_si128(alphaAnd, in);
        maskedAny = _mm_or_si128(maskedAny, masked);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bgra + i * 4), _mm_andnot_si128(masked, out));
    }
    // The alpha bytes are every fourth; all of them 255 means all four lanes' top bytes are.
    alphaOfAll = (static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(alphaAnd, _mm_set1_epi8(-1)))) &
                  0x8888u) == 0x8888u
                     ? 0xFFu
                     : 0u;
    anyMasked = _mm_movemask_epi8(maskedAny) != 0 ? 1u : 0u;
#endif
    for (; i < pixelCount; ++i) {
        const uint8_t* in = rgba + i * 4;
        const uint32_t alpha = in[3];
        const uint32_t pixel = alpha << 24 | ScaleByAlpha(in[0], alpha) << 16 |
                               ScaleByAlpha(in[1], alpha) << 8 | ScaleByAlpha(in[2], alpha);
        const uint32_t masked = pixel == mask ? 1u : 0u;
        const uint32_t out = masked != 0 ? 0u : pixel;
        alphaOfAll &= alpha;
        anyMasked |= masked;
        uint8_t* to = bgra + i * 4;
        to[0] = static_cast<uint8_t>(out);
        to[1] = static_cast<uint8_t>(out >> 8);
        to[2] = static_cast<uint8_t>(out >> 16);
        to[3] = static_cast<uint8_t>(out >> 24);
    }
    return alphaOfAll != 0xFF || anyMasked != 0;
}

}  // namespace SkinUI
