// The player's road with every real piece: the built launcher and its own child process, the stand-in
// browser control as page engine and the demo portal on loopback (tools/with-demo-portal.sh runs this
// program in a prepared Wine prefix on a virtual desktop). Everything is observed from outside: windows,
// the screen, the portal's access log, the recording default browser and the recording installer.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "PortalConfig.h"
#include "childproc/IpcProtocol.h"
#include "skin/drawing/ImageDecoder.h"
#include "skin/markup/win32/SystemRect.h"
#include "tests/services/support/UpdateServers.h"
#include "tests/support/win32/MessageBoxes.h"
#include "tests/support/win32/ProbedLauncher.h"
#include "windows/HallAddresses.h"
#include "windows/HallGeometry.h"

namespace halltests {
namespace {

using testsupport::PumpMessagesFor;
using testsupport::WaitUntil;

const std::wstring kHallCaption = L"Tolvane-Runecourt";
// Colours the demo portal's link images are filled with, so that the screen shows where a link is.
const uint32_t kServerButtonColour = 0xe8a317;
const uint32_t kNewWindowButtonColour = 0x2a6fdb;
const uint32_t kGamePictureColour = 0x001133;  // the top rows of the game page's picture

// Lines of the log written before the current test began; each test counts only its own requests.
size_t g_linesBefore = 0;

size_t Requests(const std::string& uriPrefix) {
    size_t count = 0;
    const std::vector<std::string> lines = testservers::NginxLog();
    for (size_t i = g_linesBefore; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        count += line.rfind("GET " + uriPrefix, 0) == 0 || line.rfind("HEAD " + uriPrefix, 0) == 0 ? 1 : 0;
    }
    return count;
}

bool WaitForRequests(const std::string& uriPrefix, size_t count, DWORD timeoutMs) {
    return WaitUntil(timeoutMs, [&] { return Requests(uriPrefix) >= count; });
}

bool Near(uint32_t pixel, uint32_t rgb, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((pixel >> shift) & 0xFF);
        const int b = static_cast<int>((rgb >> shift) & 0xFF);
        if (a - b > tolerance || b - a > tolerance) {
            return false;
        }
    }
    return true;
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT PageAreaOf(HWND launcher) {
    return SkinUI::ToRect(hall::PageAreaOfLauncher(SkinUI::FromRect(WindowRect(launcher))));
}

// The screen point of a point in the window's client area; the centre of a "pos" rectangle of the skin.
POINT ScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}
POINT CentreOf(HWND window, const RECT& pos) {
    return ScreenPoint(window, {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2});
}

// Pixels of a screen rectangle as 0xAARRGGBB, row by row.
struct ScreenCapture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

ScreenCapture CaptureScreen(const RECT& rect) {
    ScreenCapture capture{rect.right - rect.left, rect.bottom - rect.top, {}};
    capture.pixels.assign(static_cast<size_t>(capture.width) * capture.height, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), capture.width, -capture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width, capture.height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const uint32_t*>(bits), capture.pixels.size(), capture.pixels.begin());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

// An image of the skin folder the executable's archive was packed from, decoded by the engine.
std::unique_ptr<SkinUI::SkinImageInfo> LoadSkinImage(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TOLVANE_SKIN_SOURCE", folder, MAX_PATH);
    const std::vector<uint8_t> bytes = testservers::ReadWholeFile(std::wstring(folder) + L"\\" + name);
    return SkinUI::DecodeImageBytes(bytes.data(), bytes.size(), 0);
}

// Share of the image's opaque pixels (every `step` pixels) that the capture shows at (left, top) over
// whatever lies beneath, within a small tolerance per channel.
double MatchOfOpaquePixels(const ScreenCapture& capture, int left, int top,
                           const SkinUI::SkinImageInfo& image, int step) {
    int compared = 0;
    int matched = 0;
    for (int y = 0; y < image.height; y += step) {
        for (int x = 0; x < image.width; x += step) {
            const uint32_t expected = image.PixelAt(x, y);
            const int cx = left + x;
            const int cy = top + y;
            if ((expected >> 24) == 0xFF && cx >= 0 && cy >= 0 && cx < capture.width && cy < capture.height) {
                ++compared;
                matched += Near(expected, capture.At(cx, cy), 12) ? 1 : 0;
            }
        }
    }
    return compared == 0 ? 0.0 : static_cast<double>(matched) / compared;
}

// Screen position of the top-left corner of the first row run of at least `length` pixels of the
// colour inside `area`; x is -1 when there is none.
POINT FindColourRun(const RECT& area, uint32_t rgb, int length) {
    const ScreenCapture capture = CaptureScreen(area);
    for (int y = 0; y < capture.height; ++y) {
        int run = 0;
        for (int x = 0; x < capture.width; ++x) {
            run = Near(capture.At(x, y), rgb, 3) ? run + 1 : 0;
            if (run == length) {
                return {area.left + x - length + 1, area.top + y};
            }
        }
    }
    return {-1, -1};
}

// Real input through the system, as the player's mouse gives it: the window under the pointer gets the
// messages, with hover tracking and capture as in use.
void MoveMouse(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    PumpMessagesFor(150);
}

// Clicks at a screen point until `done` holds, as a player clicks again when nothing happened: under
// Wine on a loaded machine a click now and then reaches a window before it takes input. False when three
// clicks, each given ten seconds, did not do it.
template <typename Predicate>
bool ClickUntil(POINT screen, Predicate done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        MoveMouse(screen);
        for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            INPUT input = {};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = flags;
            SendInput(1, &input, sizeof(INPUT));
            PumpMessagesFor(100);
        }
        if (WaitUntil(10000, done)) {
            return true;
        }
    }
    return false;
}

// The child processes of a hall that run the launcher's own executable: its browser process (and none
// else: plug-in registration and the player's browser run other programs).
std::vector<DWORD> BrowserProcessesOf(DWORD hallId) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == hallId && lstrcmpiW(entry.szExeFile, L"TolvaneRunecourt.exe") == 0) {
            children.push_back(entry.th32ProcessID);
        }
    }
    if (snapshot != INVALID_HANDLE_VALUE) {
        CloseHandle(snapshot);
    }
    return children;
}

// Where the launcher keeps the update package it downloads from the demo portal.
std::wstring Package() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::wstring(appData) + L"\\Tolvane\\update\\runecourt-setup.exe";
}

class PortalRoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_linesBefore = testservers::NginxLog().size();
        // A package left complete by an earlier hall would be offered at once, in front of everything.
        DeleteFileW(Package().c_str());
        DeleteFileW((Package() + L".args").c_str());
        // The stand-in page engine logs the events it fires, so that the test sees which path a click took.
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        engineLog_ = temp + (L"tolvane-road-engine-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
        DeleteFileW(engineLog_.c_str());
        SetEnvironmentVariableW(L"TOLVANE_STANDIN_LOG", engineLog_.c_str());
        hall_ = std::make_unique<testsupport::ProbedLauncher>(L"");
        ASSERT_TRUE(hall_->Ready());
        ASSERT_TRUE(WaitUntil(20000, [&] {
            const testsupport::HallWindows windows = testsupport::FindHallWindows(Pid());
            launcher_ = windows.visible;
            game_ = windows.hidden;
            return launcher_ != nullptr && game_ != nullptr;
        })) << "no hall windows";
    }

    void TearDown() override {
        // The child notices that the hall's window is gone and ends within about two seconds, taking its
        // page off the screen before the next test's page comes.
        const DWORD hall = Pid();
        hall_.reset();
        EXPECT_TRUE(WaitUntil(10000, [&] { return BrowserProcessesOf(hall).empty(); }))
            << "the child outlived the hall";
    }

    DWORD Pid() { return hall_->Process().ProcessId(); }

    // The page window of this hall's child, placed over the launcher's page area and shown.
    HWND WaitForShownPage() {
        HWND page = nullptr;
        WaitUntil(60000, [&] {
            const RECT area = PageAreaOf(launcher_);
            for (DWORD child : BrowserProcessesOf(Pid())) {
                for (HWND window : testsupport::WindowsOf(child)) {
                    const RECT placed = WindowRect(window);
                    page = EqualRect(&placed, &area) ? window : page;
                }
            }
            return page != nullptr && IsWindowVisible(page);
        });
        return page != nullptr && IsWindowVisible(page) ? page : nullptr;
    }

    // Where the first link image of the given colour shows in the page area, once it has been painted.
    POINT WaitForLink(uint32_t colour) {
        POINT link = {-1, -1};
        WaitUntil(20000, [&] {
            link = FindColourRun(PageAreaOf(launcher_), colour, 200);
            return link.x >= 0;
        });
        return link;
    }

    std::string EngineLog() const {
        const std::vector<uint8_t> bytes = testservers::ReadWholeFile(engineLog_);
        return std::string(bytes.begin(), bytes.end());
    }

    std::wstring engineLog_;
    testsupport::RecordingDefaultBrowser browser_;
    std::unique_ptr<testsupport::ProbedLauncher> hall_;
    HWND launcher_ = nullptr;
    HWND game_ = nullptr;
};

TEST_F(PortalRoadTest, Start) {
    // The start message was posted before the game window was made, yet taken only after it existed.
    ASSERT_TRUE(WaitUntil(15000, [&] { return hall_->Record().hallStartSeen > 0; }));
    EXPECT_EQ(hall_->Record().hallStartSeen, 1);
    EXPECT_EQ(hall_->Record().gameWindowExistedAtHallStart, 1);
    EXPECT_EQ(hall_->Record().gameWindowVisibleAtHallStart, 0);
    // Neither maximised nor sized by its frame; created without the layered style, it takes it with its
    // first paint, its skin having transparent parts.
    EXPECT_EQ(GetWindowLongW(launcher_, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_TRUE(
        WaitUntil(10000, [&] { return (GetWindowLongW(launcher_, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }));
    wchar_t title[64] = {};
    GetWindowTextW(launcher_, title, 64);
    EXPECT_EQ(kHallCaption, title);

    // The launcher is on the screen before its child process exists.
    std::vector<DWORD> children;
    ASSERT_TRUE(WaitUntil(30000, [&] {
        children = BrowserProcessesOf(Pid());
        return !children.empty();
    })) << "no child process";
    const auto background = LoadSkinImage(L"bg.png");
    ASSERT_TRUE(background);
    EXPECT_GT(MatchOfOpaquePixels(CaptureScreen(WindowRect(launcher_)), 0, 0, *background, 4), 0.9)
        << "the launcher was not painted when its child started";

    // The child asks for the server list of the default channel; its page stays hidden until the
    // document is complete, which takes its frame.
    ASSERT_NE(nullptr, WaitForShownPage()) << "no page shown over the page area";
    EXPECT_TRUE(WaitForRequests("/wd/servers/news.html", 1, 1000))
        << "the page was shown before its frame came";
    EXPECT_EQ(1u, Requests("/wd_rnct.html?channel=46&newest=1"));
    EXPECT_EQ(1u, Requests("/wd/servers/?channel=46&newest=1"));

    // The page's pixels lie in the page area, and the page is the launcher's only page.
    const RECT area = PageAreaOf(launcher_);
    const POINT link = WaitForLink(kServerButtonColour);
    ASSERT_GE(link.x, 0) << "the server list's links are not on the screen";
    const RECT window = WindowRect(launcher_);
    EXPECT_TRUE(PtInRect(&area, link));
    EXPECT_LT(FindColourRun({window.left, window.top, window.right, area.top}, kServerButtonColour, 200).x,
              0);
    EXPECT_EQ(children, BrowserProcessesOf(Pid()));

    // The home button shows its hot image under the mouse and its own again after it left.
    const RECT home = {466, 176, 556, 207};
    const auto shows = [&](const wchar_t* image) {
        const auto decoded = LoadSkinImage(image);
        return decoded && WaitUntil(5000, [&] {
                   return MatchOfOpaquePixels(CaptureScreen(WindowRect(launcher_)), home.left, home.top,
                                              *decoded, 2) > 0.95;
               });
    };
    MoveMouse(CentreOf(launcher_, home));
    EXPECT_TRUE(shows(L"home_hover.png")) << "no hot image under the mouse";
    MoveMouse(ScreenPoint(launcher_, {700, 740}));
    EXPECT_TRUE(shows(L"home.png")) << "the hot image stays after the mouse left";

    // A double click on the caption never maximises the launcher.
    EXPECT_EQ(1, SendMessageW(launcher_, WM_NCLBUTTONDBLCLK, HTCAPTION,
                              MAKELPARAM(window.left + 600, window.top + 60)));
    PumpMessagesFor(300);
    const RECT after = WindowRect(launcher_);
    EXPECT_TRUE(!IsZoomed(launcher_) && EqualRect(&window, &after));
}

TEST_F(PortalRoadTest, Update) {
    const std::wstring package = Package();
    const HWND page = WaitForShownPage();
    ASSERT_NE(nullptr, page);
    const DWORD shown = GetTickCount();

    // The page's update data reached the hall: about 2 s later it asks for the package's size and fetches it.
    ASSERT_TRUE(WaitForRequests("/update/runecourt-setup.exe", 1, 20000)) << "no update check";
    EXPECT_GE(GetTickCount() - shown, 1000u) << "the check did not wait";
    EXPECT_TRUE(WaitForRequests("/update/runecourt-setup.exe", 2, 20000)) << "the package was not fetched";
    const auto served = testservers::ReadWholeFile(testsupport::SiblingProgram(L"update_test_installer.exe"));
    ASSERT_TRUE(WaitUntil(20000, [&] { return testservers::ReadWholeFile(package) == served; }))
        << "the package is incomplete";

    // The next load of the server list finds the package complete: the notice, then the silent installer.
    const UINT pageCommand = RegisterWindowMessageW(childproc::kPageCommandMessageName);
    PostMessageW(page, pageCommand, childproc::kPageCommandReload, 0);
    const testsupport::ShownMessageBox notice = testsupport::WaitForMessageBox(Pid(), L"Tolvane-提示", 30000);
    ASSERT_NE(nullptr, notice.window) << "no update notice";
    EXPECT_EQ(L"检测到微端更新，即将开始更新。。。", notice.text);
    EXPECT_EQ(2u, Requests("/wd/servers/?"));
    testsupport::AnswerMessageBox(notice.window, IDOK);
    std::vector<uint8_t> record;
    ASSERT_TRUE(WaitUntil(20000, [&] {
        return !(record = testservers::ReadWholeFile(package + L".args")).empty();
    })) << "no installer started";
    EXPECT_EQ(std::string(record.begin(), record.end()),
              "/sp- /VERYSILENT /norestart /appid={C7E1B3A9-2F64-4A8D-B05E-93D17A6C24F8} "
              "/appname=TolvaneRunecourt.exe\n");
}

TEST_F(PortalRoadTest, Enter) {
    const HWND page = WaitForShownPage();
    ASSERT_NE(nullptr, page);
    const POINT link = WaitForLink(kServerButtonColour);
    ASSERT_GE(link.x, 0);
    EXPECT_TRUE(ClickUntil({link.x + 120, link.y + 24}, [] { return Requests("/playgame?server=1") >= 1; }))
        << "the click did not ask for the game";

    // The page moves into the maximised game window below its title row; the launcher goes.
    ASSERT_TRUE(WaitUntil(20000, [&] {
        return GetAncestor(page, GA_PARENT) == game_ && IsWindowVisible(game_) && IsZoomed(game_);
    })) << "the page did not move into the game window";
    EXPECT_TRUE(WaitUntil(5000, [&] { return !IsWindowVisible(launcher_); })) << "the launcher stays shown";
    RECT client = {};
    GetClientRect(game_, &client);
    EXPECT_TRUE(WaitUntil(5000, [&] {
        RECT placed = WindowRect(page);
        MapWindowPoints(HWND_DESKTOP, game_, reinterpret_cast<POINT*>(&placed), 2);
        return placed.left == 3 && placed.top == 33 && placed.right == client.right - 3 &&
               placed.bottom == client.bottom - 3;
    })) << "the page is not laid out below the title row";
    // The game page is on the screen there: the top rows of its picture are one colour across.
    EXPECT_TRUE(WaitUntil(10000, [&] {
        return FindColourRun(WindowRect(page), kGamePictureColour, 600).x >= 0;
    })) << "the game page does not show in the game window";

    // Reload, in the title row at the right end, asks for the game page again.
    POINT origin = {0, 0};
    ClientToScreen(game_, &origin);
    const int right = origin.x + client.right - 219;
    EXPECT_TRUE(ClickUntil({right + 111, origin.y + 14}, [] { return Requests("/playgame?server=1") >= 2; }))
        << "reload did not ask for the page again";
}

TEST_F(PortalRoadTest, AroundTheGame) {
    const HWND page = WaitForShownPage();
    ASSERT_NE(nullptr, page);
    const std::vector<DWORD> children = BrowserProcessesOf(Pid());
    ASSERT_EQ(1u, children.size());
    HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, children[0]);
    ASSERT_NE(nullptr, child);

    // A link that asks for a new window: the hall offers no window for it, so none opens anywhere and
    // the server list stays as it is. (First, while the page is on the screen: Wine's virtual desktop
    // draws a repaint of the layered launcher over the page above it.)
    const POINT newWindow = WaitForLink(kNewWindowButtonColour);
    ASSERT_GE(newWindow.x, 0) << "the new-window link is not on the screen";
    EXPECT_TRUE(ClickUntil({newWindow.x + 120, newWindow.y + 20}, [&] {
        return EngineLog().find(std::string("event 273 http://") + portal::kMainHost + "/news/notice.html") !=
               std::string::npos;
    })) << "the click did not ask for a new window";
    PumpMessagesFor(3000);
    EXPECT_EQ(0u, Requests("/news/notice.html"));
    EXPECT_EQ(1u, Requests("/wd/servers/?"));
    const std::vector<HWND> windows = testsupport::WindowsOf(children[0]);
    EXPECT_EQ(1, std::count_if(windows.begin(), windows.end(), IsWindowVisible))
        << "a window beside the page";
    EXPECT_TRUE(IsWindowVisible(page) && IsWindowVisible(launcher_));

    // The portal buttons open their addresses in the player's browser.
    const std::pair<RECT, std::wstring> links[] = {{{466, 176, 556, 207}, hall::GameSiteAddress()},
                                                   {{616, 176, 706, 207}, hall::PaymentPageAddress()},
                                                   {{756, 176, 846, 207}, hall::ServicePageAddress()},
                                                   {{906, 176, 996, 207}, hall::ForumAddress()}};
    for (const auto& [pos, address] : links) {
        EXPECT_TRUE(ClickUntil(CentreOf(launcher_, pos), [&] { return browser_.WaitForAddress(address, 0); }))
            << testing::PrintToString(address) << " not among "
            << testing::PrintToString(browser_.Recorded());
    }

    // The close question: Cancel keeps everything, OK ends the hall and its child.
    const POINT close = CentreOf(launcher_, {1107, 132, 1142, 167});
    testsupport::ShownMessageBox question;
    const auto asked = [&] {
        question = testsupport::WaitForMessageBox(Pid(), kHallCaption, 0);
        return question.window != nullptr;
    };
    ASSERT_TRUE(ClickUntil(close, asked)) << "no close question";
    EXPECT_EQ(L"是否确定退出 TolvaneRunecourt", question.text);
    testsupport::AnswerMessageBox(question.window, IDCANCEL);
    EXPECT_FALSE(hall_->Process().WaitForExit(1000)) << "Cancel ended the hall";
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(child, 0)) << "Cancel ended the child";
    EXPECT_TRUE(IsWindowVisible(page));
    ASSERT_TRUE(ClickUntil(close, asked));
    testsupport::AnswerMessageBox(question.window, IDOK);
    EXPECT_TRUE(hall_->Process().WaitForExit(10000)) << "OK did not end the hall";
    EXPECT_EQ(0u, hall_->Process().ExitCode());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child, 10000)) << "the child outlived the hall";
    CloseHandle(child);
}

TEST_F(PortalRoadTest, ChildCrash) {
    ASSERT_NE(nullptr, WaitForShownPage());
    for (DWORD child : BrowserProcessesOf(Pid())) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, child);
        TerminateProcess(process, 9);
        CloseHandle(process);
    }
    const testsupport::ShownMessageBox notice = testsupport::WaitForMessageBox(Pid(), kHallCaption, 15000);
    ASSERT_NE(nullptr, notice.window) << "no crash notice";
    EXPECT_EQ(L"抱歉，当前游戏崩溃啦！请重启游戏！", notice.text);
    PumpMessagesFor(2500);  // longer than the watch period: no second notice for the same page
    EXPECT_EQ(1, testsupport::CountMessageBoxes(Pid(), kHallCaption));
    testsupport::AnswerMessageBox(notice.window, IDOK);
    ASSERT_TRUE(hall_->Process().WaitForExit(10000));
    EXPECT_EQ(0u, hall_->Process().ExitCode());
}

}  // namespace
}  // namespace halltests
