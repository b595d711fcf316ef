// The browser window with the system's control in our host site: hosting, events, failures and
// teardown, observed in process.
#include <gtest/gtest.h>

#include <windows.h>

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>

#include <algorithm>
#include <string>
#include <thread>

#include "browser/win32/AxHosting.h"
#include "browser/win32/CWebBrowser.h"
#include "browser/win32/ComPageBrowser.h"
#include "browser/win32/ComPtr.h"
#include "tests/browser/win32/BrowserTestSupport.h"
#include "tests/support/win32/TestProcess.h"

namespace browsertest {
namespace {

using browser::ComPtr;
using Calls = std::vector<std::string>;

// A browser window that records which of its operations ran, in order.
class RecordingBrowser : public browser::CWebBrowser {
  public:
    explicit RecordingBrowser(bool showScrollBars, const wchar_t* control = L"Shell.Explorer.2")
        : CWebBrowser(showScrollBars, control) {}

    void OnBeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                           VARIANT_BOOL*) override {
        calls.push_back("BeforeNavigate2");
    }
    void OnCommandStateChange(long command, VARIANT_BOOL enabled) override {
        calls.push_back("CommandStateChange " + std::to_string(command) + " " + std::to_string(enabled));
    }
    int32_t OnCreated(LPARAM) override {
        calls.push_back("Created");
        return createdResult;
    }
    void OnDestroying() override {
        eventsConnectedAtDestroying = EventsConnected();
        calls.push_back(WebBrowser() == nullptr ? "Destroying" : "Destroying with browser");
    }
    void OnNcDestroying() override { calls.push_back("NcDestroying"); }
    void OnTimerTick(UINT_PTR id) override { calls.push_back("Timer " + std::to_string(id)); }
    void OnFinalMessage(HWND) override { calls.push_back("FinalMessage"); }

    Calls calls;
    int32_t createdResult = 0;
    bool eventsConnectedAtDestroying = true;
};

class Apartment : public ::testing::Environment {
  public:
    void SetUp() override { OleInitialize(nullptr); }
};
::testing::Environment* const g_apartment = ::testing::AddGlobalTestEnvironment(new Apartment);

constexpr RECT kRect = {0, 0, 320, 240};

// The window's host site, asked for one of its interfaces.
template <typename Interface>
ComPtr<Interface> SiteOf(HWND window) {
    auto* site = reinterpret_cast<IUnknown*>(SendMessageW(window, browser::AxGetHostMessage(), 0, 0));
    ComPtr<Interface> answer;
    if (site != nullptr) {
        site->QueryInterface(__uuidof(Interface), answer.PutVoid());
    }
    return answer;
}

RECT ControlRect(HWND window) {
    RECT rect = {};
    GetWindowRect(GetWindow(window, GW_CHILD), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

IUnknown* Identity(IUnknown* object) {
    ComPtr<IUnknown> identity;
    object->QueryInterface(IID_IUnknown, identity.PutVoid());
    return identity.Get();  // the object itself holds it
}

void Navigate(IWebBrowser2* browser, const wchar_t* address) {
    browser::ComPageBrowser page;
    page.Borrow(browser);
    page.Navigate(address);
}

size_t ConnectionCount(IWebBrowser2* browser) {
    ComPtr<IConnectionPointContainer> container =
        ComPtr<IWebBrowser2>::Retain(browser).As<IConnectionPointContainer>();
    ComPtr<IConnectionPoint> point;
    ComPtr<IEnumConnections> connections;
    if (!container || FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put())) ||
        FAILED(point->EnumConnections(connections.Put()))) {
        return SIZE_MAX;
    }
    size_t count = 0;
    CONNECTDATA data = {};
    ULONG fetched = 0;
    // Only counted: not every enumerator adds the reference it should, so none is given back.
    while (connections->Next(1, &data, &fetched) == S_OK && fetched == 1) {
        ++count;
    }
    return count;
}

TEST(HostWindow, HostsTheControlInOurSiteWhichFillsTheWindowAndTakesItsFocus) {
    RecordingBrowser browser(true);
    HWND window = browser.Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(browser.WebBrowser(), nullptr);
    EXPECT_EQ(ConnectionCount(browser.WebBrowser()), 1u);
    EXPECT_EQ(browser.calls, Calls{"Created"});
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & 0xFFFF0000u, 0x56000000u);
    EXPECT_NE(GetWindowLongPtrW(window, GWLP_USERDATA), 0);  // the site, as host windows keep it
    auto* control = reinterpret_cast<IUnknown*>(SendMessageW(window, browser::AxGetControlMessage(), 0, 0));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(Identity(control), Identity(browser.WebBrowser()));
    // Every interface of the site is the same object, which counts its references.
    ComPtr<IOleClientSite> site = SiteOf<IOleClientSite>(window);
    ASSERT_TRUE(site);
    EXPECT_EQ(Identity(SiteOf<IOleInPlaceFrame>(window).Get()), Identity(site.Get()));
    EXPECT_EQ(Identity(SiteOf<IOleCommandTarget>(window).Get()), Identity(site.Get()));
    ComPtr<IUnknown> none;
    EXPECT_EQ(site->QueryInterface(IID_IConnectionPointContainer, none.PutVoid()), E_NOINTERFACE);
    EXPECT_EQ(none.Get(), nullptr);
    const ULONG count = site->AddRef();
    EXPECT_EQ(site->Release(), count - 1);

    SetWindowPos(window, nullptr, 10, 10, 500, 380, SWP_NOZORDER);
    const RECT rect = ControlRect(window);
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}),
              std::vector<LONG>({0, 0, 500, 380}));
    // The page nudges the control's top edge through the browser; the site lets it move.
    browser.WebBrowser()->put_Top(1);
    EXPECT_EQ(ControlRect(window).top, 1);
    SetFocus(window);
    EXPECT_TRUE(IsChild(window, GetFocus()));
    DestroyWindow(window);
}

TEST(HostWindow, ControlEventsAndTimersReachTheOperations) {
    RecordingBrowser browser(true);
    HWND window = browser.Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    browser.WebBrowser()->put_Visible(VARIANT_TRUE);  // raises OnVisible, which is bound to nothing
    EXPECT_EQ(browser.calls, Calls{"Created"});
    Navigate(browser.WebBrowser(), L"http://127.0.0.1:9/start");
    ASSERT_TRUE(testsupport::WaitUntil(3000, [&] { return browser.calls.size() >= 4; }));
    EXPECT_EQ(browser.calls[1], "BeforeNavigate2");
    EXPECT_EQ(std::count(browser.calls.begin(), browser.calls.end(), "CommandStateChange 2 0"), 1);
    EXPECT_EQ(std::count(browser.calls.begin(), browser.calls.end(), "CommandStateChange 1 0"), 1);
    SendMessageW(window, WM_TIMER, 78, 0);
    EXPECT_EQ(browser.calls.back(), "Timer 78");
    DestroyWindow(window);
}

TEST(HostWindow, DestroyingDisconnectsThenReportsEachStageOnce) {
    RecordingBrowser browser(true);
    HWND window = browser.Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    ComPtr<IWebBrowser2> kept = ComPtr<IWebBrowser2>::Retain(browser.WebBrowser());
    DestroyWindow(window);
    EXPECT_EQ(browser.calls, (Calls{"Created", "Destroying", "NcDestroying", "FinalMessage"}));
    EXPECT_FALSE(browser.eventsConnectedAtDestroying);
    EXPECT_TRUE(browser.WebBrowser() == nullptr && browser.Window() == nullptr);
    EXPECT_EQ(ConnectionCount(kept.Get()), 0u);
    Navigate(kept.Get(), L"http://127.0.0.1:9/after");
    testsupport::PumpMessagesFor(200);
    EXPECT_EQ(browser.calls.size(), 4u);

    // An object deleted before its window takes the window with it.
    auto early = std::make_unique<RecordingBrowser>(true);
    window = early->Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    early.reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST(HostWindow, ABrowserWindowLeavesItsThreadsApartmentAsItFoundIt) {
    bool created = false;
    HRESULT afterwards = E_FAIL;
    std::thread([&] {
        {
            RecordingBrowser browser(true);
            HWND window = browser.Create(nullptr, kRect, nullptr, WS_POPUP);
            created = window != nullptr;
            DestroyWindow(window);
        }
        // No apartment is left behind: the thread may still choose the free-threaded one.
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards)) {
            CoUninitialize();
        }
    }).join();
    EXPECT_TRUE(created);
    EXPECT_EQ(afterwards, S_OK);
}

TEST(HostWindow, FailedCreationsGiveNoWindowAndLeaveNothingConnected) {
    RecordingBrowser missing(false, L"Tolvane.NoSuchControl.1");
    EXPECT_EQ(missing.Create(TestParentWindow(), kRect), nullptr);
    // A window whose creation failed gets no destruction message, only its last one.
    EXPECT_EQ(missing.calls, (Calls{"NcDestroying", "FinalMessage"}));

    RecordingBrowser refused(false);
    refused.createdResult = -1;
    EXPECT_EQ(refused.Create(TestParentWindow(), kRect), nullptr);
    EXPECT_EQ(refused.calls, (Calls{"Created", "NcDestroying", "FinalMessage"}));
    for (RecordingBrowser* browser : {&missing, &refused}) {
        EXPECT_FALSE(browser->EventsConnected());
        EXPECT_EQ(browser->WebBrowser(), nullptr);
    }
}

TEST(HostSite, HostInfoFollowsTheLatestControlAndScriptErrorsAreSilenced) {
    RecordingBrowser withoutBars(false);
    HWND first = withoutBars.Create(TestParentWindow(), kRect);
    ASSERT_NE(first, nullptr);
    ComPtr<IDocHostUIHandler> handler = SiteOf<IDocHostUIHandler>(first);
    ASSERT_TRUE(handler);
    DOCHOSTUIINFO info = {};
    info.dwFlags = 0x100;
    info.dwDoubleClick = 7;
    EXPECT_EQ(handler->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.cbSize, sizeof(DOCHOSTUIINFO));
    EXPECT_EQ(info.dwFlags, 0x100u | 0x4u | 0x40000u | 0x8u);
    EXPECT_EQ(info.dwDoubleClick, 7u);
    RecordingBrowser withBars(true);
    HWND second = withBars.Create(TestParentWindow(), kRect);
    ASSERT_NE(second, nullptr);
    info.dwFlags = 0;
    EXPECT_EQ(handler->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0x4u | 0x40000u);

    ComPtr<IOleCommandTarget> target = SiteOf<IOleCommandTarget>(first);
    ASSERT_TRUE(target);
    const GUID docHostCommands = {
        0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(target->Exec(&docHostCommands, 40, 0, nullptr, &out), S_OK);
    EXPECT_EQ(V_VT(&out), VT_BOOL);
    EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE);
    // Every other command is unknown and leaves the out value alone.
    V_VT(&out) = VT_I4;
    EXPECT_EQ(target->Exec(&docHostCommands, 41, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(target->Exec(nullptr, 40, 0, nullptr, &out), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(V_VT(&out), VT_I4);
    DestroyWindow(second);
    DestroyWindow(first);
}

}  // namespace
}  // namespace browsertest
