#include <gtest/gtest.h>

#include "PortalConfig.h"
#include "windows/HallAddresses.h"
#include "windows/HallClicks.h"
#include "windows/HallGeometry.h"

namespace hall {
namespace {

TEST(HallAddressesTest, TheChannelInDecimalWhateverItsSignAndEachPathOnItsHost) {
    const std::string prefix = std::string("http://") + portal::kMainHost + "/wd_rnct.html?channel=";
    EXPECT_EQ(ServerListAddress(-3), prefix + "-3&newest=1");
    EXPECT_EQ(ServerListAddress(INT32_MIN), prefix + "-2147483648&newest=1");
    const struct {
        std::wstring address;
        const char* host;
        const char* path;
    } links[] = {{GameSiteAddress(), portal::kGameSiteHost, "/"},
                 {PaymentPageAddress(), portal::kPaymentHost, "/payment.html"},
                 {ServicePageAddress(), portal::kMainHost, "/service.html"},
                 {ForumAddress(), portal::kForumHost, "/"},
                 {HelpPageAddress(), portal::kHelpHost, "/index.php"}};
    for (const auto& link : links) {
        const std::string expected = std::string("http://") + link.host + link.path;
        EXPECT_EQ(link.address, std::wstring(expected.begin(), expected.end()));
    }
}

// Where the hosted pages sit is walked on the screen by the road test.
TEST(HallGeometryTest, MaximisedGameKeepsToTheWorkAreaOfAMonitorAwayFromTheOrigin) {
    // Second monitor to the right with the task bar on its left edge.
    EXPECT_EQ(MaximisedGamePlacement({1920, 0, 3200, 1024}, {1980, 0, 3200, 1024}), (Box{60, 0, 1280, 1024}));
}

TEST(HallGeometryTest, FullWindowDraggingSwitchesOnceOnEachButtonChange) {
    using Change = DragFullWindowsSwitch::Change;
    // Starts believing it is off: the first hit test with the button up switches it on, whatever the
    // system had before; holding the button down from the start changes nothing.
    DragFullWindowsSwitch heldFromStart;
    EXPECT_EQ(heldFromStart.OnHitTest(true), Change::None);
    DragFullWindowsSwitch drag;
    const std::pair<bool, Change> steps[] = {{false, Change::SwitchOn},
                                             {false, Change::None},
                                             {true, Change::SwitchOff},
                                             {true, Change::None},
                                             {false, Change::SwitchOn}};
    for (const auto& [leftButtonDown, change] : steps) {
        EXPECT_EQ(drag.OnHitTest(leftButtonDown), change);
    }
}

// The names the skins use besides the older ones, and names that must not act.
TEST(HallClicksTest, ExactNamesOfEachWindowAndOnlyExactClickNotifications) {
    EXPECT_TRUE(IsClickNotification(L"click"));
    EXPECT_FALSE(IsClickNotification(L"Click"));
    for (const wchar_t* name : {L"cusbtn", L"servicebtn"}) {
        EXPECT_EQ(LauncherClickAction(name), ClickAction::OpenServicePage);
    }
    for (const wchar_t* name : {L"charge", L"chargebtn"}) {
        EXPECT_EQ(GameClickAction(name), ClickAction::OpenPaymentPage);
    }
    EXPECT_EQ(LauncherClickAction(L"clearbtn"), ClickAction::ClearCache);
    EXPECT_EQ(GameClickAction(L"clearcachebtn"), ClickAction::ClearCache);
    for (const wchar_t* name : {L"refreshbtn", L"HomeBtn", L""}) {
        EXPECT_EQ(LauncherClickAction(name), ClickAction::None);
    }
    EXPECT_EQ(GameClickAction(L"minibtn"), ClickAction::None);
}

}  // namespace
}  // namespace hall
