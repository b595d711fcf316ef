#include <gtest/gtest.h>

#include "skin/drawing/ImageDescriptor.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/resources/Resources.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/support/skin/FixedFontEngine.h"
#include "tests/support/skin/RecordingCanvas.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using testsupport::CanvasOp;
using testsupport::EncodePng;
using testsupport::RgbaPixels;

TEST(DescriptorGrammar, PlainTextIsTheImageNameAndKeysAreReadWithBlanksAroundTheEqualsSign) {
    const ImageDescriptorKeys plain = ParseImageDescriptor(L"my image.png");
    EXPECT_EQ(plain.imageName, L"my image.png");  // no "=" follows the first word
    EXPECT_TRUE(plain.source.IsZero());
    EXPECT_EQ(plain.fade, 255);

    const ImageDescriptorKeys keys = ParseImageDescriptor(
        L"file='btn.png' dest='1,2,30,40' source='0,10,20,30' corner='3,4,5,6' mask='#ffff00ff' fade='128' "
        L"hole='true' xtiled='true' ytiled='TRUE' hsl='true' Fade='7' colour='red'");
    EXPECT_EQ(keys.imageName, L"btn.png");
    EXPECT_EQ(keys.dest, (SkinRect{1, 2, 30, 40}));
    EXPECT_EQ(keys.source, (SkinRect{0, 10, 20, 30}));
    EXPECT_EQ(keys.corner, (SkinRect{3, 4, 5, 6}));
    EXPECT_EQ(keys.mask, 0xFFFF00FFu);
    EXPECT_EQ(keys.fade, 128);  // keys are case-sensitive and unknown ones skipped
    EXPECT_TRUE(keys.hole && keys.xTiled && keys.recolour);
    EXPECT_FALSE(keys.yTiled);  // true only when exactly "true"

    const ImageDescriptorKeys resource = ParseImageDescriptor(L"  res = '113' \trestype\n=\n'ZIPRES'");
    EXPECT_EQ(resource.imageName, L"113");
    EXPECT_TRUE(resource.fromResource);
    EXPECT_EQ(resource.resourceType, L"ZIPRES");
}

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
        {L"fade='9'\tfile='a.png'", L"fade='9'\tfile='a.png'", 9},      // ... by a blank, not a tab
        {L"file='a.png'  fade='9'", L"a.png", 9},                       // further blanks are skipped
        {L"file='' fade='9'", L"file='' fade='9'", 9},                  // empty values are not applied
        {L"file='a.png' fade=", L"a.png", 255},
        {L"'", L"'", 255},
        {L"fade='300'", L"fade='300'", 255},  // fade is limited to a byte
        {L"fade='-4'", L"fade='-4'", 0},
    };
    for (const Case& c : cases) {
        const ImageDescriptorKeys keys = ParseImageDescriptor(c.text);
        EXPECT_EQ(keys.imageName, c.name) << c.text;
        EXPECT_EQ(keys.fade, c.fade) << c.text;
    }
}

TEST(DescriptorGrammar, RectanglesReadNumbersAsFarAsDigitsGoWithOneSeparatorEach) {
    EXPECT_EQ(ParseImageDescriptor(L"source='1;2 3x4'").source, (SkinRect{1, 2, 3, 4}));
    EXPECT_EQ(ParseImageDescriptor(L"source=' -1,+2,3,4'").source, (SkinRect{-1, 2, 3, 4}));
    // A missing number reads as 0 and its separator is still skipped.
    EXPECT_EQ(ParseImageDescriptor(L"source='1,,3,4'").source, (SkinRect{1, 0, 3, 4}));
    // Too few numbers: the rest stay 0 and nothing is read past the end of the value.
    EXPECT_EQ(ParseImageDescriptor(L"source='5,6' fade='1'").source, (SkinRect{5, 6, 0, 0}));
}

class DescriptorDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetResourceSettings();
        SetSkinPath(folder.WithSeparator());
        folder.Write(L"btn.png", EncodePng(RgbaPixels(40, 20, 0xFF336699)));
    }
    void TearDown() override { ResetResourceSettings(); }

    skintest::SkinTestFolder folder{L"descriptors"};
    testsupport::FixedFontEngine engine;
    SkinSharedResources shared;
    CSkinResourceTables tables{engine, shared};
    testsupport::RecordingCanvas canvas;
    const SkinRect item{100, 50, 200, 90};
};

TEST_F(DescriptorDrawing, FileNameAloneStretchesTheWholeImageOverTheItem) {
    SkinImageDescriptor descriptor(L"btn.png");
    EXPECT_TRUE(DrawImageDescriptor(canvas, tables, item, item, descriptor));
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].op, CanvasOp::StretchImage);
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

TEST_F(DescriptorDrawing, ResourceTypeCountsOnlyWhenResNamesTheImage) {
    SkinImageDescriptor typeWithoutRes(L"file='btn.png' restype='PNG'");
    EXPECT_TRUE(DrawImageDescriptor(canvas, tables, item, item, typeWithoutRes));
    EXPECT_EQ(tables.FindImage(L"btn.png")->resourceType, L"");
    // "res": a module resource of that type, which this program does not have.
    SkinImageDescriptor resource(L"res='btn.png' restype='PNG'");
    tables.RemoveAllImages();
    EXPECT_FALSE(DrawImageDescriptor(canvas, tables, item, item, resource));
}

TEST_F(DescriptorDrawing, UnresolvableDescriptorsDrawNothingAndAreNotRetriedUntilTheTextChanges) {
    SkinImageDescriptor missing(L"missing.png");
    EXPECT_FALSE(DrawImageDescriptor(canvas, tables, item, item, missing));
    folder.Write(L"missing.png", EncodePng(RgbaPixels(2, 2)));
    EXPECT_FALSE(DrawImageDescriptor(canvas, tables, item, item, missing));
    EXPECT_TRUE(canvas.calls.empty());
    missing.SetText(L"missing.png");
    EXPECT_TRUE(DrawImageDescriptor(canvas, tables, item, item, missing));
}

TEST_F(DescriptorDrawing, DestinationAndSourceAreLimitedToTheItemAndTheImage) {
    EXPECT_EQ(DescriptorDestination(item, SkinRect{}), item);
    EXPECT_EQ(DescriptorDestination(item, SkinRect{10, 5, 30, 25}), (SkinRect{110, 55, 130, 75}));
    EXPECT_EQ(DescriptorDestination(item, SkinRect{10, 5, 300, 250}), (SkinRect{110, 55, 200, 90}));
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

}  // namespace
}  // namespace SkinUI
