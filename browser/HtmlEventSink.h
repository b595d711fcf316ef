#pragma once

#include <cstdint>
#include <string>

namespace browser {

class PageController;

// What a document event sink knows and does; the platform's script-visible object wraps it. The page
// gives it its kind and itself when it attaches the sink to a document.
class HtmlEventSink {
  public:
    static constexpr int32_t kHover = 1;
    static constexpr int32_t kScroll = 2;

    virtual ~HtmlEventSink() = default;

    void Attach(int32_t kind, PageController& page) {
        kind_ = kind;
        page_ = &page;
    }
    // Acts on one event by kind; which event member fired and its arguments do not matter.
    void Fire();
    // Cuts the sink off its page; documents that still hold the sink then reach nothing.
    void Detach() { page_ = nullptr; }

    int32_t Kind() const { return kind_; }
    PageController* Page() const { return page_; }
    const std::string& LastLink() const { return lastLink_; }

  private:
    int32_t kind_ = 0;
    std::string lastLink_;  // the link address a hover sink reported last
    PageController* page_ = nullptr;
};

}  // namespace browser
