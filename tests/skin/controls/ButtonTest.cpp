// Labels and buttons: the button's state machine under the mouse and keyboard, activation, the state
// images with their fallbacks, text colours and styles, and the label's size and text rules.
#include <gtest/gtest.h>

#include "skin/controls/ButtonUI.h"
#include "skin/controls/ControlSearch.h"
#include "skin/controls/HorizontalLayoutUI.h"
#include "skin/controls/LabelUI.h"
#include "tests/skin/controls/SkinTreeHelpers.h"
#include "tests/support/skin/RecordingCanvas.h"
#include "tests/support/skin/TestImages.h"

namespace SkinUI {
namespace {

using skintest::BuildAttached;
using testsupport::CanvasOp;
using testsupport::RecordingCanvas;
using testsupport::TestControlHost;

const SkinPoint kInside{20, 20};
const SkinPoint kOutside{300, 20};

// A window row holding one button at (10, 10, 60, 40); images are made up and registered directly.
class ButtonInRow : public ::testing::Test {
  protected:
    void Build(const std::wstring& buttonAttributes) {
        for (const wchar_t* name : {L"normal.png", L"hot.png", L"pushed.png", L"disabled.png", L"focused.png",
                                    L"fore.png", L"hotfore.png"}) {
            auto image =
                testsupport::SolidImage(2, 2, 0xFF000000 | static_cast<uint32_t>(images.size()), false);
            images[name] = image.get();
            host.resources.AddImage(name, image, false);
        }
        BuildAttached(
            host,
            L"<Window><HorizontalLayout name=\"row\" inset=\"10,10,10,10\"><Button name=\"b\" width=\"50\" " +
                buttonAttributes + L"/></HorizontalLayout></Window>",
            SkinRect{0, 0, 400, 50});
        ASSERT_EQ(Button().ItemRect(), (SkinRect{10, 10, 60, 40}));
    }
    CButtonUI& Button() { return *static_cast<CButtonUI*>(host.Find(L"b")); }
    size_t Clicks() const { return host.NotificationsOf(L"click").size(); }
    // The images the button draws, by name, in order.
    std::vector<std::wstring> DrawnImages() {
        RecordingCanvas canvas;
        Button().Paint(canvas, Button().ItemRect());
        std::vector<std::wstring> names;
        for (const auto& blit : canvas.ImageBlits()) {
            for (const auto& [name, image] : images) {
                if (image == blit.image) {
                    names.push_back(name);
                }
            }
        }
        return names;
    }

    TestControlHost host;
    std::map<std::wstring, const SkinImageInfo*> images;
};

TEST_F(ButtonInRow, ReleaseOutsideGivesNoClickBackInsideGivesOne) {
    Build(L"");
    host.MouseMove(kInside);
    host.MouseDown(kInside);
    EXPECT_EQ(Button().ButtonState() & SkinButtonState::kPushed, SkinButtonState::kPushed);
    host.MouseMove(kOutside);
    EXPECT_EQ(Button().ButtonState() & SkinButtonState::kPushed, 0u);  // still captured
    EXPECT_NE(Button().ButtonState() & SkinButtonState::kCaptured, 0u);
    host.MouseUp(kOutside);
    EXPECT_EQ(Clicks(), 0u);
    EXPECT_EQ(Button().ButtonState() & (SkinButtonState::kPushed | SkinButtonState::kCaptured), 0u);

    host.MouseMove(kInside);
    host.MouseDown(kInside);
    host.MouseMove(kOutside);
    host.MouseMove(kInside);
    host.MouseUp(kInside);
    ASSERT_EQ(Clicks(), 1u);
    EXPECT_EQ(host.NotificationsOf(L"click")[0].sender, &Button());
}

class PressRecordingRow : public CHorizontalLayoutUI {
  public:
    void HandleEvent(SkinEvent& event) override {
        received.push_back(event.type);
        CHorizontalLayoutUI::HandleEvent(event);
    }
    std::vector<int32_t> received;
};

TEST(ButtonMouse, WithoutMouseItIsNeverHotOrPushedAndPressesReachTheParent) {
    TestControlHost host;
    auto row = std::make_unique<PressRecordingRow>();
    auto button = std::make_unique<CButtonUI>();
    button->ApplyAttribute(L"mouse", L"false");
    CButtonUI& b = *button;
    row->Add(std::move(button));
    PressRecordingRow& parent = *row;
    host.Attach(std::move(row));
    host.Layout(SkinRect{0, 0, 100, 30});

    EXPECT_EQ(FindControlAt(parent, SkinPoint{5, 5}), &parent);
    // Even when the button gets mouse events, they go up and change nothing.
    for (int32_t type : {SkinEventType::kMouseEnter, SkinEventType::kButtonDown, SkinEventType::kButtonUp}) {
        host.Send(b, type, SkinPoint{5, 5});
    }
    EXPECT_EQ(b.ButtonState(), 0u);
    EXPECT_EQ(parent.received, (std::vector<int32_t>{SkinEventType::kMouseEnter, SkinEventType::kButtonDown,
                                                     SkinEventType::kButtonUp}));
    EXPECT_TRUE(host.NotificationsOf(L"click").empty());
    // The keyboard still activates it.
    host.Send(b, SkinEventType::kKeyDown, SkinPoint{}, 13);
    EXPECT_EQ(host.NotificationsOf(L"click").size(), 1u);
}

TEST_F(ButtonInRow, DisabledDrawsItsDisabledImageOrTheNormalOneAndIgnoresPresses) {
    Build(
        L"normalimage=\"normal.png\" disabledimage=\"disabled.png\" foreimage=\"fore.png\" "
        L"enabled=\"false\"");
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"disabled.png", L"fore.png"}));
    host.Click(kInside);
    EXPECT_EQ(Clicks(), 0u);
    EXPECT_EQ(Button().ButtonState() & SkinButtonState::kPushed, 0u);
    Button().SetDisabledImage(L"");
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"normal.png", L"fore.png"}));
    Button().SetEnabled(true);
    host.Click(kInside);
    EXPECT_EQ(Clicks(), 1u);
}

TEST_F(ButtonInRow, DisablingClearsTheWholeState) {
    Build(L"");
    host.MouseMove(kInside);
    host.MouseDown(kInside);
    Button().SetEnabled(false);
    EXPECT_EQ(Button().ButtonState(), 0u);
    host.MouseUp(kInside);
    EXPECT_EQ(Clicks(), 0u);
}

TEST_F(ButtonInRow, StateImagesWithTheirFallbacks) {
    Build(L"normalimage=\"normal.png\" foreimage=\"fore.png\"");
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"normal.png", L"fore.png"}));
    host.MouseMove(kInside);  // hot, no hot image: the normal one
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"normal.png", L"fore.png"}));
    Button().SetHotImage(L"hot.png");
    Button().SetHotForeImage(L"hotfore.png");
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"hot.png", L"hotfore.png"}));
    host.MouseDown(kInside);  // pushed, no pushed image
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"normal.png", L"fore.png"}));
    Button().SetPushedImage(L"pushed.png");
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"pushed.png", L"fore.png"}));
    host.MouseUp(kInside);
    host.MouseMove(SkinPoint{100, 20});
    EXPECT_EQ(Button().ButtonState() & SkinButtonState::kHot, 0u);  // left
    Button().SetFocus();                                            // focused after a click elsewhere left it
    Button().SetFocusedImage(L"focused.png");
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"focused.png", L"fore.png"}));
    Button().SetNormalImage(L"missing.png");
    Button().SetFocusedImage(L"");
    EXPECT_EQ(DrawnImages(), (std::vector<std::wstring>{L"fore.png"}));
}

TEST_F(ButtonInRow, HotBackgroundColourStandsInForAMissingHotForeImage) {
    Build(L"hotbkcolor=\"#ff123456\" foreimage=\"fore.png\"");
    host.MouseMove(kInside);
    RecordingCanvas canvas;
    Button().Paint(canvas, SkinRect{0, 0, 30, 30});
    const auto fills = canvas.Only(CanvasOp::FillSolid);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, 0xff123456u);
    EXPECT_EQ(fills[0].rect, (SkinRect{10, 10, 30, 30}));  // the paint rectangle
    EXPECT_TRUE(canvas.ImageBlits().empty());
}

TEST_F(ButtonInRow, SameImageTextKeepsAResolvedImageAndInvalidatesNothing) {
    Build(L"normalimage=\"normal.png\"");
    DrawnImages();
    ASSERT_TRUE(Button().NormalImage().IsResolved());
    host.ClearRecords();
    Button().SetNormalImage(L"normal.png");
    EXPECT_TRUE(host.invalidated.empty());
    Button().SetNormalImage(L"hot.png");
    EXPECT_FALSE(host.invalidated.empty());
    EXPECT_FALSE(Button().NormalImage().IsResolved());
}

TEST_F(ButtonInRow, KeyboardActivationAndFlags) {
    Build(L"");
    host.Send(Button(), SkinEventType::kKeyDown, SkinPoint{}, 32);
    host.Send(Button(), SkinEventType::kKeyDown, SkinPoint{}, L'a');
    EXPECT_EQ(Clicks(), 1u);
    EXPECT_EQ(Button().ControlFlags(), SkinControlFlags::kTabStop | SkinControlFlags::kSetCursor);
    Button().SetKeyboardEnabled(false);
    host.Send(Button(), SkinEventType::kKeyDown, SkinPoint{}, 13);
    EXPECT_EQ(Clicks(), 1u);
    Button().SetEnabled(false);
    EXPECT_EQ(Button().ControlFlags(), 0u);
    EXPECT_FALSE(Button().TryActivate());
    host.Send(Button(), SkinEventType::kSetCursor);
    EXPECT_EQ(host.cursor, SkinCursor::Hand);
}

TEST(ButtonActivation, WithoutAManagerActivatesSilently) {
    CButtonUI button;
    EXPECT_TRUE(button.TryActivate());
    button.SetVisible(false);
    EXPECT_FALSE(button.TryActivate());
}

TEST_F(ButtonInRow, TextColourFollowsTheState) {
    Build(L"text=\"go\" textcolor=\"#ffffff\" hottextcolor=\"#ff000002\" pushedtextcolor=\"#ff000003\"");
    const auto textColor = [this] {
        RecordingCanvas canvas;
        Button().Paint(canvas, Button().ItemRect());
        const auto texts = canvas.Only(CanvasOp::PaintText);
        // Text is drawn in the colour's low 24 bits.
        return texts.empty() ? SkinColor{1} : texts[0].color & 0xFFFFFF;
    };
    EXPECT_EQ(textColor(), 0xFFFFFFu);  // white, though its alpha is 0
    host.MouseMove(kInside);
    EXPECT_EQ(textColor(), 2u);
    host.MouseDown(kInside);
    EXPECT_EQ(textColor(), 3u);
    host.MouseUp(kInside);
    Button().SetEnabled(false);
    EXPECT_EQ(textColor(), host.resources.DefaultColors().disabledText & 0xFFFFFF);
}

TEST(LabelText, AlignmentRulesAndTheSingleLineOnPaint) {
    TestControlHost host;
    BuildAttached(
        host,
        L"<Window><VerticalLayout><Button name=\"c\" align=\"center\"/><Label name=\"l\" align=\"left\" "
        L"text=\"x\" textpadding=\"1,2,3,4\" endellipsis=\"true\"/><Label name=\"r\" align=\"right\" "
        L"valign=\"bottom\"/><Label name=\"v\" valign=\"top vcenter\"/></VerticalLayout></Window>",
        SkinRect{0, 0, 100, 100});
    namespace F = CanvasTextFormat;
    const auto style = [&](const wchar_t* name) {
        return static_cast<CLabelUI*>(host.Find(name))->TextStyle();
    };
    EXPECT_EQ(style(L"c"), F::kCenter | F::kVerticalCenter | F::kSingleLine);
    EXPECT_EQ(style(L"l"), F::kVerticalCenter | F::kEndEllipsis);
    EXPECT_EQ(style(L"r"), F::kRight | F::kBottom | F::kSingleLine);
    EXPECT_EQ(style(L"v"), F::kVerticalCenter | F::kSingleLine);

    RecordingCanvas canvas;
    host.Find(L"l")->Paint(canvas, SkinRect{0, 0, 100, 100});
    const auto texts = canvas.Only(CanvasOp::PaintText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].format, F::kVerticalCenter | F::kEndEllipsis | F::kSingleLine);
    const SkinRect item = host.Find(L"l")->ItemRect();
    EXPECT_EQ(texts[0].rect, (SkinRect{item.left + 1, item.top + 2, item.right - 3, item.bottom - 4}));
    EXPECT_EQ(texts[0].color & 0xFFFFFF, host.resources.DefaultColors().text & 0xFFFFFF);
}

TEST(LabelSize, FixedHeightOrTheFontHeightPlusFour) {
    TestControlHost host;
    host.resources.RegisterFont(2, L"Big", 20, false, false, false, false);
    BuildAttached(host,
                  L"<Window><VerticalLayout><Label name=\"default\" font=\"1\" width=\"7\"/>"
                  L"<Label name=\"big\" font=\"2\"/><Label name=\"fixed\" height=\"9\" font=\"2\"/>"
                  L"</VerticalLayout></Window>");
    // The fixed font engine's height is the pixel size plus 2; font 1 is not registered: the default (12).
    EXPECT_EQ(host.Find(L"default")->DesiredSize(SkinSize{}), (SkinSize{7, 18}));
    EXPECT_EQ(host.Find(L"big")->DesiredSize(SkinSize{}), (SkinSize{0, 26}));
    EXPECT_EQ(host.Find(L"fixed")->DesiredSize(SkinSize{}), (SkinSize{0, 9}));
    EXPECT_EQ(host.Find(L"big")->Height(), 26);

    RecordingCanvas canvas;
    auto* label = static_cast<CLabelUI*>(host.Find(L"default"));
    label->SetText(L"x");
    label->Paint(canvas, label->ItemRect());
    ASSERT_EQ(canvas.Only(CanvasOp::PaintText).size(), 1u);
    EXPECT_EQ(canvas.Only(CanvasOp::PaintText)[0].font, host.resources.BaseFontRecord()->Handle());
}

}  // namespace
}  // namespace SkinUI
