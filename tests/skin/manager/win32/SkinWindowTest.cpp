// Skinned windows for real, driven with window messages: a test skin from a folder and from this
// program's skin archive resource, the launcher's skin from the built program, and a program whose skin
// cannot be built.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "skin/drawing/win32/GdiDibSurface.h"
#include "skin/manager/win32/MessageLoop.h"
#include "skin/manager/win32/WindowImplBase.h"
#include "skin/resources/FilePlatform.h"
#include "skin/resources/Resources.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/support/win32/MessageBoxes.h"
#include "tests/support/win32/TestProcess.h"

namespace SkinUI {
namespace {

// Handles the thread's messages the way the program's loop does, pre-translation included, until
// `done` says so or the time is up.
template <typename Predicate>
bool PumpUntil(Predicate done, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeoutMs) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!PreTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        Sleep(1);
    }
    return done();
}

void Pump(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

LPARAM ScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return MAKELPARAM(point.x, point.y);
}

class TestWnd : public WindowImplBase {
  public:
    TestWnd(std::wstring className, std::wstring file, SkinUI::SkinSourceKind kind, uint32_t resourceId = 0)
        : className_(std::move(className)), file_(std::move(file)), kind_(kind), resourceId_(resourceId) {}

    std::vector<std::wstring> notifications;
    int finalMessages = 0;

    const wchar_t* WindowClassName() const override { return className_.c_str(); }
    std::wstring SkinFileName() const override { return file_; }
    SkinUI::SkinSourceKind SkinSourceKind() const override { return kind_; }
    uint32_t SkinResourceId() const override { return resourceId_; }
    void OnNotify(SkinNotify& notify) override {
        notifications.push_back(notify.type + L":" +
                                (notify.sender != nullptr ? notify.sender->Name() : L""));
        WindowImplBase::OnNotify(notify);
    }
    auto Count(const std::wstring& entry) const {
        return std::count(notifications.begin(), notifications.end(), entry);
    }
    void Click(const wchar_t* name) {
        CControlUI* control = FindControl(name);
        ASSERT_NE(control, nullptr) << name;
        const SkinRect r = control->ItemRect();
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessage(WM_MOUSEMOVE, 0, at);
        SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessage(WM_LBUTTONUP, 0, at);
    }
    RECT Client() const {
        RECT client{};
        GetClientRect(GetHWND(), &client);
        return client;
    }

  protected:
    void AfterFinalMessage(HWND window) override {
        ++finalMessages;
        WindowImplBase::AfterFinalMessage(window);
    }

  private:
    std::wstring className_;
    std::wstring file_;
    SkinUI::SkinSourceKind kind_;
    uint32_t resourceId_;
};

const char kTestSkin[] =
    "<Window size=\"300,200\" caption=\"0,0,0,30\" sizebox=\"4,0,4,4\" mininfo=\"200,100\">"
    "<VerticalLayout><HorizontalLayout height=\"30\">"
    "<Label name=\"title\" text=\"Title\"/>"
    "<Button name=\"minibtn\" width=\"30\"/><Button name=\"minbtn\" width=\"30\"/>"
    "<Button name=\"maxbtn\" width=\"30\"/><Button name=\"restorebtn\" width=\"30\" visible=\"false\"/>"
    "<Button name=\"closebtn\" width=\"30\"/>"
    "</HorizontalLayout><Control name=\"body\" bkcolor=\"#FF3060A0\"/></VerticalLayout></Window>";

class FolderSkinWindow : public ::testing::Test {
  protected:
    skintest::SkinTestFolder folder{L"window"};
    std::unique_ptr<TestWnd> window;

    void SetUp() override {
        ResetResourceSettings();
        folder.Write(L"test.xml", std::string(kTestSkin));
        SetSkinPath(folder.WithSeparator());
        window = std::make_unique<TestWnd>(L"SkinWindowTest", L"test.xml", SkinSourceKind::Folder);
        ASSERT_NE(window->CreateNativeWindow(nullptr, L"Skin window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                             WS_EX_LAYERED, 50, 50, 640, 480),
                  nullptr);
        UpdateWindow(window->GetHWND());
        Pump(50);
    }
    void TearDown() override {
        if (window->GetHWND() != nullptr) {
            DestroyWindow(window->GetHWND());
        }
        ResetResourceSettings();
    }
    LRESULT HitTest(int x, int y) {
        return window->SendMessage(WM_NCHITTEST, 0, ScreenPoint(window->GetHWND(), x, y));
    }
};

TEST_F(FolderSkinWindow, TakesItsSkinsSizeAndFrameSaysWindowInitOnceAndPrintsItsClientArea) {
    HWND hwnd = window->GetHWND();
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.right - frame.left, 300);  // the skin's size, and no frame of its own
    EXPECT_EQ(window->Client().bottom, 200);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(window->Count(L"windowinit:"), 1);
    SetWindowPos(hwnd, nullptr, 0, 0, 400, 250, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(hwnd);
    Pump(20);
    EXPECT_EQ(window->FindControl(L"closebtn")->ItemRect(), (SkinRect{370, 0, 400, 30}));
    EXPECT_EQ(window->Count(L"windowinit:"), 1);
    EXPECT_EQ(HitTest(20, 10), HTCAPTION);  // the title label
    EXPECT_EQ(HitTest(385, 10), HTCLIENT);  // the close button
    EXPECT_EQ(HitTest(1, 100), HTLEFT);

    GdiDibSurface surface(300, 200);
    window->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Dc()), PRF_CLIENT);
    EXPECT_EQ(surface.PixelAt(150, 100) & 0xFFFFFF, 0x3060A0u);
}

TEST_F(FolderSkinWindow, SystemButtonsWorkWithoutCodeAndOtherNamesDoNothing) {
    HWND hwnd = window->GetHWND();
    window->Click(L"minibtn");  // not a system button's name
    Pump(20);
    EXPECT_FALSE(IsIconic(hwnd));

    window->Click(L"maxbtn");
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }));
    RECT placed{};
    GetWindowRect(hwnd, &placed);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_TRUE(EqualRect(&placed, &monitor.rcWork));
    EXPECT_FALSE(window->FindControl(L"maxbtn")->IsVisible());
    EXPECT_TRUE(window->FindControl(L"restorebtn")->IsVisible());
    // Maximised, the borders resize nothing.
    EXPECT_EQ(HitTest(1, 300), HTCLIENT);

    UpdateWindow(hwnd);
    window->Click(L"restorebtn");
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) == FALSE; }));
    EXPECT_EQ(window->Client().right, 300);
    EXPECT_TRUE(window->FindControl(L"maxbtn")->IsVisible());

    window->Click(L"minbtn");
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(hwnd) != FALSE; }));
    ShowWindow(hwnd, SW_RESTORE);
    window->Click(L"closebtn");
    EXPECT_TRUE(PumpUntil([&] { return window->GetHWND() == nullptr; }));
    EXPECT_EQ(window->finalMessages, 1);
    EXPECT_EQ(window->Manager().Root(), nullptr);
}

// The colour at a client point in the window's offscreen bitmap and as the screen shows it.
void ExpectColourAt(TestWnd& window, int x, int y, uint32_t rgb) {
    const GdiDibSurface* surface = window.WindowPort().OffscreenSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->PixelAt(x, y) & 0xFFFFFF, rgb) << x << "," << y;
    HDC dc = GetDC(window.GetHWND());
    EXPECT_EQ(GetPixel(dc, x, y), RGB(rgb >> 16, rgb >> 8, rgb)) << x << "," << y;
    ReleaseDC(window.GetHWND(), dc);
}

// The test skin from this program's skin archive resource.
TEST(ResourceSkinWindow, PaintsTheBackgroundAndTheButtonsNormalThenHotImageAndTracksTheSkinsSizes) {
    ResetResourceSettings();
    auto window =
        std::make_unique<TestWnd>(L"ResourceSkinTest", L"window.xml", SkinSourceKind::ArchiveResource, 113);
    HWND hwnd =
        window->CreateNativeWindow(nullptr, L"Skin window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 60, 60);
    ASSERT_NE(hwnd, nullptr);
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
    Pump(50);
    ExpectColourAt(*window, 150, 150, 0x204080);
    ExpectColourAt(*window, 200, 15, 0xC03030);
    window->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(200, 15));
    UpdateWindow(hwnd);
    ExpectColourAt(*window, 200, 15, 0x30C030);

    MINMAXINFO info{};
    window->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
    EXPECT_EQ(info.ptMaxTrackSize.x, 800);
    EXPECT_EQ(info.ptMaxTrackSize.y, 600);
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(window->Client().right, 200);
    DestroyWindow(hwnd);
    ResetResourceSettings();
}

TEST(TransparentSkinWindow, BecomesLayeredOnItsFirstPaintKeepsPerPixelAlphaAndShowsWhatGdiDraws) {
    ResetResourceSettings();
    TestWnd glass(L"GlassSkinTest", L"glass.xml", SkinSourceKind::ArchiveResource, 113);
    HWND hwnd = glass.CreateNativeWindow(nullptr, L"Glass", WS_POPUP | WS_VISIBLE, WS_EX_LAYERED, 80, 80);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_TRUE(glass.TransparentBackground());
    UpdateWindow(hwnd);
    Pump(20);
    EXPECT_NE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    // The frame went to the system, which keeps it; the window holds no bitmap of its own between frames.
    EXPECT_EQ(glass.WindowPort().OffscreenSurface(), nullptr);
    // Printed, it gives the picture its frames show, alpha included.
    const RECT client = glass.Client();
    GdiDibSurface frame(client.right, client.bottom);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(frame.Dc()), PRF_CLIENT);
    const GdiDibSurface* surface = &frame;
    EXPECT_NEAR(static_cast<int>(surface->PixelAt(25, 50) >> 24), 128, 1);
    EXPECT_EQ(surface->PixelAt(75, 50) >> 24, 0u);
    // The boxed label is opaque all over: border, background colour and text in it.
    EXPECT_EQ(surface->PixelAt(55, 10), 0xFFFF0000u);
    EXPECT_EQ(surface->PixelAt(58, 13), 0xFF00FF00u);
    int boxedText = 0;
    for (int y = 12; y < 38; ++y) {
        for (int x = 57; x < 93; ++x) {
            const uint32_t pixel = surface->PixelAt(x, y);
            ASSERT_EQ(pixel >> 24, 0xFFu) << x << "," << y;
            boxedText += (pixel & 0xFF) > (pixel >> 8 & 0xFF) ? 1 : 0;
        }
    }
    EXPECT_GT(boxedText, 10);
    // Bare text: its pixels opaque in its colour, the rest see-through.
    int bareText = 0;
    for (int y = 60; y < 90; ++y) {
        for (int x = 55; x < 95; ++x) {
            const uint32_t pixel = surface->PixelAt(x, y);
            ASSERT_TRUE(pixel == 0 || (pixel >> 24 == 0xFF && (pixel & 0xFFFF00) == 0)) << x << "," << y;
            bareText += pixel != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(bareText, 10);
    DestroyWindow(hwnd);
    ResetResourceSettings();
}

TEST(SkinWindowSource, SkinThatCannotBeBuiltIsReportedAndEndsTheProgramWithOne) {
    testsupport::TestProcess helper;
    ASSERT_TRUE(helper.Start(testsupport::SiblingProgram(L"skin_window_failure_helper.exe"), L""));
    const testsupport::ShownMessageBox box =
        testsupport::WaitForMessageBox(helper.ProcessId(), L"SkinUI", 20000);
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, L"加载资源文件失败");
    testsupport::AnswerMessageBox(box.window, IDOK);
    ASSERT_TRUE(helper.WaitForExit(20000));
    EXPECT_EQ(helper.ExitCode(), 1u);
}

// The program's own skin, read from its skin archive resource as the launcher reads it.
TEST(ShippedSkinWindow, LauncherIsLayeredAndDraggedFromAnywhereButItsButtons) {
    ResetResourceSettings();
    HMODULE program = LoadLibraryExW(testsupport::SiblingProgram(L"TolvaneRunecourt.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    SetResourceModule(program);
    auto launcher =
        std::make_unique<TestWnd>(L"SkinLauncherTest", L"main.xml", SkinSourceKind::ArchiveResource, 113);
    ASSERT_NE(launcher->CreateNativeWindow(nullptr, L"Launcher", 0x10CF0000, 0x00080000), nullptr);
    HWND hwnd = launcher->GetHWND();
    UpdateWindow(hwnd);
    Pump(50);
    EXPECT_EQ(launcher->Client().right, 1280);
    EXPECT_EQ(launcher->Client().bottom, 768);
    EXPECT_NE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);  // made so by its first paint
    EXPECT_EQ(launcher->Count(L"windowinit:"), 1);
    EXPECT_EQ(launcher->SendMessage(WM_NCHITTEST, 0, ScreenPoint(hwnd, 640, 740)), HTCAPTION);
    EXPECT_EQ(launcher->SendMessage(WM_NCHITTEST, 0, ScreenPoint(hwnd, 1120, 150)), HTCLIENT);  // "closebtn"
    EXPECT_EQ(launcher->SendMessage(WM_NCHITTEST, 0, ScreenPoint(hwnd, 1, 400)), HTCAPTION);    // no size box
    DestroyWindow(hwnd);
    launcher.reset();
    ResetResourceSettings();
    FreeLibrary(program);
}

TEST(SkinWindowLifetime, AnObjectGoneBeforeItsWindowLeavesTheWindowToDefaultProcessing) {
    skintest::SkinTestFolder folder(L"lifetime");
    folder.Write(L"test.xml", std::string(kTestSkin));
    ResetResourceSettings();
    SetSkinPath(folder.WithSeparator());
    auto window = std::make_unique<TestWnd>(L"SkinLifetimeTest", L"test.xml", SkinSourceKind::Folder);
    HWND hwnd = window->CreateNativeWindow(nullptr, L"Lifetime", WS_POPUP, 0, 0, 0, 100, 100);
    ASSERT_NE(hwnd, nullptr);
    window->Manager().SetCapture();
    window.reset();
    SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    SendMessageW(hwnd, WM_PAINT, 0, 0);
    EXPECT_TRUE(DestroyWindow(hwnd));
    ResetResourceSettings();
}

}  // namespace
}  // namespace SkinUI
