#include "skin/drawing/PngDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "skin/drawing/Premultiply.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SkinUI {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kChunkFrame = 12;  // length, type and checksum around the chunk's data
constexpr size_t kHeaderLength = 13;
// Rows are inflated this many bytes at a time: large enough that the inflater mostly runs its fast
// loop, small enough to stay in the processor's cache while the rows are unfiltered and premultiplied.
constexpr size_t kBatchBytes = size_t{64} << 10;

enum RowFilter : uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

uint32_t ReadBigEndian(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

bool TypeIs(const uint8_t* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

// A chunk type whose first letter is a capital is critical: a reader that does not know it may not go on.
bool IsCritical(const uint8_t* type) {
    return (type[0] & 0x20) == 0;
}

struct DataSpan {
    const uint8_t* bytes;
    size_t size;
};

struct PlainLayout {
    size_t channels = 0;
    std::vector<DataSpan> imageData;  // the image data chunks, in file order
};

// The header of an image the direct path takes: the expected size, 8 bits per channel, truecolour with
// or without alpha, the standard compression and filtering, no interlacing.
bool IsPlainHeader(const uint8_t* header, int32_t width, int32_t height, size_t& channels) {
    if (ReadBigEndian(header) != static_cast<uint32_t>(width) ||
        ReadBigEndian(header + 4) != static_cast<uint32_t>(height) || header[8] != 8 || header[10] != 0 ||
        header[11] != 0 || header[12] != 0) {
        return false;
    }
    channels = header[9] == 6 ? 4 : header[9] == 2 ? 3 : 0;
    return channels != 0;
}

// Walks the chunks up to the end chunk without reading any image data. Every chunk must lie within the
// file; a palette, a transparency key and any critical chunk but the header, image data and end send the
// file to the general decoder.
bool ReadPlainLayout(const uint8_t* data, size_t size, int32_t width, int32_t height, PlainLayout& layout) {
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
        return false;
    }
    size_t at = sizeof kSignature;
    bool first = true;
    for (;;) {
        if (size - at < kChunkFrame) {
            return false;
        }
        const uint32_t length = ReadBigEndian(data + at);
        if (length > size - at - kChunkFrame) {
            return false;
        }
        const uint8_t* type = data + at + 4;
        const uint8_t* body = type + 4;
        if (first) {
            if (!TypeIs(type, "IHDR") || length != kHeaderLength ||
                !IsPlainHeader(body, width, height, layout.channels)) {
                return false;
            }
            first = false;
        } else if (TypeIs(type, "IDAT")) {
            if (length > 0) {
                layout.imageData.push_back(DataSpan{body, length});
            }
        } else if (TypeIs(type, "IEND")) {
            return !layout.imageData.empty();
        } else if (IsCritical(type) || TypeIs(type, "tRNS")) {
            return false;
        }
        at += kChunkFrame + length;
    }
}

// The two bytes that open the image data: deflate compression, no preset dictionary, and the check
// that makes them a multiple of 31. The window size they give is not needed (any distance within the
// largest window is accepted, as by the general decoder).
constexpr size_t kStreamHeader = 2;
bool IsStreamHeader(const uint8_t* header) {
    const uint32_t method = header[0];
    const uint32_t flags = header[1];
    return (method & 0x0F) == 8 && (flags & 0x20) == 0 && (method * 256 + flags) % 31 == 0;
}

// The image data chunks as one deflate stream, inflated into whatever buffer the caller hands over.
// The stream's closing checksum is not examined, as the general decoder does not either: a skin file
// is checked as a whole by the archive it comes from.
class ImageDataStream {
  public:
    explicit ImageDataStream(const std::vector<DataSpan>& spans) : spans_(spans) {
        if (spans_.empty() || spans_[0].size < kStreamHeader || !IsStreamHeader(spans_[0].bytes)) {
            return;
        }
        started_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK;
        stream_.next_in = const_cast<Bytef*>(spans_[0].bytes + kStreamHeader);
        stream_.avail_in = static_cast<uInt>(spans_[0].size - kStreamHeader);
        next_ = 1;
    }
    ~ImageDataStream() {
        if (started_) {
            inflateEnd(&stream_);
        }
    }
    ImageDataStream(const ImageDataStream&) = delete;
    ImageDataStream& operator=(const ImageDataStream&) = delete;

    // Fills all of `out`; false when the stream ends, runs out of data or is damaged first.
    bool Fill(uint8_t* out, size_t length) {
        if (!started_ || ended_) {
            return false;
        }
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(length);
        while (stream_.avail_out > 0) {
            if (!Inflate()) {
                return false;
            }
            if (ended_) {
                return stream_.avail_out == 0;
            }
        }
        return true;
    }

    // True when the stream ends exactly here.
    bool EndsHere() {
        uint8_t extra = 0;
        stream_.next_out = &extra;
        stream_.avail_out = 1;
        while (started_ && !ended_) {
            if (!Inflate() || stream_.avail_out == 0) {
                return false;
            }
        }
        return started_ && stream_.avail_out == 1;
    }

  private:
    // One step of inflating, fed from the next chunk when the current one is used up.
    bool Inflate() {
        // With every chunk used up the inflater may still have output of its own to give.
        if (stream_.avail_in == 0 && next_ < spans_.size()) {
            stream_.next_in = const_cast<Bytef*>(spans_[next_].bytes);
            stream_.avail_in = static_cast<uInt>(spans_[next_].size);
            ++next_;
        }
        const int result = inflate(&stream_, Z_NO_FLUSH);
        ended_ = result == Z_STREAM_END;
        return result == Z_OK || ended_;
    }

    const std::vector<DataSpan>& spans_;
    size_t next_ = 0;
    z_stream stream_ = {};
    bool started_ = false;
    bool ended_ = false;
};

uint8_t PaethPredictor(int left, int above, int aboveLeft) {
    const int estimate = left + above - aboveLeft;
    const int toLeft = std::abs(estimate - left);
    const int toAbove = std::abs(estimate - above);
    const int toAboveLeft = std::abs(estimate - aboveLeft);
    if (toLeft <= toAbove && toLeft <= toAboveLeft) {
        return static_cast<uint8_t>(left);
    }
    return static_cast<uint8_t>(toAbove <= toAboveLeft ? above : aboveLeft);
}

// Four byte-wise sums modulo 256 in one word.
uint32_t AddBytes(uint32_t x, uint32_t y) {
    return ((x & 0x7F7F7F7Fu) + (y & 0x7F7F7F7Fu)) ^ ((x ^ y) & 0x80808080u);
}

// The Sub filter over four-byte pixels: each pixel adds the one to its left, a word at a time.
void UnfilterSubFourBytes(uint8_t* row, size_t length) {
    uint32_t left = 0;
    for (size_t i = 0; i + 4 <= length; i += 4) {
        uint32_t pixel;
        std::memcpy(&pixel, row + i, 4);
        left = AddBytes(pixel, left);
        std::memcpy(row + i, &left, 4);
    }
}

// The Paeth filter over four-byte pixels, one pixel at a time but its four bytes at once. Each byte
// gets the neighbour (left, above, above-left) nearest to left + above - above-left, ties in that order;
// the distances are |above - aboveLeft|, |left - aboveLeft| and |left + above - 2 * aboveLeft|.
void UnfilterPaethFourBytes(uint8_t* row, const uint8_t* prior, size_t length) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const auto load = [&zero](const uint8_t* bytes) {
        int32_t word;
        std::memcpy(&word, bytes, 4);
        return _mm_unpacklo_epi8(_mm_cvtsi32_si128(word), zero);
    };
    const auto distance = [&zero](__m128i value) { return _mm_max_epi16(value, _mm_sub_epi16(zero, value)); };
    __m128i left = zero;
    __m128i aboveLeft = zero;
    for (; i + 4 <= length; i += 4) {
        const __m128i above = load(prior + i);
        const __m128i fromAbove = _mm_sub_epi16(above, aboveLeft);
        const __m128i fromLeft = _mm_sub_epi16(left, aboveLeft);
        const __m128i toLeft = distance(fromAbove);
        const __m128i toAbove = distance(fromLeft);
        const __m128i toAboveLeft = distance(_mm_add_epi16(fromAbove, fromLeft));
        const __m128i nearest = _mm_min_epi16(_mm_min_epi16(toLeft, toAbove), toAboveLeft);
        const __m128i leftWins = _mm_cmpeq_epi16(toLeft, nearest);
        const __m128i aboveWins = _mm_andnot_si128(leftWins, _mm_cmpeq_epi16(toAbove, nearest));
        const __m128i aboveLeftWins = _mm_andnot_si128(_mm_or_si128(leftWins, aboveWins), _mm_set1_epi16(-1));
        const __m128i predictor =
            _mm_or_si128(_mm_or_si128(_mm_and_si128(leftWins, left), _mm_and_si128(aboveWins, above)),
                         _mm_and_si128(aboveLeftWins, aboveLeft));
        left = _mm_and_si128(_mm_add_epi16(load(row + i), predictor), _mm_set1_epi16(0xFF));
        aboveLeft = above;
        const int32_t word = _mm_cvtsi128_si32(_mm_packus_epi16(left, zero));
        std::memcpy(row + i, &word, 4);
    }
#endif
    for (; i < length; ++i) {
        const int left = i >= 4 ? row[i - 4] : 0;
        const int aboveLeft = i >= 4 ? prior[i - 4] : 0;
        row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(left, prior[i], aboveLeft));
    }
}

// Undoes a row's filter in place; `prior` is the unfiltered row above (zeros above the first row) and
// `step` the bytes per pixel. False for an unknown filter.
bool Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t length, size_t step) {
    switch (filter) {
        case kNone:
            return true;
        case kSub:
            if (step == 4) {
                UnfilterSubFourBytes(row, length);
                return true;
            }
            for (size_t i = step; i < length; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + row[i - step]);
            }
            return true;
        case kUp:
            for (size_t i = 0; i < length; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + prior[i]);
            }
            return true;
        case kAverage:
            for (size_t i = 0; i < step; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + (prior[i] >> 1));
            }
            for (size_t i = step; i < length; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + ((row[i - step] + prior[i]) >> 1));
            }
            return true;
        case kPaeth:
            if (step == 4) {
                UnfilterPaethFourBytes(row, prior, length);
                return true;
            }
            for (size_t i = 0; i < step; ++i) {
                row[i] = static_cast<uint8_t>(row[i] + prior[i]);  // nothing to the left: the pixel above
            }
            for (size_t i = step; i < length; ++i) {
                row[i] =
                    static_cast<uint8_t>(row[i] + PaethPredictor(row[i - step], prior[i], prior[i - step]));
            }
            return true;
        default:
            return false;
    }
}

void AddOpaqueAlpha(const uint8_t* rgb, uint8_t* rgba, size_t pixelCount) {
    for (size_t i = 0; i < pixelCount; ++i, rgb += 3, rgba += 4) {
        rgba[0] = rgb[0];
        rgba[1] = rgb[1];
        rgba[2] = rgb[2];
        rgba[3] = 0xFF;
    }
}

}  // namespace

PlainPngResult DecodePlainPng(const uint8_t* data, size_t size, int32_t width, int32_t height, uint32_t mask,
                              uint8_t* bgra, bool& hasAlpha) {
    PlainLayout layout;
    if (data == nullptr || width <= 0 || height <= 0 || !ReadPlainLayout(data, size, width, height, layout)) {
        return PlainPngResult::Declined;
    }
    const size_t pixelsPerRow = static_cast<size_t>(width);
    const size_t stride = pixelsPerRow * layout.channels;
    const size_t rowBytes = stride + 1;  // each row starts with its filter
    const size_t batchRows = std::clamp<size_t>(kBatchBytes / rowBytes, 1, static_cast<size_t>(height));
    // The first row of the buffer holds the row above the batch: zeros above the image's first row.
    std::vector<uint8_t> rows((batchRows + 1) * rowBytes, 0);
    std::vector<uint8_t> withAlpha(layout.channels == 3 ? pixelsPerRow * 4 : 0);
    ImageDataStream stream(layout.imageData);
    bool anyBlended = false;
    for (size_t y = 0; y < static_cast<size_t>(height);) {
        const size_t count = std::min(batchRows, static_cast<size_t>(height) - y);
        uint8_t* batch = rows.data() + rowBytes;
        if (!stream.Fill(batch, count * rowBytes)) {
            return PlainPngResult::Declined;
        }
        for (size_t r = 0; r < count; ++r, ++y) {
            uint8_t* row = batch + r * rowBytes;
            if (!Unfilter(row[0], row + 1, row - rowBytes + 1, stride, layout.channels)) {
                return PlainPngResult::Declined;
            }
            const uint8_t* rgba = row + 1;
            if (layout.channels == 3) {
                AddOpaqueAlpha(row + 1, withAlpha.data(), pixelsPerRow);
                rgba = withAlpha.data();
            }
            anyBlended |= PremultiplyRgbaToBgra(rgba, bgra + y * pixelsPerRow * 4, pixelsPerRow, mask);
        }
        std::memcpy(rows.data(), batch + (count - 1) * rowBytes, rowBytes);
    }
    if (!stream.EndsHere()) {
        return PlainPngResult::Declined;
    }
    hasAlpha = anyBlended;
    return PlainPngResult::Decoded;
}

}  // namespace SkinUI
