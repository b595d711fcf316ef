// The window manager over a stand-in window: which control each window message reaches, when the tree
// is laid out and painted, focus and Tab order, timers, notifications and the first look the message
// loop gives a manager.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/controls/Builder.h"
#include "skin/controls/ContainerUI.h"
#include "skin/controls/IContainerUI.h"
#include "skin/manager/IMessageFilterUI.h"
#include "skin/manager/INotifyUI.h"
#include "skin/manager/ITranslateAccelerator.h"
#include "skin/manager/ManagerUI.h"
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
        for (const SkinNotify& n : received) {
            if (n.type == type) {
                found.push_back(n);
            }
        }
        return found;
    }
};

const wchar_t* const kRowSkin =
    L"<Window size=\"400,300\"><VerticalLayout name=\"root\">"
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
    EXPECT_TRUE(listener.received.empty());
    Send(M::kPaint);
    ASSERT_EQ(listener.Of(SkinNotifyType::kWindowInit).size(), 1u);
    EXPECT_EQ(listener.received[0].sender, manager->Root());
    EXPECT_EQ(Named(L"cancel")->ItemRect(), (SkinRect{200, 0, 300, 40}));
    EXPECT_EQ(port.paints, 1);
    EXPECT_EQ(port.lastPaintRect, port.client);

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
    Attach(L"<Window showdirty=\"true\"><Control bkcolor=\"#FF102030\"/></Window>");
    Send(M::kPaint);
    port.Invalidate(SkinRect{10, 10, 20, 20});
    Send(M::kPaint);
    EXPECT_TRUE(port.lastPaintLayered);
    EXPECT_EQ(port.lastPaintRect, port.client);
    const auto outlines = port.lastCanvas.Only(testsupport::CanvasOp::DrawRect);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_EQ(outlines[0].color, 0xFFDC0000u);
    EXPECT_EQ(outlines[0].rect, port.client);
}

TEST_F(Manager, PressedButtonKeepsTheMouseReleaseOutsideGivesNoClickBackInsideGivesOne) {
    AttachAndPaint();
    Mouse(M::kMouseMove, 50, 20);
    Mouse(M::kLeftButtonDown, 50, 20);
    EXPECT_TRUE(port.captured);
    EXPECT_EQ(manager->FocusControl(), Named(L"ok"));
    Mouse(M::kMouseMove, 250, 20);
    EXPECT_EQ(manager->ClickControl(), Named(L"ok"));
    EXPECT_EQ(manager->HoverControl(), Named(L"cancel"));
    Mouse(M::kLeftButtonUp, 250, 20);
    EXPECT_FALSE(port.captured);
    EXPECT_EQ(manager->ClickControl(), nullptr);
    EXPECT_EQ(Clicks(), 0u);

    Mouse(M::kLeftButtonDown, 50, 20);
    Mouse(M::kMouseMove, 250, 20);
    Mouse(M::kMouseMove, 60, 20);
    Mouse(M::kLeftButtonUp, 60, 20);
    ASSERT_EQ(Clicks(), 1u);
    EXPECT_EQ(listener.Of(SkinNotifyType::kClick)[0].sender, Named(L"ok"));
    EXPECT_EQ(listener.Of(SkinNotifyType::kClick)[0].point, (SkinPoint{60, 20}));
}

TEST_F(Manager, HoverShowsATooltipOnlyForControlsWithOneAndLeavingEndsTheHotState) {
    AttachAndPaint();
    Mouse(M::kMouseMove, 150, 20);
    ASSERT_EQ(port.trackedHoverTimes, std::vector<uint32_t>{400});
    Mouse(M::kMouseHover, 150, 20);
    EXPECT_FALSE(port.tooltipExists);

    Mouse(M::kMouseMove, 50, 20);
    EXPECT_EQ(port.trackedHoverTimes.size(), 2u);  // armed again after the hover
    Mouse(M::kMouseHover, 50, 20);
    EXPECT_TRUE(port.tooltipShown);
    EXPECT_EQ(port.tooltip.text, L"Confirm");
    EXPECT_EQ(port.tooltip.maxWidth, 300);
    EXPECT_EQ(port.tooltip.toolRect, Named(L"ok")->ItemRect());

    // Straight out of the window after the hover: the button is hot no longer.
    Send(M::kMouseLeave);
    EXPECT_FALSE(port.tooltipShown);
    EXPECT_EQ(manager->HoverControl(), nullptr);
    EXPECT_EQ(port.trackedHoverTimes.size(), 2u);
    Mouse(M::kMouseMove, 55, 20);
    EXPECT_EQ(port.trackedHoverTimes.back(), 500u);  // the tooltip's own delay from now on
}

TEST_F(Manager, WheelGoesToTheControlUnderThePointerAndRefreshesTheHotControl) {
    AttachAndPaint();
    std::vector<SkinEvent> seen;
    Named(L"rest")->OnEvent().Add([&](SkinEvent& e) {
        seen.push_back(e);
        return true;
    });
    Mouse(M::kMouseMove, 10, 100);
    seen.clear();
    // Screen coordinates: the window lies at (100, 50).
    Send(M::kMouseWheel, static_cast<uintptr_t>(static_cast<uint16_t>(-120)) << 16,
         LParamFromPoint(SkinPoint{110, 150}));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].type, SkinEventType::kScrollWheel);
    EXPECT_EQ(seen[0].wParam, kScrollLineDown);
    EXPECT_EQ(seen[0].point, (SkinPoint{10, 100}));
    EXPECT_EQ(seen[1].type, SkinEventType::kMouseMove);
}

TEST_F(Manager, RightPressThenContextMenuReachesTheControlAndGivesTheMouseBack) {
    AttachAndPaint(
        L"<Window><HorizontalLayout><Button name=\"b\" menu=\"true\"/></HorizontalLayout></Window>");
    Mouse(M::kRightButtonDown, 20, 20);
    EXPECT_TRUE(port.captured);
    Send(M::kContextMenu, 0, LParamFromPoint(SkinPoint{121, 71}));
    EXPECT_FALSE(port.captured);
    ASSERT_EQ(listener.Of(SkinNotifyType::kMenu).size(), 1u);
    EXPECT_EQ(manager->LastMousePoint(), (SkinPoint{21, 21}));
    EXPECT_EQ(manager->ClickControl(), nullptr);
}

TEST_F(Manager, KeysGoToTheFocusedControlAndKeyUpToTheOneThatHadTheKeyDown) {
    AttachAndPaint();
    std::vector<int32_t> okEvents;
    Named(L"ok")->OnEvent().Add([&](SkinEvent& e) {
        okEvents.push_back(e.type);
        return true;
    });
    Named(L"ok")->SetFocus();
    Send(M::kKeyDown, 'A');
    Send(M::kChar, 'a');
    Named(L"cancel")->SetFocus();
    Send(M::kKeyUp, 'A');
    const std::vector<int32_t> expected{SkinEventType::kKeyDown, SkinEventType::kChar,
                                        SkinEventType::kKillFocus, SkinEventType::kKeyUp};
    EXPECT_EQ(okEvents, expected);
}

TEST_F(Manager, FocusChangesSendEventsAndNotificationsAndSkipDisabledControls) {
    AttachAndPaint();
    ASSERT_EQ(manager->FocusControl(), Named(L"ok"));  // the first Tab stop, given at the first paint
    listener.received.clear();
    Named(L"cancel")->SetFocus();
    ASSERT_EQ(listener.received.size(), 2u);
    EXPECT_EQ(listener.received[0].type, L"killfocus");
    EXPECT_EQ(listener.received[0].sender, Named(L"ok"));
    EXPECT_EQ(listener.received[1].type, L"setfocus");
    EXPECT_EQ(listener.received[1].sender, Named(L"cancel"));
    EXPECT_FALSE(Named(L"ok")->IsFocused());
    EXPECT_TRUE(Named(L"cancel")->IsFocused());
    Named(L"ok")->SetEnabled(false);
    Named(L"ok")->SetFocus();
    EXPECT_EQ(manager->FocusControl(), nullptr);
}

TEST_F(Manager, TabMovesAmongTabStopsWrappingAndShiftGoesBack) {
    AttachAndPaint();
    // The first paint gave the focus to the first Tab stop.
    EXPECT_EQ(manager->FocusControl(), Named(L"ok"));
    intptr_t result = 0;
    EXPECT_TRUE(manager->HandlePreTranslate(M::kKeyDown, SkinKey::kTab, 0, result));
    EXPECT_EQ(manager->FocusControl(), Named(L"cancel"));
    manager->HandlePreTranslate(M::kKeyDown, SkinKey::kTab, 0, result);
    EXPECT_EQ(manager->FocusControl(), Named(L"ok"));
    port.shiftDown = true;
    manager->HandlePreTranslate(M::kKeyDown, SkinKey::kTab, 0, result);
    EXPECT_EQ(manager->FocusControl(), Named(L"cancel"));
    EXPECT_FALSE(manager->HandlePreTranslate(M::kKeyDown, 'X', 0, result));
}

TEST_F(Manager, AltWithAShortcutLetterActivatesTheControlOtherLettersKeepTheirMeaning) {
    AttachAndPaint();
    intptr_t result = 0;
    EXPECT_FALSE(manager->HandlePreTranslate(M::kSysChar, 'q', 0, result));
    EXPECT_TRUE(manager->HandlePreTranslate(M::kSysChar, 'O', 0, result));
    ASSERT_EQ(Clicks(), 1u);
    EXPECT_EQ(manager->FocusControl(), Named(L"ok"));
}

TEST_F(Manager, AsyncNotificationsArriveWithTheNextMessageSyncOnesAtOnceAfterTheSendersHooks) {
    AttachAndPaint();
    listener.received.clear();
    std::vector<std::wstring> order;
    Named(L"ok")->OnNotify().Add([&](SkinNotify& n) {
        order.push_back(L"hook:" + n.type);
        return true;
    });
    manager->RaiseNotify(Named(L"ok"), L"later", 1, 2, true);
    EXPECT_TRUE(listener.received.empty());
    EXPECT_EQ(order, std::vector<std::wstring>{});
    Send(M::kEraseBackground);
    ASSERT_EQ(listener.received.size(), 1u);
    EXPECT_EQ(listener.received[0].type, L"later");
    EXPECT_EQ(order, std::vector<std::wstring>{L"hook:later"});
}

TEST_F(Manager, RemovedControlsGoAfterTheMessageAndTheirQueuedNotificationsWithThem) {
    AttachAndPaint();
    Mouse(M::kMouseMove, 250, 20);
    listener.received.clear();
    manager->RaiseNotify(Named(L"cancel"), L"later", 0, 0, true);
    auto* row = static_cast<CContainerUI*>(Named(L"row"));
    row->RemoveAt(2);
    EXPECT_EQ(port.deferredDestructionPosts, 1);
    EXPECT_EQ(Named(L"cancel"), nullptr);
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

TEST_F(Manager, TimersReachTheirControlWithItsOwnIdAndSettingAgainRestarts) {
    AttachAndPaint();
    CControlUI* ok = Named(L"ok");
    ASSERT_TRUE(manager->SetTimer(ok, 7, 100));
    ASSERT_TRUE(manager->SetTimer(ok, 7, 200));
    ASSERT_EQ(port.runningTimers.size(), 1u);
    const uint32_t windowTimer = port.runningTimers.begin()->first;
    EXPECT_EQ(port.runningTimers.begin()->second, 200u);
    Send(M::kTimer, windowTimer);
    const auto timers = listener.Of(SkinNotifyType::kTimer);
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].wParam, 7u);
    EXPECT_EQ(timers[0].sender, ok);

    EXPECT_TRUE(manager->KillTimer(ok, 7));
    EXPECT_TRUE(port.runningTimers.empty());
    Send(M::kTimer, windowTimer);
    EXPECT_EQ(listener.Of(SkinNotifyType::kTimer).size(), 1u);
    ASSERT_TRUE(manager->SetTimer(ok, 7, 50));  // revived under its old platform id
    EXPECT_EQ(port.runningTimers.count(windowTimer), 1u);
}

TEST_F(Manager, TimerIdsNeverClashAndADestroyedControlLeavesNoTimer) {
    AttachAndPaint();
    CControlUI* ok = Named(L"ok");
    for (uint32_t id = 0; id < 254; ++id) {
        ASSERT_TRUE(manager->SetTimer(ok, id, 10)) << id;
    }
    EXPECT_EQ(port.runningTimers.size(), 254u);
    EXPECT_EQ(port.runningTimers.count(0), 0u);
    EXPECT_FALSE(manager->SetTimer(ok, 999, 10));  // every platform id is taken
    auto* row = static_cast<IContainerUI*>(Named(L"row")->FindInterface(L"IContainer"));
    row->RemoveAt(0);
    Send(M::kDestroyDeferredControls);
    EXPECT_TRUE(port.runningTimers.empty());
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

TEST_F(Manager, CursorIsSetOverButtonsOnlyInTheClientAreaAndNotWhileCaptured) {
    AttachAndPaint();
    bool handled = false;
    port.cursor = SkinPoint{250, 20};
    EXPECT_EQ(Send(M::kSetCursor, 0, 1, &handled), 1);
    EXPECT_TRUE(handled);
    EXPECT_EQ(port.shape, SkinCursor::Hand);
    port.shape = SkinCursor::Arrow;
    Send(M::kSetCursor, 0, 2, &handled);  // over the caption
    EXPECT_FALSE(handled);
    port.cursor = SkinPoint{150, 20};
    Send(M::kSetCursor, 0, 1, &handled);  // a label sets none
    EXPECT_FALSE(handled);
    Mouse(M::kLeftButtonDown, 50, 20);
    port.cursor = SkinPoint{250, 20};
    Send(M::kSetCursor, 0, 1, &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(port.shape, SkinCursor::Arrow);
}

struct Filter : IMessageFilterUI {
    uint32_t swallowed = 0;
    intptr_t HandleWindowMessage(uint32_t message, uintptr_t, intptr_t, bool& handled) override {
        handled = message == swallowed;
        return handled ? 42 : 0;
    }
};

TEST_F(Manager, MessageFiltersComeFirstAndNothingIsHandledWithoutAWindow) {
    intptr_t result = 0;
    EXPECT_FALSE(manager->HandleWindowMessage(M::kEraseBackground, 0, 0, result));
    AttachAndPaint();
    Filter filter;
    filter.swallowed = M::kEraseBackground;
    manager->AddMessageListener(&filter);
    bool handled = false;
    EXPECT_EQ(Send(M::kEraseBackground, 0, 0, &handled), 42);
    manager->RemoveMessageListener(&filter);
    EXPECT_EQ(Send(M::kEraseBackground, 0, 0, &handled), 1);
    Send(M::kGetMinMaxInfo);
    ASSERT_EQ(port.trackingLimits.size(), 1u);
}

TEST_F(Manager, ReplacingTheTreeDefersTheOldOneAndStartsAgain) {
    AttachAndPaint();
    Mouse(M::kMouseMove, 50, 20);
    CSkinBuilder builder;
    ASSERT_TRUE(builder.LoadMarkup(L"<Window><Button name=\"only\"/></Window>"));
    ASSERT_TRUE(manager->AttachRoot(builder.BuildTree(nullptr, manager.get(), &window), &window));
    EXPECT_EQ(manager->HoverControl(), nullptr);
    EXPECT_EQ(Named(L"ok"), nullptr);
    Send(M::kDestroyDeferredControls);
    Send(M::kPaint);
    EXPECT_EQ(listener.Of(SkinNotifyType::kWindowInit).size(), 2u);
    EXPECT_EQ(manager->Root()->ItemRect(), port.client);
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

struct Accelerator : ITranslateAccelerator {
    std::vector<uint32_t> seen;
    intptr_t TranslateAccelerator(const SkinWindowMessage& message) override {
        seen.push_back(message.message);
        return message.message == M::kChar ? 1 : 0;
    }
};

TEST_F(Manager, TheLoopOffersMessagesToTheManagerOfTheWindowOrOfItsAncestors) {
    AttachAndPaint();
    Accelerator accelerator;
    manager->AddAcceleratorListener(&accelerator);
    Windows windows;
    EXPECT_TRUE(CSkinManagerUI::PreTranslate(SkinWindowMessage{0x1000, M::kChar, 'a', 0}, windows));
    EXPECT_TRUE(CSkinManagerUI::PreTranslate(SkinWindowMessage{0x1000, M::kSysChar, 'o', 0}, windows));
    EXPECT_EQ(Clicks(), 1u);
    EXPECT_TRUE(CSkinManagerUI::PreTranslate(SkinWindowMessage{windows.child, M::kSysChar, 'o', 0}, windows));
    EXPECT_EQ(Clicks(), 2u);
    EXPECT_FALSE(CSkinManagerUI::PreTranslate(SkinWindowMessage{0x3000, M::kSysChar, 'o', 0}, windows));
    EXPECT_EQ(accelerator.seen.size(), 3u);
    manager.reset();
    EXPECT_FALSE(CSkinManagerUI::PreTranslate(SkinWindowMessage{0x1000, M::kChar, 'a', 0}, windows));
}

TEST_F(Manager, WindowElementReachesTheWindow) {
    Attach(
        L"<Window size=\"300,200\" alpha=\"300\" mininfo=\"300,200\" "
        L"caption=\"0,0,0,30\"><Control/></Window>");
    EXPECT_EQ(port.client, (SkinRect{0, 0, 300, 200}));
    EXPECT_EQ(port.opacities, std::vector<uint8_t>{255});
    EXPECT_EQ(manager->MinInfo(), (SkinSize{300, 200}));
    EXPECT_EQ(manager->CaptionRect(), (SkinRect{0, 0, 0, 30}));
}

}  // namespace
}  // namespace SkinUI
