// A control's states: shown, enabled, taking mouse and keyboard input, focused.
#include "skin/controls/ControlUI.h"
#include "skin/controls/ISkinControlHost.h"

namespace SkinUI {

bool CControlUI::IsVisible() const {
    return visible_ && visibleByParent_;
}

void CControlUI::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    const bool wasVisible = IsVisible();
    visible_ = visible;
    focused_ = false;
    if (!IsVisible() && manager_ != nullptr && manager_->FocusControl() == this) {
        manager_->SetFocusControl(nullptr);
    }
    if (IsVisible() != wasVisible) {
        MarkParentLayoutDirty();
    }
}

void CControlUI::SetVisibleByParent(bool visible) {
    visibleByParent_ = visible;
    if (!IsVisible() && manager_ != nullptr && manager_->FocusControl() == this) {
        manager_->SetFocusControl(nullptr);
    }
}

bool CControlUI::IsEnabled() const {
    return enabled_;
}

void CControlUI::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const {
    return mouseEnabled_;
}

void CControlUI::SetMouseEnabled(bool enabled) {
    mouseEnabled_ = enabled;
}

bool CControlUI::IsKeyboardEnabled() const {
    return keyboardEnabled_;
}

void CControlUI::SetKeyboardEnabled(bool enabled) {
    keyboardEnabled_ = enabled;
}

bool CControlUI::IsFocused() const {
    return focused_;
}

void CControlUI::SetFocus() {
    if (manager_ != nullptr) {
        manager_->SetFocusControl(this);
    }
}

}  // namespace SkinUI
