#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <vector>

#include "skin/SkinColors.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinImageStb.h"
#include "skin/SkinResources.h"
#include "tests/skin/native/SkinTestFolder.h"
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

TEST(ImageDecoding, PremultipliesColoursAndReordersToBlueGreenRedAlpha) {
    RgbaPixels pixels(4, 1);
    pixels.Set(0, 0, 0xFF102030);  // opaque: copied as it is
    pixels.Set(1, 0, 0x80FF0000);  // half-transparent red
    pixels.Set(2, 0, 0x00FFFFFF);  // fully transparent white
    pixels.Set(3, 0, 0x01FF80FF);  // alpha 1: integer division truncates
    const auto image = Decode(EncodePng(pixels));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(image->PixelAt(0, 0), 0xFF102030u);
    EXPECT_EQ(image->PixelAt(1, 0), 0x80800000u);  // red 255 * 128 / 255 = 128
    EXPECT_EQ(image->PixelAt(2, 0), 0x00000000u);
    EXPECT_EQ(image->PixelAt(3, 0), 0x01010001u);  // 255*1/255 = 1, 128*1/255 = 0
    EXPECT_TRUE(image->hasAlpha);
    const uint8_t* bits = image->Bits();
    EXPECT_EQ(bits[4], 0x00);  // blue first
    EXPECT_EQ(bits[6], 0x80);  // then green, red
    EXPECT_EQ(bits[7], 0x80);  // alpha last
}

TEST(ImageDecoding, PremultipliesEveryColourAtEveryAlphaWithIntegerDivision) {
    RgbaPixels pixels(256, 256);
    for (int32_t alpha = 0; alpha < 256; ++alpha) {
        for (int32_t colour = 0; colour < 256; ++colour) {
            const uint32_t c = static_cast<uint32_t>(colour);
            pixels.Set(colour, alpha, static_cast<uint32_t>(alpha) << 24 | c << 16 | (255 - c) << 8 | c / 2);
        }
    }
    const auto image = Decode(EncodePng(pixels));
    ASSERT_TRUE(image);
    for (uint32_t alpha = 0; alpha < 256; ++alpha) {
        for (uint32_t c = 0; c < 256; ++c) {
            const uint32_t expected = alpha << 24 | (c * alpha / 255) << 16 | ((255 - c) * alpha / 255) << 8 |
                                      (c / 2) * alpha / 255;
            ASSERT_EQ(image->PixelAt(static_cast<int32_t>(c), static_cast<int32_t>(alpha)), expected)
                << "colour " << c << " alpha " << alpha;
        }
    }
}

TEST(ImageDecoding, KeepsRowsTopDown) {
    RgbaPixels pixels(2, 3, 0xFF000000);
    pixels.Set(1, 0, 0xFFFF0000);
    pixels.Set(0, 2, 0xFF0000FF);
    for (const auto& bytes : {EncodePng(pixels), EncodeBmp(pixels)}) {
        const auto image = Decode(bytes);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->PixelAt(1, 0), 0xFFFF0000u);
        EXPECT_EQ(image->PixelAt(0, 2), 0xFF0000FFu);
        EXPECT_EQ(image->PixelAt(0, 0), 0xFF000000u);
    }
}

TEST(ImageDecoding, AnOpaqueImageNeedsNoBlending) {
    const auto image = Decode(EncodePng(RgbaPixels(3, 3, 0xFF445566)));
    ASSERT_TRUE(image);
    EXPECT_FALSE(image->hasAlpha);
}

TEST(ImageDecoding, MaskClearsOpaqueMagentaOnlyWhenItCarriesAlpha) {
    RgbaPixels pixels(2, 1, 0xFFFF00FF);
    pixels.Set(1, 0, 0xFF00FF00);
    const auto masked = Decode(EncodePng(pixels), ParseColorText(L"#ffff00ff"));
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->PixelAt(0, 0), 0u);
    EXPECT_EQ(masked->PixelAt(1, 0), 0xFF00FF00u);
    EXPECT_TRUE(masked->hasAlpha);

    // Six digits give alpha 0: no opaque pixel can match, and nothing is cleared.
    const auto unmasked = Decode(EncodePng(pixels), ParseColorText(L"ff00ff"));
    ASSERT_TRUE(unmasked);
    EXPECT_EQ(unmasked->PixelAt(0, 0), 0xFFFF00FFu);
    EXPECT_FALSE(unmasked->hasAlpha);
}

TEST(ImageDecoding, MaskComparesThePremultipliedPixel) {
    RgbaPixels pixels(1, 1, 0x80FF0000);  // becomes 0x80800000
    EXPECT_EQ(Decode(EncodePng(pixels), 0x80FF0000)->PixelAt(0, 0), 0x80800000u);
    EXPECT_EQ(Decode(EncodePng(pixels), 0x80800000)->PixelAt(0, 0), 0u);
}

TEST(ImageDecoding, RefusesDamagedAndUnknownData) {
    const std::vector<uint8_t> png = EncodePng(RgbaPixels(8, 8, 0xFF00FF00));
    EXPECT_FALSE(Decode(std::vector<uint8_t>(png.begin(), png.begin() + 40)));  // cut inside the data
    EXPECT_FALSE(Decode(std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(Decode(std::vector<uint8_t>{}));
    EXPECT_FALSE(DecodeImageBytes(nullptr, 10, 0));
}

TEST(ImageDecoding, RefusesOversizedImagesFromTheirHeader) {
    EXPECT_TRUE(ImageSizeAllowed(16384, 4096));  // exactly 256 MiB of pixels
    EXPECT_FALSE(ImageSizeAllowed(16384, 4097));
    EXPECT_FALSE(ImageSizeAllowed(16385, 1));
    EXPECT_FALSE(ImageSizeAllowed(1, 16385));
    EXPECT_FALSE(ImageSizeAllowed(0, 10));
    EXPECT_FALSE(ImageSizeAllowed(-5, 10));

    // A header-only file is accepted by the decoder library (it pads with zeros); the sizes beyond the
    // cap must be turned away before anything is allocated for them.
    EXPECT_TRUE(Decode(BmpHeaderOnly(64, 64)));
    EXPECT_FALSE(Decode(BmpHeaderOnly(16384, 4097)));
    EXPECT_FALSE(Decode(BmpHeaderOnly(16385, 1)));
    EXPECT_FALSE(Decode(BmpHeaderOnly(1, -16385)));  // top-down rows, declared by a negative height
}

TEST(ImageDecoding, RefusesTruncatedBmpHeaders) {
    const std::vector<uint8_t> header = BmpHeaderOnly(4, 4);
    for (size_t length = 1; length < 30; ++length) {
        EXPECT_FALSE(Decode(std::vector<uint8_t>(header.begin(), header.begin() + length))) << length;
    }
}

TEST(ImageDecoding, JpegDecodesButHuffmanTablesWithTooManyCodesAreRefused) {
    const std::vector<uint8_t> jpeg = EncodeJpeg(RgbaPixels(16, 8, 0xFF2080C0));
    const auto image = Decode(jpeg);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 16);
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

// A PNG of the given size whose image data is `inflated` zero bytes, deflated with the fewest bytes.
std::vector<uint8_t> PngOfZeros(uint32_t width, uint32_t height, size_t inflated) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto put32 = [&png](uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.push_back(static_cast<uint8_t>(value >> shift));
        }
    };
    const auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        put32(static_cast<uint32_t>(data.size()));
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        put32(0);  // the decoder does not check checksums
    };
    std::vector<uint8_t> header;
    for (const uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            header.push_back(static_cast<uint8_t>(value >> shift));
        }
    }
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit red, green, blue, alpha
    chunk("IHDR", header);
    // zlib stream: one fixed-Huffman block of a literal zero and repeated 258-byte copies of it.
    std::vector<uint8_t> data = {0x78, 0x01};
    uint32_t bits = 0;
    int count = 0;
    const auto putBits = [&](uint32_t value, int length) {
        for (int i = 0; i < length; ++i) {
            bits |= ((value >> i) & 1u) << count;
            if (++count == 8) {
                data.push_back(static_cast<uint8_t>(bits));
                bits = 0;
                count = 0;
            }
        }
    };
    const auto putCode = [&](uint32_t code, int length) {  // Huffman codes go most significant bit first
        for (int i = length - 1; i >= 0; --i) {
            putBits((code >> i) & 1u, 1);
        }
    };
    putBits(1, 1);     // final block
    putBits(1, 2);     // fixed Huffman codes
    putCode(0x30, 8);  // literal 0
    size_t done = 1;
    for (; done + 258 <= inflated; done += 258) {
        putCode(0xC5, 8);  // length 258 (code 285)
        putCode(0, 5);     // distance 1
    }
    for (; done < inflated; ++done) {
        putCode(0x30, 8);
    }
    putCode(0, 7);  // end of block
    if (count > 0) {
        data.push_back(static_cast<uint8_t>(bits));
    }
    data.insert(data.end(), {0, 0, 0, 0});  // adler32, unchecked
    chunk("IDAT", data);
    chunk("IEND", {});
    return png;
}

TEST(ImageDecoding, DataThatInflatesFarBeyondTheImageIsStoppedWhileInflating) {
    // Control: the generator makes images the decoder accepts.
    const auto exact = Decode(PngOfZeros(16, 4, (16 * 4 + 1) * 4));
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->PixelAt(15, 3), 0u);

    const size_t refusedBefore = StbRefusedAllocations();
    EXPECT_FALSE(Decode(PngOfZeros(16, 4, size_t{64} << 20)));  // 64 MiB for a 16x4 image
    EXPECT_GT(StbRefusedAllocations(), refusedBefore);

    // A chunk that claims gigabytes it does not carry is not reserved for either.
    std::vector<uint8_t> png = EncodePng(RgbaPixels(4, 4));
    const std::vector<uint8_t> claim = {0x7F, 0xFF, 0xFF, 0x00, 'I', 'D', 'A', 'T', 1, 2, 3};
    png.insert(png.begin() + 33, claim.begin(), claim.end());  // after the header chunk
    const size_t refusedBeforeClaim = StbRefusedAllocations();
    EXPECT_FALSE(Decode(png));
    EXPECT_GT(StbRefusedAllocations(), refusedBeforeClaim);
}

class ImageFileDecoding : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetResourceSettings();
        SetSkinPath(folder.WithSeparator());
    }
    void TearDown() override { ResetResourceSettings(); }

    skintest::SkinTestFolder folder{L"images"};
};

TEST_F(ImageFileDecoding, ReadsSkinFilesByName) {
    folder.Write(L"bg.png", EncodePng(RgbaPixels(2, 3, 0xFF0000FF)));
    const auto file = DecodeImageFile(L"bg.png", L"", 0);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->width, 2);
    EXPECT_EQ(file->height, 3);
    EXPECT_FALSE(DecodeImageFile(L"missing.png", L"", 0));
}

TEST_F(ImageFileDecoding, NameWithoutSkinFileIsTriedAsAPathOfItsOwn) {
    skintest::SkinTestFolder elsewhere{L"elsewhere"};
    elsewhere.Write(L"own.png", EncodePng(RgbaPixels(5, 2, 0xFF123456)));
    const std::wstring path = (elsewhere.Path() / L"own.png").wstring();
    const auto image = DecodeImageFile(path, L"", 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 5);
    // Also when the name was meant as a module resource that does not exist.
    EXPECT_TRUE(DecodeImageFile(path, L"PNG", 0));
}

TEST_F(ImageFileDecoding, SkinFileThatDoesNotDecodeGivesNoImage) {
    folder.Write(L"broken.png", std::vector<uint8_t>{1, 2, 3, 4});
    folder.Write(L"empty.png", std::vector<uint8_t>{});
    EXPECT_FALSE(DecodeImageFile(L"broken.png", L"", 0));
    EXPECT_FALSE(DecodeImageFile(L"empty.png", L"", 0));
}

// Every image of the shipped skins decodes as the engine builds it.
TEST(ShippedSkinImages, EveryImageDecodes) {
    int32_t images = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TOLVANE_SKIN_SOURCE_DIR)) {
        if (entry.path().extension() != ".png") {
            continue;
        }
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
        const auto image = Decode(bytes);
        ASSERT_TRUE(image) << entry.path();
        EXPECT_GT(image->width, 0) << entry.path();
        ++images;
    }
    EXPECT_GT(images, 10);
}

TEST(ColorText, OptionalHashThenHexadecimalAsFarAsItGoes) {
    EXPECT_EQ(ParseColorText(L"#ffffff"), 0x00FFFFFFu);
    EXPECT_EQ(ParseColorText(L"#FF000000"), 0xFF000000u);
    EXPECT_EQ(ParseColorText(L"FFA7A6AA"), 0xFFA7A6AAu);
    EXPECT_EQ(ParseColorText(L"#ff00zz"), 0x0000FF00u);
    EXPECT_EQ(ParseColorText(L"#"), 0u);
    EXPECT_EQ(ParseColorText(L"red"), 0u);
    EXPECT_EQ(ParseColorText(nullptr), 0u);
}

TEST(ColorText, PremultipliedPixelOfAColour) {
    EXPECT_EQ(PremultipliedPixel(0x80FF0000), 0x80800000u);
    EXPECT_EQ(PremultipliedPixel(0xFF123456), 0xFF123456u);
    EXPECT_EQ(PremultipliedPixel(0x00FFFFFF), 0u);
}

}  // namespace
}  // namespace SkinUI
