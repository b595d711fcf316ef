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

// A control attached to the test host at `item`, its attributes applied in order.
class AttachedControl : public ::testing::Test {
  protected:
    template <typename Control = CControlUI>
    Control& Make(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes,
                  const SkinRect& item = SkinRect{10, 10, 110, 60}) {
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
    RecordingCanvas Paint(CControlUI& control, const SkinRect& paintRect) {
        RecordingCanvas canvas;
        control.Paint(canvas, paintRect);
        return canvas;
    }

    TestControlHost host;
};

TEST_F(AttachedControl, PosThenWidthTheLaterAttributeWins) {
    CControlUI& c = Make({{L"pos", L"1072,132,1102,167"}, {L"width", L"35"}});
    EXPECT_EQ(c.FloatOffset(), (SkinSize{1072, 132}));
    EXPECT_EQ(c.FixedWidth(), 35);
    EXPECT_EQ(c.FixedHeight(), 35);
}

TEST_F(AttachedControl, AttributeNamesAndBooleansAreCaseSensitive) {
    CControlUI& c = Make({{L"Width", L"50"}, {L"visible", L"True"}, {L"enabled", L"true"}, {L"mouse", L"1"}});
    EXPECT_EQ(c.FixedWidth(), 0);
    EXPECT_FALSE(c.IsVisible());
    EXPECT_TRUE(c.IsEnabled());
    EXPECT_FALSE(c.IsMouseEnabled());
}

TEST_F(AttachedControl, IntegerListsReadOneSeparatorAtATimeAndStopAtTheEnd) {
    EXPECT_EQ(ParseRectValue(L"1,,2,3,4"), (SkinRect{1, 0, 2, 3}));
    EXPECT_EQ(ParseRectValue(L"10;20 30x40"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ParseRectValue(L"10, 20, 30, 40"), (SkinRect{10, 20, 30, 40}));  // blanks before numbers
    EXPECT_EQ(ParseRectValue(L"7"), (SkinRect{7, 0, 0, 0}));                   // nothing read past the end
    EXPECT_EQ(ParseSizeValue(L""), (SkinSize{0, 0}));
    EXPECT_EQ(ParseRectValue(L"99999999,-99999999,0,0"),
              (SkinRect{kLargestSkinCoordinate, -kLargestSkinCoordinate, 0, 0}));
    CControlUI& c = Make({{L"padding", L"1,2"}, {L"bordersize", L"3"}});
    EXPECT_EQ(c.Padding(), (SkinRect{1, 2, 0, 0}));
    EXPECT_EQ(c.BorderSize(), 3);
}

TEST_F(AttachedControl, FloatWithAndWithoutFractions) {
    CControlUI& on = Make({{L"float", L"true"}});
    EXPECT_TRUE(on.IsFloat());
    CControlUI& fractions = Make({{L"float", L"0.25,.5,1,2."}});
    EXPECT_TRUE(fractions.IsFloat());
    EXPECT_DOUBLE_EQ(fractions.AnchorRule().left, 0.25);
    EXPECT_DOUBLE_EQ(fractions.AnchorRule().top, 0.5);
    EXPECT_DOUBLE_EQ(fractions.AnchorRule().right, 1.0);
    EXPECT_DOUBLE_EQ(fractions.AnchorRule().bottom, 2.0);
    CControlUI& off = Make({{L"float", L"0.5,0,0,0"}, {L"float", L"yes"}});
    EXPECT_FALSE(off.IsFloat());
}

TEST_F(AttachedControl, TooltipLineBreaksShortcutLetterAndVirtualWindows) {
    CControlUI& c =
        Make({{L"tooltip", L"first<n>second<n>"}, {L"shortcut", L"Qx"}, {L"virtualwnd", L"page"}});
    EXPECT_EQ(c.ToolTip(), L"first\r\nsecond\r\n");
    EXPECT_EQ(c.Shortcut(), L'Q');
    EXPECT_TRUE(host.UsesVirtualWindows());
}

TEST_F(AttachedControl, ColourTextAndBorderSizes) {
    CControlUI& c = Make({{L"bkcolor", L"  #FF102030"},
                          {L"bkcolor2", L"ff000001"},
                          {L"bordercolor", L"#ffffff"},
                          {L"bordersize", L"1,2,3,4"},
                          {L"topbordersize", L"9"},
                          {L"borderround", L"5,6"}});
    EXPECT_EQ(c.BkColor(), 0xFF102030u);
    EXPECT_EQ(c.BkColor2(), 0xFF000001u);
    EXPECT_EQ(c.BorderColor(), 0x00FFFFFFu);  // six digits: alpha 0
    EXPECT_EQ(c.SideBorderSizes(), (SkinRect{1, 9, 3, 4}));
    EXPECT_EQ(c.BorderRound(), (SkinSize{5, 6}));
    c.ApplyAttribute(L"bordersize", L"2");
    EXPECT_EQ(c.BorderSize(), 2);
    EXPECT_EQ(c.SideBorderSizes(), (SkinRect{}));
}

TEST_F(AttachedControl, LimitsIgnoreNegativeValues) {
    CControlUI& c =
        Make({{L"minwidth", L"5"}, {L"minwidth", L"-1"}, {L"maxheight", L"-3"}, {L"width", L"-4"}});
    EXPECT_EQ(c.MinWidth(), 5);
    EXPECT_EQ(c.MaxHeight(), 9999);
    EXPECT_EQ(c.FixedWidth(), 0);
}

TEST_F(AttachedControl, WhiteWithoutAlphaPaintsNothingAsABackground) {
    CControlUI& c = Make({{L"bkcolor", L"#ffffff"}});
    EXPECT_TRUE(Paint(c, c.ItemRect()).calls.empty());
}

TEST_F(AttachedControl, TranslucentFillCoversTheItemOpaqueOnlyThePaintRectangle) {
    CControlUI& translucent = Make({{L"bkcolor", L"#80ff0000"}});
    const auto blends = Paint(translucent, SkinRect{20, 20, 30, 30}).Only(CanvasOp::BlendImage);
    ASSERT_EQ(blends.size(), 1u);
    EXPECT_EQ(blends[0].rect, (SkinRect{10, 10, 110, 60}));

    CControlUI& opaque = Make({{L"bkcolor", L"#ffff0000"}});
    const auto fills = Paint(opaque, SkinRect{20, 20, 30, 30}).Only(CanvasOp::FillSolid);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, (SkinRect{20, 20, 30, 30}));
}

TEST_F(AttachedControl, GradientsOverTheItem) {
    CControlUI& two = Make({{L"bkcolor", L"#ff000001"}, {L"bkcolor2", L"#ff000002"}});
    auto gradients = Paint(two, SkinRect{0, 0, 500, 500}).Only(CanvasOp::FillGradient);
    ASSERT_EQ(gradients.size(), 1u);
    EXPECT_EQ(gradients[0].rect, (SkinRect{10, 10, 110, 60}));
    EXPECT_EQ(gradients[0].width, 16);
    EXPECT_TRUE(gradients[0].vertical);

    CControlUI& three =
        Make({{L"bkcolor", L"#ff000001"}, {L"bkcolor2", L"#ff000002"}, {L"bkcolor3", L"#ff000003"}});
    gradients = Paint(three, SkinRect{0, 0, 500, 500}).Only(CanvasOp::FillGradient);
    ASSERT_EQ(gradients.size(), 2u);
    EXPECT_EQ(gradients[0].rect, (SkinRect{10, 10, 110, 35}));
    EXPECT_EQ(gradients[0].color2, 0xff000002u);
    EXPECT_EQ(gradients[1].rect, (SkinRect{10, 35, 110, 60}));
    EXPECT_EQ(gradients[1].color, 0xff000002u);
    EXPECT_EQ(gradients[1].width, 8);
}

TEST_F(AttachedControl, PaintOrderIsColourImageTextBorderInsideTheRoundClip) {
    host.resources.AddImage(L"bk.png", testsupport::SolidImage(4, 4, 0xFF00FF00, false), false);
    CLabelUI& label = Make<CLabelUI>({{L"bkcolor", L"#ff0000ff"},
                                      {L"bkimage", L"bk.png"},
                                      {L"text", L"hi"},
                                      {L"bordercolor", L"#ff00ff00"},
                                      {L"bordersize", L"1"},
                                      {L"borderround", L"4,3"}});
    const RecordingCanvas canvas = Paint(label, SkinRect{0, 0, 50, 50});
    // The image draws inside a clip of its own; the order of what is drawn is what counts here.
    std::vector<CanvasOp> drawn;
    for (size_t i = 3; i + 1 < canvas.calls.size(); ++i) {
        const CanvasOp op = canvas.calls[i].op;
        if (op != CanvasOp::SaveClip && op != CanvasOp::IntersectClip && op != CanvasOp::RestoreClip) {
            drawn.push_back(op);
        }
    }
    EXPECT_EQ(drawn, (std::vector<CanvasOp>{CanvasOp::FillSolid, CanvasOp::StretchImage, CanvasOp::PaintText,
                                            CanvasOp::DrawRoundRect}));
    ASSERT_GE(canvas.calls.size(), 4u);
    EXPECT_EQ(canvas.calls[0].op, CanvasOp::SaveClip);
    EXPECT_EQ(canvas.calls[1].rect, (SkinRect{10, 10, 50, 50}));  // the paint rectangle
    EXPECT_EQ(canvas.calls[2].op, CanvasOp::IntersectRoundClip);
    EXPECT_EQ(canvas.calls[2].rect, (SkinRect{10, 10, 110, 60}));
    EXPECT_EQ(canvas.calls[2].radiusX, 4);
    EXPECT_EQ(canvas.calls[2].radiusY, 3);
    EXPECT_EQ(canvas.calls.back().op, CanvasOp::RestoreClip);
    EXPECT_EQ(canvas.OpenClips(), 0);
}

TEST_F(AttachedControl, BorderCases) {
    struct Case {
        std::vector<std::pair<const wchar_t*, const wchar_t*>> attributes;
        bool focused;
        CanvasOp op;
        SkinColor color;
        int count;
    };
    const Case cases[] = {
        {{{L"bordercolor", L"#ff000001"},
          {L"focusbordercolor", L"#ff000002"},
          {L"bordersize", L"2"},
          {L"borderround", L"3,0"}},
         true,
         CanvasOp::DrawRoundRect,
         0xff000002,
         1},
        {{{L"bordercolor", L"#ff000001"}, {L"focusbordercolor", L"#ff000002"}, {L"bordersize", L"2"}},
         true,
         CanvasOp::DrawRect,
         0xff000002,
         1},
        {{{L"bordercolor", L"#ff000001"}, {L"focusbordercolor", L"#ff000002"}, {L"bordersize", L"2"}},
         false,
         CanvasOp::DrawRect,
         0xff000001,
         1},
        {{{L"bordercolor", L"#ff000001"}, {L"bordersize", L"0"}}, false, CanvasOp::DrawRect, 0, 0},
        {{{L"bordercolor", L"#ff000001"}, {L"bordersize", L"1,0,3,2"}},
         false,
         CanvasOp::DrawLine,
         0xff000001,
         3},
        {{{L"bordersize", L"5"}}, false, CanvasOp::DrawRect, 0, 0},
    };
    for (const Case& test : cases) {
        auto control = std::make_unique<CControlUI>();
        for (const auto& attribute : test.attributes) {
            control->ApplyAttribute(attribute.first, attribute.second);
        }
        CControlUI& c = *host.Attach(std::move(control));
        host.Layout(SkinRect{0, 0, 10, 10});
        if (test.focused) {
            c.SetFocus();
        }
        const auto drawn = Paint(c, SkinRect{0, 0, 10, 10}).Only(test.op);
        ASSERT_EQ(static_cast<int>(drawn.size()), test.count) << test.attributes.back().second;
        if (test.count > 0) {
            EXPECT_EQ(drawn[0].color, test.color);
        }
    }
}

TEST_F(AttachedControl, SideLinesRunAlongTheirEdgesWithTheirOwnWidths) {
    CControlUI& c =
        Make({{L"bordercolor", L"#ff000001"}, {L"bordersize", L"1,2,3,4"}, {L"borderstyle", L"2"}});
    const auto lines = Paint(c, c.ItemRect()).Only(CanvasOp::DrawLine);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].from, (SkinPoint{10, 10}));
    EXPECT_EQ(lines[0].to, (SkinPoint{10, 60}));
    EXPECT_EQ(lines[1].to, (SkinPoint{110, 10}));
    EXPECT_EQ(lines[2].from, (SkinPoint{110, 10}));
    EXPECT_EQ(lines[3].from, (SkinPoint{10, 60}));
    EXPECT_EQ(lines[3].width, 4);
    EXPECT_EQ(lines[3].penStyle, 2);
}

TEST(ControlInvalidation, ClippedByVisibleAncestorsAndSkippedWhenHidden) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><HorizontalLayout><HorizontalLayout width=\"50\">"
                                     L"<Control name=\"c\" float=\"true\" pos=\"30,0,80,10\"/>"
                                     L"</HorizontalLayout></HorizontalLayout></Window>",
                                     SkinRect{0, 0, 200, 100});
    CControlUI* c = host.Find(L"c");
    host.ClearRecords();
    c->Invalidate();
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0], (SkinRect{30, 0, 50, 10}));
    c->SetText(L"t");
    c->SetText(L"t");  // the same text again: nothing to repaint
    EXPECT_EQ(host.invalidated.size(), 2u);
    ChildAt(root, 0)->SetVisible(false);
    host.ClearRecords();
    c->Invalidate();
    EXPECT_TRUE(host.invalidated.empty());
}

TEST(ControlInvalidation, PlaceAndMoveRepaintTheOldAndNewPlaces) {
    TestControlHost host;
    CControlUI& c = *host.Attach(std::make_unique<CControlUI>());
    host.Layout(SkinRect{0, 0, 10, 10});
    host.ClearRecords();
    c.Place(SkinRect{20, 0, 30, 10}, true);
    c.Move(0, 5, true);
    ASSERT_EQ(host.invalidated.size(), 2u);
    EXPECT_EQ(host.invalidated[0], (SkinRect{0, 0, 30, 10}));
    EXPECT_EQ(host.invalidated[1], (SkinRect{20, 0, 30, 15}));
    c.Place(SkinRect{50, 50, 40, 40}, false);
    EXPECT_EQ(c.ItemRect(), (SkinRect{50, 50, 50, 50}));  // never inverted
}

TEST(ControlLayoutRequests, GeometrySettersMarkTheParentFloatingOnesThemselves) {
    TestControlHost host;
    CControlUI* root =
        BuildAttached(host,
                      L"<Window><VerticalLayout><Control name=\"plain\"/>"
                      L"<Control name=\"floating\" float=\"true\"/></VerticalLayout></Window>");
    ASSERT_FALSE(root->NeedsUpdate());
    host.Find(L"floating")->SetFixedWidth(20);
    EXPECT_FALSE(root->NeedsUpdate());
    EXPECT_TRUE(host.Find(L"floating")->NeedsUpdate());
    EXPECT_GT(host.layoutRequests, 0);
    host.Find(L"plain")->SetFixedWidth(20);
    EXPECT_TRUE(root->NeedsUpdate());
}

TEST(ControlEvents, UnhandledEventsBubbleAndHooksCanStopThem) {
    TestControlHost host;
    CControlUI* root =
        BuildAttached(host, L"<Window><VerticalLayout><Control name=\"c\"/></VerticalLayout></Window>");
    std::vector<int32_t> reachedRoot;
    root->OnEvent().Add([&](SkinEvent& event) {
        reachedRoot.push_back(event.type);
        return true;
    });
    CControlUI* c = host.Find(L"c");
    host.Send(*c, SkinEventType::kButtonDown);
    EXPECT_TRUE(reachedRoot.empty());  // bubbling skips the parent's hooks: it goes to HandleEvent
    bool stop = true;
    int seen = 0;
    c->OnEvent().Add([&](SkinEvent&) {
        ++seen;
        return !stop;
    });
    host.Send(*c, SkinEventType::kTimer);
    EXPECT_TRUE(host.NotificationsOf(L"timer").empty());
    stop = false;
    SkinEvent timer;
    timer.type = SkinEventType::kTimer;
    timer.wParam = 7;
    c->Event(timer);
    ASSERT_EQ(host.NotificationsOf(L"timer").size(), 1u);
    EXPECT_EQ(host.NotificationsOf(L"timer")[0].wParam, 7u);
    EXPECT_EQ(seen, 2);
    host.cursor = SkinCursor::Hand;
    host.Send(*c, SkinEventType::kSetCursor);
    EXPECT_EQ(host.cursor, SkinCursor::Arrow);
}

TEST(ControlEvents, ContextMenuSendsMenuOnlyWhenUsed) {
    TestControlHost host;
    BuildAttached(host,
                  L"<Window><VerticalLayout menu=\"true\"><Control name=\"c\"/></VerticalLayout></Window>");
    host.Send(*host.Find(L"c"), SkinEventType::kContextMenu);
    const auto menus = host.NotificationsOf(L"menu");
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].sender, host.Root());  // passed up to the layout, which uses a menu
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
