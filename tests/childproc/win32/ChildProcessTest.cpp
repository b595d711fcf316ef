// The built executable in its child role, started by this program as the hall: the IPC window, the pages
// it makes for the hall's commands, what it refuses, and how quickly it ends once the hall is gone.
#include <gtest/gtest.h>

#include <windows.h>

#include <exdisp.h>
#include <mshtmhst.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "browser/win32/MyAxHostWindowEx.h"
#include "childproc/CommandLines.h"
#include "childproc/IpcProtocol.h"
#include "childproc/win32/BrowserHandOver.h"
#include "childproc/win32/ChildIpcWindow.h"
#include "childproc/win32/ChildPageThread.h"
#include "childproc/win32/ChildProcessLink.h"
#include "skin/win32/ComPtr.h"
#include "tests/browser/win32/BrowserTestSupport.h"
#include "tests/support/win32/TestProcess.h"

namespace {

using browsertest::OwnerWindow;
using SkinUI::ComPtr;
using testsupport::SiblingProgram;
using testsupport::WaitUntil;

// This program's main thread is the hall's: an apartment of its own, as the hall's windows need.
class HallApartment : public ::testing::Environment {
  public:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override { OleUninitialize(); }
};
::testing::Environment* const g_hallApartment = ::testing::AddGlobalTestEnvironment(new HallApartment);

std::wstring ProductProgram() {
    return SiblingProgram(L"TolvaneRunecourt.exe");
}

LONG_PTR Style(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

LONG_PTR ExStyle(HWND window) {
    return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

LRESULT SendCopyData(HWND to, uint32_t command, ULONG_PTR tag, const void* data, size_t size) {
    COPYDATASTRUCT copy = {};
    copy.dwData = tag;
    copy.cbData = static_cast<DWORD>(size);
    copy.lpData = const_cast<void*>(data);
    return SendMessageW(to, WM_COPYDATA, command, reinterpret_cast<LPARAM>(&copy));
}

void SendOwner(HWND ipc, HWND page, HWND owner) {
    const auto record =
        childproc::WriteOwnerRecord(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner)));
    SendCopyData(ipc, childproc::COPYDATA_SET_PAGE_OWNER, reinterpret_cast<ULONG_PTR>(page), record.data(),
                 record.size());
}

void SendNavigate(HWND ipc, HWND page, const std::string& address) {
    const auto record = childproc::WriteNarrowText(address);
    SendCopyData(ipc, childproc::COPYDATA_NAVIGATE_PAGE, reinterpret_cast<ULONG_PTR>(page), record.data(),
                 record.size());
}

// A click into a page: the page thread tells the page's owner with the mouse-button form of the page
// state.
void Click(HWND page) {
    PostMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
}

bool ClickReached(OwnerWindow& owner, HWND page) {
    return WaitUntil(3000, [&] {
        for (const auto& r : owner.Messages(childproc::WM_IPC_PAGE_STATE)) {
            if (r.wParam == childproc::kPageStateMouseButton && r.lParam == reinterpret_cast<LPARAM>(page)) {
                return true;
            }
        }
        return false;
    });
}

// A child process started for a hall window of this test; ended with the test.
class ChildProcess : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(SpawnChildProcessOf(link, hall->Handle(), ProductProgram()), 0); }
    void TearDown() override {
        if (link.process) {
            TerminateProcess(link.process.Get(), 1);
            WaitForSingleObject(link.process.Get(), 5000);
        }
    }

    // Opens a start page and returns the window the child reported.
    HWND OpenPage(const char* address, HWND ownerOverride = nullptr) {
        OwnerWindow& receiver = ownerOverride != nullptr ? *game : *hall;
        const size_t before = receiver.Messages(childproc::WM_IPC_BROWSER_CREATED).size();
        EXPECT_EQ(SendStartAddress(link, address, ownerOverride), 0);
        const auto created = receiver.Messages(childproc::WM_IPC_BROWSER_CREATED);
        // The report arrived while the send was still waiting.
        EXPECT_EQ(created.size(), before + 1);
        return created.empty() ? nullptr : reinterpret_cast<HWND>(created.back().lParam);
    }

    DWORD WaitForEnd(DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        WaitUntil(timeoutMs, [&] { return WaitForSingleObject(link.process.Get(), 0) == WAIT_OBJECT_0; });
        return GetTickCount() - start;
    }
    // The child ended on its own, cleanly, soon after what should end it.
    void ExpectCleanEndWithin2500(DWORD elapsed, const char* what) {
        std::printf("child %s ended %lu ms after its owner window\n", what,
                    static_cast<unsigned long>(elapsed));
        EXPECT_LE(elapsed, 2500u);
        DWORD code = 1;
        GetExitCodeProcess(link.process.Get(), &code);
        EXPECT_EQ(code, 0u);
    }

    std::unique_ptr<OwnerWindow> hall = std::make_unique<OwnerWindow>();
    std::unique_ptr<OwnerWindow> game = std::make_unique<OwnerWindow>();
    ChildProcessLink link;
};

TEST_F(ChildProcess, StartPageIsAHiddenDisabledPopupWithTheRealControl) {
    wchar_t className[64] = {};
    GetClassNameW(link.childIpcWindow, className, 64);
    EXPECT_STREQ(className, kChildIpcWindowClass);
    wchar_t title[256] = {};
    GetWindowTextW(link.childIpcWindow, title, 256);
    EXPECT_EQ(std::wstring(title).rfind(L"IPC:{", 0), 0u);
    EXPECT_EQ(std::wcslen(title), 4u + 38u);
    EXPECT_EQ(ProcessOf(link.childIpcWindow), link.processId);
    EXPECT_EQ(link.hallWindow, hall->Handle());

    const HWND page = OpenPage("http://127.0.0.1:9/wd/servers?server_list?channel=46");
    ASSERT_TRUE(IsWindow(page));
    EXPECT_EQ(hall->Messages(childproc::WM_IPC_BROWSER_CREATED)[0].wParam, 0u);
    EXPECT_EQ(ProcessOf(page), link.processId);
    EXPECT_EQ(Style(page) & (WS_POPUP | WS_DISABLED | WS_VISIBLE | WS_CHILD), WS_POPUP | WS_DISABLED);
    EXPECT_TRUE(ExStyle(page) & WS_EX_NOACTIVATE);
    EXPECT_EQ(GetWindow(page, GW_OWNER), hall->Handle());

    // The page's browser is the real control, and this process can use it.
    ComPtr<IWebBrowser2> browser;
    HWND acquired = nullptr;
    ASSERT_EQ(AcquireBrowserInterface(link.childIpcWindow, page, &acquired, browser.Put()), S_OK);
    EXPECT_EQ(acquired, page);
    VARIANT_BOOL visible = VARIANT_FALSE;
    EXPECT_EQ(browser->get_Visible(&visible), S_OK);
    // It is hosted in our site, which silences script errors. (The site's host flags cannot be read from
    // here: the system has no proxy for its UI handler interface; the host tests read them in process.)
    ComPtr<IOleObject> control;
    ComPtr<IOleClientSite> site;
    ComPtr<IOleCommandTarget> commands;
    ASSERT_EQ(browser->QueryInterface(IID_IOleObject, control.PutVoid()), S_OK);
    ASSERT_EQ(control->GetClientSite(site.Put()), S_OK);
    ASSERT_EQ(site->QueryInterface(IID_IOleCommandTarget, commands.PutVoid()), S_OK);
    VARIANT handled;
    VariantInit(&handled);
    const GUID docHostCommands = {
        0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
    EXPECT_EQ(commands->Exec(&docHostCommands, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &handled), S_OK);
    EXPECT_EQ(V_VT(&handled), VT_BOOL);
    EXPECT_EQ(V_BOOL(&handled), VARIANT_TRUE);
}

TEST_F(ChildProcess, TheChildMarkerMakesAVisibleChildOfTheOwner) {
    const HWND page = OpenPage("http://127.0.0.1:9/wd/servers?server_list?aschildxsd=1");
    ASSERT_TRUE(IsWindow(page));
    EXPECT_EQ(Style(page) & (WS_POPUP | WS_DISABLED | WS_VISIBLE | WS_CHILD), WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(GetAncestor(page, GA_PARENT), hall->Handle());
}

TEST_F(ChildProcess, AnOpenCommandWithoutDataStillMakesAndReportsAPage) {
    const HWND page = OpenPage(nullptr);
    ASSERT_TRUE(IsWindow(page));
    EXPECT_EQ(Style(page) & (WS_POPUP | WS_DISABLED), WS_POPUP | WS_DISABLED);
    // Nothing was navigated: the owner hears of no address.
    testsupport::PumpMessagesFor(300);
    EXPECT_TRUE(hall->Messages(WM_COPYDATA).empty());
}

TEST_F(ChildProcess, ATagBecomesTheOwnerOfThisAndLaterPages) {
    const HWND page = OpenPage("http://127.0.0.1:9/a", game->Handle());
    ASSERT_TRUE(IsWindow(page));
    EXPECT_EQ(game->Messages(childproc::WM_IPC_BROWSER_CREATED)[0].wParam,
              reinterpret_cast<WPARAM>(game->Handle()));
    EXPECT_EQ(GetWindow(page, GW_OWNER), game->Handle());
    EXPECT_TRUE(hall->Messages(childproc::WM_IPC_BROWSER_CREATED).empty());

    const HWND later = reinterpret_cast<HWND>(
        SendMessageW(link.childIpcWindow, childproc::WM_IPC_CREATE_BROWSER, GetCurrentProcessId(), 0));
    ASSERT_TRUE(IsWindow(later));
    EXPECT_EQ(GetWindow(later, GW_OWNER), game->Handle());
    Click(later);
    EXPECT_TRUE(ClickReached(*game, later));
}

TEST_F(ChildProcess, CreatedBrowsersCloseAndTheirThreadsEnd) {
    const HWND page = reinterpret_cast<HWND>(
        SendMessageW(link.childIpcWindow, childproc::WM_IPC_CREATE_BROWSER, GetCurrentProcessId(), 0));
    ASSERT_TRUE(IsWindow(page));
    EXPECT_EQ(GetWindow(page, GW_OWNER), hall->Handle());
    const DWORD threadId = GetWindowThreadProcessId(page, nullptr);
    UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, threadId));
    ASSERT_TRUE(thread);

    SendMessageW(link.childIpcWindow, childproc::WM_IPC_CLOSE_BROWSER, 0,
                 reinterpret_cast<LPARAM>(hall->Handle()));
    EXPECT_TRUE(IsWindow(page));  // not a page of the child
    SendMessageW(link.childIpcWindow, childproc::WM_IPC_CLOSE_BROWSER, 0, reinterpret_cast<LPARAM>(page));
    EXPECT_TRUE(WaitUntil(3000, [&] { return !IsWindow(page); }));
    EXPECT_TRUE(WaitUntil(3000, [&] { return WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0; }));
}

TEST_F(ChildProcess, CommandsForWindowsTheChildDoesNotKnowChangeNothing) {
    const HWND page = OpenPage(nullptr);
    ASSERT_TRUE(IsWindow(page));
    const HWND foreign[] = {hall->Handle(), game->Handle(), link.childIpcWindow};
    for (HWND window : foreign) {
        SendOwner(link.childIpcWindow, window, game->Handle());
        SendNavigate(link.childIpcWindow, window, "http://127.0.0.1:9/elsewhere");
        SendCopyData(link.childIpcWindow, childproc::COPYDATA_RELOAD_PAGE,
                     reinterpret_cast<ULONG_PTR>(window), nullptr, 0);
    }
    Click(page);
    EXPECT_TRUE(ClickReached(*hall, page));
    testsupport::PumpMessagesFor(500);
    EXPECT_TRUE(hall->Messages(WM_COPYDATA).empty());
    EXPECT_TRUE(game->received.empty());

    // The same commands for the page itself do reach it.
    SendOwner(link.childIpcWindow, page, game->Handle());
    Click(page);
    EXPECT_TRUE(ClickReached(*game, page));
    SendNavigate(link.childIpcWindow, page, "http://127.0.0.1:9/next");
    EXPECT_TRUE(WaitUntil(3000, [&] { return !game->Messages(WM_COPYDATA).empty(); }));
}

TEST_F(ChildProcess, MalformedRecordsLeaveTheChildServing) {
    const HWND page = OpenPage("http://127.0.0.1:9/a");
    ASSERT_TRUE(IsWindow(page));
    const HWND ipcWindow = link.childIpcWindow;
    const ULONG_PTR pageTag = reinterpret_cast<ULONG_PTR>(page);
    const char unterminated[] = {'h', 't', 't', 'p'};
    std::vector<char> oversized(1 << 20, 'x');
    const auto owner =
        childproc::WriteOwnerRecord(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(game->Handle())));
    const uint8_t longOwner[8] = {};

    EXPECT_EQ(SendCopyData(ipcWindow, childproc::COPYDATA_OPEN_PAGE, 0, unterminated, sizeof unterminated),
              0);
    EXPECT_EQ(SendCopyData(ipcWindow, childproc::COPYDATA_OPEN_PAGE, 0, oversized.data(), oversized.size()),
              0);
    SendCopyData(ipcWindow, childproc::COPYDATA_NAVIGATE_PAGE, pageTag, unterminated, sizeof unterminated);
    SendCopyData(ipcWindow, childproc::COPYDATA_NAVIGATE_PAGE, pageTag, nullptr, 0);
    SendCopyData(ipcWindow, childproc::COPYDATA_SET_PAGE_OWNER, pageTag, owner.data(), 3);
    SendCopyData(ipcWindow, childproc::COPYDATA_SET_PAGE_OWNER, pageTag, longOwner, sizeof longOwner);
    SendCopyData(ipcWindow, childproc::COPYDATA_SET_PAGE_OWNER, pageTag, nullptr, 0);
    for (uint32_t command : {0u, 3u, 5u, 99u, 6400u}) {
        SendCopyData(ipcWindow, command, pageTag, owner.data(), owner.size());
    }
    // Owners that are no window, or a window outside the hall's process, are refused.
    const auto address = childproc::WriteNarrowText("http://127.0.0.1:9/c");
    for (HWND outside : {reinterpret_cast<HWND>(0xDEAD0), ipcWindow, GetDesktopWindow()}) {
        const ULONG_PTR tag = reinterpret_cast<ULONG_PTR>(outside);
        EXPECT_EQ(SendCopyData(ipcWindow, childproc::COPYDATA_OPEN_PAGE, tag, address.data(), address.size()),
                  0);
        const auto record = childproc::WriteOwnerRecord(static_cast<uint32_t>(tag));
        EXPECT_EQ(SendCopyData(ipcWindow, childproc::COPYDATA_SET_PAGE_OWNER, pageTag, record.data(),
                               record.size()),
                  0);
    }
    // Longer than the lifetime tick and the watchdog's period together.
    testsupport::PumpMessagesFor(2500);
    EXPECT_EQ(hall->Messages(childproc::WM_IPC_BROWSER_CREATED).size(), 1u);
    EXPECT_TRUE(game->received.empty());
    EXPECT_EQ(WaitForSingleObject(link.process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // Still serving, and the page still reports to its first owner.
    Click(page);
    EXPECT_TRUE(ClickReached(*hall, page));
    EXPECT_TRUE(IsWindow(OpenPage("http://127.0.0.1:9/b")));
}

TEST_F(ChildProcess, ADestroyedHallEndsTheChildWithinTwoSeconds) {
    ASSERT_TRUE(IsWindow(OpenPage("http://127.0.0.1:9/a")));
    hall.reset();
    ExpectCleanEndWithin2500(WaitForEnd(5000), "of a destroyed hall");
}

TEST_F(ChildProcess, ADestroyedHallEndsTheChildAlsoWhileAPageIsBusy) {
    const HWND page = OpenPage("http://127.0.0.1:9/a");
    ASSERT_TRUE(IsWindow(page));
    // The page's owner lives on a thread that stops answering: the page thread hangs in its report.
    std::atomic<bool> pageBlocked{false};
    browsertest::OwnerThread busy([&](OwnerWindow& owner) {
        owner.onReceived = [&](const browsertest::Received& r) {
            if (r.message == WM_COPYDATA) {
                pageBlocked = true;
                Sleep(4000);
            }
        };
    });
    SendOwner(link.childIpcWindow, page, busy.Window());
    SendNavigate(link.childIpcWindow, page, "http://127.0.0.1:9/busy");
    ASSERT_TRUE(WaitUntil(3000, [&] { return pageBlocked.load(); }));

    hall.reset();
    ExpectCleanEndWithin2500(WaitForEnd(5000), "with a busy page");
}

TEST_F(ChildProcess, TheWatchdogEndsAChildWhoseIpcThreadIsStuck) {
    // The child's IPC thread hangs in its report to an owner that destroys its window and then stops
    // answering: only the watchdog can notice that the owner is gone.
    std::atomic<DWORD> ownerGone{0};
    browsertest::OwnerThread stuck([&ownerGone](OwnerWindow& owner) {
        const HWND window = owner.Handle();
        owner.onReceived = [window, &ownerGone](const browsertest::Received& r) {
            if (r.message == childproc::WM_IPC_BROWSER_CREATED) {
                DestroyWindow(window);
                ownerGone = GetTickCount();
                Sleep(4000);
            }
        };
    });
    const auto record = childproc::WriteNarrowText("http://127.0.0.1:9/a");
    COPYDATASTRUCT copy = {reinterpret_cast<ULONG_PTR>(stuck.Window()), static_cast<DWORD>(record.size()),
                           const_cast<uint8_t*>(record.data())};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(link.childIpcWindow, WM_COPYDATA, childproc::COPYDATA_OPEN_PAGE,
                        reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, 500, &answer);
    ASSERT_TRUE(WaitUntil(3000, [&] { return ownerGone.load() != 0; }));
    WaitUntil(5000, [&] { return WaitForSingleObject(link.process.Get(), 0) == WAIT_OBJECT_0; });
    ExpectCleanEndWithin2500(GetTickCount() - ownerGone.load(), "with a stuck IPC thread");
}

TEST(ChildCommandLine, RefusedSwitchesEndWithMinusOneAndNoWindow) {
    const std::wstring lines[] = {
        L"-KVGameBox -KVGameBox -KVHallWnd=65556 -ChildIPCWndName=IPC:refused1",
        L"-KVGameBox -KVGameBoxChildProcess -KVHallWnd=0 -ChildIPCWndName=IPC:refused2",
        L"-KVGameBox -KVGameBoxChildProcess -KVHallWnd=abc -ChildIPCWndName=IPC:refused3",
        L"-KVGameBox -KVGameBoxChildProcess -KVHallWnd=65556 -ChildIPCWndName=",
    };
    for (const std::wstring& line : lines) {
        testsupport::TestProcess child;
        ASSERT_TRUE(child.Start(ProductProgram(), line));
        EXPECT_TRUE(child.WaitForExit(10000)) << line.c_str();
        EXPECT_EQ(child.ExitCode(), 0xFFFFFFFFu) << line.c_str();
    }
    EXPECT_EQ(FindWindowW(kChildIpcWindowClass, nullptr), nullptr);
}

TEST(ChildCommandLine, TheSingleAddressFormEndsAtOnce) {
    // The command lines SpawnWebProcess gives the product. An address with a space makes five
    // arguments, which the child role then refuses.
    const std::pair<const wchar_t*, DWORD> cases[] = {{L"http://127.0.0.1:9/a?b=c", 0u},
                                                      {L"http://127.0.0.1:9/a?b=c d", 0xFFFFFFFFu}};
    for (const auto& [address, exitCode] : cases) {
        std::wstring line = WebProcessCommandLine(ProductProgram(), address);
        line = line.substr(line.find(L"\" ") + 2);
        testsupport::TestProcess single;
        ASSERT_TRUE(single.Start(ProductProgram(), line));
        EXPECT_TRUE(single.WaitForExit(5000)) << address;
        EXPECT_EQ(single.ExitCode(), exitCode) << address;
    }
    EXPECT_EQ(FindWindowW(kChildIpcWindowClass, nullptr), nullptr);
}

TEST(ChildSpawn, AProgramThatNeverShowsTheWindowFailsAfterTwoSeconds) {
    OwnerWindow hall;
    ChildProcessLink link;
    const DWORD start = GetTickCount();
    EXPECT_EQ(SpawnChildProcessOf(link, hall.Handle(), SiblingProgram(L"browser_handover_peer.exe")), -1);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 1900u);
    EXPECT_LE(elapsed, 3500u);
    EXPECT_TRUE(link.process);
    EXPECT_EQ(link.childIpcWindow, nullptr);
    EXPECT_EQ(SendStartAddress(link, "http://127.0.0.1:9/a", nullptr), -1);
    EXPECT_TRUE(hall.received.empty());
}

TEST(ChildSpawn, AcquiringANewPageFromTheHallGivesAWorkingProxy) {
    OwnerWindow hall;
    ChildProcessLink link;
    ASSERT_EQ(SpawnChildProcessOf(link, hall.Handle(), ProductProgram()), 0);
    ComPtr<IWebBrowser2> browser;
    HWND page = nullptr;
    EXPECT_EQ(AcquireBrowserInterface(link.childIpcWindow, nullptr, &page, browser.Put()), S_OK);
    ASSERT_TRUE(browser);
    EXPECT_EQ(ProcessOf(page), link.processId);
    VARIANT_BOOL visible = VARIANT_FALSE;
    EXPECT_EQ(browser->get_Visible(&visible), S_OK);
    browser.Reset();
    TerminateProcess(link.process.Get(), 1);
}

// The page thread in this process, for what cannot be read across processes: the scroll-bar flag that the
// page's address sets for the site.
TEST(PageThread, OnlyServerListAddressesTurnScrollBarsOn) {
    browsertest::OwnerThread owner;
    const std::pair<const char*, bool> cases[] = {
        {"http://127.0.0.1:9/wd/servers?server_list?channel=46", true},
        {"http://127.0.0.1:9/playgame?server=3", false},
        {"http://127.0.0.1:9/x?server_list?aschildxsd=1", true},
        {"", false}};
    for (const auto& [address, scrollBars] : cases) {
        const auto page = StartBrowserThread(owner.Window(), address);
        ASSERT_NE(page, nullptr) << address;
        EXPECT_EQ(browser::g_showScrollBars.load(), scrollBars) << address;
        const HWND window = reinterpret_cast<HWND>(page->Window());
        UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(window, nullptr)));
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(thread.Get(), 5000), static_cast<DWORD>(WAIT_OBJECT_0)) << address;
        page->SetOwnerWindow(0);  // an ended page ignores what it is told
        page->SetPendingAddress("x");
    }
}

// From the start of a child to the first page's report, ten times; run with
// --gtest_also_run_disabled_tests.
TEST(ChildSpawn, DISABLED_MeasureStartToFirstPage) {
    std::vector<double> times;
    for (int run = 0; run < 10; ++run) {
        OwnerWindow hall;
        LARGE_INTEGER frequency, start, arrived = {};
        QueryPerformanceFrequency(&frequency);
        hall.onReceived = [&](const browsertest::Received& r) {
            if (r.message == childproc::WM_IPC_BROWSER_CREATED) {
                QueryPerformanceCounter(&arrived);
            }
        };
        ChildProcessLink link;
        QueryPerformanceCounter(&start);
        ASSERT_EQ(SpawnChildProcessOf(link, hall.Handle(), ProductProgram()), 0);
        ASSERT_EQ(SendStartAddress(link, "http://127.0.0.1:9/wd/servers?server_list?channel=46", nullptr), 0);
        ASSERT_NE(arrived.QuadPart, 0);
        times.push_back(1000.0 * static_cast<double>(arrived.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
        std::printf("run %d: %.1f ms\n", run + 1, times.back());
        TerminateProcess(link.process.Get(), 1);
        WaitForSingleObject(link.process.Get(), 5000);
    }
    std::sort(times.begin(), times.end());
    std::printf("median %.1f ms, min %.1f ms, max %.1f ms\n", (times[4] + times[5]) / 2, times.front(),
                times.back());
}

}  // namespace
