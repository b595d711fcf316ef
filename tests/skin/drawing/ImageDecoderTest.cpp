#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "skin/drawing/ImageDecoder.h"
#include "skin/drawing/ImageStb.h"
#include "skin/markup/Colors.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::EncodeBmp;
using testsupport::EncodeJpeg;
using testsupport::EncodePng;
using testsupport::RgbaPixels;

std::unique_ptr<SkinImageInfo> Decode(const std::vector<uint8_t>& bytes, uint32_t mask = 0) {
    return DecodeImageBytes(bytes.data(), bytes.size(), mask);
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// A 54-byte BMP header declaring a 32-bit image of the given size, with no pixel data behind it: the
// decoder library reads missing bytes as zeros, so only a size check stops it from allocating.
std::vector<uint8_t> BmpHeaderOnly(int32_t width, int32_t height) {
    std::vector<uint8_t> header(54, 0);
    const auto put32 = [&header](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            header[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    header[0] = 'B';
    header[1] = 'M';
    put32(10, 54);  // pixel data offset
    put32(14, 40);  // info header size
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    header[26] = 1;   // planes
    header[28] = 32;  // bits per pixel
    return header;
}

// A 16x4 PNG whose image data inflates to `inflated` zero bytes (the decoder checks no checksums).
std::vector<uint8_t> PngOfZeros(size_t inflated) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto chunk = [&png](const char* type, const std::vector<uint8_t>& data) {
        PutBigEndian(png, static_cast<uint32_t>(data.size()));
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        PutBigEndian(png, 0);
    };
    std::vector<uint8_t> header;
    PutBigEndian(header, 16);
    PutBigEndian(header, 4);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit red, green, blue, alpha
    chunk("IHDR", header);
    const std::vector<uint8_t> zeros(inflated, 0);
    uLongf packedSize = compressBound(static_cast<uLong>(inflated));
    std::vector<uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, zeros.data(), static_cast<uLong>(inflated), 9);
    packed.resize(packedSize);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return png;
}

TEST(ImageDecoding, PremultipliesWithIntegerDivisionIntoBlueGreenRedAlphaTopDown) {
    RgbaPixels pixels(4, 2, 0xFF000000);
    pixels.Set(0, 0, 0xFF102030);  // opaque: copied as it is
    pixels.Set(1, 0, 0x80FF0000);  // half-transparent red
    pixels.Set(2, 0, 0x00FFFFFF);  // fully transparent white
    pixels.Set(3, 0, 0x01FF80FF);  // alpha 1: integer division truncates
    pixels.Set(0, 1, 0xFF0000FF);
    const auto image = Decode(EncodePng(pixels));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->PixelAt(0, 0), 0xFF102030u);
    EXPECT_EQ(image->PixelAt(1, 0), 0x80800000u);  // red 255 * 128 / 255 = 128
    EXPECT_EQ(image->PixelAt(2, 0), 0x00000000u);
    EXPECT_EQ(image->PixelAt(3, 0), 0x01010001u);  // 255*1/255 = 1, 128*1/255 = 0
    EXPECT_EQ(image->PixelAt(0, 1), 0xFF0000FFu);
    EXPECT_TRUE(image->hasAlpha);
    const uint8_t* bits = image->Bits();
    EXPECT_EQ(bits[4], 0x00);  // blue first
    EXPECT_EQ(bits[6], 0x80);  // then green, red
    EXPECT_EQ(bits[7], 0x80);  // alpha last

    // Bitmaps are stored bottom-up; the decoded image is top-down all the same.
    RgbaPixels opaque(2, 3, 0xFF000000);
    opaque.Set(1, 0, 0xFFFF0000);
    opaque.Set(0, 2, 0xFF0000FF);
    const auto bitmap = Decode(EncodeBmp(opaque));
    ASSERT_TRUE(bitmap);
    EXPECT_FALSE(bitmap->hasAlpha);
    EXPECT_EQ(bitmap->PixelAt(1, 0), 0xFFFF0000u);
    EXPECT_EQ(bitmap->PixelAt(0, 2), 0xFF0000FFu);
}

TEST(ImageDecoding, MaskClearsTheMatchingPremultipliedPixelOnlyWhenItCarriesAlpha) {
    RgbaPixels pixels(2, 1, 0xFFFF00FF);
    pixels.Set(1, 0, 0xFF00FF00);
    const auto masked = Decode(EncodePng(pixels), ParseColorText(L"#ffff00ff"));
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->PixelAt(0, 0), 0u);
    EXPECT_EQ(masked->PixelAt(1, 0), 0xFF00FF00u);
    EXPECT_TRUE(masked->hasAlpha);
    // Six digits give alpha 0: no opaque pixel can match, and nothing is cleared.
    const auto unmasked = Decode(EncodePng(pixels), ParseColorText(L"ff00ff"));
    EXPECT_EQ(unmasked->PixelAt(0, 0), 0xFFFF00FFu);
    EXPECT_FALSE(unmasked->hasAlpha);

    const RgbaPixels half(1, 1, 0x80FF0000);  // becomes 0x80800000
    EXPECT_EQ(Decode(EncodePng(half), 0x80FF0000)->PixelAt(0, 0), 0x80800000u);
    EXPECT_EQ(Decode(EncodePng(half), 0x80800000)->PixelAt(0, 0), 0u);
}

TEST(ImageDecoding, RefusesDamagedUnknownAndOversizedData) {
    const std::vector<uint8_t> png = EncodePng(RgbaPixels(8, 8, 0xFF00FF00));
    EXPECT_FALSE(Decode(std::vector<uint8_t>(png.begin(), png.begin() + 40)));  // cut inside the data
    EXPECT_FALSE(Decode(std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(DecodeImageBytes(nullptr, 10, 0));
    const std::vector<uint8_t> header = BmpHeaderOnly(4, 4);
    for (size_t length = 0; length < 30; ++length) {
        EXPECT_FALSE(Decode(std::vector<uint8_t>(header.begin(), header.begin() + length))) << length;
    }

    EXPECT_TRUE(ImageSizeAllowed(16384, 4096));  // exactly 256 MiB of pixels
    EXPECT_FALSE(ImageSizeAllowed(16384, 4097));
    EXPECT_FALSE(ImageSizeAllowed(16385, 1));
    EXPECT_FALSE(ImageSizeAllowed(0, 10));
    // A header-only file is accepted by the decoder library (it pads with zeros); the sizes beyond the
    // cap must be turned away before anything is allocated for them.
    EXPECT_TRUE(Decode(BmpHeaderOnly(64, 64)));
    EXPECT_FALSE(Decode(BmpHeaderOnly(16384, 4097)));
    EXPECT_FALSE(Decode(BmpHeaderOnly(1, -16385)));  // top-down rows, declared by a negative height
}

TEST(ImageDecoding, JpegDecodesButHuffmanTablesWithTooManyCodesAreRefused) {
    const std::vector<uint8_t> jpeg = EncodeJpeg(RgbaPixels(16, 8, 0xFF2080C0));
    const auto image = Decode(jpeg);
    ASSERT_TRUE(image);
    EXPECT_FALSE(image->hasAlpha);
    EXPECT_NEAR(static_cast<int>(image->PixelAt(3, 3) & 0xFF), 0xC0, 4);

    // A table definition claiming 16 x 255 codes: the decoder library would write them past its table.
    std::vector<uint8_t> hostile = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x13, 0x00};
    hostile.insert(hostile.end(), 16, 0xFF);
    hostile.insert(hostile.end(), {0xFF, 0xD9});
    EXPECT_FALSE(Decode(hostile));
    // The same bytes hidden after the image data count too.
    std::vector<uint8_t> appended = jpeg;
    appended.insert(appended.end(), hostile.begin() + 2, hostile.end());
    EXPECT_FALSE(Decode(appended));
    // Bytes that only look like a marker in other formats are not examined.
    std::vector<uint8_t> png = EncodePng(RgbaPixels(2, 2));
    png.insert(png.end(), hostile.begin(), hostile.end());
    EXPECT_TRUE(Decode(png));
}

TEST(ImageDecoding, DataThatInflatesFarBeyondTheImageIsStoppedWhileInflating) {
    ASSERT_TRUE(Decode(PngOfZeros((16 * 4 + 1) * 4)));  // the generator makes images the decoder accepts
    const size_t refusedBefore = StbRefusedAllocations();
    EXPECT_FALSE(Decode(PngOfZeros(size_t{16} << 20)));
    EXPECT_GT(StbRefusedAllocations(), refusedBefore);

    // A chunk that claims gigabytes it does not carry is not reserved for either.
    std::vector<uint8_t> png = EncodePng(RgbaPixels(4, 4));
    const std::vector<uint8_t> claim = {0x7F, 0xFF, 0xFF, 0x00, 'I', 'D', 'A', 'T', 1, 2, 3};
    png.insert(png.begin() + 33, claim.begin(), claim.end());  // after the header chunk
    const size_t refusedBeforeClaim = StbRefusedAllocations();
    EXPECT_FALSE(Decode(png));
    EXPECT_GT(StbRefusedAllocations(), refusedBeforeClaim);
}

TEST(ImageDecoding, EveryImageOfTheShippedSkinsDecodes) {
    int32_t images = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TOLVANE_SKIN_SOURCE_DIR)) {
        if (entry.path().extension() == ".png") {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                             std::istreambuf_iterator<char>());
            EXPECT_TRUE(Decode(bytes)) << entry.path();
            ++images;
        }
    }
    EXPECT_GT(images, 10);
}

TEST(ColorText, OptionalHashThenHexadecimalAsFarAsItGoes) {
    EXPECT_EQ(ParseColorText(L"#ffffff"), 0x00FFFFFFu);
    EXPECT_EQ(ParseColorText(L"FFA7A6AA"), 0xFFA7A6AAu);
    EXPECT_EQ(ParseColorText(L"#ff00zz"), 0x0000FF00u);
    EXPECT_EQ(ParseColorText(L"red"), 0u);
    EXPECT_EQ(ParseColorText(nullptr), 0u);
    EXPECT_EQ(PremultipliedPixel(0x80FF0000), 0x80800000u);
    EXPECT_EQ(PremultipliedPixel(0x00FFFFFF), 0u);
}

}  // namespace
}  // namespace SkinUI
