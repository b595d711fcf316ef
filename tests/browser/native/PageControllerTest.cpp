#include <gtest/gtest.h>

#include "PortalConfig.h"
#include "browser/PortalAddresses.h"
#include "tests/browser/native/PageFixture.h"

namespace scripted {
namespace {

using browser::GameEntryText;
using browser::QuickGameEntryText;
using browser::ServerListPrefix;

TEST(PortalAddresses, ServerListIsAPrefixRuleAndCaseSensitive) {
    EXPECT_TRUE(browser::IsServerListAddress(ServerListPrefix()));
    EXPECT_TRUE(browser::IsServerListAddress(ServerListPrefix() + L"?channel=46&newest=1"));
    EXPECT_TRUE(browser::IsServerListAddress(ServerListPrefix() + L"/page/2"));
    EXPECT_FALSE(browser::IsServerListAddress(ServerListPrefix().substr(0, ServerListPrefix().size() - 1)));
    EXPECT_FALSE(browser::IsServerListAddress(L"https" + ServerListPrefix().substr(4)));
    EXPECT_FALSE(browser::IsServerListAddress(L"x" + ServerListPrefix()));
}

using Navigation = PageFixture;

TEST_F(Navigation, GameEntryAnywhereInTheAddressIsReportedBeforeTheAddress) {
    const std::wstring viaRedirect = L"http://login.example/sso?next=" + GameEntryText() + L"?server=12";
    page.OnBeforeNavigate2(true, viaRedirect);
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[0].kind, Message::kSent);
    EXPECT_EQ(window.messages[0].message, childproc::WM_IPC_GAME_PAGE);
    EXPECT_EQ(window.messages[1].tag, window.handle);
    EXPECT_EQ(WideData(window.messages[1]), viaRedirect);
    EXPECT_EQ(window.timerLog, (std::vector<std::string>{"stop 1002", "start 1002 300"}));

    page.OnBeforeNavigate2(true, QuickGameEntryText() + L"?sid=5");
    EXPECT_EQ(window.Messages(childproc::WM_IPC_GAME_PAGE).size(), 2u);
    // The entry in other letter case is an ordinary navigation.
    std::wstring upper = GameEntryText();
    for (wchar_t& c : upper) {
        c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    }
    page.OnBeforeNavigate2(true, upper);
    EXPECT_EQ(window.Messages(childproc::WM_IPC_GAME_PAGE).size(), 2u);
    EXPECT_EQ(window.CopyData(childproc::COPYDATA_NAVIGATED).size(), 3u);
}

TEST_F(Navigation, FrameNavigationsChangeNoTimerAndSendNothing) {
    DocumentScript frame;
    top.frames = {&frame};
    browserScript.locationUrl = L"http://www.example.com/";
    page.OnBeforeNavigate2(false, GameEntryText());
    page.OnNavigateComplete2(false);
    // The error handler is still put into the whole page, frames included; the older completion event
    // does only that.
    page.OnNavigateComplete();
    EXPECT_EQ(top.scripts.size(), 2u);
    EXPECT_EQ(frame.scripts.size(), 2u);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(window.timerLog.empty());
}

TEST_F(Navigation, TopLevelCompletionRestartsTheTitleTimerAndReportsTheLocation) {
    browserScript.locationUrl = L"http://www.example.com/start";
    page.OnNavigateComplete2(true);
    EXPECT_EQ(window.timerLog, (std::vector<std::string>{"stop 1002", "start 1002 300"}));
    const auto reports = window.CopyData(childproc::COPYDATA_NEW_WINDOW);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].tag, window.handle);
    EXPECT_EQ(WideData(reports[0]), L"http://www.example.com/start");
    EXPECT_EQ(top.scripts.size(), 1u);

    window.messages.clear();
    browserScript.locationUrl.clear();
    page.OnNavigateComplete2(true);
    browserScript.urlReadable = false;
    page.OnNavigateComplete2(true);
    EXPECT_TRUE(window.messages.empty());
}

using DocumentCompletion = PageFixture;

TEST_F(DocumentCompletion, TheTopEdgeNudgeTogglesAndFramesStopAfterIt) {
    page.OnDocumentComplete(true, L"http://www.example.com/");
    page.OnDocumentComplete(true, L"http://www.example.com/");
    EXPECT_EQ(browserScript.calls, (std::vector<std::string>{"top 1", "top -1", "top -1", "top 1"}));
    window.messages.clear();
    page.OnDocumentComplete(false, L"http://www.example.com/frame");
    EXPECT_EQ(browserScript.calls.size(), 5u);
    EXPECT_EQ(browser::g_topNudge.load(), 1);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(DocumentCompletion, PageReadyIsPostedOnlyForTheCompleteTopLevelDocument) {
    browserScript.readyState = 3;
    page.OnDocumentComplete(true, L"http://www.example.com/");
    browserScript.readyState = browser::kReadyStateComplete;
    browserScript.readyReadable = false;
    page.OnDocumentComplete(true, L"http://www.example.com/");
    browserScript.readyReadable = true;
    page.OnDocumentComplete(false, L"http://www.example.com/");
    EXPECT_TRUE(window.Messages(childproc::WM_IPC_PAGE_READY).empty());

    page.OnDocumentComplete(true, L"http://www.example.com/");
    ASSERT_EQ(window.Messages(childproc::WM_IPC_PAGE_READY).size(), 1u);
    EXPECT_EQ(window.Messages(childproc::WM_IPC_PAGE_READY)[0].kind, Message::kPosted);
}

TEST_F(DocumentCompletion, ReportsTheNameAnnouncesScrollingAndAttachesTheScrollSink) {
    browserScript.locationName = L"\u9009\u62e9\u670d\u52a1\u5668";
    window.StartTimer(browser::IDT_TITLE_REPORT, 300);
    page.OnDocumentComplete(true, L"http://www.example.com/");

    ASSERT_EQ(window.messages.size(), 3u);
    EXPECT_EQ(window.messages[0].message, childproc::WM_IPC_PAGE_READY);
    EXPECT_EQ(WideData(window.messages[1]), browserScript.locationName);
    EXPECT_EQ(window.messages[2].message, childproc::WM_IPC_PAGE_STATE);
    EXPECT_EQ(window.messages[2].wParam, childproc::kPageStateScroll);
    EXPECT_EQ(window.timers.count(browser::IDT_TITLE_REPORT), 0u);
    EXPECT_EQ(top.scrollHandler, &scrollEvents);
    EXPECT_EQ(scrollEvents.Kind(), browser::HtmlEventSink::kScroll);
    EXPECT_EQ(scrollEvents.Page(), &page);
}

TEST_F(DocumentCompletion, WithoutADocumentNothingIsAttachedOrAnnounced) {
    browserScript.document = nullptr;
    browserScript.locationName = L"t";
    page.OnDocumentComplete(true, ServerListPrefix());
    EXPECT_TRUE(window.Messages(childproc::WM_IPC_PAGE_STATE).empty());
    EXPECT_TRUE(window.CopyData(childproc::COPYDATA_UPDATE_INFO).empty());
    EXPECT_EQ(window.CopyData(childproc::COPYDATA_NAVIGATED).size(), 1u);
}

TEST_F(DocumentCompletion, TitleTimerRetriesUntilTheNameCanBeRead) {
    browserScript.locationName = L"Runecourt";
    browserScript.nameUnreadableFor = 2;
    page.OnBeforeNavigate2(true, L"http://www.example.com/");
    page.OnDocumentComplete(true, L"http://www.example.com/");
    EXPECT_EQ(window.timers.at(browser::IDT_TITLE_REPORT), 300u);
    page.OnTimerTick(browser::IDT_TITLE_REPORT);
    EXPECT_EQ(window.timers.at(browser::IDT_TITLE_REPORT), 300u);
    EXPECT_EQ(window.CopyData(childproc::COPYDATA_NAVIGATED).size(), 1u);  // only the address so far

    page.OnTimerTick(browser::IDT_TITLE_REPORT);
    EXPECT_EQ(window.timers.count(browser::IDT_TITLE_REPORT), 0u);
    ASSERT_EQ(window.CopyData(childproc::COPYDATA_NAVIGATED).size(), 2u);
    EXPECT_EQ(WideData(window.CopyData(childproc::COPYDATA_NAVIGATED)[1]), L"Runecourt");
    // An empty name is no name either.
    browserScript.locationName.clear();
    window.StartTimer(browser::IDT_TITLE_REPORT, 300);
    page.OnTimerTick(browser::IDT_TITLE_REPORT);
    EXPECT_EQ(window.timers.count(browser::IDT_TITLE_REPORT), 1u);
}

TEST_F(DocumentCompletion, UpdateRecordGoesToTheOwnerOnlyFromTheServerList) {
    ElementScript checksum{L"meta"};
    checksum.attributes = {{L"name", L"Tolvanewd-md5"}, {L"content", L"5d41402a"}};
    ElementScript address{L"Meta"};
    address.attributes = {{L"name", L"Tolvanewd-updateurl"}, {L"content", L"http://dl/\u65b0.exe"}};
    top.all = {&checksum, &address};
    page.OnDocumentComplete(true, ServerListPrefix().substr(0, ServerListPrefix().size() - 1));
    EXPECT_TRUE(window.CopyData(childproc::COPYDATA_UPDATE_INFO).empty());
    top.bodyTakesHandler = false;  // a body without a scroll handler does not stop the rest
    page.OnDocumentComplete(true, ServerListPrefix() + L"?channel=46&newest=1");

    const auto records = window.CopyData(childproc::COPYDATA_UPDATE_INFO);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].to, kOwner);
    EXPECT_EQ(records[0].tag, 0u);
    childproc::UpdateInfo sent;
    ASSERT_TRUE(childproc::ReadUpdateRecord(records[0].data.data(), records[0].data.size(), sent));
    EXPECT_EQ(sent.checksum, L"5d41402a");
    EXPECT_EQ(sent.address, L"http://dl/\u65b0.exe");
}

using NewWindows = PageFixture;

TEST_F(NewWindows, ForcedWindowWhoseProcessStartsIsCancelledAndNothingIsSent) {
    const browser::NewWindowOutcome outcome = page.OnNewWindow3(0x10000 | 0x2, std::wstring(L"http://a/b"));
    EXPECT_TRUE(outcome.cancel);
    EXPECT_EQ(outcome.openIn, nullptr);
    EXPECT_EQ(window.spawned, (std::vector<std::wstring>{L"http://a/b"}));
    EXPECT_TRUE(window.requestsTo.empty());
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(NewWindows, ForcedWindowWhoseProcessFailsAsksTheChildProcess) {
    window.spawnSucceeds = false;  // the process is tried first
    window.requestedWindow = 0x77;
    window.requestedBrowserId = 9;
    const browser::NewWindowOutcome outcome = page.OnNewWindow3(0x10000, std::wstring(L"http://a/b"));
    EXPECT_FALSE(outcome.cancel);
    ASSERT_NE(outcome.openIn, nullptr);
    EXPECT_EQ(static_cast<ScriptedHandedBrowser*>(outcome.openIn.get())->id, 9);
    EXPECT_EQ(window.requestsTo, (std::vector<browser::WindowId>{kOwner}));
    const auto reports = window.CopyData(childproc::COPYDATA_NEW_WINDOW);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].tag, 0x77u);
    EXPECT_EQ(WideData(reports[0]), L"http://a/b");
    // Unforced or addressless windows never start a process.
    page.OnNewWindow3(0x2, std::wstring(L"http://a/b"));
    page.OnNewWindow3(0x10000, std::nullopt);
    page.OnNewWindow3(0x10000, std::wstring());
    EXPECT_EQ(window.requestsTo.size(), 4u);
    EXPECT_EQ(window.spawned.size(), 1u);
}

TEST_F(NewWindows, OwnerWithoutAChildOrAWindowWithoutABrowserMeansCancelled) {
    EXPECT_TRUE(page.OnNewWindow3(0, std::wstring(L"http://a/b")).cancel);  // the owner answers 0
    EXPECT_TRUE(window.messages.empty());
    window.requestedWindow = 0x78;  // a window, but no browser: still reported
    const browser::NewWindowOutcome outcome = page.OnNewWindow3(0, std::wstring(L"http://a/b"));
    EXPECT_TRUE(outcome.cancel);
    EXPECT_EQ(window.CopyData(childproc::COPYDATA_NEW_WINDOW).size(), 1u);
    page.OnNewWindow3(0, std::nullopt);
    EXPECT_EQ(window.CopyData(childproc::COPYDATA_NEW_WINDOW).size(), 1u);
}

using CommandState = PageFixture;

TEST_F(CommandState, BackAndForwardAreSentWithTheirCodesAndEnabledBit) {
    page.OnCommandStateChange(1, -1);
    page.OnCommandStateChange(2, 0);
    page.OnCommandStateChange(2, -1);
    page.OnCommandStateChange(1, 1);  // only the platform's true counts as enabled
    page.OnCommandStateChange(-1, -1);
    page.OnCommandStateChange(3, -1);
    std::vector<uintptr_t> codes;
    for (const Message& m : window.Messages(childproc::WM_IPC_PAGE_STATE)) {
        EXPECT_TRUE(m.kind == Message::kSent && m.to == kOwner &&
                    m.lParam == static_cast<intptr_t>(window.handle));
        codes.push_back(m.wParam);
    }
    EXPECT_EQ(codes, (std::vector<uintptr_t>{0x10001, 0x0, 0x10000, 0x1}));
}

using PageCommands = PageFixture;

TEST_F(PageCommands, HandOverUsesTheWholeWParamAndTheProcessIdInLParam) {
    intptr_t result = 0;
    EXPECT_TRUE(page.OnPageCommand(0, 4321, result));
    EXPECT_EQ(result, 0x4C8);
    EXPECT_EQ(browserScript.handedToProcess, 4321u);
    EXPECT_TRUE(page.OnPageCommand(0, 0, result));
    EXPECT_EQ(result, 0x5A5A0);

    window.Attach(nullptr);
    EXPECT_TRUE(page.OnPageCommand(0, 4321, result));
    EXPECT_EQ(result, static_cast<intptr_t>(0xFFFFFFFFu));
    EXPECT_TRUE(page.OnPageCommand(0, 0, result));
    EXPECT_EQ(result, 0);
    // Without a browser the navigation commands do nothing either.
    for (uintptr_t command : {1u, 2u, 3u, 4u, 5u}) {
        EXPECT_FALSE(page.OnPageCommand(command, 0, result));
    }
    EXPECT_EQ(browserScript.handedToProcess, 4321u);
    EXPECT_EQ(browserScript.calls, std::vector<std::string>{});
}

TEST_F(PageCommands, NavigationCommandsTakeTheLowWord) {
    browserScript.locationUrl = L"http://www.example.com/game";
    page.SetPendingAddress("http://www.example.com/pay");
    intptr_t result = 0;
    for (uintptr_t command : {1u, 2u, 3u, 4u, 5u, 7u, 0x10000u, 0x20003u, 0xFFFF0002u}) {
        EXPECT_FALSE(page.OnPageCommand(command, 0, result)) << command;
    }
    EXPECT_EQ(browserScript.calls,
              (std::vector<std::string>{"back", "forward", "navigate http://www.example.com/game", "home",
                                        "navigate http://www.example.com/pay",
                                        "navigate http://www.example.com/game", "forward"}));
    EXPECT_EQ(browserScript.handedToProcess, 0u);
}

TEST_F(PageCommands, OwnerAndPendingAddressCanBeReplacedFromAnotherThread) {
    page.SetOwnerWindow(0x2B0);
    page.OnCommandStateChange(1, -1);
    EXPECT_EQ(window.messages.back().to, 0x2B0u);
    page.SetPendingAddress("a");
    page.SetPendingAddress("b");
    EXPECT_EQ(page.PendingAddress(), "b");
}

using Teardown = PageFixture;

TEST_F(Teardown, NcDestroyStopsBothTimersAndEndsTheLoop) {
    window.StartTimer(browser::IDT_TITLE_REPORT, 300);
    page.OnNcDestroying();
    EXPECT_EQ(window.timerLog, (std::vector<std::string>{"start 1002 300", "stop 1002", "stop 1003"}));
    EXPECT_TRUE(window.quitPosted);
}

}  // namespace
}  // namespace scripted
