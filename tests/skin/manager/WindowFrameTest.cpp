// The borderless window's frame: resize borders, dragging by the caption, and the switch between the
// maximise and restore buttons.
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

TEST(FrameHitTest, CaptionDragsExceptOverButtonsAndTextsAndTheSizeBoxHasNoTopEdge) {
    CLabelUI label;
    CButtonUI button;
    COptionUI option;
    CTextUI text;
    CCheckBoxUI checkBox;
    const SkinRect whole{0, 0, 0, 768};
    const SkinRect bar{10, 0, 10, 30};  // left and right are margins, the bottom edge is outside
    const SkinRect box{4, 0, 4, 4};
    struct Case {
        SkinPoint point;
        SkinRect sizeBox;
        SkinRect caption;
        bool maximised;
        const CControlUI* under;
        intptr_t hit;
    };
    const Case cases[] = {
        {{600, 700}, {}, whole, false, &label, SkinHit::kCaption},
        {{600, 700}, {}, whole, false, &button, SkinHit::kClient},
        {{600, 700}, {}, whole, false, &option, SkinHit::kClient},
        {{600, 700}, {}, whole, false, &text, SkinHit::kClient},
        {{600, 700}, {}, whole, false, &checkBox, SkinHit::kCaption},
        {{600, 700}, {}, whole, false, nullptr, SkinHit::kClient},  // nothing to drag by
        {{5, 29}, {}, bar, false, &label, SkinHit::kClient},
        {{10, 30}, {}, bar, false, &label, SkinHit::kClient},
        {{1270, 29}, {}, bar, false, &label, SkinHit::kClient},
        {{2, 300}, box, bar, false, &label, SkinHit::kLeft},
        {{1277, 300}, box, bar, false, &label, SkinHit::kRight},
        {{600, 765}, box, bar, false, &label, SkinHit::kBottom},
        {{2, 767}, box, bar, false, &label, SkinHit::kBottomLeft},
        {{1279, 767}, box, bar, false, &label, SkinHit::kBottomRight},
        {{600, 0}, box, bar, false, &label, SkinHit::kCaption},  // no top border: the caption
        {{2, 300}, box, bar, true, &label, SkinHit::kClient},    // maximised: no borders
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            SkinFrameHitTest(SkinRect{0, 0, 1280, 768}, c.point, c.sizeBox, c.caption, c.maximised, c.under),
            c.hit)
            << c.point.x << "," << c.point.y << (c.maximised ? " maximised" : "");
    }
}

TEST(ZoomButtons, MaximisingShowsRestoreRestoringShowsMaximiseAndALoneMaximiseButtonStays) {
    testsupport::FixedFontEngine fonts;
    SkinSharedResources shared;
    testsupport::TestWindowPort port;
    for (const bool withRestore : {true, false}) {
        CSkinManagerUI manager{fonts, shared};
        manager.Init(&port);
        CSkinBuilder builder;
        ASSERT_TRUE(
            builder.LoadMarkup(std::wstring(L"<Window><HorizontalLayout><Button name=\"maxbtn\"/>") +
                               (withRestore ? L"<Button name=\"restorebtn\" visible=\"false\"/>" : L"") +
                               L"</HorizontalLayout></Window>"));
        ASSERT_TRUE(manager.AttachRoot(builder.BuildTree(nullptr, &manager, nullptr), nullptr));
        CControlUI* maximise = manager.SearchControls(std::wstring(L"maxbtn"));
        CControlUI* restore = manager.SearchControls(std::wstring(L"restorebtn"));
        ShowZoomButtons(manager, false, true);
        EXPECT_EQ(maximise->IsVisible(), !withRestore);
        ShowZoomButtons(manager, true, true);  // no change of state: nothing moves
        EXPECT_EQ(maximise->IsVisible(), !withRestore);
        if (withRestore) {
            EXPECT_TRUE(restore->IsVisible());
            ShowZoomButtons(manager, true, false);
            EXPECT_TRUE(maximise->IsVisible());
            EXPECT_FALSE(restore->IsVisible());
        }
    }
}

}  // namespace
}  // namespace SkinUI
