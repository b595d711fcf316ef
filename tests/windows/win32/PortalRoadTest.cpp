// The player's road with every real piece: the built launcher and its own child process, the stand-in
// browser control as page engine and the demo portal on loopback (tools/with-demo-portal.sh runs this
// program in a prepared Wine prefix on a virtual desktop). Everything is observed from outside: windows,
// the screen, the portal's access log, the recording default browser and the recording installer.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "PortalConfig.h"
#include "childproc/IpcProtocol.h"
#include "tests/services/support/UpdateServers.h"
#include "tests/support/win32/MessageBoxes.h"
#include "tests/support/win32/ProbedLauncher.h"
#include "tests/windows/win32/HallTestSupport.h"
#include "windows/HallAddresses.h"

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

bool Near(uint32_t pixel, uint32_t rgb) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((pixel >> shift) & 0xFF);
        const int b = static_cast<int>((rgb >> shift) & 0xFF);
        if (a - b > 3 || b - a > 3) {
            return false;
        }
    }
    return true;
}

// Screen position of the top-left corner of the first row run of at least `length` pixels of the
// colour inside `area`; x is -1 when there is none.
POINT FindColourRun(const RECT& area, uint32_t rgb, int length) {
    const ScreenCapture capture = CaptureScreen(area);
    for (int y = 0; y < capture.height; ++y) {
        int run = 0;
        for (int x = 0; x < capture.width; ++x) {
            run = Near(capture.At(x, y), rgb) ? run + 1 : 0;
            if (run == length) {
                return {area.left + x - length + 1, area.top + y};
            }
        }
    }
    return {-1, -1};
}

bool Inside(const RECT& rect, POINT point) {
    return PtInRect(&rect, point) != FALSE;
}

// Clicks at a screen point until `done` holds, as a player clicks again when nothing happened: under
// Wine on a loaded machine a click now and then reaches a window before it takes input. False when three
// clicks, each given ten seconds, did not do it.
template <typename Predicate>
bool ClickUntil(POINT screen, Predicate done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        Click(GetDesktopWindow(), screen);
        if (WaitUntil(10000, done)) {
            return true;
        }
    }
    return false;
}

POINT ScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

RECT PageAreaOf(HWND launcher) {
    const RECT window = WindowRect(launcher);
    return {window.left + 384, window.top + 222, window.right - 170, window.bottom - 126};
}

// Where the launcher keeps the update package it downloads from the demo portal.
std::wstring Package() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::wstring(appData) + L"\\Tolvane\\update\\runecourt-setup.exe";
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring ReadWide(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

// The whole screen as a BMP beside the build's programs, for a look at what a failing step saw.
void SaveScreen(const std::wstring& path) {
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ScreenCapture capture = CaptureScreen(screen);
    for (uint32_t& pixel : capture.pixels) {
        pixel |= 0xFF000000u;  // the screen has no transparency; viewers would take alpha 0 for it
    }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = capture.width;
    info.biHeight = -capture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD pixelBytes = static_cast<DWORD>(capture.pixels.size() * 4);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + pixelBytes;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(capture.pixels.data()), pixelBytes);
}

int VisibleWindowsOf(DWORD processId) {
    struct Count {
        DWORD processId;
        int count;
    } count = {processId, 0};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* count = reinterpret_cast<Count*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            count->count += owner == count->processId && IsWindowVisible(window) ? 1 : 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.count;
}

class PortalRoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_linesBefore = testservers::NginxLog().size();
        // A package left complete by an earlier hall would be offered at once, in front of everything.
        DeleteFileW(Package().c_str());
        DeleteFileW((Package() + L".args").c_str());
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        // The hall hands its environment to the browser it starts, so the recorder comes first.
        browser_ = std::make_unique<testsupport::RecordingDefaultBrowser>(
            std::wstring(temp) + L"tolvane-road-links-" + std::to_wstring(GetCurrentProcessId()) + L".txt");
        // The stand-in page engine logs the events it fires, so that the test sees which path a click took.
        engineLog_ =
            std::wstring(temp) + L"tolvane-road-engine-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
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
        if (HasFailure()) {
            const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
            const std::string name = test != nullptr ? test->name() : "unknown";
            SaveScreen(testsupport::ProgramFolder() + L"\\..\\road-failure-" +
                       std::wstring(name.begin(), name.end()) + L".bmp");
        }
        // The hall's browser process would outlive it for a while, its page still on the screen where
        // the next test's page goes.
        const std::vector<DWORD> children = BrowserProcessesOf(Pid());
        hall_.reset();
        for (DWORD child : children) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, child);
            if (process != nullptr) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 10000);
                CloseHandle(process);
            }
        }
    }

    DWORD Pid() { return hall_->Process().ProcessId(); }

    // The page window of this hall's child, placed over the launcher's page area and shown.
    HWND WaitForShownPage() {
        HWND page = nullptr;
        WaitUntil(60000, [&] {
            page = FindWindowOfAt(BrowserProcessesOf(Pid()), PageAreaOf(launcher_));
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
        std::ifstream in(engineLog_.c_str(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    std::wstring engineLog_;
    std::unique_ptr<testsupport::RecordingDefaultBrowser> browser_;
    std::unique_ptr<testsupport::ProbedLauncher> hall_;
    HWND launcher_ = nullptr;
    HWND game_ = nullptr;
};

TEST_F(PortalRoadTest, Start) {
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
    HWND page = nullptr;
    WaitUntil(60000, [&] {
        page = FindWindowOfAt(children, PageAreaOf(launcher_));
        return page != nullptr && IsWindowVisible(page);
    });
    ASSERT_NE(nullptr, page) << "no page shown over the page area";
    EXPECT_TRUE(WaitForRequests("/wd/servers/news.html", 1, 1000))
        << "the page was shown before its frame came";
    EXPECT_EQ(1u, Requests("/wd_rnct.html?channel=46&newest=1"));
    EXPECT_EQ(1u, Requests("/wd/servers/?channel=46&newest=1"));

    // The page's pixels lie in the page area, and the page is the launcher's only page.
    const RECT area = PageAreaOf(launcher_);
    const POINT link = WaitForLink(kServerButtonColour);
    ASSERT_GE(link.x, 0) << "the server list's links are not on the screen";
    const RECT outside = {WindowRect(launcher_).left, WindowRect(launcher_).top, WindowRect(launcher_).right,
                          area.top};
    EXPECT_TRUE(Inside(area, link));
    EXPECT_LT(FindColourRun(outside, kServerButtonColour, 200).x, 0);
    EXPECT_EQ(children, BrowserProcessesOf(Pid()));
}

TEST_F(PortalRoadTest, Update) {
    const std::wstring package = Package();
    const HWND page = WaitForShownPage();
    ASSERT_NE(nullptr, page);
    const DWORD shown = GetTickCount();

    // The page's update data reached the hall: about 2 s later it asks for the package's size and fetches it.
    ASSERT_TRUE(WaitUntil(20000, [&] { return hall_->Record().updateTimerFires > 0; })) << "no update check";
    EXPECT_GE(hall_->Record().firstUpdateTimerTick - shown, 1000u) << "the check did not wait";
    EXPECT_TRUE(WaitForRequests("/update/runecourt-setup.exe", 2, 20000)) << "the package was not fetched";
    const long long served = FileSize(testsupport::SiblingProgram(L"update_test_installer.exe"));
    ASSERT_TRUE(WaitUntil(20000, [&] { return FileSize(package) == served; })) << "the package is incomplete";

    // The next load of the server list finds the package complete: the notice, then the silent installer.
    const UINT pageCommand = RegisterWindowMessageW(childproc::kPageCommandMessageName);
    PostMessageW(page, pageCommand, childproc::kPageCommandReload, 0);
    const testsupport::ShownMessageBox notice = testsupport::WaitForMessageBox(Pid(), L"Tolvane-提示", 30000);
    ASSERT_NE(nullptr, notice.window) << "no update notice";
    EXPECT_EQ(L"检测到微端更新，即将开始更新。。。", notice.text);
    EXPECT_EQ(2u, Requests("/wd/servers/?"));
    testsupport::AnswerMessageBox(notice.window, IDOK);
    ASSERT_TRUE(WaitUntil(20000, [&] { return FileSize(package + L".args") > 0; })) << "no installer started";
    EXPECT_NE(
        std::wstring::npos,
        ReadWide(package + L".args")
            .find(L" /sp- /VERYSILENT /norestart /appid={C7E1B3A9-2F64-4A8D-B05E-93D17A6C24F8} /appname="));
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
        const RECT placed = RectInClientOf(page, game_);
        return placed.left == 3 && placed.top == 33 && placed.right == client.right - 3 &&
               placed.bottom == client.bottom - 3;
    })) << "the page is not laid out below the title row";
    // The game page is on the screen there: the top rows of its picture are one colour across.
    EXPECT_TRUE(WaitUntil(10000, [&] {
        return FindColourRun(WindowRect(page), kGamePictureColour, 600).x >= 0;
    })) << "the game page does not show in the game window";

    // The title row: its text buttons show white text, its image buttons their images at the right end.
    PumpMessagesFor(1000);
    POINT origin = {0, 0};
    ClientToScreen(game_, &origin);
    const int right = origin.x + client.right - 219;
    const ScreenCapture row = CaptureScreen({right, origin.y, right + 219, origin.y + 30});
    for (const RECT text : {RECT{33, 3, 93, 26}, RECT{96, 3, 126, 26}}) {
        int white = 0;
        for (int y = text.top; y < text.bottom; ++y) {
            for (int x = text.left; x < text.right; ++x) {
                const uint32_t pixel = row.At(x, y);
                white += ((pixel >> 16) & 0xFF) > 200 && ((pixel >> 8) & 0xFF) > 200 && (pixel & 0xFF) > 200
                             ? 1
                             : 0;
            }
        }
        EXPECT_GT(white, 20) << "no text at " << text.left;
    }
    const struct {
        const wchar_t* image;
        int left;
    } images[] = {{L"min_normal.png", 129}, {L"normal2max-normal.png", 159}, {L"close_normal.png", 189}};
    for (const auto& image : images) {
        const auto decoded = LoadSkinImage(image.image);
        ASSERT_TRUE(decoded);
        EXPECT_GT(MatchOfOpaquePixels(row, image.left, 3, *decoded, 1), 0.9) << image.left;
    }

    // Reload in the title row asks for the game page again.
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
    EXPECT_EQ(1, VisibleWindowsOf(children[0])) << "a window beside the page";
    EXPECT_TRUE(IsWindowVisible(page) && IsWindowVisible(launcher_));

    // The portal buttons open their addresses in the player's browser.
    const struct {
        POINT at;
        std::wstring address;
    } links[] = {
        {CentreOf(466, 176, 556, 207), hall::GameSiteAddress()},
        {CentreOf(616, 176, 706, 207), hall::PaymentPageAddress()},
        {CentreOf(756, 176, 846, 207), hall::ServicePageAddress()},
        {CentreOf(906, 176, 996, 207), hall::ForumAddress()},
    };
    for (const auto& link : links) {
        EXPECT_TRUE(ClickUntil(ScreenPoint(launcher_, link.at),
                               [&] { return browser_->WaitForAddress(link.address, 0); }))
            << testing::PrintToString(link.address) << " not among "
            << testing::PrintToString(browser_->Recorded());
    }

    // The close question: Cancel keeps everything, OK ends the hall and its child.
    const POINT close = CentreOf(1107, 132, 1142, 167);
    testsupport::ShownMessageBox question;
    const auto asked = [&] {
        question = testsupport::WaitForMessageBox(Pid(), kHallCaption, 0);
        return question.window != nullptr;
    };
    ASSERT_TRUE(ClickUntil(ScreenPoint(launcher_, close), asked)) << "no close question";
    EXPECT_EQ(L"是否确定退出 TolvaneRunecourt", question.text);
    testsupport::AnswerMessageBox(question.window, IDCANCEL);
    EXPECT_FALSE(hall_->Process().WaitForExit(1000)) << "Cancel ended the hall";
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(child, 0)) << "Cancel ended the child";
    EXPECT_TRUE(IsWindowVisible(page));
    ASSERT_TRUE(ClickUntil(ScreenPoint(launcher_, close), asked));
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
