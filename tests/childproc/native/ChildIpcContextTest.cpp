// The child's IPC window decisions against a recording host: which pages it makes for whom, what it
// reports, and what malformed or foreign commands leave untouched.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "childproc/ChildIpcContext.h"
#include "childproc/IpcProtocol.h"

namespace childproc {
namespace {

constexpr WindowId kHall = 0x1A0;
constexpr WindowId kGameWindow = 0x2B0;
// A hall window whose handle is negative as a 32-bit number.
const WindowId kNegativeHallWindow = static_cast<WindowId>(static_cast<intptr_t>(int32_t{-0xEDCC}));
constexpr WindowId kForeignWindow = 0x777;  // a window of another process
constexpr WindowId kNoWindow = 0xDEAD0;
constexpr uint32_t kHallProcess = 100;

struct FakePage : ChildPage {
    WindowId window = 0, owner = 0;
    std::string pending;
    WindowId Window() const override { return window; }
    void SetOwnerWindow(WindowId o) override { owner = o; }
    void SetPendingAddress(std::string a) override { pending = std::move(a); }
};

using Sent = std::tuple<WindowId, uint32_t, uintptr_t, intptr_t>;  // to, message, wParam, lParam

struct RecordingHost : ChildIpcHost {
    std::shared_ptr<ChildPage> StartBrowserThread(WindowId owner, const std::string& address) override {
        started.push_back({owner, address});
        if (failPages) {
            return nullptr;
        }
        auto page = std::make_shared<FakePage>();
        page->window = nextWindow;
        page->owner = owner;
        nextWindow += 0x10;
        pages.push_back(page);
        return page;
    }
    intptr_t Send(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        sent.push_back({to, message, wParam, lParam});
        return 0;
    }
    void PostPageCommand(WindowId page, uint32_t command) override { commands.push_back({page, command}); }
    void PostClose(WindowId window) override { closed.push_back(window); }
    bool IsWindow(WindowId window) override { return window != 0 && window != goneWindow; }
    uint32_t ProcessOfWindow(WindowId window) override {
        if (window == 0 || window == goneWindow || window == kNoWindow) {
            return 0;
        }
        const bool hall = window == kHall || window == kGameWindow || window == kNegativeHallWindow;
        return hall ? kHallProcess : window == kForeignWindow ? 300 : 200;  // 200: this child's pages
    }
    void DestroyIpcWindow() override { ++ipcDestroyed; }

    std::vector<std::pair<WindowId, std::string>> started;  // owner, address
    std::vector<std::shared_ptr<FakePage>> pages;
    std::vector<Sent> sent;
    std::vector<std::pair<WindowId, uint32_t>> commands;
    std::vector<WindowId> closed;
    WindowId nextWindow = 0x500, goneWindow = 0;
    bool failPages = false;
    int ipcDestroyed = 0;
};

class ChildIpc : public ::testing::Test {
  protected:
    CopyDataAnswer Open(const std::string& address, uintptr_t tag = 0) {
        const auto record = WriteNarrowText(address);
        return context.OnCopyData(COPYDATA_OPEN_PAGE, tag, record.data(), record.size());
    }
    WindowId OpenedPage() { return host.pages.back()->window; }

    RecordingHost host;
    ChildIpcContext context{host, kHall};
};

TEST_F(ChildIpc, OpeningAPageReportsItToTheOwnerBeforeAnswering) {
    EXPECT_EQ(context.OnCopyData(COPYDATA_OPEN_PAGE, 0, nullptr, 0), CopyDataAnswer::Opened);  // no address
    EXPECT_EQ(Open("http://www.example.com/wd/servers?server_list?c=46"), CopyDataAnswer::Opened);
    ASSERT_EQ(host.started.size(), 2u);
    EXPECT_EQ(host.started[0].second, "");
    EXPECT_EQ(host.started[1].first, kHall);
    EXPECT_EQ(host.started[1].second, "http://www.example.com/wd/servers?server_list?c=46");
    ASSERT_EQ(host.sent.size(), 2u);
    EXPECT_EQ(host.sent[1], (Sent{kHall, WM_IPC_BROWSER_CREATED, 0, static_cast<intptr_t>(OpenedPage())}));
    EXPECT_EQ(context.PageCount(), 2u);
}

TEST_F(ChildIpc, ATagBecomesTheOwnerOfThisAndLaterPagesAndHearsTheReply) {
    Open("a", kGameWindow);
    EXPECT_EQ(host.started.back().first, kGameWindow);
    EXPECT_EQ(std::get<0>(host.sent.back()), kGameWindow);
    EXPECT_EQ(std::get<2>(host.sent.back()), kGameWindow);  // the tag is echoed
    EXPECT_EQ(context.OwnerWindow(), kGameWindow);
    context.OnCreateBrowser();
    EXPECT_EQ(host.started.back().first, kGameWindow);
    Open("b");
    EXPECT_EQ(std::get<0>(host.sent.back()), kGameWindow);
    EXPECT_EQ(std::get<2>(host.sent.back()), 0u);
}

TEST_F(ChildIpc, APageThatCannotBeMadeIsReportedAsWindowZero) {
    host.failPages = true;
    EXPECT_EQ(Open("a"), CopyDataAnswer::Opened);
    EXPECT_EQ(host.sent.back(), (Sent{kHall, WM_IPC_BROWSER_CREATED, 0, 0}));
    EXPECT_EQ(context.OnCreateBrowser(), 0u);
    EXPECT_EQ(context.PageCount(), 0u);
}

TEST_F(ChildIpc, MalformedOpenRecordsAndOwnersOutsideTheHallAreRefusedWithoutAPage) {
    const char unterminated[] = {'h', 't', 't', 'p'};
    EXPECT_EQ(context.OnCopyData(COPYDATA_OPEN_PAGE, kGameWindow, unterminated, sizeof unterminated),
              CopyDataAnswer::Refused);
    EXPECT_EQ(context.OnCopyData(COPYDATA_OPEN_PAGE, 0, nullptr, 12), CopyDataAnswer::Refused);
    // No window, a window of another process, a page of the child itself: none may own pages.
    for (WindowId owner : {kNoWindow, kForeignWindow, WindowId{0x500}}) {
        EXPECT_EQ(Open("a", owner), CopyDataAnswer::Refused) << owner;
    }
    EXPECT_TRUE(host.started.empty());
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(context.OwnerWindow(), kHall);  // a refused record changes no owner either
}

TEST_F(ChildIpc, CreatedBrowsersAreListedAndClosedByTheirWindow) {
    const WindowId first = context.OnCreateBrowser();
    const WindowId second = context.OnCreateBrowser();
    EXPECT_EQ(host.started.back().second, "");
    context.OnCloseBrowser(0x999);
    context.OnCloseBrowser(first);
    context.OnCloseBrowser(first);  // already forgotten
    EXPECT_EQ(host.closed, std::vector<WindowId>{first});
    EXPECT_EQ(context.PageCount(), 1u);
    context.OnCloseBrowser(second);
    EXPECT_EQ(context.PageCount(), 0u);
}

TEST_F(ChildIpc, NavigateAndReloadTakeTerminatedAddressesAndReachOnlyPagesOfThisChild) {
    Open("a");
    const WindowId page = OpenedPage();
    const auto address = WriteNarrowText("http://www.example.com/pay");
    const char unterminated[] = {'x', 'y'};
    context.OnCopyData(COPYDATA_NAVIGATE_PAGE, page, unterminated, sizeof unterminated);
    context.OnCopyData(COPYDATA_NAVIGATE_PAGE, page, nullptr, 0);
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(host.pages.back()->pending, "");
    EXPECT_EQ(context.OnCopyData(COPYDATA_NAVIGATE_PAGE, page, address.data(), address.size()),
              CopyDataAnswer::PassOn);
    EXPECT_EQ(host.pages.back()->pending, "http://www.example.com/pay");
    context.OnCopyData(COPYDATA_RELOAD_PAGE, page, nullptr, 0);
    const std::vector<std::pair<WindowId, uint32_t>> expected = {{page, kPageCommandNavigatePending},
                                                                 {page, kPageCommandReload}};
    EXPECT_EQ(host.commands, expected);

    // A window of another child, the hall's own window, or none: nothing happens.
    for (WindowId foreign : {kForeignWindow, kHall, WindowId{0}}) {
        context.OnCopyData(COPYDATA_NAVIGATE_PAGE, foreign, address.data(), address.size());
        context.OnCopyData(COPYDATA_RELOAD_PAGE, foreign, nullptr, 0);
    }
    EXPECT_EQ(host.commands, expected);
}

TEST_F(ChildIpc, OwnerRecordsOfFourBytesMoveOnePage) {
    Open("a");
    const WindowId page = OpenedPage();
    const auto record = WriteOwnerRecord(static_cast<uint32_t>(kGameWindow));
    context.OnCopyData(COPYDATA_SET_PAGE_OWNER, page, record.data(), 3);
    context.OnCopyData(COPYDATA_SET_PAGE_OWNER, kForeignWindow, record.data(), record.size());
    for (WindowId owner : {kNoWindow, kForeignWindow, page}) {
        const auto outside = WriteOwnerRecord(static_cast<uint32_t>(owner));
        EXPECT_EQ(context.OnCopyData(COPYDATA_SET_PAGE_OWNER, page, outside.data(), outside.size()),
                  CopyDataAnswer::Refused)
            << owner;
    }
    EXPECT_EQ(host.pages.back()->owner, kHall);
    EXPECT_EQ(context.OnCopyData(COPYDATA_SET_PAGE_OWNER, page, record.data(), record.size()),
              CopyDataAnswer::PassOn);
    EXPECT_EQ(host.pages.back()->owner, kGameWindow);
    EXPECT_EQ(context.OwnerWindow(), kHall);  // only that page moves
    // Handles widen with their sign.
    const auto negative = WriteOwnerRecord(0xFFFF1234u);
    context.OnCopyData(COPYDATA_SET_PAGE_OWNER, page, negative.data(), negative.size());
    EXPECT_EQ(host.pages.back()->owner, kNegativeHallWindow);
}

TEST_F(ChildIpc, UnknownCommandsDoNothingAndGoOn) {
    Open("a");
    const auto record = WriteNarrowText("x");
    for (uint32_t command : {0u, 3u, 5u, 7u, 6400u, 0xFFFFFFFFu}) {
        EXPECT_EQ(context.OnCopyData(command, OpenedPage(), record.data(), record.size()),
                  CopyDataAnswer::PassOn);
    }
    EXPECT_TRUE(host.started.size() == 1 && host.commands.empty());
}

TEST_F(ChildIpc, TheIpcWindowEndsOnceTheOwnerIsGone) {
    context.OnLifetimeTick();
    EXPECT_EQ(host.ipcDestroyed, 0);
    host.goneWindow = kHall;
    context.OnLifetimeTick();
    EXPECT_EQ(host.ipcDestroyed, 1);
}

}  // namespace
}  // namespace childproc
