// The manager's message routing: each window message to the control it concerns (the one under the
// mouse, the pressed one, the focused one) as an event, with the mouse capture and the hot control kept
// up to date.
#include "skin/manager/IMessageFilterUI.h"
#include "skin/manager/ManagerUI.h"

namespace SkinUI {
namespace {

// Hover time when there is no tooltip whose delay could be used.
constexpr uint32_t kDefaultHoverMs = 400;
// The item of a context-menu message given from the keyboard rather than at a mouse point.
constexpr uint16_t kKeyboardContextMenu = 0xFFFF;
// The hit-test part of a set-cursor message that stands for the client area.
constexpr uint16_t kHitClient = 1;

}  // namespace

void CSkinManagerUI::SendEvent(CControlUI* control, int32_t type, const SkinPoint& point, uintptr_t wParam,
                               intptr_t lParam, uint16_t keyChar, uint16_t keyState) {
    if (!Owns(control)) {
        return;
    }
    SkinEvent event;
    event.type = type;
    event.sender = control;
    event.timestamp = Now();
    event.point = point;
    event.keyChar = keyChar;
    event.keyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    control->Event(event);
}

void CSkinManagerUI::SetCapture() {
    if (port_ != nullptr) {
        port_->CaptureMouse();
    }
    mouseCapture_ = true;
}

void CSkinManagerUI::ReleaseCapture() {
    if (port_ != nullptr) {
        port_->ReleaseMouse();
    }
    mouseCapture_ = false;
}

bool CSkinManagerUI::OfferToFilters(const SkinPointerList<IMessageFilterUI>& filters, uint32_t message,
                                    uintptr_t wParam, intptr_t lParam, intptr_t& result) {
    return filters.AnyTakes([&](IMessageFilterUI& filter) {
        bool handled = false;
        const intptr_t answer = filter.HandleWindowMessage(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
        }
        return handled;
    });
}

bool CSkinManagerUI::HandleWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                         intptr_t& result) {
    if (port_ == nullptr) {
        return false;
    }
    DeliverQueuedNotifications();
    return OfferToFilters(messageFilters_, message, wParam, lParam, result) ||
           HandleByMessage(message, wParam, lParam, result);
}

bool CSkinManagerUI::HandleByMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
    namespace M = SkinMessage;
    switch (message) {
        case M::kClose:
            OnClose();
            return false;
        case M::kEraseBackground:
            result = 1;
            return true;
        case M::kPaint:
            OnPaint();
            result = 0;
            return true;
        case M::kPrintClient:
            if (root_) {
                port_->PrintClient(wParam, lParam, *this);
            }
            result = 0;
            return true;
        case M::kGetMinMaxInfo:
            port_->ApplyTrackingLimits(lParam, minInfo_, maxInfo_);
            return false;
        case M::kSize:
            SendEvent(focus_, SkinEventType::kWindowSize, lastMousePoint_);
            if (root_) {
                root_->MarkLayoutDirty();
            }
            MarkLayoutDirty();
            return false;
        case M::kTimer:
            OnTimer(static_cast<uint32_t>(wParam));
            result = 0;
            return true;
        case M::kSetCursor:
            if (OnSetCursor(lParam)) {
                result = 1;
                return true;
            }
            return false;
        case M::kNotify:
        case M::kCommand:
            return port_->ReflectToChild(message, wParam, lParam, result);
        case M::kDestroyDeferredControls:
            DestroyDeferredControls();
            result = 0;
            return true;
        default:
            break;
    }
    if (message >= M::kFirstControlColor && message <= M::kLastControlColor) {
        return port_->ReflectToChild(message, wParam, lParam, result);
    }
    if (HandleMouseMessage(message, wParam, lParam) || HandleKeyMessage(message, wParam, lParam)) {
        result = 0;
        return false;  // handled for the controls; the window's default processing still runs
    }
    return false;
}

bool CSkinManagerUI::HandleMouseMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    namespace M = SkinMessage;
    switch (message) {
        case M::kMouseHover:
            OnMouseHover(PointFromLParam(lParam));
            return true;
        case M::kMouseLeave:
            OnMouseLeave();
            return true;
        case M::kMouseMove:
            OnMouseMove(PointFromLParam(lParam), wParam);
            return true;
        case M::kLeftButtonDown:
            OnButtonDown(SkinEventType::kButtonDown, PointFromLParam(lParam), wParam);
            return true;
        case M::kLeftButtonDoubleClick:
            OnButtonDown(SkinEventType::kDoubleClick, PointFromLParam(lParam), wParam);
            return true;
        case M::kRightButtonDown:
            OnButtonDown(SkinEventType::kRightButtonDown, PointFromLParam(lParam), wParam);
            return true;
        case M::kLeftButtonUp:
            OnButtonUp(PointFromLParam(lParam), wParam);
            return true;
        case M::kContextMenu:
            OnContextMenu(lParam);
            return true;
        case M::kMouseWheel:
            OnMouseWheel(wParam, lParam);
            return true;
        default:
            return false;
    }
}

bool CSkinManagerUI::HandleKeyMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    namespace M = SkinMessage;
    const auto keyChar = static_cast<uint16_t>(wParam);
    switch (message) {
        case M::kChar:
            SendEvent(focus_, SkinEventType::kChar, lastMousePoint_, wParam, lParam, keyChar);
            return true;
        case M::kKeyDown:
            SendEvent(focus_, SkinEventType::kKeyDown, lastMousePoint_, wParam, lParam, keyChar);
            key_ = focus_;
            return true;
        case M::kKeyUp:
            if (CControlUI* released = key_) {
                key_ = nullptr;
                SendEvent(released, SkinEventType::kKeyUp, lastMousePoint_, wParam, lParam, keyChar);
            }
            return true;
        default:
            return false;
    }
}

void CSkinManagerUI::OnClose() {
    if (CControlUI* hovered = hover_) {
        hover_ = nullptr;
        SendEvent(hovered, SkinEventType::kMouseLeave, lastMousePoint_);
    }
    if (CControlUI* pressed = click_) {
        click_ = nullptr;
        SendEvent(pressed, SkinEventType::kButtonUp, lastMousePoint_);
    }
    SetFocus(nullptr);
    port_->GiveFocusToOwner();
}

void CSkinManagerUI::OnMouseHover(const SkinPoint& point) {
    mouseTracking_ = false;
    CControlUI* control = SearchControls(point);
    if (control == nullptr) {
        return;
    }
    SendEvent(control, SkinEventType::kMouseHover, point);
    // The event may have changed or removed the control.
    if (Owns(control) && control == SearchControls(point) && !control->ToolTip().empty()) {
        port_->ShowTooltip(control->ToolTip(), control->ToolTipWidth(), control->ItemRect());
    }
}

void CSkinManagerUI::OnMouseLeave() {
    port_->HideTooltip();
    // The pointer left the window: whatever was hot is so no longer. A pointer that leaves right after
    // a hover (which disarmed the tracking) leaves a hot control behind too.
    if (mouseTracking_ || hover_ != nullptr) {
        mouseTracking_ = true;  // the move below must not ask for tracking again
        OnMouseMove(SkinPoint{-1, -1}, 0);
    }
    mouseTracking_ = false;
}

void CSkinManagerUI::OnMouseMove(const SkinPoint& point, uintptr_t keyState) {
    if (!mouseTracking_) {
        const int32_t delay = port_->TooltipInitialDelay();
        port_->TrackMouse(delay >= 0 ? static_cast<uint32_t>(delay) : kDefaultHoverMs);
        mouseTracking_ = true;
    }
    lastMousePoint_ = point;
    CControlUI* now = SearchControls(point);
    if (now != nullptr && !Owns(now)) {
        now = nullptr;
    }
    if (now != hover_) {
        CControlUI* old = hover_;
        hover_ = now;
        if (old != nullptr) {
            SendEvent(old, SkinEventType::kMouseLeave, point, keyState);
            port_->HideTooltip();
        }
        if (now != nullptr && hover_ == now) {
            SendEvent(now, SkinEventType::kMouseEnter, point, keyState);
        }
    }
    CControlUI* target = click_ != nullptr ? click_ : hover_;
    SendEvent(target, SkinEventType::kMouseMove, point, keyState);
}

void CSkinManagerUI::OnButtonDown(int32_t eventType, const SkinPoint& point, uintptr_t keyState) {
    port_->TakeKeyboardFocus();
    lastMousePoint_ = point;
    CControlUI* control = SearchControls(point);
    if (!Owns(control)) {
        return;
    }
    const bool right = eventType == SkinEventType::kRightButtonDown;
    // A right press takes the mouse only when no left press holds it; the context menu that follows
    // the release gives it back.
    if (!right || click_ == nullptr) {
        click_ = control;
    }
    if (eventType != SkinEventType::kDoubleClick) {
        control->SetFocus();
    }
    SetCapture();
    SendEvent(control, eventType, point, keyState, 0, 0, static_cast<uint16_t>(keyState));
}

void CSkinManagerUI::OnButtonUp(const SkinPoint& point, uintptr_t keyState) {
    lastMousePoint_ = point;
    if (click_ == nullptr) {
        return;
    }
    ReleaseCapture();
    CControlUI* released = click_;
    click_ = nullptr;
    SendEvent(released, SkinEventType::kButtonUp, point, keyState, 0, 0, static_cast<uint16_t>(keyState));
}

void CSkinManagerUI::OnContextMenu(intptr_t lParam) {
    const SkinPoint screen = PointFromLParam(lParam);
    const bool fromKeyboard = static_cast<uint16_t>(screen.x) == kKeyboardContextMenu &&
                              static_cast<uint16_t>(screen.y) == kKeyboardContextMenu;
    if (!fromKeyboard) {
        lastMousePoint_ = port_->ScreenToClient(screen);
    }
    if (click_ == nullptr) {
        return;
    }
    ReleaseCapture();
    CControlUI* target = click_;
    click_ = nullptr;
    SendEvent(target, SkinEventType::kContextMenu, lastMousePoint_, 0, lParam);
}

void CSkinManagerUI::OnMouseWheel(uintptr_t wParam, intptr_t lParam) {
    const SkinPoint point = port_->ScreenToClient(PointFromLParam(lParam));
    const uintptr_t direction = WheelDelta(wParam) > 0 ? kScrollLineUp : kScrollLineDown;
    SendEvent(SearchControls(point), SkinEventType::kScrollWheel, point, direction, lParam);
    // Whatever scrolled under the pointer gets its hot state from the pointer again.
    OnMouseMove(lastMousePoint_, 0);
}

bool CSkinManagerUI::OnSetCursor(intptr_t lParam) {
    if (static_cast<uint16_t>(static_cast<uint32_t>(lParam) & 0xFFFF) != kHitClient) {
        return false;
    }
    if (mouseCapture_) {
        return true;
    }
    const SkinPoint point = port_->CursorPosition();
    CControlUI* control = SearchControls(point);
    if (!Owns(control) || (control->ControlFlags() & SkinControlFlags::kSetCursor) == 0) {
        return false;
    }
    SendEvent(control, SkinEventType::kSetCursor, point);
    return true;
}

}  // namespace SkinUI
