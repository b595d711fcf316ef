// The window manager over a stand-in window: which control each window message reaches, when the tree
// is laid out and painted, focus and Tab order, timers, removed controls, the first look the message
// loop gives a manager; and the borderless frame's hit test.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/Builder.h"
#include "skin/controls/ButtonUI.h"
#include "skin/controls/ContainerUI.h"
#include "skin/controls/IContainerUI.h"
#include "skin/controls/LabelUI.h"
#include "skin/manager/IMessageFilterUI.h"
#include "skin/manager/INotifyUI.h"
#include "skin/manager/ManagerUI.h"
#include "skin/manager/WindowFrame.h"
#include "skin/manager/WindowMessages.h"
#include "tests/support/skin/FixedFontEngine.h"
#include "tests/support/skin/TestWindowObject.h"
#include "tests/support/skin/TestWindowPort.h"

namespace SkinUI {
namespace {

using testsupport::TestWindowPort;
namespace M = SkinMessage;

struct NotifyRecord : INotifyUI {
    std::vector<SkinNotify> received;
    void OnNotify(SkinNotify& notify) override { received.push_back(notify); }
    std::vector<SkinNotify> Of(const std::wstring& type) const {
        std::vector<SkinNotify> found;
        std::copy_if(received.begin(), received.end(), std::back_inserter(found),
                     [&type](const SkinNotify& n) { return n.type == type; });
        return found;
    }
};

const wchar_t* const kRowSkin =
    L"<Window size=\"400,300\" mininfo=\"300,200\"><VerticalLayout name=\"root\">"
    L"<HorizontalLayout height=\"40\" name=\"row\">"
    L"<Button name=\"ok\" width=\"100\" tooltip=\"Confirm\" shortcut=\"o\"/>"
    L"<Label name=\"plain\" width=\"100\"/>"
    L"<Button name=\"cancel\" width=\"100\"/>"
    L"</HorizontalLayout><Control name=\"rest\"/></VerticalLayout></Window>";

class Manager : public ::testing::Test {
  protected:
    testsupport::FixedFontEngine fonts;
    SkinSharedResources shared;
    TestWindowPort port;
    testsupport::TestWindowObject window;
    std::unique_ptr<CSkinManagerUI> manager = std::make_unique<CSkinManagerUI>(fonts, shared);
    NotifyRecord listener;

    void Attach(const wchar_t* markup = kRowSkin) {
        manager->Init(&port);
        CSkinBuilder builder;
        ASSERT_TRUE(builder.LoadMarkup(markup));
        ASSERT_TRUE(manager->AttachRoot(builder.BuildTree(nullptr, manager.get(), &window), &window));
        manager->AddNotifyListener(&listener);
    }
    void AttachAndPaint(const wchar_t* markup = kRowSkin) {
        Attach(markup);
        Send(M::kPaint);
    }
    intptr_t Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0, bool* handled = nullptr) {
        intptr_t result = -7;
        const bool wasHandled = manager->HandleWindowMessage(message, wParam, lParam, result);
        if (handled != nullptr) {
            *handled = wasHandled;
        }
        return result;
    }
    void Mouse(uint32_t message, int32_t x, int32_t y) { Send(message, 0, LParamFromPoint(SkinPoint{x, y})); }
    CControlUI* Named(const wchar_t* name) { return manager->SearchControls(std::wstring(name)); }
    size_t Clicks() const { return listener.Of(SkinNotifyType::kClick).size(); }
};

TEST_F(Manager, FirstPaintLaysOutAndSendsWindowInitOnceResizeLaysOutAgainWithoutIt) {
    Attach();
    EXPECT_EQ(port.clientResizes.size(), 1u);  // the skin's size at once
    EXPECT_EQ(manager->MinInfo(), (SkinSize{300, 200}));
    EXPECT_TRUE(listener.received.empty());
    Send(M::kPaint);
    ASSERT_EQ(listener.Of(SkinNotifyType::kWindowInit).size(), 1u);
    EXPECT_EQ(Named(L"cancel")->ItemRect(), (SkinRect{200, 0, 300, 40}));
    EXPECT_EQ(port.paints, 1);

    port.client = SkinRect{0, 0, 600, 300};
    Send(M::kSize);
    port.InvalidateAll();
    Send(M::kPaint);
    EXPECT_EQ(Named(L"rest")->ItemRect(), (SkinRect{0, 40, 600, 300}));
    EXPECT_EQ(listener.Of(SkinNotifyType::kWindowInit).size(), 1u);

    const int paints = port.paints;
    Send(M::kPaint);  // nothing awaits repainting
    EXPECT_EQ(port.paints, paints);
}

TEST_F(Manager, PaintWithoutTreeValidatesAndTransparentWindowsAreComposedWhole) {
    manager->Init(&port);
    port.InvalidateAll();
    Send(M::kPaint);
    EXPECT_EQ(port.paints, 0);
    EXPECT_TRUE(port.UpdateRect().IsEmpty());

    window.transparent = true;
    Attach(L"<Window><Control bkcolor=\"#FF102030\"/></Window>");
    Send(M::kPaint);
    port.Invalidate(SkinRect{10, 10, 20, 20});
    Send(M::kPaint);
    EXPECT_TRUE(port.lastPaintLayered);
    EXPECT_EQ(port.lastPaintRect, port.client);
}

TEST_F(Manager, PressedButtonKeepsTheMouseReleaseOutsideGivesNoClickBackInsideGivesOne) {
    AttachAndPaint();
    Mouse(M::kMouseMove, 50, 20);
    Mouse(M::kLeftButtonDown, 50, 20);
    EXPECT_TRUE(port.captured);
    EXPECT_EQ(manager->FocusControl(), Named(L"ok"));
    Mouse(M::kMouseMove, 250, 20);
    EXPECT_EQ(manager->ClickControl(), Named(L"ok"));
    Mouse(M::kLeftButtonUp, 250, 20);
    EXPECT_FALSE(port.captured);
    EXPECT_EQ(Clicks(), 0u);

    Mouse(M::kLeftButtonDown, 50, 20);
    Mouse(M::kMouseMove, 250, 20);
    Mouse(M::kMouseMove, 60, 20);
    Mouse(M::kLeftButtonUp, 60, 20);
    ASSERT_EQ(Clicks(), 1u);
    EXPECT_EQ(listener.Of(SkinNotifyType::kClick)[0].sender, Named(L"ok"));
}

TEST_F(Manager, HoverShowsTheTooltipAndLeavingEndsTheHotState) {
    AttachAndPaint();
    Mouse(M::kMouseMove, 50, 20);
    Mouse(M::kMouseHover, 50, 20);
    EXPECT_EQ(port.tooltip.text, L"Confirm");
    // Straight out of the window after the hover: the button is hot no longer.
    Send(M::kMouseLeave);
    EXPECT_FALSE(port.tooltipShown);
    EXPECT_EQ(manager->HoverControl(), nullptr);
}

TEST_F(Manager, KeysGoToTheFocusedControlKeyUpToTheOneThatHadTheKeyDownTabWalksTheTabStops) {
    AttachAndPaint();
    ASSERT_EQ(manager->FocusControl(), Named(L"ok"));  // the first Tab stop, given at the first paint
    std::vector<int32_t> okEvents;
    Named(L"ok")->OnEvent().Add([&](SkinEvent& e) {
        okEvents.push_back(e.type);
        return true;
    });
    Send(M::kKeyDown, 'A');
    Send(M::kChar, 'a');
    Named(L"cancel")->SetFocus();
    Send(M::kKeyUp, 'A');
    EXPECT_EQ(okEvents, (std::vector<int32_t>{SkinEventType::kKeyDown, SkinEventType::kChar,
                                              SkinEventType::kKillFocus, SkinEventType::kKeyUp}));

    // Tab moves among the Tab stops and wraps both ways; with Shift it goes back.
    intptr_t result = 0;
    EXPECT_TRUE(manager->HandlePreTranslate(M::kKeyDown, SkinKey::kTab, 0, result));
    EXPECT_EQ(manager->FocusControl(), Named(L"ok"));
    port.shiftDown = true;
    manager->HandlePreTranslate(M::kKeyDown, SkinKey::kTab, 0, result);
    EXPECT_EQ(manager->FocusControl(), Named(L"cancel"));
    EXPECT_FALSE(manager->HandlePreTranslate(M::kKeyDown, 'X', 0, result));
    Named(L"ok")->SetEnabled(false);
    Named(L"ok")->SetFocus();
    EXPECT_EQ(manager->FocusControl(), nullptr);
}

TEST_F(Manager, RemovedControlsGoAfterTheMessageAndTheirQueuedNotificationsWithThem) {
    AttachAndPaint();
    Mouse(M::kMouseMove, 250, 20);
    listener.received.clear();
    manager->RaiseNotify(Named(L"cancel"), L"later", 0, 0, true);
    auto* row = static_cast<CContainerUI*>(Named(L"row"));
    row->RemoveAt(2);
    EXPECT_EQ(port.deferredDestructionPosts, 1);
    // Removed but not yet destroyed: the notification still has its sender.
    Send(M::kEraseBackground);
    EXPECT_EQ(listener.received.size(), 1u);
    Send(M::kDestroyDeferredControls);
    EXPECT_EQ(manager->HoverControl(), nullptr);

    listener.received.clear();
    row->SetDefersChildDeletion(false);
    manager->RaiseNotify(Named(L"plain"), L"later", 0, 0, true);
    row->RemoveAt(1);
    Send(M::kEraseBackground);
    EXPECT_TRUE(listener.received.empty());
}

TEST_F(Manager, TimersReachTheirControlWithItsOwnIdAndADestroyedControlLeavesNone) {
    AttachAndPaint();
    CControlUI* ok = Named(L"ok");
    ASSERT_TRUE(manager->SetTimer(ok, 7, 100));
    ASSERT_TRUE(manager->SetTimer(ok, 7, 200));  // restarted, not doubled
    ASSERT_EQ(port.runningTimers.size(), 1u);
    const uint32_t windowTimer = port.runningTimers.begin()->first;
    Send(M::kTimer, windowTimer);
    ASSERT_EQ(listener.Of(SkinNotifyType::kTimer).size(), 1u);
    EXPECT_EQ(listener.Of(SkinNotifyType::kTimer)[0].wParam, 7u);
    static_cast<CContainerUI*>(Named(L"row"))->RemoveAt(0);
    Send(M::kDestroyDeferredControls);
    EXPECT_TRUE(port.runningTimers.empty());
    Send(M::kTimer, windowTimer);  // one already posted finds nothing
    EXPECT_EQ(listener.Of(SkinNotifyType::kTimer).size(), 1u);
}

TEST_F(Manager, CloseEndsHoverAndPressAndHandsTheFocusToTheOwner) {
    AttachAndPaint();
    Mouse(M::kMouseMove, 50, 20);
    Mouse(M::kLeftButtonDown, 50, 20);
    bool handled = true;
    Send(M::kClose, 0, 0, &handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(manager->HoverControl(), nullptr);
    EXPECT_EQ(manager->ClickControl(), nullptr);
    EXPECT_EQ(manager->FocusControl(), nullptr);
    EXPECT_EQ(port.focusGivenToOwner, 1);
    EXPECT_EQ(Clicks(), 1u);  // the release came over the button
}

struct Filter : IMessageFilterUI {
    bool swallows = true;
    std::function<void()> whenAsked;
    intptr_t HandleWindowMessage(uint32_t message, uintptr_t, intptr_t, bool& handled) override {
        if (whenAsked) {
            whenAsked();
        }
        handled = swallows && message == M::kEraseBackground;
        return handled ? 42 : 0;
    }
};

TEST_F(Manager, MessageFiltersComeFirstAndOneRemovedDuringAMessageIsNotAsked) {
    AttachAndPaint();
    Filter filter;
    manager->AddMessageListener(&filter);
    bool handled = false;
    EXPECT_EQ(Send(M::kEraseBackground, 0, 0, &handled), 42);
    manager->RemoveMessageListener(&filter);
    EXPECT_EQ(Send(M::kEraseBackground, 0, 0, &handled), 1);
    // A filter removed by an earlier one while a message is offered (it may be gone) is not asked.
    Filter first;
    first.swallows = false;
    first.whenAsked = [&] { manager->RemoveMessageListener(&filter); };
    manager->AddMessageListener(&first);
    manager->AddMessageListener(&filter);
    EXPECT_EQ(Send(M::kEraseBackground, 0, 0, &handled), 1);
}

class Windows : public ISkinWindowTree {
  public:
    uintptr_t child = 0x2001;
    uintptr_t parent = 0x1000;
    bool IsChildWindow(uintptr_t window) const override { return window == child; }
    bool IsAncestor(uintptr_t ancestor, uintptr_t window) const override {
        return window == child && ancestor == parent;
    }
};

TEST_F(Manager, TheLoopOffersMessagesToTheManagerOfTheWindowOrOfItsAncestors) {
    AttachAndPaint();
    Windows windows;
    EXPECT_FALSE(CSkinManagerUI::PreTranslate(SkinWindowMessage{0x1000, M::kSysChar, 'q', 0}, windows));
    EXPECT_TRUE(CSkinManagerUI::PreTranslate(SkinWindowMessage{0x1000, M::kSysChar, 'O', 0}, windows));
    EXPECT_EQ(Clicks(), 1u);
    EXPECT_TRUE(CSkinManagerUI::PreTranslate(SkinWindowMessage{windows.child, M::kSysChar, 'o', 0}, windows));
    EXPECT_EQ(Clicks(), 2u);
    EXPECT_FALSE(CSkinManagerUI::PreTranslate(SkinWindowMessage{0x3000, M::kSysChar, 'o', 0}, windows));
    manager.reset();
    EXPECT_FALSE(CSkinManagerUI::PreTranslate(SkinWindowMessage{0x1000, M::kSysChar, 'o', 0}, windows));
}

TEST(FrameHitTest, CaptionDragsExceptOverButtonsAndTextsAndTheSizeBoxHasNoTopEdge) {
    CLabelUI label;
    CButtonUI button;
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

}  // namespace
}  // namespace SkinUI
