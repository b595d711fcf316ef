#pragma once

#include <cstdint>
#include <string>

namespace browser {

class PageController;

// What a document event sink knows and does; the platform's script-visible object wraps it. The page
// sets `kind` and `page` when it attaches the sink to a document.
class HtmlEventSink {
  public:
    static constexpr int32_t kHover = 1;
    static constexpr int32_t kScroll = 2;

    virtual ~HtmlEventSink() = default;

    // Acts on one event by kind; which event member fired and its arguments do not matter.
    void Fire();
    // Cuts the sink off its page; documents that still hold the sink then reach nothing.
    void Detach() { page = nullptr; }

    int32_t kind = 0;
    std::string lastLink;  // the link address a hover sink reported last
    PageController* page = nullptr;
};

}  // namespace browser
