#pragma once

#include <windows.h>

#include <mshtml.h>

#include "browser/HtmlDocument.h"
#include "browser/win32/ComPtr.h"

namespace browser {

// A document of the browser control, read and changed through IHTMLDocument2.
class ComHtmlDocument : public HtmlDocument {
  public:
    explicit ComHtmlDocument(ComPtr<IHTMLDocument2> document) : document_(std::move(document)) {}

    size_t ElementCount() override;
    std::unique_ptr<HtmlElement> ElementAt(size_t index) override;
    void ExecScript(const std::wstring& code, const std::wstring& language) override;
    size_t FrameCount() override;
    std::unique_ptr<HtmlDocument> FrameDocument(size_t index) override;
    std::unique_ptr<HtmlElement> ElementFromPoint(int32_t x, int32_t y) override;
    std::unique_ptr<HtmlElement> ActiveElement() override;
    bool SetBodyScrollHandler(HtmlEventSink& sink) override;
    bool SetMouseOverHandler(HtmlEventSink& sink) override;

  private:
    IHTMLElementCollection* All();
    IHTMLFramesCollection2* Frames();

    ComPtr<IHTMLDocument2> document_;
    ComPtr<IHTMLElementCollection> all_;     // read on first use
    ComPtr<IHTMLFramesCollection2> frames_;  // read on first use
};

}  // namespace browser
