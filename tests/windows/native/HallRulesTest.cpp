#include <gtest/gtest.h>

#include "PortalConfig.h"
#include "windows/HallAddresses.h"
#include "windows/HallClicks.h"
#include "windows/HallGeometry.h"

namespace {

using hall::Box;
using hall::ClickAction;

TEST(ServerListAddress, CarriesTheChannelInDecimalWhateverItsSign) {
    const std::string prefix = std::string("http://") + portal::kMainHost + "/wd_rnct.html?channel=";
    EXPECT_EQ(prefix + "46&newest=1", hall::ServerListAddress(46));
    EXPECT_EQ(prefix + "0&newest=1", hall::ServerListAddress(0));
    EXPECT_EQ(prefix + "-3&newest=1", hall::ServerListAddress(-3));
    EXPECT_EQ(prefix + "-2147483648&newest=1", hall::ServerListAddress(INT32_MIN));
}

TEST(PortalLinks, PathsSitOnTheirHosts) {
    const auto wide = [](const char* host, const char* path) {
        const std::string text = std::string("http://") + host + path;
        return std::wstring(text.begin(), text.end());
    };
    EXPECT_EQ(wide(portal::kGameSiteHost, "/"), hall::GameSiteAddress());
    EXPECT_EQ(wide(portal::kPaymentHost, "/payment.html"), hall::PaymentPageAddress());
    EXPECT_EQ(wide(portal::kMainHost, "/service.html"), hall::ServicePageAddress());
    EXPECT_EQ(wide(portal::kForumHost, "/"), hall::ForumAddress());
    EXPECT_EQ(wide(portal::kHelpHost, "/index.php"), hall::HelpPageAddress());
}

TEST(HallGeometry, PageAreaIsTheBackgroundFrameWhereverTheLauncherStands) {
    const Box page = hall::PageAreaOfLauncher({320, 156, 1600, 924});
    EXPECT_EQ((Box{704, 378, 1430, 798}), page);
    EXPECT_EQ(726, page.Width());
    EXPECT_EQ(420, page.Height());
    // A launcher partly off the left of the screen moves its page with it.
    EXPECT_EQ((Box{284, 222, 1010, 642}), hall::PageAreaOfLauncher({-100, 0, 1180, 768}));
}

TEST(HallGeometry, HostedPageLeavesTheTitleRowAndThreePixelMargins) {
    const Box hosted = hall::HostedPageArea({0, 0, 1000, 700});
    EXPECT_EQ((Box{3, 33, 997, 697}), hosted);
    EXPECT_EQ(994, hosted.Width());
    EXPECT_EQ(664, hosted.Height());
}

TEST(HallGeometry, MaximisedGameCoversTheWorkAreaRelativeToItsMonitor) {
    // Task bar at the bottom of a monitor at the origin.
    EXPECT_EQ((Box{0, 0, 1920, 1040}), hall::MaximisedGamePlacement({0, 0, 1920, 1080}, {0, 0, 1920, 1040}));
    // Second monitor to the right with the task bar on its left edge: the window keeps to the work area.
    const Box placement = hall::MaximisedGamePlacement({1920, 0, 3200, 1024}, {1980, 0, 3200, 1024});
    EXPECT_EQ((Box{60, 0, 1280, 1024}), placement);
    EXPECT_EQ(1220, placement.Width());
}

TEST(DragFullWindowsSwitch, SwitchesOnceOnEachButtonChange) {
    using Change = hall::DragFullWindowsSwitch::Change;
    hall::DragFullWindowsSwitch drag;
    // Starts believing it is off: the first hit test with the button up switches it on, whatever the
    // system had before; holding the button down from the start changes nothing.
    hall::DragFullWindowsSwitch heldFromStart;
    EXPECT_EQ(Change::None, heldFromStart.OnHitTest(true));

    EXPECT_EQ(Change::SwitchOn, drag.OnHitTest(false));
    EXPECT_EQ(Change::None, drag.OnHitTest(false));
    EXPECT_EQ(Change::SwitchOff, drag.OnHitTest(true));
    EXPECT_EQ(Change::None, drag.OnHitTest(true));
    EXPECT_EQ(Change::SwitchOn, drag.OnHitTest(false));
}

TEST(HallClicks, OnlyExactClickNotificationsAct) {
    EXPECT_TRUE(hall::IsClickNotification(L"click"));
    EXPECT_FALSE(hall::IsClickNotification(L"Click"));
    EXPECT_FALSE(hall::IsClickNotification(L"windowinit"));
}

TEST(HallClicks, LauncherButtonsOfTheSkinAndOlderNamesAllAct) {
    EXPECT_EQ(ClickAction::OpenGameSite, hall::LauncherClickAction(L"homebtn"));
    EXPECT_EQ(ClickAction::OpenPaymentPage, hall::LauncherClickAction(L"chargebtn"));
    EXPECT_EQ(ClickAction::OpenServicePage, hall::LauncherClickAction(L"cusbtn"));
    EXPECT_EQ(ClickAction::OpenServicePage, hall::LauncherClickAction(L"servicebtn"));
    EXPECT_EQ(ClickAction::OpenForum, hall::LauncherClickAction(L"bbsbtn"));
    EXPECT_EQ(ClickAction::Minimise, hall::LauncherClickAction(L"minibtn"));
    EXPECT_EQ(ClickAction::ConfirmQuit, hall::LauncherClickAction(L"closebtn"));
    EXPECT_EQ(ClickAction::ClearCache, hall::LauncherClickAction(L"clearbtn"));
    // The game window's names do not leak into the launcher, and names are case-sensitive.
    EXPECT_EQ(ClickAction::None, hall::LauncherClickAction(L"refreshbtn"));
    EXPECT_EQ(ClickAction::None, hall::LauncherClickAction(L"HomeBtn"));
    EXPECT_EQ(ClickAction::None, hall::LauncherClickAction(L""));
}

TEST(HallClicks, GameButtonsIncludingThePaymentButtonOfTheSkin) {
    EXPECT_EQ(ClickAction::Minimise, hall::GameClickAction(L"minbtn"));
    EXPECT_EQ(ClickAction::ConfirmQuit, hall::GameClickAction(L"closebtn"));
    EXPECT_EQ(ClickAction::ToggleMaximise, hall::GameClickAction(L"maxbtn"));
    EXPECT_EQ(ClickAction::ClearCache, hall::GameClickAction(L"clearcachebtn"));
    EXPECT_EQ(ClickAction::ReloadPage, hall::GameClickAction(L"refreshbtn"));
    EXPECT_EQ(ClickAction::OpenPaymentPage, hall::GameClickAction(L"charge"));
    EXPECT_EQ(ClickAction::OpenPaymentPage, hall::GameClickAction(L"chargebtn"));
    EXPECT_EQ(ClickAction::None, hall::GameClickAction(L"gamename"));
    EXPECT_EQ(ClickAction::None, hall::GameClickAction(L"minibtn"));
}

}  // namespace
