#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace browser {

class PageBrowser;

// One element of an HTML document, as the page inspection reads it.
class HtmlElement {
  public:
    virtual ~HtmlElement() = default;

    virtual bool TagName(std::wstring& name) = 0;
    // False when the attribute cannot be read; a value that is not text reads as empty text.
    virtual bool Attribute(const std::wstring& name, std::wstring& value) = 0;
    // The enclosing element, or null at the top.
    virtual std::unique_ptr<HtmlElement> Parent() = 0;
    // Anchors and image-map areas answer true with the result code of reading their address (0 on
    // success; the address may then still be absent). Other elements answer false.
    virtual bool LinkHref(int32_t& result, std::optional<std::wstring>& href) = 0;
    // A frame element that holds a browser of its own gives that browser; others give null.
    virtual std::unique_ptr<PageBrowser> FrameBrowser() = 0;
    // The top-left corner of the element's bounding rectangle, in client coordinates of its browser.
    virtual bool BoundingTopLeft(int32_t& left, int32_t& top) = 0;
    // The element's scroll offsets; false when the element offers none.
    virtual bool ScrollOffsets(int32_t& left, int32_t& top) = 0;
};

}  // namespace browser
