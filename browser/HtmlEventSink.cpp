#include "browser/HtmlEventSink.h"

#include "browser/PageController.h"

namespace browser {

void HtmlEventSink::Fire() {
    if (page == nullptr) {
        return;
    }
    switch (kind) {
        case kScroll:
            page->OnScrollEvent();
            break;
        case kHover:
            page->OnHoverEvent(lastLink);
            break;
        default:
            break;
    }
}

}  // namespace browser
