#pragma once

#include <windows.h>

#include <mshtml.h>

#include "browser/HtmlElement.h"
#include "browser/win32/ComPtr.h"

namespace browser {

// An element of the browser control's document, read through IHTMLElement and its relatives.
class ComHtmlElement : public HtmlElement {
  public:
    explicit ComHtmlElement(ComPtr<IHTMLElement> element) : element_(std::move(element)) {}

    bool TagName(std::wstring& name) override;
    bool Attribute(const std::wstring& name, std::wstring& value) override;
    std::unique_ptr<HtmlElement> Parent() override;
    bool LinkHref(int32_t& result, std::optional<std::wstring>& href) override;
    std::unique_ptr<PageBrowser> FrameBrowser() override;
    bool BoundingTopLeft(int32_t& left, int32_t& top) override;
    bool ScrollOffsets(int32_t& left, int32_t& top) override;

  private:
    ComPtr<IHTMLElement> element_;
};

}  // namespace browser
