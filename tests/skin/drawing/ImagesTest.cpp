// Images: decoding with its limits on hostile files, the image descriptor's grammar and bounds, and the
// resource tables' image and font records.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "skin/drawing/ImageDecoder.h"
#include "skin/drawing/ImageDescriptor.h"
#include "skin/drawing/ImageFile.h"
#include "skin/drawing/ImageStb.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/markup/Colors.h"
#include "skin/resources/Resources.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/support/skin/FixedFontEngine.h"
#include "tests/support/skin/RecordingCanvas.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::AppendPngChunk;
using testsupport::EncodeBmp;
using testsupport::EncodeJpeg;
using testsupport::EncodePng;
using testsupport::kPngSignature;
using testsupport::PutBigEndian;
using testsupport::RgbaPixels;
using testsupport::ZlibCompress;

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

// A 16x4 PNG whose image data inflates to `inflated` zero bytes (the decoder checks no checksums).
std::vector<uint8_t> PngOfZeros(size_t inflated) {
    std::vector<uint8_t> png = kPngSignature;
    std::vector<uint8_t> header;
    PutBigEndian(header, 16);
    PutBigEndian(header, 4);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit red, green, blue, alpha
    AppendPngChunk(png, "IHDR", header);
    AppendPngChunk(png, "IDAT", ZlibCompress(std::vector<uint8_t>(inflated, 0)));
    AppendPngChunk(png, "IEND", {});
    return png;
}

TEST(ImageDecoding, PremultipliesWithIntegerDivisionIntoBlueGreenRedAlphaTopDown) {
    RgbaPixels pixels(4, 2, 0xFF000000);
    pixels.Set(0, 0, 0xFF102030);  // opaque: copied as it is
    pixels.Set(1, 0, 0x80FF0000);  // half-transparent red
    pixels.Set(3, 0, 0x01FF80FF);  // alpha 1: integer division truncates
    const auto image = Decode(EncodePng(pixels));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->PixelAt(0, 0), 0xFF102030u);
    EXPECT_EQ(image->PixelAt(1, 0), 0x80800000u);  // red 255 * 128 / 255 = 128
    EXPECT_EQ(image->PixelAt(3, 0), 0x01010001u);  // 255*1/255 = 1, 128*1/255 = 0
    EXPECT_TRUE(image->hasAlpha);
    EXPECT_EQ(image->Bits()[6], 0x80);  // blue, green, red, alpha

    // Bitmaps are stored bottom-up; the decoded image is top-down all the same.
    RgbaPixels opaque(2, 3, 0xFF000000);
    opaque.Set(0, 2, 0xFF0000FF);
    const auto bitmap = Decode(EncodeBmp(opaque));
    ASSERT_TRUE(bitmap);
    EXPECT_FALSE(bitmap->hasAlpha);
    EXPECT_EQ(bitmap->PixelAt(0, 2), 0xFF0000FFu);
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
    EXPECT_FALSE(ImageSizeAllowed(16385, 1));
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

using testsupport::CanvasOp;

TEST(DescriptorGrammar, BadQuotingStopsParsingAndKeepsWhatWasRead) {
    struct Case {
        const wchar_t* text;
        const wchar_t* name;
        uint8_t fade;
    };
    const Case cases[] = {
        {L"file='a.png' fade='9' source='1,1,2,2", L"a.png", 9},        // value never closed: not applied
        {L"file=\"a.png\" fade='9'", L"file=\"a.png\" fade='9'", 255},  // wrong quote: nothing read
        {L"fade='9' file", L"fade='9' file", 9},                        // key without "="
        {L"fade='9',file='a.png'", L"fade='9',file='a.png'", 9},        // pairs must be separated by a blank
        {L"file='a.png'  fade='9'", L"a.png", 9},                       // further blanks are skipped
        {L"file='' fade='9'", L"file='' fade='9'", 9},                  // empty values are not applied
        {L"fade='300'", L"fade='300'", 255},                            // fade is limited to a byte
        {L"fade='-4'", L"fade='-4'", 0},
    };
    for (const Case& c : cases) {
        const ImageDescriptorKeys keys = ParseImageDescriptor(c.text);
        EXPECT_EQ(keys.imageName, c.name) << c.text;
        EXPECT_EQ(keys.fade, c.fade) << c.text;
    }
}

// A skin folder holding one image, and the resource tables of a window.
class SkinImages : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetResourceSettings();
        SetSkinPath(folder.WithSeparator());
        folder.Write(L"btn.png", EncodePng(RgbaPixels(40, 20, 0xFF336699)));
    }
    void TearDown() override { ResetResourceSettings(); }

    skintest::SkinTestFolder folder{L"images"};
    testsupport::FixedFontEngine engine;
    SkinSharedResources shared;
    CSkinResourceTables tables{engine, shared};
    testsupport::RecordingCanvas canvas;
    const SkinRect item{100, 50, 200, 90};
};

TEST_F(SkinImages, FileNameAloneStretchesTheWholeImageOverTheItem) {
    SkinImageDescriptor descriptor(L"btn.png");
    EXPECT_TRUE(DrawImageDescriptor(canvas, tables, item, item, descriptor));
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].rect, item);
    EXPECT_EQ(canvas.calls[0].source, (SkinRect{0, 0, 40, 20}));

    // A replaced image is looked up again instead of drawn from freed pixels.
    folder.Write(L"btn.png", EncodePng(RgbaPixels(10, 10, 0xFF000000)));
    tables.RegisterImage(L"btn.png", L"", 0, false, false);
    EXPECT_FALSE(descriptor.IsResolved());
    ASSERT_TRUE(DrawImageDescriptor(canvas, tables, item, item, descriptor));
    EXPECT_EQ(canvas.calls.back().source, (SkinRect{0, 0, 10, 10}));
    EXPECT_EQ(canvas.calls.back().image, tables.FindImage(L"btn.png").get());
}

TEST_F(SkinImages, DestinationAndSourceAreLimitedToTheItemAndTheImage) {
    struct Case {
        const wchar_t* text;
        SkinRect paint;
        bool draws;
        SkinRect dest;
        SkinRect source;
    };
    const Case cases[] = {
        {L"file='btn.png' dest='10,5,300,250'", item, true, {110, 55, 200, 90}, {0, 0, 40, 20}},
        {L"file='btn.png' source='20,10,400,400'", item, true, item, {20, 10, 40, 20}},
        {L"file='btn.png' source='-5,-5,10,10'", item, true, item, {0, 0, 10, 10}},
        {L"file='btn.png' source='50,0,60,20'", item, false, {}, {}},  // starts past the right edge
        {L"file='btn.png' dest='200,0,300,10'", item, false, {}, {}},  // outside the item
        {L"btn.png", SkinRect{0, 0, 50, 50}, false, {}, {}},           // outside the paint rectangle
    };
    for (const Case& c : cases) {
        SkinImageDescriptor descriptor(c.text);
        canvas.calls.clear();
        EXPECT_TRUE(DrawImageDescriptor(canvas, tables, item, c.paint, descriptor)) << c.text;
        ASSERT_EQ(canvas.calls.size(), c.draws ? 1u : 0u) << c.text;
        if (c.draws) {
            EXPECT_EQ(canvas.calls[0].rect, c.dest) << c.text;
            EXPECT_EQ(canvas.calls[0].source, c.source) << c.text;
        }
    }
}

TEST_F(SkinImages, RegisterKeepsTheLoadFlagsAndRefusesWhatCannotBeLoaded) {
    const auto image = tables.RegisterImage(L"btn.png", L"", 0xFF336699, true, false);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->mask, 0xFF336699u);
    EXPECT_EQ(image->PixelAt(0, 0), 0u);  // masked when decoded
    EXPECT_EQ(tables.FindImage(L"btn.png"), image);
    EXPECT_FALSE(shared.images.Find(L"btn.png"));

    EXPECT_FALSE(tables.RegisterImage(L"", L"", 0, false, false));
    EXPECT_FALSE(tables.RegisterImage(L"missing.png", L"", 0, false, false));
    folder.Write(L"broken.png", std::string("not an image"));
    EXPECT_FALSE(tables.RegisterImage(L"broken.png", L"", 0, false, false));
    // A name that is no skin file is decoded as a path of its own, also when it was meant as a module
    // resource that does not exist; but with a type the tables take only names that spell a resource id.
    const std::wstring path = (folder.Path() / L"btn.png").wstring();
    ASSERT_TRUE(DecodeImageFile(path, L"", 0));
    ASSERT_TRUE(DecodeImageFile(path, L"PNG", 0));
    EXPECT_FALSE(tables.RegisterImage(path, L"PNG", 0, false, false));
}

TEST_F(SkinImages, FontsStartFromTheSystemFont) {
    const SkinFontHandle bold = tables.RegisterFont(1, L"A face name longer than thirty-one characters", 14,
                                                    true, true, false, false);
    ASSERT_NE(bold, nullptr);
    const SkinFontDescription& made = testsupport::FixedFontEngine::DescriptionOf(bold);
    EXPECT_EQ(made.weight, 400 + 700);
    EXPECT_EQ(made.height, -14);
    EXPECT_EQ(made.faceName, L"A face name longer than thirty-");
    EXPECT_TRUE(made.underline);
    EXPECT_EQ(tables.FontRecordById(1)->metrics.height, 16);

    engine.refuseFonts = true;  // fonts the platform refuses are not recorded
    EXPECT_EQ(tables.RegisterFont(2, L"Nope", 12, false, false, false, false), nullptr);
    EXPECT_EQ(tables.FontById(2), nullptr);
}

TEST_F(SkinImages, UnknownAndNegativeFontIdsGiveTheDefaultFont) {
    const SkinFontInfo* systemDefault = tables.BaseFontRecord();
    ASSERT_NE(systemDefault, nullptr);
    EXPECT_EQ(systemDefault->size, 12);
    EXPECT_EQ(tables.FontById(1), systemDefault->Handle());
    EXPECT_EQ(tables.FontById(-1), systemDefault->Handle());

    const SkinFontHandle windowDefault = tables.SetBaseFont(L"Window", 20, false, false, false, false);
    EXPECT_EQ(tables.FontById(1), windowDefault);
    CSkinResourceTables other(engine, shared);
    EXPECT_EQ(other.FontById(1), systemDefault->Handle());  // the window default stays with its window
    const SkinFontHandle base = tables.SetBaseFont(L"Process", 16, true, false, true, true);
    EXPECT_EQ(other.FontById(-1), base);  // ... but the shared one reaches every window without its own

    tables.RegisterFont(1, L"One", 9, false, false, false, false);
    EXPECT_NE(tables.FontById(1), windowDefault);
    EXPECT_EQ(tables.FontById(-1), windowDefault);
}

}  // namespace
}  // namespace SkinUI
