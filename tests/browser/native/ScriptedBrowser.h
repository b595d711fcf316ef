#pragma once

// A scripted stand-in for the browser control, its documents and the page window: tests build the
// page's world from plain records, drive the page controller and read back what it did.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "browser/HtmlDocument.h"
#include "browser/HtmlElement.h"
#include "browser/HtmlEventSink.h"
#include "browser/PageBrowser.h"
#include "browser/PageWindow.h"

namespace scripted {

struct BrowserScript;

// A value the script offers for reading: false, leaving `out` alone, when it cannot be read.
template <typename T>
bool Read(bool readable, const T& value, T& out) {
    if (readable) {
        out = value;
    }
    return readable;
}

struct ElementScript {
    ElementScript() = default;
    explicit ElementScript(std::wstring tagName) : tag(std::move(tagName)) {}

    std::wstring tag = L"DIV";
    bool tagReadable = true;
    // An attribute mapped to nullopt cannot be read; one not mapped reads as empty text.
    std::map<std::wstring, std::optional<std::wstring>> attributes;
    ElementScript* parent = nullptr;
    bool isLink = false;  // an anchor or an image-map area
    int32_t hrefResult = 0;
    std::optional<std::wstring> href;
    BrowserScript* frameBrowser = nullptr;  // set for a frame element with a browser of its own
    bool hasBounds = true, scrollable = false;
    int32_t left = 0, top = 0, scrollLeft = 0, scrollTop = 0;
};

struct Region {
    int32_t left, top, right, bottom;
    ElementScript* element;
};

struct DocumentScript {
    std::vector<ElementScript*> all;      // null entries cannot be read
    std::vector<DocumentScript*> frames;  // null entries are frames without a document
    std::vector<Region> regions;          // hit testing: the first region holding the point
    ElementScript* active = nullptr;
    bool bodyTakesHandler = true;
    browser::HtmlEventSink *scrollHandler = nullptr, *mouseOverHandler = nullptr;
    std::vector<std::wstring> scripts;  // run in this document's window, "language|code"
    std::vector<std::pair<int32_t, int32_t>> pointQueries;
};

struct BrowserScript {
    std::vector<std::string> calls;  // commands in order: "back", "navigate <address>", "top 1", ...
    std::wstring locationUrl, locationName;
    bool urlReadable = true, readyReadable = true;
    int nameUnreadableFor = 0;  // reads of the name that fail before it is known
    int32_t readyState = browser::kReadyStateComplete, top = 0;
    DocumentScript* document = nullptr;
    uint32_t handedToProcess = 0;
};

class ScriptedElement : public browser::HtmlElement {
  public:
    explicit ScriptedElement(ElementScript* script) : s_(script) {}
    bool TagName(std::wstring& name) override { return Read(s_->tagReadable, s_->tag, name); }
    bool Attribute(const std::wstring& name, std::wstring& value) override;
    std::unique_ptr<browser::HtmlElement> Parent() override;
    bool LinkHref(int32_t& result, std::optional<std::wstring>& href) override {
        return Read(s_->isLink, s_->hrefResult, result) && Read(true, s_->href, href);
    }
    std::unique_ptr<browser::PageBrowser> FrameBrowser() override;
    bool BoundingTopLeft(int32_t& left, int32_t& top) override {
        return Read(s_->hasBounds, s_->left, left) && Read(true, s_->top, top);
    }
    bool ScrollOffsets(int32_t& left, int32_t& top) override {
        return Read(s_->scrollable, s_->scrollLeft, left) && Read(true, s_->scrollTop, top);
    }

  private:
    ElementScript* s_;
};

class ScriptedDocument : public browser::HtmlDocument {
  public:
    explicit ScriptedDocument(DocumentScript* script) : s_(script) {}
    size_t ElementCount() override { return s_->all.size(); }
    std::unique_ptr<browser::HtmlElement> ElementAt(size_t index) override;
    void ExecScript(const std::wstring& code, const std::wstring& language) override {
        s_->scripts.push_back(language + L"|" + code);
    }
    size_t FrameCount() override { return s_->frames.size(); }
    std::unique_ptr<browser::HtmlDocument> FrameDocument(size_t index) override;
    std::unique_ptr<browser::HtmlElement> ElementFromPoint(int32_t x, int32_t y) override;
    std::unique_ptr<browser::HtmlElement> ActiveElement() override;
    bool SetBodyScrollHandler(browser::HtmlEventSink& sink) override {
        return Read(s_->bodyTakesHandler, &sink, s_->scrollHandler);
    }
    bool SetMouseOverHandler(browser::HtmlEventSink& sink) override {
        return Read(true, &sink, s_->mouseOverHandler);
    }

  private:
    DocumentScript* s_;
};

class ScriptedBrowser : public browser::PageBrowser {
  public:
    explicit ScriptedBrowser(BrowserScript* script) : s_(script) {}
    void GoBack() override { s_->calls.push_back("back"); }
    void GoForward() override { s_->calls.push_back("forward"); }
    void GoHome() override { s_->calls.push_back("home"); }
    void Navigate(const std::wstring& address) override {
        s_->calls.push_back("navigate " + std::string(address.begin(), address.end()));
    }
    bool LocationUrl(std::wstring& address) override {
        return Read(s_->urlReadable, s_->locationUrl, address);
    }
    bool LocationName(std::wstring& name) override {
        return Read(s_->nameUnreadableFor-- <= 0, s_->locationName, name);
    }
    bool ReadyState(int32_t& state) override { return Read(s_->readyReadable, s_->readyState, state); }
    void PutTop(int32_t top) override {
        s_->top = top;
        s_->calls.push_back("top " + std::to_string(top));
    }
    std::unique_ptr<browser::HtmlDocument> Document() override;
    // Distinct answers for the two hand-overs, as the page command passes them on.
    uintptr_t HandOverToProcess(uint32_t processId) override {
        s_->handedToProcess = processId;
        return 0x4C8;
    }
    uintptr_t HandOverToThread() override { return 0x5A5A0; }

  private:
    BrowserScript* s_;
};

// The browser a new window was handed, as the page window's request answered it.
struct ScriptedHandedBrowser : browser::HandedBrowser {
    explicit ScriptedHandedBrowser(int handedId) : id(handedId) {}
    int id;
};

// One message the page sent or posted.
struct Message {
    enum Kind { kSent, kPosted, kCopyData } kind;
    browser::WindowId to;
    uint32_t message;  // for data-copy messages: the command
    uintptr_t wParam;
    intptr_t lParam;
    uintptr_t tag;
    std::vector<uint8_t> data;
};

class ScriptedPageWindow : public browser::PageWindow {
  public:
    browser::WindowId Handle() override { return handle; }
    browser::PageBrowser* HostedBrowser() override { return browser_.get(); }
    intptr_t Send(browser::WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        messages.push_back({Message::kSent, to, message, wParam, lParam, 0, {}});
        return 0;
    }
    void Post(browser::WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        messages.push_back({Message::kPosted, to, message, wParam, lParam, 0, {}});
    }
    void SendCopyData(browser::WindowId to, uint32_t command, uintptr_t tag,
                      const std::vector<uint8_t>& data) override {
        messages.push_back({Message::kCopyData, to, command, 0, 0, tag, data});
    }
    void StartTimer(uint32_t id, uint32_t periodMs) override {
        timers[id] = periodMs;
        timerLog.push_back("start " + std::to_string(id) + " " + std::to_string(periodMs));
    }
    void StopTimer(uint32_t id) override {
        timers.erase(id);
        timerLog.push_back("stop " + std::to_string(id));
    }
    void PostQuit() override { quitPosted = true; }
    bool CursorPosition(browser::Point& screen) override { return Read(true, cursor, screen); }
    bool ScreenToClient(browser::Point& point) override {
        point = {point.x - clientOrigin.x, point.y - clientOrigin.y};
        return true;
    }
    // The scripted code page keeps ASCII and marks everything else with '?'.
    std::string ToSystemCodePage(const std::wstring& text) override;
    std::wstring FromSystemCodePage(const std::string& text) override {
        return std::wstring(text.begin(), text.end());
    }
    bool SpawnWebProcess(const std::wstring& address) override {
        spawned.push_back(address);
        return spawnSucceeds;
    }
    browser::OutOfProcessPage RequestOutOfProcessBrowser(browser::WindowId owner) override;

    // Data-copy messages with this command, in order.
    std::vector<Message> CopyData(uint32_t command) const { return Filtered(true, command); }
    // Sent or posted messages with this code, in order.
    std::vector<Message> Messages(uint32_t message) const { return Filtered(false, message); }

    // Gives the page a browser run by the script; null takes it away.
    void Attach(BrowserScript* script) {
        browser_ = script != nullptr ? std::make_unique<ScriptedBrowser>(script) : nullptr;
    }

    browser::WindowId handle = 0x3F0;
    std::vector<Message> messages;
    std::vector<std::string> timerLog;    // "start 1002 300", "stop 1002"
    std::map<uint32_t, uint32_t> timers;  // running timers and their periods
    bool quitPosted = false, spawnSucceeds = true;
    browser::Point cursor, clientOrigin{100, 200};  // the client area's corner on the screen
    std::vector<std::wstring> spawned;
    // How the owner's child process answers a request for a new page: window and handed browser id
    // (0 for none).
    browser::WindowId requestedWindow = 0;
    int requestedBrowserId = 0;
    std::vector<browser::WindowId> requestsTo;

  private:
    std::vector<Message> Filtered(bool copyData, uint32_t code) const;
    std::unique_ptr<ScriptedBrowser> browser_;
};

}  // namespace scripted
