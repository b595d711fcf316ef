#include <gtest/gtest.h>

#include <windows.h>

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>

#include <thread>

#include "browser/win32/AxHosting.h"
#include "browser/win32/ComPtr.h"
#include "tests/browser/win32/BrowserTestSupport.h"
#include "tests/browser/win32/FakeControl.h"
#include "tests/support/win32/TestProcess.h"

namespace browsertest {
namespace {

using SkinUI::ComPtr;
using Calls = std::vector<std::string>;

// The host window class is registered here before any browser window exists, with a procedure that
// notes the timer messages that reach it: the default processing of the browser windows.
std::vector<UINT_PTR> g_defaultTimers;

LRESULT CALLBACK RecordingHostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        g_defaultTimers.push_back(static_cast<UINT_PTR>(wParam));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class HostClassRecorder : public ::testing::Environment {
  public:
    void SetUp() override {
        OleInitialize(nullptr);
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = RecordingHostProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = browser::kAxHostWindowClass;
        RegisterClassExW(&windowClass);
    }
};

::testing::Environment* const g_hostClassRecorder =
    ::testing::AddGlobalTestEnvironment(new HostClassRecorder);

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
    HWND control = GetWindow(window, GW_CHILD);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

ComPtr<IUnknown> Identity(IUnknown* object) {
    ComPtr<IUnknown> identity;
    object->QueryInterface(IID_IUnknown, identity.PutVoid());
    return identity;
}

void Navigate(IWebBrowser2* browser, const wchar_t* address) {
    VARIANT target, empty;
    VariantInit(&empty);
    VariantInit(&target);
    V_VT(&target) = VT_BSTR;
    V_BSTR(&target) = SysAllocString(address);
    browser->Navigate2(&target, &empty, &empty, &empty, &empty);
    VariantClear(&target);
}

bool Contains(const Calls& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

size_t ConnectionCount(IWebBrowser2* browser) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    ComPtr<IEnumConnections> connections;
    browser->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
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

TEST(HostWindow, HostsTheSystemBrowserInOurSiteWithItsEventsConnected) {
    RecordingBrowser browser(true);
    HWND window = browser.Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(browser.WebBrowser(), nullptr);
    EXPECT_EQ(browser.Window(), window);
    EXPECT_TRUE(browser.EventsConnected());
    EXPECT_EQ(ConnectionCount(browser.WebBrowser()), 1u);
    EXPECT_EQ(browser.calls, Calls{"Created"});
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & 0xFFFF0000u, 0x56000000u);

    // The site answers for the container's interfaces and sits in the window's user data.
    EXPECT_TRUE(SiteOf<IOleClientSite>(window));
    EXPECT_TRUE(SiteOf<IOleInPlaceSite>(window));
    EXPECT_TRUE(SiteOf<IOleInPlaceFrame>(window));
    EXPECT_TRUE(SiteOf<IDocHostUIHandler>(window));
    EXPECT_TRUE(SiteOf<IOleCommandTarget>(window));
    EXPECT_NE(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    auto* control = reinterpret_cast<IUnknown*>(SendMessageW(window, browser::AxGetControlMessage(), 0, 0));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(Identity(control).Get(), Identity(browser.WebBrowser()).Get());
    DestroyWindow(window);
}

TEST(HostWindow, ControlFillsTheWindowFollowsItsSizeAndTakesItsFocus) {
    RecordingBrowser browser(true);
    HWND window = browser.Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    RECT rect = ControlRect(window);
    EXPECT_EQ(rect.right - rect.left, 320);
    EXPECT_EQ(rect.bottom - rect.top, 240);
    SetWindowPos(window, nullptr, 10, 10, 500, 380, SWP_NOZORDER);
    rect = ControlRect(window);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 500);
    EXPECT_EQ(rect.bottom, 380);
    // The page nudges the control's top edge through the browser; the site lets it move.
    browser.WebBrowser()->put_Top(1);
    EXPECT_EQ(ControlRect(window).top, 1);
    SetFocus(window);  // the focus goes on to the control
    EXPECT_TRUE(IsChild(window, GetFocus()));
    DestroyWindow(window);
}

TEST(HostWindow, ControlEventsReachTheOperationsAndUnknownOnesNothing) {
    RecordingBrowser browser(true);
    HWND window = browser.Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    browser.WebBrowser()->put_Visible(VARIANT_TRUE);  // raises OnVisible, which is bound to nothing
    browser.WebBrowser()->put_StatusBar(VARIANT_FALSE);
    EXPECT_EQ(browser.calls, Calls{"Created"});
    Navigate(browser.WebBrowser(), L"http://127.0.0.1:9/start");
    ASSERT_TRUE(testsupport::WaitUntil(3000, [&] { return browser.calls.size() >= 4; }));
    EXPECT_EQ(browser.calls[1], "BeforeNavigate2");
    EXPECT_TRUE(Contains(browser.calls, "CommandStateChange 2 0"));
    EXPECT_TRUE(Contains(browser.calls, "CommandStateChange 1 0"));
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
    EXPECT_EQ(browser.WebBrowser(), nullptr);
    EXPECT_EQ(browser.Window(), nullptr);
    EXPECT_EQ(ConnectionCount(kept.Get()), 0u);
    Navigate(kept.Get(), L"http://127.0.0.1:9/after");
    testsupport::PumpMessagesFor(200);
    EXPECT_EQ(browser.calls.size(), 4u);
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

TEST(HostWindow, TimerMessagesReachTheOperationAndThenDefaultProcessing) {
    RecordingBrowser browser(true);
    HWND window = browser.Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    g_defaultTimers.clear();
    SetTimer(window, 77, 10, nullptr);
    ASSERT_TRUE(testsupport::WaitUntil(3000, [&] { return Contains(browser.calls, "Timer 77"); }));
    KillTimer(window, 77);
    SendMessageW(window, WM_TIMER, 78, 0);
    EXPECT_EQ(browser.calls.back(), "Timer 78");
    ASSERT_GE(g_defaultTimers.size(), 2u);
    EXPECT_EQ(g_defaultTimers.front(), 77u);
    EXPECT_EQ(g_defaultTimers.back(), 78u);
    DestroyWindow(window);
}

TEST(HostWindow, AControlThatCannotBeMadeGivesNoWindowAndConnectsNothing) {
    RecordingBrowser browser(false, L"Tolvane.NoSuchControl.1");
    EXPECT_EQ(browser.Create(TestParentWindow(), kRect), nullptr);
    EXPECT_EQ(browser.WebBrowser(), nullptr);
    EXPECT_FALSE(browser.EventsConnected());
    // A window whose creation failed gets no destruction message, only its last one.
    EXPECT_EQ(browser.calls, (Calls{"NcDestroying", "FinalMessage"}));
}

TEST(HostWindow, ARefusedCreationDisconnectsTheEventsItConnected) {
    RecordingBrowser browser(false);
    browser.createdResult = -1;
    EXPECT_EQ(browser.Create(TestParentWindow(), kRect), nullptr);
    EXPECT_EQ(browser.calls, (Calls{"Created", "NcDestroying", "FinalMessage"}));
    EXPECT_FALSE(browser.EventsConnected());
    EXPECT_EQ(browser.WebBrowser(), nullptr);
}

TEST(HostWindow, AControlThatIsNoBrowserIsRefusedAndTornDownInOrder) {
    FakeControlRegistration registration;
    ASSERT_TRUE(registration.Registered());
    FakeControlLog().clear();
    RecordingBrowser browser(false, kFakeControlName);
    EXPECT_EQ(browser.Create(TestParentWindow(), kRect), nullptr);
    EXPECT_EQ(FakeControlLog(), (Calls{"InitNew", "SetClientSite site", "DoVerb -5", "Close",
                                       "SetClientSite null", "Released"}));
    EXPECT_FALSE(browser.EventsConnected());
}

TEST(HostWindow, PersistedStateFromTheCreationParameterIsLoaded) {
    FakeControlRegistration registration;
    const uint8_t state[] = {3,    0,    0xAA,
                             0xBB, 0xCC, 0xDD};  // three bytes of state; the fourth is not counted
    FakeControlLog().clear();
    RecordingBrowser withState(false, kFakeControlName);
    withState.Create(TestParentWindow(), kRect, nullptr, 0, 0, 0, state);
    ASSERT_FALSE(FakeControlLog().empty());
    EXPECT_EQ(FakeControlLog()[0], "Load aa bb cc");

    const uint8_t empty[] = {0, 0};
    FakeControlLog().clear();
    RecordingBrowser withoutState(false, kFakeControlName);
    withoutState.Create(TestParentWindow(), kRect, nullptr, 0, 0, 0, empty);
    ASSERT_FALSE(FakeControlLog().empty());
    EXPECT_EQ(FakeControlLog()[0], "InitNew");
}

TEST(HostWindow, AnObjectDeletedBeforeItsWindowTakesTheWindowWithIt) {
    auto browser = std::make_unique<RecordingBrowser>(true);
    HWND window = browser->Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    browser.reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST(HostSite, HostInfoGainsTheFlagsOfTheMostRecentlyCreatedControl) {
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
    EXPECT_EQ(handler->GetHostInfo(nullptr), E_POINTER);
    DestroyWindow(second);
    DestroyWindow(first);
}

TEST(HostSite, CommandTargetSilencesScriptErrorsAndKnowsNothingElse) {
    RecordingBrowser browser(true);
    HWND window = browser.Create(TestParentWindow(), kRect);
    ASSERT_NE(window, nullptr);
    ComPtr<IOleCommandTarget> target = SiteOf<IOleCommandTarget>(window);
    ASSERT_TRUE(target);
    const GUID docHostCommands = {
        0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
    const GUID otherGroup = {0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};

    OLECMD commands[2] = {{40, 0x55}, {41, 0x66}};
    EXPECT_EQ(target->QueryStatus(&docHostCommands, 2, commands, nullptr), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(target->QueryStatus(nullptr, 2, commands, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(commands[0].cmdf, 0x55u);
    EXPECT_EQ(commands[1].cmdf, 0x66u);

    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(target->Exec(&docHostCommands, 40, 0, nullptr, &out), S_OK);
    EXPECT_EQ(V_VT(&out), VT_BOOL);
    EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE);

    V_VT(&out) = VT_I4;
    V_I4(&out) = 123;
    EXPECT_EQ(target->Exec(&docHostCommands, 41, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(target->Exec(&otherGroup, 40, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(target->Exec(nullptr, 40, 0, nullptr, &out), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(V_VT(&out), VT_I4);
    EXPECT_EQ(V_I4(&out), 123);
    DestroyWindow(window);
}

}  // namespace
}  // namespace browsertest
