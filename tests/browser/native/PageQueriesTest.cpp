#include <gtest/gtest.h>

#include "browser/PageQueries.h"
#include "browser/ResultCodes.h"
#include "tests/browser/native/PageFixture.h"

namespace scripted {
namespace {

ElementScript Meta(const wchar_t* tag, std::optional<std::wstring> name, std::wstring content) {
    ElementScript meta{tag};
    meta.attributes = {{L"name", std::move(name)}, {L"content", std::move(content)}};
    return meta;
}

std::optional<childproc::UpdateInfo> ReadFrom(std::vector<ElementScript*> elements) {
    DocumentScript document;
    document.all = std::move(elements);
    ScriptedDocument view(&document);
    return browser::ReadUpdateInfo(view);
}

TEST(UpdateMetaTags, ALaterTagWinsNamesAreExactAndAnAddressAloneIsNoAnnouncement) {
    ElementScript first = Meta(L"META", L"Tolvanewd-md5", L"first");
    ElementScript second = Meta(L"meta", L"Tolvanewd-md5", L"second");
    ElementScript otherCase = Meta(L"META", L"tolvanewd-md5", L"wrong-case");
    ElementScript longer = Meta(L"META", L"Tolvanewd-md5x", L"longer-name");
    ElementScript notMeta = Meta(L"DIV", L"Tolvanewd-md5", L"not-a-meta");
    ElementScript metaLike = Meta(L"METAX", L"Tolvanewd-md5", L"not-a-meta");
    ElementScript address1 = Meta(L"mEtA", L"Tolvanewd-updateurl", L"http://one");
    ElementScript address2 = Meta(L"META", L"Tolvanewd-updateurl", L"http://two");
    auto info = ReadFrom({&first, &address1, &second, &otherCase, &longer, &notMeta, &metaLike, &address2});
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->checksum, L"second");
    EXPECT_EQ(info->address, L"http://two");
    EXPECT_FALSE(ReadFrom({&address1}).has_value());
    EXPECT_FALSE(ReadFrom({}).has_value());
}

TEST(UpdateMetaTags, UnreadableElementsAndNamesAreSkippedAndAChecksumAloneGoesOut) {
    ElementScript unreadableTag = Meta(L"META", L"Tolvanewd-md5", L"tag-unreadable");
    unreadableTag.tagReadable = false;
    ElementScript unreadableName = Meta(L"META", std::nullopt, L"name-unreadable");
    ElementScript good = Meta(L"META", L"Tolvanewd-md5", L"good");
    ElementScript contentUnreadable = Meta(L"META", L"Tolvanewd-updateurl", L"");
    contentUnreadable.attributes[L"content"] = std::nullopt;
    const auto info =
        ReadFrom({nullptr, &good, &unreadableTag, nullptr, &unreadableName, &contentUnreadable});
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->checksum, L"good");
    EXPECT_EQ(info->address, L"");
}

TEST(ErrorHandler, IsRunInEveryFrameNestedAtAnyDepth) {
    DocumentScript topDocument, frameA, frameB, nestedInB, deepest;
    topDocument.frames = {&frameA, nullptr, &frameB};
    frameB.frames = {&nestedInB};
    nestedInB.frames = {&deepest};
    BrowserScript browserScript;
    browserScript.document = &topDocument;
    ScriptedBrowser view(&browserScript);
    browser::SuppressScriptErrors(&view);
    const std::wstring expected =
        L"JavaScript|function fnOnError(msg,url,lineno){return true;}window.onerror=fnOnError;";
    for (DocumentScript* d : {&topDocument, &frameA, &frameB, &nestedInB, &deepest}) {
        ASSERT_EQ(d->scripts.size(), 1u);
        EXPECT_EQ(d->scripts[0], expected);
    }
    browser::SuppressScriptErrors(nullptr);
    browserScript.document = nullptr;
    browser::SuppressScriptErrors(&view);
    EXPECT_EQ(topDocument.scripts.size(), 1u);
}

TEST(ElementLookup, ReportsItsFailuresWithResultCodes) {
    BrowserScript browserScript;
    ScriptedBrowser view(&browserScript);
    std::unique_ptr<browser::HtmlElement> element = std::make_unique<ScriptedElement>(nullptr);
    EXPECT_EQ(browser::ElementFromPointDeep(&view, 1, 1, nullptr), browser::kResultPointer);
    EXPECT_EQ(browser::ElementFromPointDeep(nullptr, 1, 1, &element), browser::kResultFail);
    EXPECT_EQ(element, nullptr);
    EXPECT_EQ(browser::ElementFromPointDeep(&view, 1, 1, &element), browser::kResultFail);  // no document
    DocumentScript document;
    browserScript.document = &document;
    EXPECT_EQ(browser::ElementFromPointDeep(&view, 1, 1, &element), browser::kResultFail);  // nothing there

    std::optional<std::wstring> address = L"stale";
    EXPECT_EQ(browser::LinkAddressOf(nullptr, &address), browser::kResultFail);
    EXPECT_FALSE(address.has_value());
    ElementScript plain, failingLink;
    failingLink.isLink = true;
    failingLink.hrefResult = static_cast<int32_t>(0x80070057u);
    plain.parent = &failingLink;
    EXPECT_EQ(browser::LinkAddressOf(std::make_unique<ScriptedElement>(&plain), &address),
              static_cast<int32_t>(0x80070057u));
}

// A page with a link, an image inside a link and a frame holding a link of its own.
class LinkReport : public PageFixture {
  protected:
    void SetUp() override {
        PageFixture::SetUp();
        anchor.isLink = true;
        anchor.href = L"http://www.example.com/server/7";
        imageLink.isLink = true;
        imageLink.href = L"http://www.example.com/banner";
        image.tag = L"IMG";
        image.parent = &imageSpan;
        imageSpan.parent = &imageLink;
        frameAnchor.isLink = true;
        frameAnchor.href = L"http://www.example.com/in-frame";
        frameElement.frameBrowser = &frameBrowser;
        frameElement.left = 300;
        frameElement.top = 100;
        frameBrowser.document = &frameDocument;
        frameDocument.regions = {{10, 10, 20, 20, &frameAnchor}};
        top.regions = {{0, 0, 50, 20, &anchor},
                       {0, 30, 50, 60, &image},
                       {300, 100, 500, 300, &frameElement},
                       {0, 0, 1000, 1000, &body}};
    }

    // A click at a client position of the page.
    void ClickAt(int32_t x, int32_t y) {
        page.OnMouseButton(x + window.clientOrigin.x, y + window.clientOrigin.y);
    }

    std::vector<Message> Reports() const { return window.CopyData(childproc::COPYDATA_ELEMENT_TEXT); }

    ElementScript anchor, imageLink, imageSpan, image, frameAnchor, frameElement, body;
    BrowserScript frameBrowser;
    DocumentScript frameDocument;
};

TEST_F(LinkReport, SameLinkIsReportedOnceAndLeavingLinksOnceEmpty) {
    ClickAt(700, 700);  // outside links before any link: nothing
    ClickAt(5, 5);
    ClickAt(6, 6);
    ClickAt(700, 700);
    ClickAt(701, 701);
    ClickAt(5, 5);
    const auto reports = Reports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_TRUE(reports[0].tag == window.handle && reports[0].to == kOwner);
    EXPECT_EQ(NarrowData(reports[0]), "http://www.example.com/server/7");
    EXPECT_TRUE(reports[1].data.empty());
    EXPECT_EQ(reports[2].data, reports[0].data);
    EXPECT_EQ(page.LastLinkAddress(), "http://www.example.com/server/7");
}

TEST_F(LinkReport, AnImageInsideALinkReportsTheLinkAClickInAFrameUsesTheFramesCoordinates) {
    ClickAt(10, 40);
    ClickAt(315, 112);
    const auto reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(NarrowData(reports[0]), "http://www.example.com/banner");
    EXPECT_EQ(NarrowData(reports[1]), "http://www.example.com/in-frame");
    ASSERT_EQ(frameDocument.pointQueries.size(), 1u);
    EXPECT_EQ(frameDocument.pointQueries[0], std::make_pair(15, 12));
    // A frame whose bounds cannot be read is taken to sit at the corner.
    frameElement.hasBounds = false;
    ClickAt(315, 112);
    EXPECT_EQ(frameDocument.pointQueries.back(), std::make_pair(315, 112));
}

TEST_F(LinkReport, LinkAddressesAreNarrowedAndAnEmptyAddressDiffersFromNoAddress) {
    anchor.href = L"http://www.example.com/\u670d";
    ClickAt(5, 5);
    anchor.href = L"";
    ClickAt(5, 5);
    anchor.href = std::nullopt;
    ClickAt(5, 5);
    const auto reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(NarrowData(reports[0]), "http://www.example.com/?");
    EXPECT_EQ(reports[1].data, std::vector<uint8_t>{0});
}

TEST_F(LinkReport, HoverSinkIsAttachedEverywhereAndRemembersItsOwnLink) {
    DocumentScript nested;
    frameDocument.frames = {&nested};
    top.frames = {&frameDocument, nullptr};
    window.StartTimer(browser::IDT_HOOK_DOCUMENT, 100);
    page.OnTimerTick(browser::IDT_HOOK_DOCUMENT);
    EXPECT_EQ(window.timers.count(browser::IDT_HOOK_DOCUMENT), 0u);
    for (DocumentScript* d : {&top, &frameDocument, &nested}) {
        EXPECT_EQ(d->mouseOverHandler, &hoverEvents);
    }
    ASSERT_EQ(hoverEvents.Kind(), browser::HtmlEventSink::kHover);

    window.cursor = {window.clientOrigin.x + 5, window.clientOrigin.y + 5};
    hoverEvents.Fire();
    hoverEvents.Fire();
    EXPECT_EQ(Reports().size(), 1u);
    EXPECT_EQ(hoverEvents.LastLink(), "http://www.example.com/server/7");
    EXPECT_EQ(page.LastLinkAddress(), "");  // the click memory is separate
    ClickAt(5, 5);
    EXPECT_EQ(Reports().size(), 2u);
}

TEST_F(LinkReport, HookTimerWaitsForADocument) {
    browserScript.document = nullptr;
    window.StartTimer(browser::IDT_HOOK_DOCUMENT, 100);
    page.OnTimerTick(browser::IDT_HOOK_DOCUMENT);
    EXPECT_TRUE(window.timers.count(browser::IDT_HOOK_DOCUMENT) == 1 && hoverEvents.Kind() == 0);
}

using Scrolling = PageFixture;

TEST_F(Scrolling, OffsetsArePackedLowWordFirst) {
    ElementScript active;
    active.scrollable = true;
    active.scrollLeft = 0x12345;  // only the low 16 bits of the horizontal offset fit
    active.scrollTop = 0x0321;
    top.active = &active;
    page.OnDocumentComplete(true, L"http://www.example.com/");
    ASSERT_NE(top.scrollHandler, nullptr);
    window.messages.clear();
    top.scrollHandler->Fire();
    ASSERT_EQ(window.messages.size(), 1u);
    const Message& state = window.messages[0];
    EXPECT_TRUE(state.kind == Message::kPosted && state.message == childproc::WM_IPC_PAGE_STATE);
    EXPECT_EQ(state.wParam, 2u);
    EXPECT_EQ(state.lParam, static_cast<intptr_t>(0x03212345u));
}

TEST_F(Scrolling, NoActiveScrollableElementPostsNothingAndADetachedSinkIsSilent) {
    page.OnDocumentComplete(true, L"http://www.example.com/");
    window.messages.clear();
    scrollEvents.Fire();
    ElementScript notScrollable;
    top.active = &notScrollable;
    scrollEvents.Fire();
    ElementScript active;
    active.scrollable = true;
    top.active = &active;
    scrollEvents.Detach();
    scrollEvents.Fire();
    EXPECT_TRUE(window.messages.empty());
}

}  // namespace
}  // namespace scripted
