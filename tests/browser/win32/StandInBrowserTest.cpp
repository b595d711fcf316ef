// The launcher's COM adapters of the page queries against a control that renders pages: the stand-in
// browser control (tools/standin-browser), registered as "Shell.Explorer.2" in this test's own prefix,
// with pages from the local nginx of tools/with-update-servers.sh. The player's road through the same
// control is the end-to-end tier's (tests/windows/win32/PortalRoadTest).

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "browser/HtmlDocument.h"
#include "browser/HtmlElement.h"
#include "browser/PageQueries.h"
#include "browser/win32/CWebBrowser.h"
#include "browser/win32/ComPageBrowser.h"
#include "skin/TextCodec.h"
#include "tests/browser/win32/BrowserTestSupport.h"
#include "tests/support/win32/TestProcess.h"

namespace browsertest {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
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
    const std::string address = "http://127.0.0.1:" + Env("TOLVANE_TEST_NGINX_PORT") + "/" + path;
    return std::wstring(address.begin(), address.end());
}

class Pages : public ::testing::Environment {
  public:
    void SetUp() override {
        OleInitialize(nullptr);
        const std::pair<const char*, const char*> pages[] = {
            {"top.html",
             "<html><head><title>Stand-in top</title></head><body><p><a href=\"one.html\">Server one</a></p>"
             "<p><a href=\"two.html\"><img src=\"missing.png\" width=\"40\" height=\"30\"></a></p>"
             "<iframe src=\"frame1.html\" width=\"300\" height=\"100\"></iframe>"
             "<iframe src=\"frame2.html\" width=\"300\" height=\"100\"></iframe></body></html>"},
            {"frame1.html", "<p>First <a href=\"inner.html\">inner link</a></p>"},
            {"frame2.html", "<p>Second</p><iframe src=\"frame3.html\" width=\"200\" height=\"40\"></iframe>"},
            {"frame3.html", "<p>Third</p>"}};
        for (const auto& [name, content] : pages) {
            std::ofstream(ServerFile(name), std::ios::binary) << content;
        }
        const std::string log = ServerFile("../standin.log");
        SetEnvironmentVariableW(L"TOLVANE_STANDIN_LOG", std::wstring(log.begin(), log.end()).c_str());
    }
};
::testing::Environment* const g_pages = ::testing::AddGlobalTestEnvironment(new Pages);

size_t ScriptsRun() {
    std::ifstream log(ServerFile("../standin.log"));
    size_t count = 0;
    for (std::string line; std::getline(log, line);) {
        count += line.rfind("script ", 0) == 0 ? 1 : 0;
    }
    return count;
}

// A browser window whose top-level document completed.
class LoadedBrowser : public browser::CWebBrowser {
  public:
    LoadedBrowser() : CWebBrowser(true) {}
    void OnDocumentComplete(IDispatch*, VARIANT*) override {
        std::wstring location;
        complete = complete || (pageBrowser.LocationUrl(location) && location == Address("top.html"));
    }
    bool complete = false;
    browser::ComPageBrowser pageBrowser;
};

// The first element with `tag` and its top-left corner.
bool Corner(browser::HtmlDocument& in, const std::wstring& tag, int32_t& x, int32_t& y) {
    for (size_t i = 0; i < in.ElementCount(); ++i) {
        std::unique_ptr<browser::HtmlElement> element = in.ElementAt(i);
        std::wstring name;
        if (element != nullptr && element->TagName(name) && name == tag) {
            return element->BoundingTopLeft(x, y);
        }
    }
    return false;
}

TEST(StandIn, PageQueriesFindLinksImagesInLinksAndFramesAndRunScriptsInEveryFrame) {
    LoadedBrowser browser;
    const RECT rect = {0, 0, 640, 480};
    HWND window = browser.Create(TestParentWindow(), rect);
    ASSERT_NE(window, nullptr);
    browser.pageBrowser.Borrow(browser.WebBrowser());
    browser.pageBrowser.Navigate(Address("top.html"));
    ASSERT_TRUE(testsupport::WaitUntil(15000, [&] { return browser.complete; }));
    std::unique_ptr<browser::HtmlDocument> document = browser.pageBrowser.Document();
    ASSERT_NE(document, nullptr);

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
    ASSERT_TRUE(Corner(*document, L"A", x, y));
    EXPECT_EQ(linkAt(x + 2, y + 2), Address("one.html"));
    ASSERT_TRUE(Corner(*document, L"IMG", x, y));
    EXPECT_EQ(linkAt(x + 5, y + 5), Address("two.html"));
    EXPECT_EQ(linkAt(x + 5, y - 30), L"none");
    ASSERT_EQ(document->FrameCount(), 2u);
    std::unique_ptr<browser::HtmlDocument> frame = document->FrameDocument(0);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(Corner(*document, L"IFRAME", frameX, frameY));
    ASSERT_TRUE(Corner(*frame, L"A", x, y));
    EXPECT_EQ(linkAt(frameX + x + 2, frameY + y + 2), Address("inner.html"));

    // Scripts are recorded, not run: the error handler reaches the page and all three frames.
    const size_t before = ScriptsRun();
    browser::SuppressScriptErrors(&browser.pageBrowser);
    EXPECT_EQ(ScriptsRun(), before + 4);
    DestroyWindow(window);
}

}  // namespace
}  // namespace browsertest
