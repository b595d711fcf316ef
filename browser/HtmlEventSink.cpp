#include "browser/HtmlEventSink.h"

#include "browser/PageController.h"

namespace browser {

void HtmlEventSink::Fire() {
    if (page_ == nullptr) {
        return;
    }
    switch (kind_) {
        case kScroll:
            page_->OnScrollEvent();
            break;
        case kHover:
            page_->OnHoverEvent(lastLink_);
            break;
        default:
            break;
    }
}

}  // namespace browser
