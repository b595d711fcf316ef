// The road from the launcher to the game with the real child process, the hand-over of the page into
// the game window, the end of the hall when the page goes away, and the self-update's timing against a
// server that holds its answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "childproc/IpcProtocol.h"
#include "tests/services/support/UpdateServers.h"
#include "tests/support/win32/MessageBoxes.h"
#include "tests/support/win32/ProbedLauncher.h"
#include "tests/windows/win32/HallTestSupport.h"

namespace halltests {
namespace {

using testsupport::PumpMessagesFor;
using testsupport::WaitUntil;

const std::wstring kHallCaption = L"Tolvane-Runecourt";
const std::wstring kCrashNotice = L"抱歉，当前游戏崩溃啦！请重启游戏！";

RECT ExpectedPageRect(HWND launcher) {
    const RECT window = WindowRect(launcher);
    return {window.left + 384, window.top + 222, window.right - 170, window.bottom - 126};
}

RECT WorkArea() {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// A window of the test standing in for a page: it counts the page commands it gets.
class StandInPage {
  public:
    StandInPage() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TolvaneStandInPage";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(WS_EX_NOACTIVATE, L"TolvaneStandInPage", L"", WS_POPUP | WS_DISABLED, 0, 0,
                                  10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~StandInPage() { Destroy(); }
    StandInPage(const StandInPage&) = delete;
    StandInPage& operator=(const StandInPage&) = delete;

    HWND Window() const { return window_; }
    void Destroy() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
            window_ = nullptr;
        }
    }
    int reloads = 0;
    int otherCommands = 0;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        static const UINT pageCommand = RegisterWindowMessageW(ipc::kPageCommandMessageName);
        auto* self = reinterpret_cast<StandInPage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == pageCommand && self != nullptr) {
            (wParam == ipc::kPageCommandReload && lParam == 0 ? self->reloads : self->otherCommands)++;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

class HallRoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        hall_ = std::make_unique<testsupport::ProbedLauncher>(L"");
        ASSERT_TRUE(hall_->Ready());
        ASSERT_TRUE(WaitUntil(20000, [&] {
            const testsupport::HallWindows windows = testsupport::FindHallWindows(Pid());
            launcher_ = windows.visible;
            game_ = windows.hidden;
            return launcher_ != nullptr && game_ != nullptr && hall_->Record().hallStartSeen > 0;
        })) << "no hall windows";
    }

    DWORD Pid() { return hall_->Process().ProcessId(); }

    // The page window that the child reports is placed over the launcher's page area.
    HWND WaitForChildPage() {
        HWND page = nullptr;
        WaitUntil(30000, [&] {
            // Only this hall's child counts: other halls may stand at the same place on the screen.
            page = FindWindowOfAt(ChildProcessesOf(Pid()), ExpectedPageRect(launcher_));
            return page != nullptr;
        });
        return page;
    }

    void Post(HWND window, uint32_t message, WPARAM wParam, LPARAM lParam) {
        ASSERT_NE(FALSE, PostMessageW(window, message, wParam, lParam));
    }

    // Reports a page window to the launcher as the child does.
    void ReportPage(HWND page) {
        SendMessageW(launcher_, ipc::WM_IPC_BROWSER_CREATED, 0, reinterpret_cast<LPARAM>(page));
    }

    void ExpectHostedInGame(HWND page) {
        ASSERT_TRUE(WaitUntil(10000, [&] {
            return GetAncestor(page, GA_PARENT) == game_ && IsZoomed(game_);
        })) << "the page did not move into a maximised game window";
        EXPECT_TRUE(WaitUntil(5000, [&] { return IsWindowVisible(game_) != FALSE; }))
            << "the game window is hidden";
        EXPECT_TRUE(WaitUntil(5000, [&] { return !IsWindowVisible(launcher_); }))
            << "the launcher stays shown";
        RECT work = WorkArea();
        RECT game = WindowRect(game_);
        EXPECT_TRUE(EqualRect(&work, &game)) << "the game window does not cover the work area";
        RECT client = {};
        GetClientRect(game_, &client);
        ASSERT_TRUE(WaitUntil(5000, [&] {
            const RECT placed = RectInClientOf(page, game_);
            return placed.left == 3 && placed.top == 33 && placed.right == client.right - 3 &&
                   placed.bottom == client.bottom - 3;
        })) << "the page is not laid out below the title row";
    }

    std::unique_ptr<testsupport::ProbedLauncher> hall_;
    HWND launcher_ = nullptr;
    HWND game_ = nullptr;
};

TEST_F(HallRoadTest, ChildPageIsPlacedShownAndHandedOverToTheGame) {
    const HWND page = WaitForChildPage();
    ASSERT_NE(nullptr, page) << "the child's page window was not placed over the page area";
    EXPECT_FALSE(IsWindowVisible(page));
    EXPECT_FALSE(IsWindowEnabled(page));
    const RECT area = WindowRect(page);
    EXPECT_EQ(726, area.right - area.left);
    EXPECT_EQ(420, area.bottom - area.top);

    Post(launcher_, ipc::WM_IPC_PAGE_READY, 0, 0);
    EXPECT_TRUE(WaitUntil(5000, [&] { return IsWindowVisible(page) && IsWindowEnabled(page); }))
        << "page ready did not show and enable the page";

    Post(launcher_, ipc::WM_IPC_GAME_PAGE, 0, 0);
    ExpectHostedInGame(page);

    // Again: the whole hand-over repeats with the same page, wherever it was moved meanwhile.
    MoveWindow(page, 50, 60, 200, 100, TRUE);
    Post(launcher_, ipc::WM_IPC_GAME_PAGE, 0, 0);
    ExpectHostedInGame(page);

    // A page that becomes ready after the hand-over stays where the game window put it.
    const RECT hosted = RectInClientOf(page, game_);
    EnableWindow(page, FALSE);
    Post(launcher_, ipc::WM_IPC_PAGE_READY, 0, 0);
    PumpMessagesFor(700);
    EXPECT_FALSE(IsWindowEnabled(page));
    const RECT still = RectInClientOf(page, game_);
    EXPECT_TRUE(EqualRect(&hosted, &still));

    // The game window's system close ends the hall without a question.
    Post(game_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(hall_->Process().WaitForExit(10000));
    EXPECT_EQ(0u, hall_->Process().ExitCode());
}

TEST_F(HallRoadTest, ReloadInTheGameWindowSendsTheReloadCommandToThePage) {
    // After the child's own page, so that the stand-in is the page the launcher knows last.
    ASSERT_NE(nullptr, WaitForChildPage());
    StandInPage page;
    ReportPage(page.Window());
    Post(launcher_, ipc::WM_IPC_GAME_PAGE, 0, 0);
    ExpectHostedInGame(page.Window());
    RECT client = {};
    GetClientRect(game_, &client);
    // "refreshbtn" lies at 96..126 of the 219 pixels at the right end of the title row.
    const POINT refresh = CentreOf(client.right - 219 + 96, 3, client.right - 219 + 126, 26);
    PumpMessagesFor(500);  // the title row is laid out on the first paint
    Click(game_, refresh);
    EXPECT_TRUE(WaitUntil(5000, [&] { return page.reloads == 1; })) << "no reload command";
    EXPECT_EQ(0, page.otherCommands);
}

TEST_F(HallRoadTest, VanishingPageGivesOneCrashNoticeAndEndsTheHall) {
    ASSERT_NE(nullptr, WaitForChildPage());
    for (DWORD child : ChildProcessesOf(Pid())) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, child);
        TerminateProcess(process, 9);
        CloseHandle(process);
    }
    const testsupport::ShownMessageBox notice = testsupport::WaitForMessageBox(Pid(), kHallCaption, 15000);
    ASSERT_NE(nullptr, notice.window) << "no crash notice";
    EXPECT_EQ(kCrashNotice, notice.text);
    EXPECT_EQ(launcher_, notice.owner);
    PumpMessagesFor(2500);  // longer than the watch period: no second notice for the same page
    EXPECT_EQ(1, testsupport::CountMessageBoxes(Pid(), kHallCaption));
    testsupport::AnswerMessageBox(notice.window, IDOK);
    ASSERT_TRUE(hall_->Process().WaitForExit(10000));
    EXPECT_EQ(0u, hall_->Process().ExitCode());
}

// Sends an update record as a page does.
void SendUpdateRecord(HWND launcher, const std::vector<uint8_t>& record) {
    COPYDATASTRUCT data = {};
    data.dwData = ipc::COPYDATA_UPDATE_INFO;
    data.cbData = static_cast<DWORD>(record.size());
    data.lpData = const_cast<uint8_t*>(record.data());
    SendMessageW(launcher, WM_COPYDATA, ipc::COPYDATA_UPDATE_INFO, reinterpret_cast<LPARAM>(&data));
}

// By default nothing listens on the discard port: the check that follows finds no package.
std::vector<uint8_t> UpdateRecord(const std::string& address = "http://127.0.0.1:9/runecourt-setup.exe") {
    return ipc::WriteUpdateRecord({L"", std::wstring(address.begin(), address.end())});
}

size_t FaultLogIndexOf(const std::string& text) {
    const std::vector<std::string> log = testservers::FaultLog();
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].find(text) != std::string::npos) {
            return i;
        }
    }
    return log.size();
}

TEST_F(HallRoadTest, TheUpdateCheckRunsAfterTheLastRecordWithoutFreezingTheLauncher) {
    ASSERT_TRUE(testservers::Available()) << "run through tools/with-update-servers.sh";
    // Nothing is served under these names, so each check ends quietly; the first one's size query is
    // held by the server for 10 s.
    const std::string held = "HEAD /stall-size/runecourt-held.exe";
    const std::string next = "HEAD /slow/runecourt-next.exe";
    const DWORD first = GetTickCount();
    SendUpdateRecord(launcher_, UpdateRecord(testservers::FaultUrl("stall-size", "runecourt-held.exe")));
    PumpMessagesFor(1000);
    const DWORD second = GetTickCount();
    SendUpdateRecord(launcher_, UpdateRecord(testservers::FaultUrl("stall-size", "runecourt-held.exe")));
    ASSERT_TRUE(WaitUntil(6000, [&] { return hall_->Record().updateTimerFires > 0; })) << "no update check";
    const DWORD delay = hall_->Record().firstUpdateTimerTick - second;
    EXPECT_GE(delay, 1900u);
    EXPECT_LE(delay, 2800u);
    EXPECT_GE(hall_->Record().firstUpdateTimerTick - first, 2900u);

    // While the size query is held the launcher answers at once, and a record that arrives meanwhile
    // is the data of the next check.
    const DWORD stallStart = GetTickCount();
    DWORD slowest = 0;
    bool sentNext = false;
    while (FaultLogIndexOf(held) == testservers::FaultLog().size() && GetTickCount() - stallStart < 15000) {
        if (!sentNext && GetTickCount() - stallStart > 1000) {
            SendUpdateRecord(launcher_, UpdateRecord(testservers::FaultUrl("slow", "runecourt-next.exe")));
            sentNext = true;
        }
        DWORD_PTR answer = 0;
        const DWORD asked = GetTickCount();
        const bool answered = SendMessageTimeoutW(launcher_, WM_NULL, 0, 0, SMTO_NORMAL, 200, &answer) != 0;
        slowest = std::max(slowest, answered ? GetTickCount() - asked : DWORD{200});
        PumpMessagesFor(50);
    }
    EXPECT_LT(slowest, 200u) << "the launcher did not answer within 200 ms";
    EXPECT_GE(GetTickCount() - stallStart, 5000u) << "the size query was not held";
    ASSERT_TRUE(WaitUntil(8000, [&] { return FaultLogIndexOf(next) < testservers::FaultLog().size(); }))
        << "the record that arrived during the check was not checked";
    EXPECT_LT(FaultLogIndexOf(held), FaultLogIndexOf(next)) << "two checks ran at once";
    PumpMessagesFor(2500);
    const std::vector<std::string> log = testservers::FaultLog();
    EXPECT_EQ(testservers::LinesWith(log, held).size(), 1u) << "one check for the two first records";
    EXPECT_EQ(testservers::LinesWith(log, next).size(), 1u);
}

TEST_F(HallRoadTest, MalformedUpdateRecordsAreRefused) {
    std::vector<uint8_t> shortRecord = UpdateRecord();
    shortRecord.resize(ipc::kUpdateRecordSize - 2);
    SendUpdateRecord(launcher_, shortRecord);
    std::vector<uint8_t> unterminated = UpdateRecord();
    for (size_t i = ipc::kUpdateAddressOffset; i < unterminated.size(); ++i) {
        unterminated[i] = 'a';
    }
    SendUpdateRecord(launcher_, unterminated);
    PumpMessagesFor(3000);
    EXPECT_EQ(0, hall_->Record().updateTimerFires);
    EXPECT_FALSE(hall_->Process().WaitForExit(0)) << "the hall ended";
}

}  // namespace
}  // namespace halltests
