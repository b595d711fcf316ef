#include "tests/support/skin/TestControlHost.h"

#include <algorithm>

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

void TestControlHost::Layout(const SkinUI::SkinRect& client) {
    if (root_) {
        root_->Place(client, true);
    }
}

void TestControlHost::Paint(SkinUI::SkinCanvas& canvas, const SkinUI::SkinRect& paintRect) {
    if (!root_) {
        return;
    }
    root_->Paint(canvas, paintRect);
    for (CControlUI* control : std::vector<CControlUI*>(postPaint)) {
        control->PaintOverlay(canvas, paintRect);
    }
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
    CControlUI* now = root_ ? SkinUI::FindControlAt(*root_, point) : nullptr;
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
    click_ = root_ ? SkinUI::FindControlAt(*root_, point) : nullptr;
    if (click_ != nullptr) {
        click_->SetFocus();
        Send(*click_, Events::kButtonDown, point);
    }
}

void TestControlHost::MouseUp(const SkinPoint& point) {
    if (CControlUI* released = click_) {
        click_ = nullptr;
        Send(*released, Events::kButtonUp, point);
    }
}

void TestControlHost::Click(const SkinPoint& point) {
    MouseMove(point);
    MouseDown(point);
    MouseUp(point);
}

std::vector<TestControlHost::Notification> TestControlHost::NotificationsOf(const std::wstring& type) const {
    std::vector<Notification> found;
    for (const Notification& n : notifications) {
        if (n.type == type) {
            found.push_back(n);
        }
    }
    return found;
}

void TestControlHost::ClearRecords() {
    invalidated.clear();
    layoutRequests = 0;
    notifications.clear();
}

void TestControlHost::AddPostPaintControl(CControlUI* control) {
    if (std::find(postPaint.begin(), postPaint.end(), control) == postPaint.end()) {
        postPaint.push_back(control);
    }
}

void TestControlHost::RemovePostPaintControl(CControlUI* control) {
    postPaint.erase(std::remove(postPaint.begin(), postPaint.end(), control), postPaint.end());
}

void TestControlHost::SetFocusControl(CControlUI* control) {
    if (control == focus_) {
        return;
    }
    if (CControlUI* old = focus_) {
        focus_ = nullptr;
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
    notifications.push_back(Notification{type, sender, wParam, lParam});
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
    RemovePostPaintControl(control);
}

}  // namespace testsupport
