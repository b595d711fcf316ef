// The control base (attribute quirks, backgrounds, paint order, invalidation, lifetime hooks), buttons
// (states, images, keyboard, mouse) and labels.
#include <gtest/gtest.h>

#include <algorithm>

#include <map>
#include "skin/controls/ButtonUI.h"
#include "skin/controls/ContainerUI.h"
#include "skin/controls/ControlSearch.h"
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
    CControlUI& flags =
        Make({{L"visible", L"True"}, {L"mouse", L"1"}, {L"minwidth", L"5"}, {L"minwidth", L"-1"}});
    EXPECT_FALSE(flags.IsVisible());  // booleans are exactly "true"
    EXPECT_FALSE(flags.IsMouseEnabled());
    EXPECT_EQ(flags.MinWidth(), 5);  // negative limits are ignored
    EXPECT_FALSE(Make({{L"float", L"0.5,0,0,0"}, {L"float", L"yes"}}).IsFloat());
    EXPECT_EQ(Make({{L"bordercolor", L"#ffffff"}}).BorderColor(), 0x00FFFFFFu);  // six digits: alpha 0

    EXPECT_EQ(ParseRectValue(L"1,,2,3,4"), (SkinRect{1, 0, 2, 3}));
    EXPECT_EQ(ParseRectValue(L"10, 20;30x40"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ParseRectValue(L"7"), (SkinRect{7, 0, 0, 0}));  // nothing read past the end
    EXPECT_EQ(ParseRectValue(L"99999999,-99999999,0,0"),
              (SkinRect{kLargestSkinCoordinate, -kLargestSkinCoordinate, 0, 0}));
}

TEST_F(AttachedControl, BackgroundsWhiteWithoutAlphaNothingTranslucentTheItemOpaqueThePaintRectangle) {
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
    CLabelUI& label = Make<CLabelUI>({{L"bkcolor", L"#ff0000ff"}, {L"bkimage", L"bk.png"}, {L"text", L"hi"}});
    label.ApplyAttributeList(L"bordercolor=\"#ff00ff00\" bordersize=\"1\" borderround=\"4,3\"");
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

using Names = std::vector<std::wstring>;

const SkinPoint kInside{20, 20};

// A window row holding one button at (10, 10, 60, 40); images are made up and registered directly.
class ButtonInRow : public ::testing::Test {
  protected:
    void Build(const std::wstring& buttonAttributes) {
        for (const wchar_t* name :
             {L"normal", L"hot", L"pushed", L"disabled", L"focused", L"fore", L"hotfore"}) {
            auto image =
                testsupport::SolidImage(2, 2, 0xFF000000 | static_cast<uint32_t>(images.size()), false);
            images[image.get()] = name;
            host.resources.AddImage(std::wstring(name) + L".png", image, false);
        }
        BuildAttached(host,
                      L"<Window><HorizontalLayout inset=\"10,10,10,10\"><Button name=\"b\" width=\"50\" " +
                          buttonAttributes + L"/></HorizontalLayout></Window>",
                      SkinRect{0, 0, 400, 50});
    }
    CButtonUI& Button() { return *static_cast<CButtonUI*>(host.Find(L"b")); }
    size_t Clicks() const { return host.NotificationsOf(L"click").size(); }
    RecordingCanvas Painted() {
        RecordingCanvas canvas;
        Button().Paint(canvas, Button().ItemRect());
        return canvas;
    }
    // The images the button draws, by name, in order.
    Names DrawnImages() {
        Names names;
        for (const auto& blit : Painted().Only(CanvasOp::CopyImage)) {
            names.push_back(images[blit.image]);
        }
        return names;
    }

    TestControlHost host;
    std::map<const SkinImageInfo*, std::wstring> images;
};

TEST_F(ButtonInRow, DisabledDrawsItsDisabledImageOrTheNormalOneAndIgnoresPressesAndKeys) {
    Build(
        L"normalimage=\"normal.png\" disabledimage=\"disabled.png\" foreimage=\"fore.png\" "
        L"enabled=\"false\"");
    EXPECT_EQ(DrawnImages(), (Names{L"disabled", L"fore"}));
    host.Click(kInside);
    EXPECT_EQ(Clicks(), 0u);
    EXPECT_EQ(Button().ControlFlags() & SkinControlFlags::kSetCursor, 0u);  // no hand cursor over it
    Button().SetEnabled(true);
    host.MouseMove(kInside);
    host.MouseDown(kInside);
    Button().SetEnabled(false);  // disabling clears the whole state: the release is no click
    EXPECT_EQ(Button().ButtonState(), 0u);
    host.MouseUp(kInside);
    EXPECT_EQ(Clicks(), 0u);
}

TEST_F(ButtonInRow, StateImagesWithTheirFallbacks) {
    Build(L"normalimage=\"normal.png\" foreimage=\"fore.png\"");
    host.MouseMove(kInside);  // hot, no hot image: the normal one
    EXPECT_EQ(DrawnImages(), (Names{L"normal", L"fore"}));
    Button().SetHotImage(L"hot.png");
    Button().SetHotForeImage(L"hotfore.png");
    EXPECT_EQ(DrawnImages(), (Names{L"hot", L"hotfore"}));
    host.MouseDown(kInside);  // pushed, no pushed image
    EXPECT_EQ(DrawnImages(), (Names{L"normal", L"fore"}));
    Button().SetPushedImage(L"pushed.png");
    EXPECT_EQ(DrawnImages(), (Names{L"pushed", L"fore"}));
    host.MouseUp(kInside);
    host.MouseMove(SkinPoint{100, 20});
    Button().SetFocus();
    Button().SetFocusedImage(L"focused.png");
    EXPECT_EQ(DrawnImages(), (Names{L"focused", L"fore"}));
    host.ClearRecords();
    Button().SetFocusedImage(L"focused.png");  // the same text keeps the resolved image
    EXPECT_TRUE(host.invalidated.empty());
    Button().SetNormalImage(L"missing.png");
    Button().SetFocusedImage(L"");
    EXPECT_EQ(DrawnImages(), (Names{L"fore"}));
}

TEST_F(ButtonInRow, KeyboardActivationFlagsAndCursor) {
    Build(L"");
    host.Send(Button(), SkinEventType::kKeyDown, SkinPoint{}, 32);
    host.Send(Button(), SkinEventType::kKeyDown, SkinPoint{}, L'a');
    EXPECT_EQ(Clicks(), 1u);
    EXPECT_EQ(Button().ControlFlags(), SkinControlFlags::kTabStop | SkinControlFlags::kSetCursor);
    Button().SetKeyboardEnabled(false);
    host.Send(Button(), SkinEventType::kKeyDown, SkinPoint{}, 13);
    EXPECT_EQ(Clicks(), 1u);
    host.Send(Button(), SkinEventType::kSetCursor);
    EXPECT_EQ(host.cursor, SkinCursor::Hand);
}

TEST_F(ButtonInRow, WithoutMouseThePressesReachTheParentButTheKeyboardStillActivates) {
    Build(L"mouse=\"false\"");
    EXPECT_EQ(FindControlAt(*host.Root(), kInside), host.Root());
    host.Click(kInside);
    EXPECT_EQ(Button().ButtonState(), 0u);
    EXPECT_EQ(Clicks(), 0u);
    host.Send(Button(), SkinEventType::kKeyDown, SkinPoint{}, 13);
    EXPECT_EQ(Clicks(), 1u);
}

TEST(Label, AlignmentSizeAndTheSingleLineOnPaint) {
    TestControlHost host;
    host.resources.RegisterFont(2, L"Big", 20, false, false, false, false);
    BuildAttached(
        host,
        L"<Window><VerticalLayout><Button name=\"c\" align=\"center\"/><Label name=\"l\" align=\"left\" "
        L"text=\"x\" textpadding=\"1,2,3,4\" endellipsis=\"true\" font=\"1\" width=\"7\"/>"
        L"<Label name=\"r\" align=\"right\" valign=\"bottom\" font=\"2\"/><Label name=\"v\" "
        L"valign=\"top vcenter\" height=\"9\" font=\"2\"/></VerticalLayout></Window>",
        SkinRect{0, 0, 100, 100});
    namespace F = CanvasTextFormat;
    const auto label = [&](const wchar_t* name) { return static_cast<CLabelUI*>(host.Find(name)); };
    EXPECT_EQ(label(L"c")->TextStyle(), F::kCenter | F::kVerticalCenter | F::kSingleLine);
    EXPECT_EQ(label(L"v")->TextStyle(), F::kVerticalCenter | F::kSingleLine);
    // The fixed font engine's height is the pixel size plus 2; font 1 is not registered: the default (12).
    EXPECT_EQ(label(L"l")->DesiredSize(SkinSize{}), (SkinSize{7, 18}));
    EXPECT_EQ(label(L"r")->DesiredSize(SkinSize{}), (SkinSize{0, 26}));
    EXPECT_EQ(label(L"v")->DesiredSize(SkinSize{}), (SkinSize{0, 9}));

    RecordingCanvas canvas;
    label(L"l")->Paint(canvas, SkinRect{0, 0, 100, 100});
    const auto texts = canvas.Only(CanvasOp::PaintText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].format, F::kVerticalCenter | F::kEndEllipsis | F::kSingleLine);
    const SkinRect item = label(L"l")->ItemRect();
    EXPECT_EQ(texts[0].rect, (SkinRect{item.left + 1, item.top + 2, item.right - 3, item.bottom - 4}));
    EXPECT_EQ(texts[0].font, host.resources.BaseFontRecord()->Handle());
}

}  // namespace
}  // namespace SkinUI
