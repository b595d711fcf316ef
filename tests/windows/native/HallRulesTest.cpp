#include <gtest/gtest.h>

#include "PortalConfig.h"
#include "windows/HallAddresses.h"
#include "windows/HallClicks.h"
#include "windows/HallGeometry.h"

namespace hall {
namespace {

TEST(HallAddressesTest, TheServerListCarriesTheChannelInDecimalWhateverItsSign) {
    const std::string prefix = std::string("http://") + portal::kMainHost + "/wd_rnct.html?channel=";
    EXPECT_EQ(ServerListAddress(-3), prefix + "-3&newest=1");
    EXPECT_EQ(ServerListAddress(INT32_MIN), prefix + "-2147483648&newest=1");
}

// Where the hosted pages sit is walked on the screen by the road test, and so are the buttons the skins
// show; here what the screen does not show.
TEST(HallGeometryTest, MaximisedGameKeepsToTheWorkAreaOfAMonitorAwayFromTheOrigin) {
    // Second monitor to the right with the task bar on its left edge.
    EXPECT_EQ(MaximisedGamePlacement({1920, 0, 3200, 1024}, {1980, 0, 3200, 1024}), (Box{60, 0, 1280, 1024}));
}

// The older names beside the skins' own, and exact names and notification types only.
TEST(HallClicksTest, OlderNamesActAndOnlyExactNamesOfEachWindow) {
    EXPECT_FALSE(IsClickNotification(L"Click"));
    EXPECT_EQ(LauncherClickAction(L"servicebtn"), ClickAction::OpenServicePage);
    EXPECT_EQ(GameClickAction(L"chargebtn"), ClickAction::OpenPaymentPage);
    EXPECT_EQ(LauncherClickAction(L"HomeBtn"), ClickAction::None);
    EXPECT_EQ(LauncherClickAction(L"refreshbtn"), ClickAction::None);
    EXPECT_EQ(GameClickAction(L"minibtn"), ClickAction::None);
}

}  // namespace
}  // namespace hall
