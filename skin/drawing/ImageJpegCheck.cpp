#include "skin/drawing/ImageJpegCheck.h"

namespace SkinUI {
namespace {

constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kDefineHuffmanTables = 0xC4;
constexpr int32_t kMaxCodesPerTable = 256;

// Reads like the decoder: past the end of the data every byte is 0.
class ZeroPaddedReader {
  public:
    ZeroPaddedReader(const uint8_t* data, size_t size, size_t position)
        : data_(data), size_(size), at_(position) {}
    int32_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int32_t Word() {
        const int32_t high = Byte();
        return high << 8 | Byte();
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_;
};

// One table definition segment starting after its marker; false when a table has too many codes.
bool SegmentFits(const uint8_t* data, size_t size, size_t position) {
    ZeroPaddedReader reader(data, size, position);
    int32_t remaining = reader.Word() - 2;
    while (remaining > 0) {
        const int32_t classAndId = reader.Byte();
        if ((classAndId >> 4) > 1 || (classAndId & 15) > 3) {
            return true;  // the decoder stops here with an error of its own
        }
        int32_t codes = 0;
        for (int i = 0; i < 16; ++i) {
            codes += reader.Byte();
        }
        if (codes > kMaxCodesPerTable) {
            return false;
        }
        for (int32_t i = 0; i < codes; ++i) {
            reader.Byte();
        }
        remaining -= 17 + codes;
    }
    return true;
}

}  // namespace

bool JpegHuffmanTablesFit(const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0 || data[0] != kMarkerPrefix) {
        return true;
    }
    for (size_t i = 0; i + 1 < size; ++i) {
        if (data[i] == kMarkerPrefix && data[i + 1] == kDefineHuffmanTables &&
            !SegmentFits(data, size, i + 2)) {
            return false;
        }
    }
    return true;
}

}  // namespace SkinUI
