// The borderless window's frame: resize borders, dragging by the caption, the system buttons and the
// switch between the maximise and restore buttons.
#include <gtest/gtest.h>

#include "skin/controls/Builder.h"
#include "skin/controls/ButtonUI.h"
#include "skin/controls/ExtraControls.h"
#include "skin/controls/LabelUI.h"
#include "skin/manager/ManagerUI.h"
#include "skin/manager/WindowFrame.h"
#include "skin/manager/WindowMessages.h"
#include "tests/support/skin/FixedFontEngine.h"
#include "tests/support/skin/TestWindowPort.h"

namespace SkinUI {
namespace {

const SkinRect kClient{0, 0, 1280, 768};

TEST(FrameHitTest, WholeWindowCaptionDragsExceptOverButtonsOptionsAndTexts) {
    const SkinRect caption{0, 0, 0, 768};
    const SkinRect noSizeBox{};
    CLabelUI label;
    CButtonUI button;
    COptionUI option;
    CTextUI text;
    CCheckBoxUI checkBox;
    const SkinPoint p{600, 700};
    EXPECT_EQ(SkinFrameHitTest(kClient, p, noSizeBox, caption, false, &label), SkinHit::kCaption);
    EXPECT_EQ(SkinFrameHitTest(kClient, p, noSizeBox, caption, false, &button), SkinHit::kClient);
    EXPECT_EQ(SkinFrameHitTest(kClient, p, noSizeBox, caption, false, &option), SkinHit::kClient);
    EXPECT_EQ(SkinFrameHitTest(kClient, p, noSizeBox, caption, false, &text), SkinHit::kClient);
    EXPECT_EQ(SkinFrameHitTest(kClient, p, noSizeBox, caption, false, &checkBox), SkinHit::kCaption);
    // Nothing under the point: nothing to drag by.
    EXPECT_EQ(SkinFrameHitTest(kClient, p, noSizeBox, caption, false, nullptr), SkinHit::kClient);
    // The caption's bottom edge is outside it; left and right are margins.
    EXPECT_EQ(SkinFrameHitTest(kClient, SkinPoint{5, 30}, noSizeBox, SkinRect{10, 0, 10, 30}, false, &label),
              SkinHit::kClient);
    EXPECT_EQ(SkinFrameHitTest(kClient, SkinPoint{10, 29}, noSizeBox, SkinRect{10, 0, 10, 30}, false, &label),
              SkinHit::kCaption);
    EXPECT_EQ(
        SkinFrameHitTest(kClient, SkinPoint{1270, 29}, noSizeBox, SkinRect{10, 0, 10, 30}, false, &label),
        SkinHit::kClient);
}

TEST(FrameHitTest, SizeBoxWithoutATopEdgeAndNoneWhenMaximisedOrZero) {
    const SkinRect box{4, 0, 4, 4};
    const SkinRect caption{0, 0, 0, 30};
    CLabelUI label;
    auto hit = [&](int32_t x, int32_t y, bool maximised = false) {
        return SkinFrameHitTest(kClient, SkinPoint{x, y}, box, caption, maximised, &label);
    };
    EXPECT_EQ(hit(2, 300), SkinHit::kLeft);
    EXPECT_EQ(hit(1277, 300), SkinHit::kRight);
    EXPECT_EQ(hit(1276, 300), SkinHit::kClient);
    EXPECT_EQ(hit(600, 765), SkinHit::kBottom);
    EXPECT_EQ(hit(600, 764), SkinHit::kClient);
    EXPECT_EQ(hit(2, 767), SkinHit::kBottomLeft);
    EXPECT_EQ(hit(1279, 767), SkinHit::kBottomRight);
    EXPECT_EQ(hit(600, 0), SkinHit::kCaption);  // no top border: the caption
    EXPECT_EQ(hit(2, 300, true), SkinHit::kClient);
    EXPECT_EQ(hit(600, 767, true), SkinHit::kClient);
    for (const SkinPoint p : {SkinPoint{0, 0}, SkinPoint{1279, 767}, SkinPoint{0, 400}}) {
        EXPECT_EQ(SkinFrameHitTest(kClient, p, SkinRect{}, caption, false, nullptr), SkinHit::kClient);
    }
}

TEST(SystemButtons, OnlyTheStandardNamesExactly) {
    EXPECT_EQ(SystemButtonCommand(L"closebtn"), SkinSysCommand::kClose);
    EXPECT_EQ(SystemButtonCommand(L"minbtn"), SkinSysCommand::kMinimize);
    EXPECT_EQ(SystemButtonCommand(L"minibtn"), 0u);
    EXPECT_EQ(SystemButtonCommand(L"CloseBtn"), 0u);
}

class ZoomButtons : public ::testing::Test {
  protected:
    testsupport::FixedFontEngine fonts;
    SkinSharedResources shared;
    testsupport::TestWindowPort port;
    CSkinManagerUI manager{fonts, shared};

    void Attach(const wchar_t* markup) {
        manager.Init(&port);
        CSkinBuilder builder;
        ASSERT_TRUE(builder.LoadMarkup(markup));
        ASSERT_TRUE(manager.AttachRoot(builder.BuildTree(nullptr, &manager, nullptr), nullptr));
    }
    CControlUI* Named(const wchar_t* name) { return manager.SearchControls(std::wstring(name)); }
};

TEST_F(ZoomButtons, MaximisingShowsRestoreAndRestoringShowsMaximise) {
    Attach(
        L"<Window><HorizontalLayout><Button name=\"maxbtn\"/>"
        L"<Button name=\"restorebtn\" visible=\"false\"/></HorizontalLayout></Window>");
    ShowZoomButtons(manager, false, true);
    EXPECT_FALSE(Named(L"maxbtn")->IsVisible());
    EXPECT_TRUE(Named(L"restorebtn")->IsVisible());
    ShowZoomButtons(manager, true, true);  // no change of state: nothing moves
    EXPECT_TRUE(Named(L"restorebtn")->IsVisible());
    ShowZoomButtons(manager, true, false);
    EXPECT_TRUE(Named(L"maxbtn")->IsVisible());
    EXPECT_FALSE(Named(L"restorebtn")->IsVisible());
}

TEST_F(ZoomButtons, WithoutARestoreButtonTheMaximiseButtonStays) {
    Attach(L"<Window><HorizontalLayout><Button name=\"maxbtn\"/></HorizontalLayout></Window>");
    ShowZoomButtons(manager, false, true);
    EXPECT_TRUE(Named(L"maxbtn")->IsVisible());
}

TEST(RoundCorners, SquareCornersNeedNoRegion) {
    SkinRect region;
    EXPECT_FALSE(RoundCornerRegion(SkinSize{1000, 700}, SkinSize{0, 0}, region));
    ASSERT_TRUE(RoundCornerRegion(SkinSize{1000, 700}, SkinSize{6, 6}, region));
    EXPECT_EQ(region, (SkinRect{0, 0, 1001, 701}));
}

}  // namespace
}  // namespace SkinUI
