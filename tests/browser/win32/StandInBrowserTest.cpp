// The stand-in browser control (tools/standin-browser), registered as "Shell.Explorer.2" in this test's
// own prefix, driven through the launcher's own browser window, page controller, page queries and
// hand-over. Pages come from the local nginx of tools/with-update-servers.sh.

#include <gtest/gtest.h>

#include <windows.h>

#include <exdisp.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "browser/HtmlDocument.h"
#include "browser/HtmlElement.h"
#include "browser/PageQueries.h"
#include "browser/win32/ComPageBrowser.h"
#include "browser/win32/ComValues.h"
#include "childproc/IpcProtocol.h"
#include "skin/TextCodec.h"
#include "tests/browser/win32/BrowserTestSupport.h"
#include "tests/support/win32/TestProcess.h"

namespace browsertest {
namespace {

using SkinUI::ComPtr;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// ASCII text (ports, paths of the test's own pages) as wide text.
std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Server root as a Windows path (Wine reaches Unix paths through Z:).
std::string ServerFile(const std::string& name) {
    std::string path = "Z:" + Env("TOLVANE_TEST_SERVER_ROOT") + "/" + name;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

std::wstring Address(const std::string& path) {
    return L"http://127.0.0.1:" + Wide(Env("TOLVANE_TEST_NGINX_PORT")) + L"/" + Wide(path);
}

void WritePage(const std::string& name, const std::string& content) {
    if (name.back() == '/') {
        CreateDirectoryA(ServerFile(name).c_str(), nullptr);
        return;
    }
    std::ofstream(ServerFile(name), std::ios::binary) << content;
}

class Pages : public ::testing::Environment {
  public:
    void SetUp() override {
        OleInitialize(nullptr);
        std::string top = R"(<html><head><title>Stand-in top</title>
<meta name="Tolvanewd-md5" content="0123abcd">
<META NAME="Tolvanewd-updateurl" CONTENT="@UPDATE@">
<script>window.location = 'nowhere.html';</script></head>
<body><h1>Servers</h1><p><a href="one.html">Server one</a></p>
<p><a href="two.html"><img src="missing.png" width="40" height="30"></a></p>
<p><a href="new.html" target="_blank">New window</a></p>
<iframe src="frame1.html" width="300" height="100"></iframe>
<iframe src="frame2.html" width="300" height="100"></iframe></body></html>)";
        WritePage("top.html", top.replace(top.find("@UPDATE@"), 8, SkinUI::WideToAnsi(Address("pkg.exe"))));
        WritePage("frame1.html", "<p>First <a href=\"inner.html\">inner link</a></p>");
        WritePage("frame2.html",
                  "<p>Second</p><iframe src=\"frame3.html\" width=\"200\" height=\"40\"></iframe>");
        WritePage("frame3.html", "<p>Third</p>");
        WritePage("new.html", "<title>New</title><p>A new window</p>");
        WritePage("moved/", "");
        WritePage("moved/index.html", "<title>Moved</title><p>Moved here</p>");
        SetEnvironmentVariableW(L"TOLVANE_STANDIN_LOG", Wide(ServerFile("../standin.log")).c_str());
    }
};
::testing::Environment* const g_pages = ::testing::AddGlobalTestEnvironment(new Pages);

std::vector<std::string> LogLines(const char* prefix) {
    std::ifstream log(ServerFile("../standin.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// A browser window of the launcher that records each navigation event with its frame and address.
class EventLog : public browser::CWebBrowser {
  public:
    EventLog() : CWebBrowser(true) {}

    void OnBeforeNavigate2(IDispatch* frame, VARIANT* address, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                           VARIANT_BOOL*) override {
        Record("BeforeNavigate2", frame, address);
    }
    void OnNavigateComplete2(IDispatch* frame, VARIANT* address) override {
        Record("NavigateComplete2", frame, address);
    }
    void OnDocumentComplete(IDispatch* frame, VARIANT* address) override {
        Record("DocumentComplete", frame, address);
        READYSTATE state = READYSTATE_UNINITIALIZED;
        if (IsTop(frame) && SUCCEEDED(WebBrowser()->get_ReadyState(&state)) && state == READYSTATE_COMPLETE) {
            complete = true;
        }
    }
    void OnCommandStateChange(long command, VARIANT_BOOL enabled) override {
        commands.push_back(std::to_string(command) + (enabled == VARIANT_TRUE ? " on" : " off"));
    }

    bool IsTop(IDispatch* frame) const {
        ComPtr<IUnknown> a, b;
        frame->QueryInterface(IID_IUnknown, a.PutVoid());
        WebBrowser()->QueryInterface(IID_IUnknown, b.PutVoid());
        return a.Get() == b.Get();
    }
    void Record(const char* event, IDispatch* frame, VARIANT* address) {
        std::wstring text = browser::VariantText(address).value_or(L"");
        const size_t slash = text.rfind(L'/', text.size() - 2);
        events.push_back(std::string(event) + (IsTop(frame) ? " top " : " frame ") +
                         SkinUI::WideToAnsi(text.substr(slash + 1)));
    }
    bool Load(const std::wstring& address) {
        complete = false;
        events.clear();
        pageBrowser.Borrow(WebBrowser());
        pageBrowser.Navigate(address);
        return testsupport::WaitUntil(15000, [&] { return complete; });
    }
    std::wstring Location() {
        std::wstring location;
        pageBrowser.LocationUrl(location);
        return location;
    }

    std::vector<std::string> events, commands;
    bool complete = false;
    browser::ComPageBrowser pageBrowser;
};

class StandIn : public ::testing::Test {
  protected:
    void SetUp() override {
        const RECT rect = {0, 0, 640, 480};
        window = browser.Create(TestParentWindow(), rect);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }

    EventLog browser;
    HWND window = nullptr;
};

TEST_F(StandIn, NavigationFiresTheRealControlsEventsInItsOrderThroughNestedFrames) {
    ASSERT_TRUE(browser.Load(Address("top.html")));
    const std::vector<std::string> expected = {
        "BeforeNavigate2 top top.html",        "NavigateComplete2 top top.html",
        "BeforeNavigate2 frame frame1.html",   "NavigateComplete2 frame frame1.html",
        "DocumentComplete frame frame1.html",  "BeforeNavigate2 frame frame2.html",
        "NavigateComplete2 frame frame2.html", "BeforeNavigate2 frame frame3.html",
        "NavigateComplete2 frame frame3.html", "DocumentComplete frame frame3.html",
        "DocumentComplete frame frame2.html",  "DocumentComplete top top.html"};
    EXPECT_EQ(browser.events, expected);
    EXPECT_EQ(browser.commands, (std::vector<std::string>{"2 off", "1 off"}));
    std::wstring name;
    EXPECT_TRUE(browser.pageBrowser.LocationName(name));
    EXPECT_EQ(name, L"Stand-in top");

    // A server's redirect ends where it leads, and history commands follow the navigations.
    ASSERT_TRUE(browser.Load(Address("moved")));
    EXPECT_EQ(browser.Location(), Address("moved/"));
    EXPECT_EQ(browser.events.back(), "DocumentComplete top moved/");
    EXPECT_EQ(browser.commands.back(), "2 on");
    browser.complete = false;
    browser.pageBrowser.GoBack();
    ASSERT_TRUE(testsupport::WaitUntil(15000, [&] { return browser.complete; }));
    EXPECT_EQ(browser.Location(), Address("top.html"));
    EXPECT_EQ(browser.commands.back(), "1 on");

    const std::vector<std::string> events = LogLines("event 259 ");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "event 259 " + SkinUI::WideToAnsi(Address("top.html")));
}

TEST_F(StandIn, PageQueriesReadMetaTagsLinksImagesInLinksAndFramesAndRunScripts) {
    ASSERT_TRUE(browser.Load(Address("top.html")));
    std::unique_ptr<browser::HtmlDocument> document = browser.pageBrowser.Document();
    ASSERT_NE(document, nullptr);
    const std::optional<childproc::UpdateInfo> update = browser::ReadUpdateInfo(*document);
    ASSERT_TRUE(update.has_value());
    EXPECT_EQ(update->checksum, L"0123abcd");
    EXPECT_EQ(update->address, Address("pkg.exe"));

    // The first element with `tag` and its top-left corner.
    auto corner = [](browser::HtmlDocument& in, const std::wstring& tag, int32_t& x, int32_t& y) {
        for (size_t i = 0; i < in.ElementCount(); ++i) {
            std::unique_ptr<browser::HtmlElement> element = in.ElementAt(i);
            std::wstring name;
            if (element != nullptr && element->TagName(name) && name == tag) {
                return element->BoundingTopLeft(x, y);
            }
        }
        return false;
    };
    auto linkAt = [&](int32_t x, int32_t y) {
        std::unique_ptr<browser::HtmlElement> element;
        std::optional<std::wstring> address;
        if (browser::ElementFromPointDeep(&browser.pageBrowser, x, y, &element) != 0 ||
            browser::LinkAddressOf(std::move(element), &address) != 0) {
            return std::wstring(L"none");
        }
        return address.value_or(L"");
    };
    int32_t x = 0, y = 0, frameX = 0, frameY = 0;
    ASSERT_TRUE(corner(*document, L"A", x, y));
    EXPECT_EQ(linkAt(x + 2, y + 2), Address("one.html"));
    ASSERT_TRUE(corner(*document, L"IMG", x, y));
    EXPECT_EQ(linkAt(x + 5, y + 5), Address("two.html"));
    EXPECT_EQ(linkAt(x + 5, y - 30), L"none");

    ASSERT_EQ(document->FrameCount(), 2u);
    std::unique_ptr<browser::HtmlDocument> frame = document->FrameDocument(0);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(corner(*document, L"IFRAME", frameX, frameY));
    ASSERT_TRUE(corner(*frame, L"A", x, y));
    EXPECT_EQ(linkAt(frameX + x + 2, frameY + y + 2), Address("inner.html"));

    // Scripts are recorded, not run: the error handler reaches the page and all three frames.
    const size_t before = LogLines("script ").size();
    browser::SuppressScriptErrors(&browser.pageBrowser);
    const std::vector<std::string> scripts = LogLines("script ");
    ASSERT_EQ(scripts.size(), before + 4);
    EXPECT_EQ(scripts.back(), "script " + SkinUI::WideToAnsi(browser::kErrorSwallowingScript));
}

// A link that opens a new window: the page asks the child that serves its owner for a page on another
// thread, hands the stand-in that page's browser (a proxy), and the new window opens there. That page
// can be handed to another process too, and scrolling it reaches the page controller.
TEST(StandInPage, ANewWindowOpensInThePageHandedOverFromAnotherThread) {
    OwnerWindow owner;
    std::unique_ptr<PageThread> created;
    OwnerThread child([&](OwnerWindow& ipcWindow) {
        ipcWindow.createBrowser = [&] {
            created = std::make_unique<PageThread>(owner.Handle());
            return created->Window();
        };
    });
    owner.childIpcWindow = child.Window();
    browser::WebPage page(owner.Handle(), false);
    const RECT rect = {0, 0, 640, 240};
    HWND window = page.Create(owner.Handle(), rect, nullptr, 0x8E000000, 0x08000000);
    ASSERT_NE(window, nullptr);
    page.Navigate(Address("top.html"));
    ASSERT_TRUE(
        testsupport::WaitUntil(15000, [&] { return !owner.Messages(childproc::WM_IPC_PAGE_READY).empty(); }));

    browser::ComPageBrowser pageBrowser;
    pageBrowser.Borrow(page.WebBrowser());
    std::unique_ptr<browser::HtmlDocument> document = pageBrowser.Document();
    ASSERT_NE(document, nullptr);
    int32_t x = -1, y = -1;
    for (size_t i = 0; i < document->ElementCount(); ++i) {
        std::unique_ptr<browser::HtmlElement> element = document->ElementAt(i);
        std::wstring target;
        if (element->Attribute(L"target", target) && target == L"_blank") {
            element->BoundingTopLeft(x, y);
        }
    }
    ASSERT_GE(x, 0);
    HWND control = FindWindowExW(window, nullptr, L"TolvaneStandInBrowser", nullptr);
    ASSERT_NE(control, nullptr);
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x + 2, y + 2));
    ASSERT_TRUE(testsupport::WaitUntil(
        15000, [&] { return owner.Messages(childproc::WM_IPC_PAGE_READY).size() >= 2; }));
    ASSERT_TRUE(created);
    EXPECT_EQ(LogLines("event 273 ").back(), "event 273 " + SkinUI::WideToAnsi(Address("new.html")));

    const LRESULT stream =
        SendMessageW(created->Window(), RegisterWindowMessageW(L"QMR.WM_IPC_HTMLWND_COMMAND"), 0, 0);
    ComPtr<IWebBrowser2> proxy;
    ASSERT_EQ(
        CoGetInterfaceAndReleaseStream(reinterpret_cast<IStream*>(stream), IID_IWebBrowser2, proxy.PutVoid()),
        S_OK);
    browser::Bstr location;
    ASSERT_EQ(proxy->get_LocationURL(location.Put()), S_OK);
    EXPECT_EQ(location.Text(), Address("new.html"));
    proxy.Reset();

    // Another process gets the same page's browser through the system's proxy as well.
    testsupport::TestProcess peer;
    ASSERT_TRUE(peer.Start(testsupport::SiblingProgram(L"browser_handover_peer.exe"),
                           L"acquire " + std::to_wstring(reinterpret_cast<uintptr_t>(created->Window()))));
    ASSERT_TRUE(peer.WaitForExit(20000));
    EXPECT_EQ(peer.ExitCode(), 0u);

    // Scrolling the page reaches the body's scroll handler, which reports the page's offsets.
    PostMessageW(control, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    ASSERT_TRUE(testsupport::WaitUntil(5000, [&] {
        const auto states = owner.Messages(childproc::WM_IPC_PAGE_STATE);
        return !states.empty() && states.back().wParam == 2 && states.back().lParam != 0;
    }));
    EXPECT_EQ(owner.Messages(childproc::WM_IPC_PAGE_STATE).back().lParam, 48 << 16);
    DestroyWindow(window);
    created.reset();
}

}  // namespace
}  // namespace browsertest
