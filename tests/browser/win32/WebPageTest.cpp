#include <gtest/gtest.h>

#include <windows.h>

#include <exdisp.h>

#include "browser/PortalAddresses.h"
#include "browser/win32/CHtmlEvents.h"
#include "browser/win32/WebPage.h"
#include "childproc/IpcProtocol.h"
#include "childproc/win32/PageCommandMessage.h"
#include "childproc/win32/ScopedHandles.h"
#include "skin/win32/ComPtr.h"
#include "tests/browser/win32/BrowserTestSupport.h"
#include "tests/support/win32/TestProcess.h"

namespace browsertest {
namespace {

using SkinUI::ComPtr;

// A page on the test's own thread, owned by a recording owner window of the same thread.
class PageOnThisThread : public ::testing::Test {
  protected:
    void SetUp() override {
        const RECT rect = {0, 0, 400, 300};
        window = page.Create(owner.Handle(), rect, nullptr, 0x8E000000, 0x08000000);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindowAndSwallowQuit(); }
    void DestroyWindowAndSwallowQuit() {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        MSG quit;
        quitPosted = quitPosted || PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }
    void Navigate(const std::wstring& address) {
        page.Navigate(address);
        testsupport::WaitUntil(3000, [&] { return !owner.Messages(WM_COPYDATA).empty(); });
    }
    LRESULT Command(WPARAM wParam, LPARAM lParam) {
        return SendMessageW(window, PageCommandMessage(), wParam, lParam);
    }

    OwnerWindow owner;
    browser::WebPage page{owner.Handle(), true};
    HWND window = nullptr;
    bool quitPosted = false;
};

std::wstring WideData(const Received& r) {
    std::wstring text;
    EXPECT_TRUE(childproc::ReadWideText(r.data.data(), r.data.size(), text));
    return text;
}

TEST_F(PageOnThisThread, TopLevelNavigationIntoTheGameIsReportedBeforeTheAddress) {
    const std::wstring address = L"http://127.0.0.1:9/sso?next=" + browser::GameEntryText();
    Navigate(address);
    ASSERT_GE(owner.received.size(), 2u);
    EXPECT_EQ(owner.received[0].message, childproc::WM_IPC_GAME_PAGE);
    EXPECT_EQ(owner.received[1].message, WM_COPYDATA);
    EXPECT_EQ(owner.received[1].wParam, childproc::COPYDATA_NAVIGATED);
    EXPECT_EQ(owner.received[1].tag, reinterpret_cast<ULONG_PTR>(window));
    EXPECT_EQ(WideData(owner.received[1]), address);
}

TEST_F(PageOnThisThread, TheControlsCommandStatesReachTheOwner) {
    Navigate(L"http://127.0.0.1:9/list");
    testsupport::WaitUntil(3000, [&] { return owner.Messages(childproc::WM_IPC_PAGE_STATE).size() >= 2; });
    const auto states = owner.Messages(childproc::WM_IPC_PAGE_STATE);
    ASSERT_GE(states.size(), 2u);
    EXPECT_EQ(states[0].wParam, childproc::kPageStateBackCommand);
    EXPECT_EQ(states[1].wParam, childproc::kPageStateForwardCommand);
    EXPECT_EQ(states[0].lParam, reinterpret_cast<LPARAM>(window));
    EXPECT_TRUE(owner.Messages(childproc::WM_IPC_GAME_PAGE).empty());
}

TEST_F(PageOnThisThread, EventsOfOtherFramesAreNotTopLevel) {
    ComPtr<browser::CHtmlEvents> otherFrame = browser::CHtmlEvents::Create();
    VARIANT address;
    VariantInit(&address);
    V_VT(&address) = VT_BSTR;
    V_BSTR(&address) = SysAllocString(browser::GameEntryText().c_str());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    page.OnBeforeNavigate2(otherFrame.Get(), &address, nullptr, nullptr, nullptr, nullptr, &cancel);
    page.OnNavigateComplete2(otherFrame.Get(), &address);
    page.OnBeforeNavigate2(nullptr, &address, nullptr, nullptr, nullptr, nullptr, &cancel);
    EXPECT_TRUE(owner.received.empty());
    EXPECT_EQ(cancel, VARIANT_FALSE);

    ComPtr<IDispatch> topLevel =
        page.WebBrowser() != nullptr ? ComPtr<IDispatch>::Retain(page.WebBrowser()) : nullptr;
    page.OnBeforeNavigate2(topLevel.Get(), &address, nullptr, nullptr, nullptr, nullptr, &cancel);
    EXPECT_EQ(owner.Messages(childproc::WM_IPC_GAME_PAGE).size(), 1u);
    VariantClear(&address);
}

TEST_F(PageOnThisThread, HandOverCommandsUseTheWholeWParam) {
    // To this very process: the handle is valid here, and the block holds a browser to unmarshal.
    const LRESULT answer = Command(0, static_cast<LPARAM>(GetCurrentProcessId()));
    ASSERT_NE(answer, 0);
    ASSERT_NE(static_cast<uint32_t>(answer), childproc::kNoBrowserHandle);
    UniqueHandle block(reinterpret_cast<HANDLE>(answer));
    MappedView view(block.Get());
    uint32_t count = 0;
    ASSERT_TRUE(childproc::ReadHandOverCount(view.Get(), view.Size(), count));
    GlobalMemory memory(GMEM_MOVEABLE, count);
    ASSERT_TRUE(memory.CopyIn(static_cast<const uint8_t*>(view.Get()) + 4, count));
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(memory.Release(), TRUE, stream.Put()), S_OK);
    ComPtr<IWebBrowser2> browser;
    ASSERT_EQ(CoUnmarshalInterface(stream.Get(), IID_IWebBrowser2, browser.PutVoid()), S_OK);
    VARIANT_BOOL visible = VARIANT_FALSE;
    EXPECT_EQ(browser->get_Visible(&visible), S_OK);

    // A high word with a low word of 0 is no hand-over and no command.
    EXPECT_EQ(Command(0x10000, 0), 0);
    EXPECT_EQ(Command(0x10000, static_cast<LPARAM>(GetCurrentProcessId())), 0);
    EXPECT_EQ(Command(7, 0), 0);
}

TEST_F(PageOnThisThread, NotificationsFollowTheOwnerAndDestructionEndsTheLoop) {
    OwnerWindow newOwner;
    page.SetOwnerWindow(newOwner.Handle());
    EXPECT_EQ(page.OwnerWindow(), newOwner.Handle());
    page.OnCommandStateChange(1, VARIANT_TRUE);
    ASSERT_EQ(newOwner.received.size(), 1u);
    EXPECT_EQ(newOwner.received[0].wParam, 0x10001u);
    EXPECT_TRUE(owner.received.empty());

    DestroyWindowAndSwallowQuit();
    EXPECT_TRUE(quitPosted);
    EXPECT_EQ(page.WebBrowser(), nullptr);
}

}  // namespace
}  // namespace browsertest
