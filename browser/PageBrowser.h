#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace browser {

class HtmlDocument;

// Ready state of a browser whose document is complete.
inline constexpr int32_t kReadyStateComplete = 4;

// The browser control as the page controller uses it. Reads answer false when the control refuses;
// commands answer nothing, because the page never acts on their results.
class PageBrowser {
  public:
    virtual ~PageBrowser() = default;

    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void GoHome() = 0;
    // Navigates the top-level frame; flags, target frame, post data and headers stay empty.
    virtual void Navigate(const std::wstring& address) = 0;

    virtual bool LocationUrl(std::wstring& address) = 0;
    // The caption text of the current document; false or empty while the control has none.
    virtual bool LocationName(std::wstring& name) = 0;
    virtual bool ReadyState(int32_t& state) = 0;
    // Moves the control's top edge inside its window.
    virtual void PutTop(int32_t top) = 0;
    // The HTML document of the current page, or null.
    virtual std::unique_ptr<HtmlDocument> Document() = 0;

    // Hands the browser to another process: a handle valid in that process, 0 on failure.
    virtual uintptr_t HandOverToProcess(uint32_t processId) = 0;
    // Hands the browser to another thread of this process: the address of a stream holding it, 0 on
    // failure.
    virtual uintptr_t HandOverToThread() = 0;
};

}  // namespace browser
