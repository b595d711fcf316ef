// Labels and buttons: the button's states under the mouse and keyboard, the state images with their
// fallbacks, text colours and styles, and the label's size and text rules.
#include <gtest/gtest.h>

#include <map>

#include "skin/controls/ButtonUI.h"
#include "skin/controls/ControlSearch.h"
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
    EXPECT_EQ(Button().ControlFlags(), 0u);  // no Tab stop: the keyboard cannot reach it
    EXPECT_FALSE(Button().TryActivate());
    Button().SetDisabledImage(L"");
    EXPECT_EQ(DrawnImages(), (Names{L"normal", L"fore"}));
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
    CButtonUI detached;  // without a manager a button activates silently
    EXPECT_TRUE(detached.TryActivate());
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
    EXPECT_EQ(label(L"l")->TextStyle(), F::kVerticalCenter | F::kEndEllipsis);
    EXPECT_EQ(label(L"r")->TextStyle(), F::kRight | F::kBottom | F::kSingleLine);
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
    EXPECT_EQ(texts[0].color & 0xFFFFFF, host.resources.DefaultColors().text & 0xFFFFFF);
    EXPECT_EQ(texts[0].font, host.resources.BaseFontRecord()->Handle());
}

}  // namespace
}  // namespace SkinUI
