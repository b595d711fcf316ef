// The launcher as the player meets it: the skinned window, its buttons and their hot images. Each case
// starts the built executable in its hall role. (Its questions and the addresses it opens are walked in
// PortalRoadTest.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/win32/ProbedLauncher.h"
#include "tests/windows/win32/HallTestSupport.h"

namespace halltests {
namespace {

using testsupport::WaitUntil;

struct SkinButton {
    const wchar_t* name;
    RECT pos;
    const wchar_t* normal;
    const wchar_t* hot;
};

const SkinButton kLauncherButtons[] = {
    {L"minibtn", {1072, 132, 1102, 167}, L"mini.png", L"mini.png"},
    {L"closebtn", {1107, 132, 1142, 167}, L"close.png", L"close.png"},
    {L"homebtn", {466, 176, 556, 207}, L"home.png", L"home_hover.png"},
    {L"chargebtn", {616, 176, 706, 207}, L"charge.png", L"charge_hover.png"},
    {L"cusbtn", {756, 176, 846, 207}, L"custom.png", L"custom_hover.png"},
    {L"bbsbtn", {906, 176, 996, 207}, L"bbs.png", L"bbs_hover.png"},
};

const SkinButton& Button(const wchar_t* name) {
    for (const SkinButton& button : kLauncherButtons) {
        if (std::wstring(button.name) == name) {
            return button;
        }
    }
    return kLauncherButtons[0];
}

POINT CentreOf(const SkinButton& button) {
    return halltests::CentreOf(button.pos.left, button.pos.top, button.pos.right, button.pos.bottom);
}

// A started hall whose launcher window is on screen.
class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        hall_ = std::make_unique<testsupport::ProbedLauncher>(L"");
        ASSERT_TRUE(hall_->Ready());
        ASSERT_TRUE(WaitUntil(20000, [&] {
            launcher_ = testsupport::FindHallWindows(Pid()).visible;
            return launcher_ != nullptr && hall_->Record().hallStartSeen > 0;
        })) << "no launcher window";
        // The controls have their places once the window has painted for the first time.
        ASSERT_TRUE(Shows(L"bg.png", {0, 0, 1280, 768}, 15000)) << "background not painted";
    }

    DWORD Pid() { return hall_->Process().ProcessId(); }

    // Waits until the launcher shows `image` at its position, as far as the screen tells.
    bool Shows(const wchar_t* image, const RECT& pos, DWORD timeoutMs) {
        const auto decoded = LoadSkinImage(image);
        if (!decoded) {
            ADD_FAILURE() << "cannot read skin image";
            return false;
        }
        return WaitUntil(timeoutMs, [&] {
            const RECT window = WindowRect(launcher_);
            const ScreenCapture capture = CaptureScreen(window);
            return MatchOfOpaquePixels(capture, pos.left, pos.top, *decoded, 2) > 0.95;
        });
    }

    std::unique_ptr<testsupport::ProbedLauncher> hall_;
    HWND launcher_ = nullptr;
};

TEST_F(LauncherTest, ShowsItsBackgroundAndButtonsAndTheHotImageUnderTheMouse) {
    const RECT window = WindowRect(launcher_);
    EXPECT_EQ(1280, window.right - window.left);
    EXPECT_EQ(768, window.bottom - window.top);
    for (const SkinButton& button : kLauncherButtons) {
        EXPECT_TRUE(Shows(button.normal, button.pos, 5000))
            << "button not at its place: " << testing::PrintToString(std::wstring(button.name));
    }
    const SkinButton& home = Button(L"homebtn");
    MoveMouse(launcher_, CentreOf(home));
    EXPECT_TRUE(Shows(home.hot, home.pos, 5000)) << "no hot image under the mouse";
    MoveMouse(launcher_, {700, 740});
    EXPECT_TRUE(Shows(home.normal, home.pos, 5000)) << "the hot image stays after the mouse left";
}

TEST_F(LauncherTest, DoubleClickDoesNotMaximise) {
    const RECT before = WindowRect(launcher_);
    EXPECT_EQ(1, SendMessageW(launcher_, WM_NCLBUTTONDBLCLK, HTCAPTION,
                              MAKELPARAM(before.left + 600, before.top + 60)));
    testsupport::PumpMessagesFor(300);
    EXPECT_FALSE(IsZoomed(launcher_));
    const RECT after = WindowRect(launcher_);
    EXPECT_TRUE(EqualRect(&before, &after));
}

}  // namespace
}  // namespace halltests
