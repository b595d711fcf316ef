#include <gtest/gtest.h>

#include <vector>

#include "childproc/CommandLines.h"
#include "childproc/PagePlacement.h"

namespace childproc {
namespace {

const PageRect kClient = {0, 0, 1000, 900};
const PageRect kScreen = {100, 50, 1108, 984};

std::vector<int32_t> Corners(const PageRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

TEST(PagePlacement, ChildMarkerMakesAVisibleChildInTheOwnersClientArea) {
    const auto p = ChoosePagePlacement("http://h/wd/servers?server_list?aschildxsd=1", kClient, kScreen);
    EXPECT_TRUE(p.asChild && p.serverList);
    EXPECT_EQ(p.style, 0x56000000u);
    EXPECT_EQ(p.exStyle, 0u);
    EXPECT_EQ(Corners(p.rect), (std::vector<int32_t>{500, 400, 700, 500}));
}

TEST(PagePlacement, OtherwiseADisabledPopupOverTheOwnerOnTheScreen) {
    for (const char* address : {"http://h/game?aschildxsd=0", "", "http://h/Server_List?x"}) {
        const auto p = ChoosePagePlacement(address, kClient, kScreen);
        EXPECT_FALSE(p.asChild || p.serverList) << address;
        EXPECT_EQ(p.style, 0x8E000000u);
        EXPECT_EQ(p.exStyle, 0x08000000u);
        EXPECT_EQ(Corners(p.rect), (std::vector<int32_t>{600, 450, 808, 584}));
    }
}

TEST(CommandLines, ChildRoleCarriesTheHallWindowSignedAndTheIpcName) {
    EXPECT_EQ(
        ChildProcessCommandLine(L"C:\\Games\\Tolvane Runecourt.exe", -2147000000,
                                IpcNameFromGuid(L"{AB-CD}")),
        L"\"C:\\Games\\Tolvane Runecourt.exe\" -KVGameBox -KVGameBoxChildProcess -KVHallWnd=-2147000000 "
        L"-ChildIPCWndName=IPC:{AB-CD}");
    EXPECT_EQ(FallbackIpcName(0xFFFFFFFEu, 4000000000u), L"IPC:PID=-2.Tick=4000000000");
    EXPECT_EQ(WebProcessCommandLine(L"C:\\t.exe", L"http://h/a b"),
              L"\"C:\\t.exe\" -KVGameBox -web http://h/a b");
}

}  // namespace
}  // namespace childproc
