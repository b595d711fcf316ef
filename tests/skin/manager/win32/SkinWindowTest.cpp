// Skinned windows for real, driven with window messages: a test skin carried by this program as a skin
// archive resource (and, written out, as a folder and an archive file), the launcher's and the game
// window's skins from the built program's skin archive, and a program whose skin cannot be built.
#include <windows.h>

#include <gtest/gtest.h>

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

// Handles the thread's messages the way the program's loop does, pre-translation included.
void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!PreTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

template <typename Predicate>
bool PumpUntil(Predicate predicate, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    while (!predicate()) {
        if (GetTickCount() - start >= timeoutMs) {
            return predicate();
        }
        Pump(10);
    }
    return true;
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
    std::wstring SkinArchiveName() const override { return archive_; }
    void SetArchiveName(const std::wstring& name) { archive_ = name; }
    SkinUI::SkinSourceKind SkinSourceKind() const override { return kind_; }
    uint32_t SkinResourceId() const override { return resourceId_; }
    void OnNotify(SkinNotify& notify) override {
        notifications.push_back(notify.type + L":" +
                                (notify.sender != nullptr ? notify.sender->Name() : L""));
        WindowImplBase::OnNotify(notify);
    }
    int Count(const std::wstring& entry) const {
        int count = 0;
        for (const std::wstring& n : notifications) {
            count += n == entry ? 1 : 0;
        }
        return count;
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
    std::wstring archive_;
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
        window = std::make_unique<TestWnd>(L"SkinWindowTest", L"test.xml", SkinUI::SkinSourceKind::Folder);
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

TEST_F(FolderSkinWindow, TakesItsSkinsSizeWithoutCaptionOrLayeredStyleAndSaysWindowInitOnce) {
    HWND hwnd = window->GetHWND();
    const RECT client = window->Client();
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.right - frame.left, 300);  // no frame of its own
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(window->Count(L"windowinit:"), 1);
    EXPECT_EQ(window->FindControl(L"closebtn")->ItemRect(), (SkinRect{270, 0, 300, 30}));

    SetWindowPos(hwnd, nullptr, 0, 0, 400, 250, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(hwnd);
    Pump(20);
    EXPECT_EQ(window->FindControl(L"closebtn")->ItemRect(), (SkinRect{370, 0, 400, 30}));
    EXPECT_EQ(window->Count(L"windowinit:"), 1);
}

TEST_F(FolderSkinWindow, CaptionDragsExceptOverButtonsAndTheSizeBoxResizesButAtTheTop) {
    EXPECT_EQ(HitTest(20, 10), HTCAPTION);   // the title label
    EXPECT_EQ(HitTest(285, 10), HTCLIENT);   // the close button
    EXPECT_EQ(HitTest(150, 100), HTCLIENT);  // below the caption
    EXPECT_EQ(HitTest(1, 100), HTLEFT);
    EXPECT_EQ(HitTest(298, 100), HTRIGHT);
    EXPECT_EQ(HitTest(150, 198), HTBOTTOM);
    EXPECT_EQ(HitTest(150, 1), HTCAPTION);  // no top border
}

TEST_F(FolderSkinWindow, SystemButtonsWorkWithoutCodeAndOtherNamesDoNothing) {
    HWND hwnd = window->GetHWND();
    window->Click(L"minibtn");
    Pump(20);
    EXPECT_FALSE(IsIconic(hwnd));
    EXPECT_EQ(window->Count(L"click:minibtn"), 1);

    window->Click(L"maxbtn");
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }));
    RECT placed{};
    GetWindowRect(hwnd, &placed);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(placed.left, monitor.rcWork.left);
    EXPECT_EQ(placed.top, monitor.rcWork.top);
    EXPECT_EQ(placed.right, monitor.rcWork.right);
    EXPECT_EQ(placed.bottom, monitor.rcWork.bottom);
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

TEST_F(FolderSkinWindow, TooltipWindowComesOnlyWithATipAndTimersReachTheirControl) {
    HWND hwnd = window->GetHWND();
    auto ownTooltip = [hwnd] {
        for (HWND tip = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); tip != nullptr;
             tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) {
            if (GetWindow(tip, GW_OWNER) == hwnd) {
                return tip;
            }
        }
        return HWND{};
    };
    window->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(150, 100));
    window->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(150, 100));
    EXPECT_EQ(ownTooltip(), nullptr);
    window->FindControl(L"title")->SetToolTip(L"Drag me");
    window->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    window->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(20, 10));
    EXPECT_NE(ownTooltip(), nullptr);

    ASSERT_TRUE(window->Manager().SetTimer(window->FindControl(L"body"), 5, 10));
    EXPECT_TRUE(PumpUntil([&] { return window->Count(L"timer:body") >= 2; }));
    window->Manager().KillTimer(window->FindControl(L"body"), 5);
}

TEST_F(FolderSkinWindow, PrintsItsClientAreaIntoAGivenContext) {
    GdiDibSurface surface(300, 200);
    ASSERT_TRUE(surface.IsValid());
    window->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Dc()), PRF_CLIENT);
    EXPECT_EQ(surface.PixelAt(150, 100) & 0xFFFFFF, 0x3060A0u);
}

TEST_F(FolderSkinWindow, EscapeClosesTheWindowThroughTheMessageLoop) {
    HWND hwnd = window->GetHWND();
    PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    Pump(20);
    EXPECT_TRUE(IsWindow(hwnd));
    PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
}

TEST_F(FolderSkinWindow, ModalWindowReturnsTheCloseResultAndGivesItsOwnerBack) {
    HWND owner = window->GetHWND();
    TestWnd dialog(L"SkinDialogTest", L"test.xml", SkinUI::SkinSourceKind::Folder);
    ASSERT_NE(dialog.CreateNativeWindow(owner, L"Dialog", WS_POPUP, 0), nullptr);
    SetWindowPos(dialog.GetHWND(), nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    dialog.CenterOnWorkArea();
    RECT ownerPlace{};
    RECT dialogPlace{};
    GetWindowRect(owner, &ownerPlace);
    GetWindowRect(dialog.GetHWND(), &dialogPlace);
    EXPECT_NEAR((dialogPlace.left + dialogPlace.right) / 2, (ownerPlace.left + ownerPlace.right) / 2, 1);
    EXPECT_NEAR((dialogPlace.top + dialogPlace.bottom) / 2, (ownerPlace.top + ownerPlace.bottom) / 2, 1);
    PostMessageW(dialog.GetHWND(), WM_CLOSE, 7, 0);
    EXPECT_EQ(dialog.RunModal(), 7u);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(dialog.GetHWND(), nullptr);
}

// The test skin from this program's skin archive resource.
class ResourceSkinWindow : public ::testing::Test {
  protected:
    std::unique_ptr<TestWnd> window;
    HWND hwnd = nullptr;

    void SetUp() override {
        ResetResourceSettings();
        window = std::make_unique<TestWnd>(L"ResourceSkinTest", L"window.xml",
                                           SkinUI::SkinSourceKind::ArchiveResource, 113);
        hwnd =
            window->CreateNativeWindow(nullptr, L"Skin window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 60, 60);
        ASSERT_NE(hwnd, nullptr);
        SetForegroundWindow(hwnd);
        UpdateWindow(hwnd);
        Pump(50);
    }
    void TearDown() override {
        if (window->GetHWND() != nullptr) {
            DestroyWindow(window->GetHWND());
        }
        ResetResourceSettings();
    }
    void Mouse(UINT message, int x, int y) { window->SendMessage(message, 0, MAKELPARAM(x, y)); }
    // Records the mouse events a control receives, by kind.
    std::vector<int32_t>& Watch(const wchar_t* name) {
        auto events = std::make_shared<std::vector<int32_t>>();
        watched_.push_back(events);
        window->FindControl(name)->OnEvent().Add([events](SkinEvent& e) {
            if (IsMouseEvent(e.type)) {
                events->push_back(e.type);
            }
            return true;
        });
        return *events;
    }
    std::wstring FocusName() {
        CControlUI* focus = window->Manager().FocusControl();
        return focus != nullptr ? focus->Name() : L"(none)";
    }

  private:
    std::vector<std::shared_ptr<std::vector<int32_t>>> watched_;
};

TEST_F(ResourceSkinWindow, ClickOnlyOnReleaseInsideAndThePressedButtonKeepsTheMouse) {
    std::vector<int32_t>& ok = Watch(L"ok");
    std::vector<int32_t>& first = Watch(L"first");
    Mouse(WM_MOUSEMOVE, 200, 15);
    Mouse(WM_LBUTTONDOWN, 200, 15);
    EXPECT_EQ(GetCapture(), hwnd);
    Mouse(WM_MOUSEMOVE, 25, 50);  // over "first", the mouse still pressed on "ok"
    Mouse(WM_LBUTTONUP, 25, 50);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(window->Count(L"click:ok"), 0);
    EXPECT_EQ(window->Count(L"click:first"), 0);
    const std::vector<int32_t> okSaw{SkinEventType::kMouseEnter, SkinEventType::kMouseMove,
                                     SkinEventType::kButtonDown, SkinEventType::kMouseLeave,
                                     SkinEventType::kMouseMove,  SkinEventType::kButtonUp};
    EXPECT_EQ(ok, okSaw);
    EXPECT_EQ(first, std::vector<int32_t>{SkinEventType::kMouseEnter});

    Mouse(WM_MOUSEMOVE, 200, 15);
    Mouse(WM_LBUTTONDOWN, 200, 15);
    Mouse(WM_MOUSEMOVE, 25, 50);
    Mouse(WM_MOUSEMOVE, 205, 12);
    Mouse(WM_LBUTTONUP, 205, 12);
    EXPECT_EQ(window->Count(L"click:ok"), 1);
}

TEST_F(ResourceSkinWindow, AltWithTheShortcutClicksAndTabWalksTheButtonsAndWraps) {
    PostMessageW(hwnd, WM_SYSCHAR, 'k', 0);
    Pump(20);
    EXPECT_EQ(window->Count(L"click:ok"), 1);
    EXPECT_EQ(FocusName(), L"ok");
    std::vector<std::wstring> walked;
    for (int i = 0; i < 5; ++i) {
        PostMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
        Pump(10);
        walked.push_back(FocusName());
    }
    const std::vector<std::wstring> expected{L"minbtn", L"closebtn", L"first", L"second", L"ok"};
    EXPECT_EQ(walked, expected);
}

TEST_F(ResourceSkinWindow, IconsFromAResourceAndCentredOnTheWorkArea) {
    window->SetWindowIcon(101);
    EXPECT_NE(window->SendMessage(WM_GETICON, ICON_BIG), 0);
    EXPECT_NE(window->SendMessage(WM_GETICON, ICON_SMALL), 0);
    window->CenterOnWorkArea();
    RECT placed{};
    GetWindowRect(hwnd, &placed);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_NEAR((placed.left + placed.right) / 2, (monitor.rcWork.left + monitor.rcWork.right) / 2, 1);
    EXPECT_NEAR((placed.top + placed.bottom) / 2, (monitor.rcWork.top + monitor.rcWork.bottom) / 2, 1);
}

TEST_F(ResourceSkinWindow, QueuedNotificationArrivesWithTheNextMessage) {
    window->Manager().RaiseNotify(window->FindControl(L"body"), L"later", 0, 0, true);
    EXPECT_EQ(window->Count(L"later:body"), 0);
    window->SendMessage(WM_NULL);
    EXPECT_EQ(window->Count(L"later:body"), 1);
}

TEST_F(ResourceSkinWindow, TrackingSizesComeFromTheSkin) {
    MINMAXINFO info{};
    window->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
    EXPECT_EQ(info.ptMaxTrackSize.x, 800);
    EXPECT_EQ(info.ptMaxTrackSize.y, 600);
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(window->Client().right, 200);
}

TEST_F(ResourceSkinWindow, MinimiseButtonWorksWithoutWindowCodeOtherButtonsDoNothing) {
    window->Click(L"first");
    Pump(20);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_FALSE(IsIconic(hwnd));
    window->Click(L"minbtn");
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(hwnd) != FALSE; }));
}

// The pixel at a client point: from the window's offscreen bitmap, and as the screen shows it.
struct Pixels {
    uint32_t offscreen = 0;
    uint32_t screen = 0;
};

Pixels PixelAt(TestWnd& window, int x, int y) {
    Pixels pixels;
    if (const GdiDibSurface* surface = window.WindowPort().OffscreenSurface()) {
        pixels.offscreen = surface->PixelAt(x, y) & 0xFFFFFF;
    }
    HDC dc = GetDC(window.GetHWND());
    const COLORREF shown = GetPixel(dc, x, y);
    ReleaseDC(window.GetHWND(), dc);
    pixels.screen = (uint32_t{GetRValue(shown)} << 16) | (uint32_t{GetGValue(shown)} << 8) | GetBValue(shown);
    return pixels;
}

TEST_F(ResourceSkinWindow, PaintsTheBackgroundAndTheButtonsNormalThenHotImage) {
    const Pixels background = PixelAt(*window, 150, 150);
    EXPECT_EQ(background.offscreen, 0x204080u);
    EXPECT_EQ(background.screen, 0x204080u);
    const Pixels normal = PixelAt(*window, 200, 15);
    EXPECT_EQ(normal.offscreen, 0xC03030u);
    EXPECT_EQ(normal.screen, 0xC03030u);
    Mouse(WM_MOUSEMOVE, 200, 15);
    UpdateWindow(hwnd);
    const Pixels hot = PixelAt(*window, 200, 15);
    EXPECT_EQ(hot.offscreen, 0x30C030u);
    EXPECT_EQ(hot.screen, 0x30C030u);
}

TEST(TransparentSkinWindow, BecomesLayeredOnItsFirstPaintKeepsPerPixelAlphaAndShowsWhatGdiDraws) {
    ResetResourceSettings();
    TestWnd glass(L"GlassSkinTest", L"glass.xml", SkinUI::SkinSourceKind::ArchiveResource, 113);
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

TEST(SkinWindowSource, SkinFromAnArchiveFileAndFromAMarkupResource) {
    ResetResourceSettings();
    std::vector<uint8_t> archive;
    ASSERT_TRUE(LoadModuleResourceBytes(nullptr, L"113", L"ZIPRES", archive));
    skintest::SkinTestFolder folder(L"archive");
    folder.Write(L"skins.zip", archive);
    SetSkinPath(folder.WithSeparator());
    TestWnd fromFile(L"ArchiveFileSkinTest", L"window.xml", SkinUI::SkinSourceKind::ArchiveFile);
    fromFile.SetArchiveName(L"skins.zip");
    ASSERT_NE(fromFile.CreateNativeWindow(nullptr, L"From file", WS_POPUP, 0), nullptr);
    ASSERT_NE(fromFile.FindControl(L"ok"), nullptr);
    EXPECT_EQ(fromFile.Client().right, 300);
    DestroyWindow(fromFile.GetHWND());

    ResetResourceSettings();
    TestWnd fromMarkup(L"MarkupResourceSkinTest", L"201", SkinUI::SkinSourceKind::ModuleResource);
    ASSERT_NE(fromMarkup.CreateNativeWindow(nullptr, L"From markup", WS_POPUP, 0), nullptr);
    EXPECT_NE(fromMarkup.FindControl(L"closebtn"), nullptr);
    DestroyWindow(fromMarkup.GetHWND());
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

// The program's own skins, read from its skin archive resource as the launcher reads them.
class ShippedSkinWindow : public ::testing::Test {
  protected:
    HMODULE program = nullptr;

    void SetUp() override {
        ResetResourceSettings();
        program = LoadLibraryExW(testsupport::SiblingProgram(L"TolvaneRunecourt.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(program, nullptr);
        SetResourceModule(program);
    }
    void TearDown() override {
        ResetResourceSettings();
        if (program != nullptr) {
            FreeLibrary(program);
        }
    }
};

TEST_F(ShippedSkinWindow, LauncherIsLayeredAndDraggedFromAnywhereButItsButtons) {
    TestWnd launcher(L"SkinLauncherTest", L"main.xml", SkinUI::SkinSourceKind::ArchiveResource, 113);
    ASSERT_NE(launcher.CreateNativeWindow(nullptr, L"Launcher", 0x10CF0000, 0x00080000), nullptr);
    HWND hwnd = launcher.GetHWND();
    UpdateWindow(hwnd);
    Pump(50);
    EXPECT_EQ(launcher.Client().right, 1280);
    EXPECT_EQ(launcher.Client().bottom, 768);
    EXPECT_NE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);  // made so by its first paint
    EXPECT_EQ(launcher.Count(L"windowinit:"), 1);
    EXPECT_EQ(launcher.SendMessage(WM_NCHITTEST, 0, ScreenPoint(hwnd, 640, 740)), HTCAPTION);
    EXPECT_EQ(launcher.SendMessage(WM_NCHITTEST, 0, ScreenPoint(hwnd, 1120, 150)), HTCLIENT);  // "closebtn"
    EXPECT_EQ(launcher.SendMessage(WM_NCHITTEST, 0, ScreenPoint(hwnd, 1, 400)), HTCAPTION);    // no size box
    DestroyWindow(hwnd);
}

TEST_F(ShippedSkinWindow, GameWindowKeepsItsTitleRowAtTheRightWhenMaximised) {
    TestWnd game(L"SkinGameTest", L"game.xml", SkinUI::SkinSourceKind::ArchiveResource, 113);
    ASSERT_NE(game.CreateNativeWindow(nullptr, L"Game", 0x10CF0000, 0x00080000), nullptr);
    HWND hwnd = game.GetHWND();
    UpdateWindow(hwnd);
    Pump(50);
    EXPECT_EQ(game.Client().right, 1000);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    CControlUI* close = game.FindControl(L"closebtn");
    ASSERT_NE(close, nullptr);
    const int fromRight = 1000 - close->ItemRect().left;
    EXPECT_EQ(game.SendMessage(WM_NCHITTEST, 0, ScreenPoint(hwnd, 2, 300)), HTLEFT);
    ShowWindow(hwnd, SW_MAXIMIZE);
    UpdateWindow(hwnd);
    Pump(50);
    EXPECT_EQ(game.Client().right - close->ItemRect().left, fromRight);
    DestroyWindow(hwnd);
}

TEST(SkinWindowLifetime, AnObjectGoneBeforeItsWindowLeavesTheWindowToDefaultProcessing) {
    skintest::SkinTestFolder folder(L"lifetime");
    folder.Write(L"test.xml", std::string(kTestSkin));
    ResetResourceSettings();
    SetSkinPath(folder.WithSeparator());
    auto window = std::make_unique<TestWnd>(L"SkinLifetimeTest", L"test.xml", SkinUI::SkinSourceKind::Folder);
    HWND hwnd = window->CreateNativeWindow(nullptr, L"Lifetime", WS_POPUP, 0, 0, 0, 100, 100);
    ASSERT_NE(hwnd, nullptr);
    window->Manager().SetCapture();
    window.reset();
    SendMessageW(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    SendMessageW(hwnd, WM_PAINT, 0, 0);
    EXPECT_TRUE(DestroyWindow(hwnd));
    ResetResourceSettings();
}

TEST(SkinWindowSource, MissingSkinArchiveLeavesTheWindowEmpty) {
    ResetResourceSettings();
    TestWnd window(L"SkinEmptyTest", L"main.xml", SkinUI::SkinSourceKind::ArchiveResource, 4321);
    ASSERT_NE(window.CreateNativeWindow(nullptr, L"Empty", WS_POPUP, 0, 0, 0, 100, 100), nullptr);
    EXPECT_EQ(window.Manager().Root(), nullptr);
    DestroyWindow(window.GetHWND());
    ResetResourceSettings();
}

}  // namespace
}  // namespace SkinUI
