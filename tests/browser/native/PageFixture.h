#pragma once

#include <gtest/gtest.h>

#include "browser/HtmlEventSink.h"
#include "browser/PageController.h"
#include "childproc/IpcProtocol.h"
#include "tests/browser/native/ScriptedBrowser.h"

namespace scripted {

inline constexpr browser::WindowId kOwner = 0x1A0;

// A page controller in a scripted world: a browser showing the document `top`.
class PageFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        browser::g_topNudge = -1;
        window.Attach(&browserScript);
        browserScript.document = &top;
    }

    static std::wstring WideData(const Message& m) {
        std::wstring text;
        EXPECT_TRUE(childproc::ReadWideText(m.data.data(), m.data.size(), text));
        return text;
    }

    static std::string NarrowData(const Message& m) {
        std::string text;
        EXPECT_TRUE(childproc::ReadNarrowText(m.data.data(), m.data.size(), text));
        return text;
    }

    ScriptedPageWindow window;
    BrowserScript browserScript;
    DocumentScript top;
    browser::HtmlEventSink scrollEvents;
    browser::HtmlEventSink hoverEvents;
    browser::PageController page{window, kOwner, scrollEvents, hoverEvents};
};

}  // namespace scripted
