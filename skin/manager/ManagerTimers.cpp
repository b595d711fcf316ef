// The manager's timers: set and killed for a control, and the window's timer message given to the
// control as a timer event.
#include "skin/manager/ManagerUI.h"

namespace SkinUI {

bool CSkinManagerUI::SetTimer(CControlUI* control, uint32_t timerId, uint32_t elapseMs) {
    return port_ != nullptr && Owns(control) && timers_.Set(*port_, control, timerId, elapseMs);
}

bool CSkinManagerUI::KillTimer(CControlUI* control, uint32_t timerId) {
    return port_ != nullptr && timers_.Kill(*port_, control, timerId);
}

void CSkinManagerUI::KillTimer(CControlUI* control) {
    if (port_ != nullptr) {
        timers_.Forget(*port_, control);
    }
}

void CSkinManagerUI::KillAllTimers() {
    if (port_ != nullptr) {
        timers_.KillAll(*port_);
    }
}

void CSkinManagerUI::OnTimer(uint32_t windowTimerId) {
    if (const SkinTimerTable::Record* record = timers_.FindLive(windowTimerId)) {
        SendEvent(record->control, SkinEventType::kTimer, lastMousePoint_, record->id);
    }
}

}  // namespace SkinUI
