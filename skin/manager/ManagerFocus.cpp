// The manager's keyboard focus: which control has it, the one it goes to after the next layout, and
// Tab moves between the controls that take it.
#include <algorithm>

#include "skin/controls/ControlSearch.h"
#include "skin/manager/ManagerUI.h"

namespace SkinUI {

void CSkinManagerUI::SetFocus(CControlUI* control) {
    if (port_ != nullptr && !port_->HasKeyboardFocus() && control != focus_) {
        port_->TakeKeyboardFocus();
    }
    if (control == focus_) {
        return;
    }
    if (CControlUI* old = focus_) {
        focus_ = nullptr;
        SendEvent(old, SkinEventType::kKillFocus, lastMousePoint_, 0, 0);
        RaiseNotify(old, SkinNotifyType::kKillFocus, 0, 0, false);
    }
    if (Owns(control) && control->IsVisible() && control->IsEnabled()) {
        focus_ = control;
        SendEvent(control, SkinEventType::kSetFocus, lastMousePoint_);
        RaiseNotify(control, SkinNotifyType::kSetFocus, 0, 0, false);
    }
}

void CSkinManagerUI::SetFocusControl(CControlUI* control) {
    SetFocus(control);
}

CControlUI* CSkinManagerUI::FocusControl() const {
    return focus_;
}

void CSkinManagerUI::SetPendingFocus(CControlUI* control) {
    if (port_ != nullptr) {
        port_->TakeKeyboardFocus();
    }
    pendingFocus_ = Owns(control) ? control : nullptr;
    focusNeeded_ = true;
    if (port_ != nullptr) {
        port_->InvalidateAll();
    }
}

void CSkinManagerUI::MoveTabFocus(bool forward) {
    if (updateNeeded_) {
        focusNeeded_ = true;
        if (port_ != nullptr) {
            port_->InvalidateAll();
        }
        return;
    }
    if (!root_) {
        return;
    }
    std::vector<CControlUI*> order =
        ControlsInTreeOrder(*root_, SkinSearchFlags::kVisible | SkinSearchFlags::kEnabled);
    if (!forward) {
        std::reverse(order.begin(), order.end());
    }
    auto start = std::find(order.begin(), order.end(), focus_);
    const size_t first = start == order.end() ? 0 : static_cast<size_t>(start - order.begin()) + 1;
    for (size_t step = 0; step < order.size(); ++step) {
        CControlUI* candidate = order[(first + step) % order.size()];
        if ((candidate->ControlFlags() & SkinControlFlags::kTabStop) != 0) {
            SetFocus(candidate);
            return;
        }
    }
}

}  // namespace SkinUI
