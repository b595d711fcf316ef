// The manager's notifications: stamped, then told to the sender's hooks and the window's listeners at
// once or at the start of the next message.
#include "skin/manager/INotifyUI.h"
#include "skin/manager/ManagerUI.h"

namespace SkinUI {
namespace {

const std::wstring& VirtualWindowOf(const CControlUI* control) {
    static const std::wstring none;
    for (; control != nullptr; control = control->Parent()) {
        if (!control->VirtualWindow().empty()) {
            return control->VirtualWindow();
        }
    }
    return none;
}

}  // namespace

void CSkinManagerUI::RaiseNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam,
                                 intptr_t lParam, bool async) {
    SkinNotify notify;
    notify.type = type;
    notify.sender = sender;
    notify.wParam = wParam;
    notify.lParam = lParam;
    RaiseNotify(notify, async);
}

void CSkinManagerUI::RaiseNotify(SkinNotify& notify, bool async) {
    notify.point = lastMousePoint_;
    notify.timestamp = Now();
    if (virtualWindowsUsed_) {
        notify.virtualWindow = VirtualWindowOf(notify.sender);
    }
    if (async) {
        queuedNotifications_.push_back(notify);
        return;
    }
    DeliverNotify(notify);
}

void CSkinManagerUI::DeliverNotify(SkinNotify& notify) {
    if (notify.sender != nullptr) {
        notify.sender->OnNotify().RunAll(notify);
    }
    // A listener may remove itself or others while it is told.
    notifiers_.ForEach([&notify](INotifyUI& listener) { listener.OnNotify(notify); });
}

void CSkinManagerUI::DeliverQueuedNotifications() {
    while (!queuedNotifications_.empty()) {
        SkinNotify notify = std::move(queuedNotifications_.front());
        queuedNotifications_.erase(queuedNotifications_.begin());
        DeliverNotify(notify);
    }
}

}  // namespace SkinUI
