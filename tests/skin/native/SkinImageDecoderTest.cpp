#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "skin/SkinColors.h"
#include "skin/SkinImageDecoder.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::EncodeBmp;
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

class ImageFileDecoding : public ::testing::Test {
  protected:
    void TearDown() override { testsupport::ClearFakeSkinFiles(); }
};

TEST_F(ImageFileDecoding, ReadsSkinFilesAndModuleResourcesByType) {
    testsupport::SetFakeSkinFile(L"bg.png", L"", EncodePng(RgbaPixels(2, 2, 0xFF0000FF)));
    testsupport::SetFakeSkinFile(L"120", L"PNG", EncodePng(RgbaPixels(3, 1, 0xFFFFFFFF)));
    const auto file = DecodeImageFile(L"bg.png", L"", 0);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->width, 2);
    const auto resource = DecodeImageFile(L"120", L"PNG", 0);
    ASSERT_TRUE(resource);
    EXPECT_EQ(resource->width, 3);
    EXPECT_FALSE(DecodeImageFile(L"120", L"", 0));
}

TEST_F(ImageFileDecoding, NameWithoutSkinFileIsTriedAsAPathOfItsOwn) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tolvane-skin-image-test.png";
    const std::vector<uint8_t> png = EncodePng(RgbaPixels(5, 2, 0xFF123456));
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    }
    const auto image = DecodeImageFile(path.wstring(), L"", 0);
    std::filesystem::remove(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 5);
    EXPECT_EQ(testsupport::FakeSkinFileLoads(), 1);  // the skin file came first
    EXPECT_FALSE(DecodeImageFile(path.wstring(), L"", 0));
}

TEST_F(ImageFileDecoding, SkinFileThatDoesNotDecodeGivesNoImage) {
    testsupport::SetFakeSkinFile(L"broken.png", L"", std::vector<uint8_t>{1, 2, 3, 4});
    EXPECT_FALSE(DecodeImageFile(L"broken.png", L"", 0));
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
