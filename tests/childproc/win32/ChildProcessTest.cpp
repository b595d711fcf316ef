// The built executable in its child role, started by this program as the hall: the IPC window, the pages
// it makes, what it refuses, and how quickly it ends once the hall is gone. The decisions behind each
// command are tested without processes in ChildIpcContextTest.
#include <gtest/gtest.h>

#include <windows.h>

#include <exdisp.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "browser/win32/ComPtr.h"
#include "childproc/IpcProtocol.h"
#include "childproc/win32/BrowserHandOver.h"
#include "childproc/win32/ChildIpcWindow.h"
#include "childproc/win32/ChildProcessLink.h"
#include "tests/browser/win32/BrowserTestSupport.h"
#include "tests/support/win32/TestProcess.h"

namespace childproc {
namespace {

using browser::ComPtr;
using browsertest::OwnerThread;
using browsertest::OwnerWindow;
using browsertest::Received;
using testsupport::SiblingProgram;
using testsupport::WaitUntil;

// This program's main thread is the hall's: an apartment of its own, as the hall's windows need.
class HallApartment : public ::testing::Environment {
  public:
    void SetUp() override { OleInitialize(nullptr); }
};
::testing::Environment* const g_hallApartment = ::testing::AddGlobalTestEnvironment(new HallApartment);

std::wstring ProductProgram() {
    return SiblingProgram(L"TolvaneRunecourt.exe");
}

LONG_PTR Styles(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE) & (WS_POPUP | WS_DISABLED | WS_VISIBLE | WS_CHILD);
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

LRESULT SendCopyData(HWND to, uint32_t command, HWND tag, const void* data, size_t size) {
    COPYDATASTRUCT copy = {reinterpret_cast<ULONG_PTR>(tag), static_cast<DWORD>(size),
                           const_cast<void*>(data)};
    return SendMessageW(to, WM_COPYDATA, command, reinterpret_cast<LPARAM>(&copy));
}

LRESULT SendRecord(HWND to, uint32_t command, HWND tag, const std::vector<uint8_t>& record) {
    return SendCopyData(to, command, tag, record.data(), record.size());
}

std::vector<uint8_t> OwnerRecord(HWND owner) {
    return WriteOwnerRecord(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner)));
}

// A click into a page: the page thread tells the page's owner with the mouse-button form of the page
// state.
bool ClickReaches(OwnerWindow& owner, HWND page) {
    PostMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    return WaitUntil(3000, [&] {
        const auto states = owner.Messages(WM_IPC_PAGE_STATE);
        return std::any_of(states.begin(), states.end(), [&](const Received& r) {
            return r.wParam == kPageStateMouseButton && r.lParam == reinterpret_cast<LPARAM>(page);
        });
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

    // Opens a start page and returns the window the child reported while the send still waited.
    HWND OpenPage(const char* address) {
        const size_t before = hall->Messages(WM_IPC_BROWSER_CREATED).size();
        EXPECT_EQ(SendStartAddress(link, address, nullptr), 0);
        const auto created = hall->Messages(WM_IPC_BROWSER_CREATED);
        EXPECT_EQ(created.size(), before + 1);
        return created.size() == before + 1 ? reinterpret_cast<HWND>(created.back().lParam) : nullptr;
    }

    // The child ended on its own, cleanly and soon, after what should end it.
    void ExpectCleanEndSoonAfter(DWORD since, const char* what) {
        WaitUntil(5000, [&] { return WaitForSingleObject(link.process.Get(), 0) == WAIT_OBJECT_0; });
        const DWORD elapsed = GetTickCount() - since;
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

TEST_F(ChildProcess, PagesAreDisabledPopupsOrVisibleChildrenWithTheRealControlInOurSite) {
    EXPECT_EQ(FindWindowW(kChildIpcWindowClass, nullptr), link.childIpcWindow);
    wchar_t title[256] = {};
    GetWindowTextW(link.childIpcWindow, title, 256);
    EXPECT_EQ(std::wstring(title).rfind(L"IPC:{", 0), 0u);
    EXPECT_EQ(std::wcslen(title), 4u + 38u);
    EXPECT_EQ(ProcessOf(link.childIpcWindow), link.processId);

    const HWND page = OpenPage("http://127.0.0.1:9/wd/servers?server_list?channel=46");
    ASSERT_TRUE(IsWindow(page));
    EXPECT_EQ(ProcessOf(page), link.processId);
    EXPECT_EQ(Styles(page), WS_POPUP | WS_DISABLED);
    EXPECT_TRUE(GetWindowLongPtrW(page, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    EXPECT_EQ(GetWindow(page, GW_OWNER), hall->Handle());
    const HWND child = OpenPage("http://127.0.0.1:9/wd/servers?server_list?aschildxsd=1");
    ASSERT_TRUE(IsWindow(child));
    EXPECT_EQ(Styles(child), WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(GetAncestor(child, GA_PARENT), hall->Handle());

    // The page's browser is the real control in our site, and this process can use it; so is a new page
    // acquired without naming one.
    ComPtr<IWebBrowser2> browser;
    HWND acquired = nullptr;
    ASSERT_EQ(AcquireBrowserInterface(link.childIpcWindow, page, &acquired, browser.Put()), S_OK);
    EXPECT_EQ(acquired, page);
    ComPtr<IOleObject> control = browser.As<IOleObject>();
    ComPtr<IOleClientSite> site;
    ASSERT_TRUE(control);
    ASSERT_EQ(control->GetClientSite(site.Put()), S_OK);
    EXPECT_TRUE(site.As<IOleCommandTarget>());
    ASSERT_EQ(AcquireBrowserInterface(link.childIpcWindow, nullptr, &acquired, browser.Put()), S_OK);
    EXPECT_EQ(ProcessOf(acquired), link.processId);
    VARIANT_BOOL visible = VARIANT_FALSE;
    EXPECT_EQ(browser->get_Visible(&visible), S_OK);
}

TEST_F(ChildProcess, CreatedBrowsersFollowTheOwnerAndCloseWithTheirThreads) {
    const HWND page = OpenPage(nullptr);
    ASSERT_TRUE(IsWindow(page));
    SendRecord(link.childIpcWindow, COPYDATA_SET_PAGE_OWNER, page, OwnerRecord(game->Handle()));
    EXPECT_TRUE(ClickReaches(*game, page));
    const HWND created = reinterpret_cast<HWND>(
        SendMessageW(link.childIpcWindow, WM_IPC_CREATE_BROWSER, GetCurrentProcessId(), 0));
    ASSERT_TRUE(IsWindow(created));
    EXPECT_EQ(GetWindow(created, GW_OWNER), hall->Handle());
    childproc::UniqueHandle thread(
        OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(created, nullptr)));
    ASSERT_TRUE(thread);
    SendMessageW(link.childIpcWindow, WM_IPC_CLOSE_BROWSER, 0, reinterpret_cast<LPARAM>(created));
    EXPECT_TRUE(WaitUntil(3000, [&] { return WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0; }));
    EXPECT_FALSE(IsWindow(created));
}

TEST_F(ChildProcess, MalformedAndForeignRecordsLeaveTheChildServing) {
    const HWND page = OpenPage(nullptr);  // nothing navigated: the owner hears of no address
    ASSERT_TRUE(IsWindow(page));
    const HWND ipcWindow = link.childIpcWindow;
    const char unterminated[] = {'h', 't', 't', 'p'};
    const std::vector<char> oversized(1 << 20, 'x');
    EXPECT_EQ(SendCopyData(ipcWindow, COPYDATA_OPEN_PAGE, nullptr, unterminated, sizeof unterminated), 0);
    EXPECT_EQ(SendCopyData(ipcWindow, COPYDATA_OPEN_PAGE, nullptr, oversized.data(), oversized.size()), 0);
    SendCopyData(ipcWindow, COPYDATA_SET_PAGE_OWNER, page, OwnerRecord(game->Handle()).data(), 3);
    for (HWND outside : {reinterpret_cast<HWND>(0xDEAD0), ipcWindow, GetDesktopWindow()}) {
        EXPECT_EQ(SendRecord(ipcWindow, COPYDATA_OPEN_PAGE, outside, WriteNarrowText("http://127.0.0.1:9/c")),
                  0);
        EXPECT_EQ(SendRecord(ipcWindow, COPYDATA_SET_PAGE_OWNER, page, OwnerRecord(outside)), 0);
    }
    // Commands for windows that are no pages of the child.
    for (HWND window : {hall->Handle(), game->Handle(), ipcWindow}) {
        SendRecord(ipcWindow, COPYDATA_SET_PAGE_OWNER, window, OwnerRecord(game->Handle()));
        SendRecord(ipcWindow, COPYDATA_NAVIGATE_PAGE, window,
                   WriteNarrowText("http://127.0.0.1:9/elsewhere"));
    }
    // Longer than the lifetime tick and the watchdog's period together.
    testsupport::PumpMessagesFor(2500);
    EXPECT_EQ(hall->Messages(WM_IPC_BROWSER_CREATED).size(), 1u);
    EXPECT_TRUE(hall->Messages(WM_COPYDATA).empty());
    EXPECT_TRUE(game->received.empty());
    EXPECT_EQ(WaitForSingleObject(link.process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ClickReaches(*hall, page));
}

TEST_F(ChildProcess, ADestroyedHallEndsTheChildWithinTwoSecondsEvenWhileAPageIsBusy) {
    const HWND page = OpenPage("http://127.0.0.1:9/a");
    ASSERT_TRUE(IsWindow(page));
    // The page's owner lives on a thread that stops answering: the page thread hangs in its report.
    std::atomic<bool> pageBlocked{false};
    OwnerThread busy([&](OwnerWindow& owner) {
        owner.onReceived = [&](const Received& r) {
            if (r.message == WM_COPYDATA) {
                pageBlocked = true;
                Sleep(4000);
            }
        };
    });
    SendRecord(link.childIpcWindow, COPYDATA_SET_PAGE_OWNER, page, OwnerRecord(busy.Window()));
    SendRecord(link.childIpcWindow, COPYDATA_NAVIGATE_PAGE, page, WriteNarrowText("http://127.0.0.1:9/busy"));
    ASSERT_TRUE(WaitUntil(3000, [&] { return pageBlocked.load(); }));
    hall.reset();
    ExpectCleanEndSoonAfter(GetTickCount(), "with a busy page");
}

TEST_F(ChildProcess, TheWatchdogEndsAChildWhoseIpcThreadIsStuck) {
    // The child's IPC thread hangs in its report to an owner that destroys its window and then stops
    // answering: only the watchdog can notice that the owner is gone.
    std::atomic<DWORD> ownerGone{0};
    OwnerThread stuck([&ownerGone](OwnerWindow& owner) {
        const HWND window = owner.Handle();
        owner.onReceived = [window, &ownerGone](const Received& r) {
            if (r.message == WM_IPC_BROWSER_CREATED) {
                DestroyWindow(window);
                ownerGone = GetTickCount();
                Sleep(4000);
            }
        };
    });
    const auto record = WriteNarrowText("http://127.0.0.1:9/a");
    COPYDATASTRUCT copy = {reinterpret_cast<ULONG_PTR>(stuck.Window()), static_cast<DWORD>(record.size()),
                           const_cast<uint8_t*>(record.data())};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(link.childIpcWindow, WM_COPYDATA, COPYDATA_OPEN_PAGE, reinterpret_cast<LPARAM>(&copy),
                        SMTO_NORMAL, 500, &answer);
    ASSERT_TRUE(WaitUntil(3000, [&] { return ownerGone.load() != 0; }));
    ExpectCleanEndSoonAfter(ownerGone.load(), "with a stuck IPC thread");
}

TEST(ChildCommandLine, RefusedSwitchesEndWithMinusOneAndTheSingleAddressFormAtOnce) {
    // An address with a space makes five arguments, which the child role then refuses.
    const std::pair<std::wstring, DWORD> cases[] = {
        {L"-KVGameBox -KVGameBoxChildProcess -KVHallWnd=0 -ChildIPCWndName=IPC:refused", 0xFFFFFFFFu},
        {L"-KVGameBox -web http://127.0.0.1:9/a?b=c", 0u},
        {L"-KVGameBox -web http://127.0.0.1:9/a?b=c d", 0xFFFFFFFFu},
    };
    for (const auto& [line, exitCode] : cases) {
        testsupport::TestProcess child;
        ASSERT_TRUE(child.Start(ProductProgram(), line));
        EXPECT_TRUE(child.WaitForExit(10000)) << line.c_str();
        EXPECT_EQ(child.ExitCode(), exitCode) << line.c_str();
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
    EXPECT_TRUE(link.process);
    EXPECT_EQ(link.childIpcWindow, nullptr);
    EXPECT_EQ(SendStartAddress(link, "http://127.0.0.1:9/a", nullptr), -1);
    EXPECT_TRUE(hall.received.empty());
}

}  // namespace
}  // namespace childproc
