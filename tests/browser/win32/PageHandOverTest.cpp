#include <gtest/gtest.h>

#include <windows.h>

#include <exdisp.h>

#include <string>

#include "browser/win32/ComPtr.h"
#include "childproc/IpcProtocol.h"
#include "childproc/win32/BrowserHandOver.h"
#include "childproc/win32/PageCommandMessage.h"
#include "childproc/win32/ScopedHandles.h"
#include "tests/browser/win32/BrowserTestSupport.h"
#include "tests/support/win32/TestProcess.h"

namespace browsertest {
namespace {

using browser::ComPtr;

class ApartmentEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { OleInitialize(nullptr); }
};

::testing::Environment* const g_apartment = ::testing::AddGlobalTestEnvironment(new ApartmentEnvironment);

bool ProxyWorks(IWebBrowser2* browser) {
    VARIANT_BOOL visible = VARIANT_FALSE;
    return browser != nullptr && SUCCEEDED(browser->get_Visible(&visible)) &&
           SUCCEEDED(browser->put_StatusBar(VARIANT_FALSE));
}

TEST(HandOver, AnotherThreadGetsAWorkingProxyAndANonexistentProcessNothing) {
    OwnerWindow owner;
    PageThread page(owner.Handle());
    ASSERT_NE(page.Window(), nullptr);

    const LRESULT answer = SendMessageW(page.Window(), childproc::PageCommandMessage(), 0, 0);
    ASSERT_NE(answer, 0);
    ComPtr<IWebBrowser2> proxy;
    ASSERT_EQ(
        CoGetInterfaceAndReleaseStream(reinterpret_cast<IStream*>(answer), IID_IWebBrowser2, proxy.PutVoid()),
        S_OK);
    EXPECT_TRUE(ProxyWorks(proxy.Get()));

    HWND window = nullptr;
    ComPtr<IWebBrowser2> acquired;
    EXPECT_EQ(childproc::AcquireBrowserInterface(page.Window(), page.Window(), &window, acquired.Put()),
              S_OK);
    EXPECT_EQ(window, page.Window());
    EXPECT_TRUE(ProxyWorks(acquired.Get()));
    // Process ids are multiples of four: this one names no process.
    EXPECT_EQ(SendMessageW(page.Window(), childproc::PageCommandMessage(), 0, 0x7FFFFFF1), 0);
    // A window of the calling thread is refused without anything sent to it.
    IWebBrowser2* none = reinterpret_cast<IWebBrowser2*>(0x5678);
    EXPECT_EQ(childproc::AcquireBrowserInterface(owner.Handle(), nullptr, &window, &none), E_FAIL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(window, page.Window());
    EXPECT_TRUE(owner.received.empty());
}

// A page window in another process that answers the hand-over with a malformed block.
class MalformedPeer {
  public:
    explicit MalformedPeer(const std::wstring& answer) : title_(L"malformed-" + answer) {
        process_.Start(testsupport::SiblingProgram(L"browser_handover_peer.exe"),
                       L"serve " + answer + L" " + title_);
        testsupport::WaitUntil(10000,
                               [&] { return (window_ = FindWindowW(nullptr, title_.c_str())) != nullptr; });
    }
    ~MalformedPeer() { ExitCode(); }
    // Closes the page window; the peer's exit code.
    DWORD ExitCode() {
        if (window_ != nullptr) {
            PostMessageW(window_, WM_CLOSE, 0, 0);
            window_ = nullptr;
        }
        process_.WaitForExit(5000);
        return process_.ExitCode();
    }
    HWND Window() const { return window_; }

  private:
    std::wstring title_;
    testsupport::TestProcess process_;
    HWND window_ = nullptr;
};

TEST(HandOver, MalformedBlocksAndPagesOfAnUnexpectedProcessAreRefused) {
    for (const wchar_t* answer : {L"oversized", L"nobrowser", L"garbage", L"nobrowserobject"}) {
        MalformedPeer peer(answer);
        ASSERT_NE(peer.Window(), nullptr) << answer;
        HWND window = nullptr;
        IWebBrowser2* browser = reinterpret_cast<IWebBrowser2*>(0x5678);
        // The peer's window stands in for its IPC window too: the page belongs to the process asked.
        const HRESULT result =
            childproc::AcquireBrowserInterface(peer.Window(), peer.Window(), &window, &browser);
        EXPECT_TRUE(FAILED(result)) << answer;
        EXPECT_EQ(browser, nullptr) << answer;
        // Marshalled data that could not be taken gives its references back.
        EXPECT_EQ(peer.ExitCode(), 0u) << answer;
    }

    // A page of another process than the IPC window's answers with a live handle of this process: it
    // is neither used nor closed.
    childproc::UniqueHandle own(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    MalformedPeer peer(std::to_wstring(reinterpret_cast<uintptr_t>(own.Get())));
    ASSERT_NE(peer.Window(), nullptr);
    OwnerThread ipc;
    IWebBrowser2* browser = reinterpret_cast<IWebBrowser2*>(0x5678);
    EXPECT_EQ(childproc::AcquireBrowserInterface(ipc.Window(), peer.Window(), nullptr, &browser), E_FAIL);
    EXPECT_EQ(browser, nullptr);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(own.Get(), &flags)) << "a handle of this process was closed";
}

TEST(HandOver, ANewWindowGetsAPageOfTheChildThatServesTheOwner) {
    std::unique_ptr<PageThread> created;
    OwnerWindow owner;
    OwnerThread child([&](OwnerWindow& ipcWindow) {
        ipcWindow.createBrowser = [&] {
            created = std::make_unique<PageThread>(owner.Handle());
            return created->Window();
        };
    });
    owner.childIpcWindow = child.Window();

    ComPtr<IWebBrowser2> browser;
    HWND window = childproc::RequestOutOfProcessBrowser(owner.Handle(), browser.Put());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(created);
    EXPECT_EQ(window, created->Window());
    EXPECT_TRUE(ProxyWorks(browser.Get()));
    const auto reports = owner.Messages(childproc::WM_IPC_BROWSER_CREATED);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].wParam, 0xFFFFFFFFu);
    EXPECT_EQ(reports[0].lParam, reinterpret_cast<LPARAM>(window));
    browser.Reset();
    created.reset();
}

}  // namespace
}  // namespace browsertest
