#include "tests/support/skin/TestControlHost.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "skin/controls/ControlSearch.h"

namespace testsupport {

using SkinUI::CControlUI;
using SkinUI::SkinPoint;
namespace Events = SkinUI::SkinEventType;

TestControlHost::~TestControlHost() {
    // The controls tell the host they are going: it must still be whole then.
    root_.reset();
    destroyLater.clear();
}

CControlUI* TestControlHost::Attach(std::unique_ptr<CControlUI> root,
                                    SkinUI::ISkinWindowObject* windowObject) {
    root_ = std::move(root);
    focus_ = hover_ = click_ = nullptr;
    if (root_) {
        root_->AttachManager(this, nullptr, windowObject, true);
    }
    return root_.get();
}

CControlUI* TestControlHost::Find(const std::wstring& name) const {
    return root_ ? SkinUI::FindControlByName(*root_, name) : nullptr;
}

void TestControlHost::Send(CControlUI& control, int32_t type, const SkinPoint& point, uint16_t key) {
    SkinUI::SkinEvent event;
    event.type = type;
    event.sender = &control;
    event.point = point;
    event.keyChar = key;
    control.Event(event);
}

void TestControlHost::MouseMove(const SkinPoint& point) {
    CControlUI* now = SkinUI::FindControlAt(*root_, point);
    if (now != hover_) {
        CControlUI* old = hover_;
        hover_ = now;
        if (old != nullptr) {
            Send(*old, Events::kMouseLeave, point);
        }
        if (now != nullptr) {
            Send(*now, Events::kMouseEnter, point);
        }
    }
    if (CControlUI* target = click_ != nullptr ? click_ : hover_) {
        Send(*target, Events::kMouseMove, point);
    }
}

void TestControlHost::MouseDown(const SkinPoint& point) {
    click_ = SkinUI::FindControlAt(*root_, point);
    if (click_ != nullptr) {
        click_->SetFocus();
        Send(*click_, Events::kButtonDown, point);
    }
}

void TestControlHost::MouseUp(const SkinPoint& point) {
    if (CControlUI* released = std::exchange(click_, nullptr)) {
        Send(*released, Events::kButtonUp, point);
    }
}

std::vector<TestControlHost::Notification> TestControlHost::NotificationsOf(const std::wstring& type) const {
    std::vector<Notification> found;
    std::copy_if(notifications.begin(), notifications.end(), std::back_inserter(found),
                 [&type](const Notification& n) { return n.type == type; });
    return found;
}

void TestControlHost::SetFocusControl(CControlUI* control) {
    if (control == focus_) {
        return;
    }
    if (CControlUI* old = std::exchange(focus_, nullptr)) {
        Send(*old, Events::kKillFocus);
        RaiseNotify(old, SkinUI::SkinNotifyType::kKillFocus, 0, 0, false);
    }
    if (control != nullptr && control->IsVisible() && control->IsEnabled()) {
        focus_ = control;
        Send(*control, Events::kSetFocus);
        RaiseNotify(control, SkinUI::SkinNotifyType::kSetFocus, 0, 0, false);
    }
}

void TestControlHost::RaiseNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam,
                                  intptr_t lParam, bool) {
    notifications.push_back(Notification{type, sender});
    if (sender != nullptr) {
        SkinUI::SkinNotify notify;
        notify.type = type;
        notify.sender = sender;
        notify.wParam = wParam;
        notify.lParam = lParam;
        sender->OnNotify().RunAll(notify);
    }
}

void TestControlHost::ForgetControl(CControlUI* control) {
    forgotten.push_back(control);
    for (CControlUI** target : {&focus_, &hover_, &click_}) {
        if (*target == control) {
            *target = nullptr;
        }
    }
}

}  // namespace testsupport
