// The direct path for plain PNGs: every file it takes comes out exactly as the general decoder makes it,
// and every other file, damaged ones included, is left to the general decoder.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "skin/drawing/ImageDecoder.h"
#include "skin/drawing/PngDecoder.h"
#include "skin/drawing/Premultiply.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::AppendPngChunk;
using testsupport::EncodePngRows;
using testsupport::kPngSignature;
using testsupport::PutBigEndian;
using testsupport::ZlibCompress;

constexpr uint32_t kMask = 0xFFFF00FF;

struct Decoded {
    bool ok = false;
    std::vector<uint8_t> bgra;
    bool hasAlpha = false;
};

// What the general decoder alone makes of the bytes.
Decoded GeneralDecoder(const std::vector<uint8_t>& png) {
    Decoded out;
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgba =
        stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 4);
    if (rgba == nullptr) {
        return out;
    }
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    out.bgra.resize(count * 4);
    out.hasAlpha = PremultiplyRgbaToBgra(rgba, out.bgra.data(), count, kMask);
    out.ok = true;
    stbi_image_free(rgba);
    return out;
}

PlainPngResult DirectPath(const std::vector<uint8_t>& png, int32_t width, int32_t height, Decoded& out) {
    out.bgra.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    const PlainPngResult result =
        DecodePlainPng(png.data(), png.size(), width, height, kMask, out.bgra.data(), out.hasAlpha);
    out.ok = result == PlainPngResult::Decoded;
    return result;
}

// The engine's answer, whichever path it took, must be the general decoder's.
void ExpectGeneralDecodersAnswer(const std::vector<uint8_t>& png, const std::string& what) {
    const Decoded expected = GeneralDecoder(png);
    const auto image = DecodeImageBytes(png.data(), png.size(), kMask);
    ASSERT_EQ(image != nullptr, expected.ok) << what;
    if (image) {
        EXPECT_EQ(std::vector<uint8_t>(image->Bits(), image->Bits() + expected.bgra.size()), expected.bgra)
            << what;
        EXPECT_EQ(image->hasAlpha, expected.hasAlpha) << what;
    }
}

// Gradients, noise and steps of alpha, so that every filter has something to predict; one pixel in
// each image has the mask colour.
std::vector<uint8_t> Picture(int32_t width, int32_t height, int channels) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * channels);
    uint32_t noise = 12345;
    for (size_t i = 0; i < pixels.size(); ++i) {
        noise = noise * 1103515245u + 12345u;
        const size_t pixel = i / channels;
        const size_t channel = i % channels;
        const size_t x = pixel % width;
        const size_t y = pixel / width;
        pixels[i] = channel == 3 ? static_cast<uint8_t>((x / 3 + y) % 4 == 0 ? 255 : (x * 37 + y * 11) & 0xFF)
                                 : static_cast<uint8_t>(x * 3 + y * (channel + 1) + ((noise >> 16) & 7));
    }
    const uint8_t maskPixel[4] = {0xFF, 0x00, 0xFF, 0xFF};
    std::copy(maskPixel, maskPixel + channels, pixels.begin());
    return pixels;
}

// A 4x3 truecolour file made chunk by chunk from raw (filter byte first) rows; `between` goes after
// the header, `header` patches the header's bytes 8 to 12 (depth, colour type, methods, interlace).
struct Crafted {
    std::vector<uint8_t> raw;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> between;
    std::vector<uint8_t> header = {8, 2, 0, 0, 0};
    bool end = true;
    bool splitData = false;      // two data chunks with another chunk between them
    bool breakChecksum = false;  // the stream's closing checksum altered
    size_t cutData = 0;          // bytes taken off the end of the stream
    int streamFlags = -1;        // replaces the stream header's second byte
};
constexpr int32_t kCraftedWidth = 4;
constexpr int32_t kCraftedHeight = 3;

std::vector<uint8_t> PlainRows() {
    std::vector<uint8_t> raw;
    for (int32_t y = 0; y < kCraftedHeight; ++y) {
        raw.push_back(static_cast<uint8_t>(y));  // none, sub, up
        for (int32_t i = 0; i < kCraftedWidth * 3; ++i) {
            raw.push_back(static_cast<uint8_t>(i * 17 + y));
        }
    }
    return raw;
}

Crafted PlainFile() {
    Crafted crafted;
    crafted.raw = PlainRows();
    return crafted;
}

std::vector<uint8_t> Build(const Crafted& crafted) {
    std::vector<uint8_t> png = kPngSignature;
    std::vector<uint8_t> header;
    PutBigEndian(header, kCraftedWidth);
    PutBigEndian(header, kCraftedHeight);
    header.insert(header.end(), crafted.header.begin(), crafted.header.end());
    AppendPngChunk(png, "IHDR", header);
    for (const auto& [type, data] : crafted.between) {
        AppendPngChunk(png, type.c_str(), data);
    }
    std::vector<uint8_t> packed = ZlibCompress(crafted.raw);
    packed.back() = static_cast<uint8_t>(packed.back() ^ (crafted.breakChecksum ? 0x55 : 0));
    packed.resize(packed.size() - crafted.cutData);
    if (crafted.streamFlags >= 0) {
        packed[1] = static_cast<uint8_t>(crafted.streamFlags);
    }
    if (crafted.splitData) {
        const auto half = packed.begin() + static_cast<std::ptrdiff_t>(packed.size() / 2);
        AppendPngChunk(png, "IDAT", std::vector<uint8_t>(packed.begin(), half));
        AppendPngChunk(png, "teXt", {'a', 0, 'b'});
        packed.erase(packed.begin(), half);
    }
    AppendPngChunk(png, "IDAT", packed);
    if (crafted.end) {
        AppendPngChunk(png, "IEND", {});
    }
    return png;
}

TEST(PlainPng, GivesTheGeneralDecodersPixelsForEveryFilterBothColourTypesAndAnyRowLength) {
    struct Size {
        int32_t width;
        int32_t height;
    };
    // One pixel; rows shorter than a filter step; many rows per inflated batch and several batches;
    // rows longer than a batch.
    const Size sizes[] = {{1, 1}, {7, 5}, {300, 130}, {16384, 3}};
    for (const int channels : {3, 4}) {
        for (const Size size : sizes) {
            const std::vector<uint8_t> pixels = Picture(size.width, size.height, channels);
            for (int filter = -1; filter <= 4; ++filter) {
                const std::string what = std::to_string(channels) + " channels, " +
                                         std::to_string(size.width) + "x" + std::to_string(size.height) +
                                         ", filter " + std::to_string(filter);
                const std::vector<uint8_t> png =
                    EncodePngRows(pixels, size.width, size.height, channels, filter);
                Decoded direct;
                ASSERT_EQ(DirectPath(png, size.width, size.height, direct), PlainPngResult::Decoded) << what;
                const Decoded expected = GeneralDecoder(png);
                ASSERT_TRUE(expected.ok) << what;
                EXPECT_EQ(direct.bgra, expected.bgra) << what;
                EXPECT_EQ(direct.hasAlpha, expected.hasAlpha) << what;
                EXPECT_EQ(direct.hasAlpha, true) << what;  // the mask pixel, and alpha in four channels
            }
        }
    }
}

TEST(PlainPng, EveryShippedSkinImageTakesTheDirectPath) {
    int32_t images = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TOLVANE_SKIN_SOURCE_DIR)) {
        if (entry.path().extension() != ".png") {
            continue;
        }
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<uint8_t> png((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
        int width = 0;
        int height = 0;
        int channels = 0;
        ASSERT_TRUE(
            stbi_info_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels));
        Decoded direct;
        EXPECT_EQ(DirectPath(png, width, height, direct), PlainPngResult::Decoded) << entry.path();
        const Decoded expected = GeneralDecoder(png);
        EXPECT_EQ(direct.bgra, expected.bgra) << entry.path();
        EXPECT_EQ(direct.hasAlpha, expected.hasAlpha) << entry.path();
        ++images;
    }
    EXPECT_GT(images, 10);
}

TEST(PlainPng, OtherAndDamagedFilesAreLeftToTheGeneralDecoder) {
    Decoded plain;
    ASSERT_EQ(DirectPath(Build(PlainFile()), kCraftedWidth, kCraftedHeight, plain), PlainPngResult::Decoded);

    struct Case {
        std::string what;
        Crafted crafted;
    };
    std::vector<Case> cases;
    const auto add = [&cases](const std::string& what, const std::function<void(Crafted&)>& change) {
        Crafted crafted = PlainFile();
        change(crafted);
        cases.push_back(Case{what, crafted});
    };
    // The colour of the first pixel as a transparency key: the general decoder makes it transparent.
    const auto keyed = [](Crafted& c) { c.between.push_back({"tRNS", {0, 0, 0, 17, 0, 34}}); };
    add("transparency key", keyed);
    add("palette", [](Crafted& c) { c.between.push_back({"PLTE", {1, 2, 3}}); });
    add("unknown critical chunk", [](Crafted& c) { c.between.push_back({"ABCD", {1}}); });
    add("second header", [](Crafted& c) {
        c.between.push_back({"IHDR", {0, 0, 0, 4, 0, 0, 0, 3, 8, 2, 0, 0, 0}});
    });
    add("16 bits per channel", [](Crafted& c) { c.header[0] = 16; });
    add("grey", [](Crafted& c) { c.header[1] = 0; });
    add("interlaced", [](Crafted& c) { c.header[4] = 1; });
    add("unknown filter", [](Crafted& c) { c.raw[0] = 5; });
    add("a row short", [](Crafted& c) { c.raw.resize(c.raw.size() - 13); });
    add("a byte too many", [](Crafted& c) { c.raw.push_back(0); });
    add("no end chunk", [](Crafted& c) { c.end = false; });
    add("stream cut short", [](Crafted& c) { c.cutData = 6; });
    add("preset dictionary", [](Crafted& c) { c.streamFlags = 0x20; });  // a valid header otherwise
    add("stream header check", [](Crafted& c) { c.streamFlags = 0x01 ^ 0x02; });
    for (const Case& item : cases) {
        const std::vector<uint8_t> png = Build(item.crafted);
        Decoded direct;
        EXPECT_EQ(DirectPath(png, kCraftedWidth, kCraftedHeight, direct), PlainPngResult::Declined)
            << item.what;
        ExpectGeneralDecodersAnswer(png, item.what);
    }

    Crafted key = PlainFile();
    keyed(key);
    EXPECT_EQ(GeneralDecoder(Build(key)).bgra[3], 0);  // the keyed pixel became transparent

    // Chunks it does not know but may skip, image data split over chunks and the stream's closing
    // checksum (which neither path examines) change nothing.
    Crafted split = PlainFile();
    split.splitData = true;
    split.between.push_back({"zzZz", {1, 2}});
    Crafted badChecksum = PlainFile();
    badChecksum.breakChecksum = true;
    for (const Crafted& crafted : {split, badChecksum}) {
        const std::vector<uint8_t> png = Build(crafted);
        Decoded direct;
        EXPECT_EQ(DirectPath(png, kCraftedWidth, kCraftedHeight, direct), PlainPngResult::Decoded);
        const Decoded expected = GeneralDecoder(png);
        ASSERT_TRUE(expected.ok);
        EXPECT_EQ(direct.bgra, expected.bgra);
    }
}

}  // namespace
}  // namespace SkinUI
