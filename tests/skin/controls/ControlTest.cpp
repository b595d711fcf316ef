// The control base: attribute parsing with its quirks, placement, invalidation, layout requests, the
// paint order with its background and border cases, event routing and hooks.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/controls/ContainerUI.h"
#include "skin/controls/ControlUI.h"
#include "skin/controls/LabelUI.h"
#include "skin/markup/AttributeValues.h"
#include "tests/skin/controls/SkinTreeHelpers.h"
#include "tests/support/skin/RecordingCanvas.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using skintest::BuildAttached;
using skintest::ChildAt;
using testsupport::CanvasOp;
using testsupport::RecordingCanvas;
using testsupport::TestControlHost;
using Attributes = std::vector<std::pair<const wchar_t*, const wchar_t*>>;

// A control attached to the test host at `item`, its attributes applied in order.
class AttachedControl : public ::testing::Test {
  protected:
    template <typename Control = CControlUI>
    Control& Make(const Attributes& attributes, const SkinRect& item = SkinRect{10, 10, 110, 60}) {
        auto control = std::make_unique<Control>();
        Control& made = *control;
        host.Attach(std::move(control));
        for (const auto& attribute : attributes) {
            made.ApplyAttribute(attribute.first, attribute.second);
        }
        host.Layout(item);
        host.ClearRecords();
        return made;
    }
    static std::vector<testsupport::CanvasCall> Painted(CControlUI& control, const SkinRect& paint,
                                                        CanvasOp op) {
        RecordingCanvas canvas;
        control.Paint(canvas, paint);
        return canvas.Only(op);
    }

    TestControlHost host;
};

TEST_F(AttachedControl, AttributeQuirks) {
    CControlUI& c = Make({{L"pos", L"1072,132,1102,167"}, {L"width", L"35"}, {L"Width", L"50"}});
    EXPECT_EQ(c.FloatOffset(), (SkinSize{1072, 132}));
    EXPECT_EQ(c.FixedWidth(), 35);  // the later attribute wins; names are case-sensitive
    EXPECT_EQ(c.FixedHeight(), 35);
    CControlUI& flags = Make({{L"visible", L"True"},
                              {L"enabled", L"true"},
                              {L"mouse", L"1"},
                              {L"minwidth", L"5"},
                              {L"minwidth", L"-1"},
                              {L"maxheight", L"-3"},
                              {L"width", L"-4"}});
    EXPECT_FALSE(flags.IsVisible());  // booleans are exactly "true"
    EXPECT_TRUE(flags.IsEnabled());
    EXPECT_FALSE(flags.IsMouseEnabled());
    EXPECT_EQ(flags.MinWidth(), 5);  // negative limits are ignored
    EXPECT_EQ(flags.MaxHeight(), 9999);
    EXPECT_EQ(flags.FixedWidth(), 0);

    EXPECT_EQ(ParseRectValue(L"1,,2,3,4"), (SkinRect{1, 0, 2, 3}));
    EXPECT_EQ(ParseRectValue(L"10;20 30x40"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ParseRectValue(L"10, 20, 30, 40"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ParseRectValue(L"7"), (SkinRect{7, 0, 0, 0}));  // nothing read past the end
    EXPECT_EQ(ParseRectValue(L"99999999,-99999999,0,0"),
              (SkinRect{kLargestSkinCoordinate, -kLargestSkinCoordinate, 0, 0}));

    CControlUI& fractions = Make({{L"float", L"0.25,.5,1,2."}, {L"tooltip", L"first<n>second<n>"}});
    EXPECT_DOUBLE_EQ(fractions.AnchorRule().top, 0.5);
    EXPECT_DOUBLE_EQ(fractions.AnchorRule().bottom, 2.0);
    EXPECT_EQ(fractions.ToolTip(), L"first\r\nsecond\r\n");
    EXPECT_FALSE(Make({{L"float", L"0.5,0,0,0"}, {L"float", L"yes"}}).IsFloat());

    CControlUI& colours = Make({{L"bkcolor", L"  #FF102030"},
                                {L"bordercolor", L"#ffffff"},
                                {L"bordersize", L"1,2,3,4"},
                                {L"topbordersize", L"9"},
                                {L"borderround", L"5,6"}});
    EXPECT_EQ(colours.BkColor(), 0xFF102030u);
    EXPECT_EQ(colours.BorderColor(), 0x00FFFFFFu);  // six digits: alpha 0
    EXPECT_EQ(colours.SideBorderSizes(), (SkinRect{1, 9, 3, 4}));
    EXPECT_EQ(colours.BorderRound(), (SkinSize{5, 6}));
    colours.ApplyAttribute(L"bordersize", L"2");
    EXPECT_EQ(colours.BorderSize(), 2);
    EXPECT_EQ(colours.SideBorderSizes(), (SkinRect{}));
}

TEST_F(AttachedControl,
       BackgroundsWhiteWithoutAlphaNothingTranslucentTheItemOpaqueThePaintRectangle) {
    const SkinRect paint{20, 20, 30, 30};
    EXPECT_TRUE(Painted(Make({{L"bkcolor", L"#ffffff"}}), paint, CanvasOp::FillSolid).empty());
    const auto blends = Painted(Make({{L"bkcolor", L"#80ff0000"}}), paint, CanvasOp::BlendImage);
    ASSERT_EQ(blends.size(), 1u);
    EXPECT_EQ(blends[0].rect, (SkinRect{10, 10, 110, 60}));
    const auto fills = Painted(Make({{L"bkcolor", L"#ffff0000"}}), paint, CanvasOp::FillSolid);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, paint);
}

TEST_F(AttachedControl, PaintOrderIsColourImageTextBorderInsideTheRoundClip) {
    host.resources.AddImage(L"bk.png", testsupport::SolidImage(4, 4, 0xFF00FF00, false), false);
    CLabelUI& label = Make<CLabelUI>({{L"bkcolor", L"#ff0000ff"},
                                      {L"bkimage", L"bk.png"},
                                      {L"text", L"hi"},
                                      {L"bordercolor", L"#ff00ff00"},
                                      {L"bordersize", L"1"},
                                      {L"borderround", L"4,3"}});
    RecordingCanvas canvas;
    label.Paint(canvas, SkinRect{0, 0, 50, 50});
    std::vector<CanvasOp> drawn;
    for (const auto& call : canvas.calls) {
        drawn.push_back(call.op);
    }
    // The image draws inside a clip of its own.
    EXPECT_EQ(drawn,
              (std::vector<CanvasOp>{CanvasOp::SaveClip, CanvasOp::IntersectClip,
                                     CanvasOp::IntersectRoundClip, CanvasOp::FillSolid, CanvasOp::SaveClip,
                                     CanvasOp::IntersectClip, CanvasOp::StretchImage, CanvasOp::RestoreClip,
                                     CanvasOp::PaintText, CanvasOp::DrawRoundRect, CanvasOp::RestoreClip}));
    ASSERT_EQ(canvas.calls.size(), drawn.size());
    EXPECT_EQ(canvas.calls[1].rect, (SkinRect{10, 10, 50, 50}));  // the paint rectangle
    EXPECT_EQ(canvas.calls[2].rect, (SkinRect{10, 10, 110, 60}));
    EXPECT_EQ(canvas.calls[2].radiusX, 4);
    EXPECT_EQ(canvas.calls[2].radiusY, 3);
}

TEST(ControlInvalidation, ClippedByVisibleAncestorsSkippedWhenHiddenAndMovesRepaintBothPlaces) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><HorizontalLayout><HorizontalLayout width=\"50\">"
                                     L"<Control name=\"c\" float=\"true\" pos=\"30,0,80,10\"/>"
                                     L"</HorizontalLayout></HorizontalLayout></Window>",
                                     SkinRect{0, 0, 200, 100});
    CControlUI* c = host.Find(L"c");
    host.ClearRecords();
    c->Invalidate();
    c->SetText(L"t");
    c->SetText(L"t");  // the same text again: nothing to repaint
    c->Move(0, 5, true);
    EXPECT_EQ(host.invalidated, (std::vector<SkinRect>{{30, 0, 50, 10}, {30, 0, 50, 10}, {30, 0, 50, 15}}));
    ChildAt(root, 0)->SetVisible(false);
    host.ClearRecords();
    c->Invalidate();
    EXPECT_TRUE(host.invalidated.empty());
    c->Place(SkinRect{50, 50, 40, 40}, false);
    EXPECT_EQ(c->ItemRect(), (SkinRect{50, 50, 50, 50}));  // never inverted
}

TEST(ControlEvents, UnhandledEventsBubbleAndHooksCanStopThem) {
    TestControlHost host;
    CControlUI* root =
        BuildAttached(host, L"<Window><VerticalLayout><Control name=\"c\"/></VerticalLayout></Window>");
    int reachedRoot = 0;
    root->OnEvent().Add([&](SkinEvent&) { return ++reachedRoot > 0; });
    CControlUI* c = host.Find(L"c");
    host.Send(*c, SkinEventType::kButtonDown);
    EXPECT_EQ(reachedRoot, 0);  // bubbling skips the parent's hooks: it goes to HandleEvent
    bool stop = true;
    c->OnEvent().Add([&](SkinEvent&) { return !stop; });
    host.Send(*c, SkinEventType::kTimer);
    EXPECT_TRUE(host.NotificationsOf(L"timer").empty());
    stop = false;
    host.Send(*c, SkinEventType::kTimer);
    EXPECT_EQ(host.NotificationsOf(L"timer").size(), 1u);
    host.cursor = SkinCursor::Hand;
    host.Send(*c, SkinEventType::kSetCursor);
    EXPECT_EQ(host.cursor, SkinCursor::Arrow);
}

TEST(ControlLifecycle, HooksRunAtInitSizeAndDestruction) {
    TestControlHost host;
    std::vector<std::wstring> log;
    auto root = std::make_unique<CContainerUI>();
    auto child = std::make_unique<CControlUI>();
    child->OnInit().Add([&](CControlUI&) { log.push_back(L"init"); });
    child->OnSize().Add([&](CControlUI& c) {
        log.push_back(L"size");
        c.Place(SkinRect{0, 0, 1, 1}, false);  // no second run from inside
    });
    child->OnDestroy().Add([&](CControlUI&) { log.push_back(L"destroy"); });
    CControlUI* added = child.get();
    root->Add(std::move(child));
    EXPECT_TRUE(log.empty());
    host.Attach(std::move(root));
    host.Layout(SkinRect{0, 0, 10, 10});
    host.Attach(nullptr);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"init", L"size", L"destroy"}));
    EXPECT_NE(std::find(host.forgotten.begin(), host.forgotten.end(), added), host.forgotten.end());
}

}  // namespace
}  // namespace SkinUI
