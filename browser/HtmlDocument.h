#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace browser {

class HtmlElement;
class HtmlEventSink;

// An HTML document (or a frame's document) as the page inspection reads and changes it.
class HtmlDocument {
  public:
    virtual ~HtmlDocument() = default;

    // The collection of all elements, in document order; 0 when the document has none to give.
    virtual size_t ElementCount() = 0;
    // Element `index` of that collection, or null when it cannot be read.
    virtual std::unique_ptr<HtmlElement> ElementAt(size_t index) = 0;

    // Runs script in the document's window; nothing happens without a window. Results are ignored.
    virtual void ExecScript(const std::wstring& code, const std::wstring& language) = 0;

    virtual size_t FrameCount() = 0;
    // The document of frame `index`, or null when the frame holds no window or no document.
    virtual std::unique_ptr<HtmlDocument> FrameDocument(size_t index) = 0;

    // The element at a point in client coordinates of the document's browser, or null.
    virtual std::unique_ptr<HtmlElement> ElementFromPoint(int32_t x, int32_t y) = 0;
    virtual std::unique_ptr<HtmlElement> ActiveElement() = 0;

    // Makes the sink the scroll handler of the document's body; false when the body cannot take one.
    virtual bool SetBodyScrollHandler(HtmlEventSink& sink) = 0;
    // Makes the sink the document's mouse-over handler.
    virtual bool SetMouseOverHandler(HtmlEventSink& sink) = 0;
};

}  // namespace browser
