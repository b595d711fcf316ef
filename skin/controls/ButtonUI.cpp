#include "skin/controls/ButtonUI.h"

#include <cwchar>

#include "skin/controls/ISkinControlHost.h"
#include "skin/drawing/CanvasDrawing.h"
#include "skin/markup/AttributeValues.h"

namespace SkinUI {
namespace {

constexpr uint16_t kSpaceKey = 32;
constexpr uint16_t kReturnKey = 13;

}  // namespace

CButtonUI::CButtonUI() {
    SetTextStyle(CanvasTextFormat::kCenter | CanvasTextFormat::kVerticalCenter |
                 CanvasTextFormat::kSingleLine);
}

const wchar_t* CButtonUI::ClassName() const {
    return L"ButtonUI";
}

void* CButtonUI::FindInterface(const wchar_t* name) {
    if (name != nullptr && IsNamed(name, L"Button")) {
        return this;
    }
    return CLabelUI::FindInterface(name);
}

uint32_t CButtonUI::ControlFlags() const {
    return (IsKeyboardEnabled() ? SkinControlFlags::kTabStop : 0) |
           (IsEnabled() ? SkinControlFlags::kSetCursor : 0);
}

bool CButtonUI::TryActivate() {
    if (!CControlUI::TryActivate()) {
        return false;
    }
    SendNotify(SkinNotifyType::kClick, 0, 0);
    return true;
}

void CButtonUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!enabled) {
        state_ = 0;
    }
}

void CButtonUI::HandleEvent(SkinEvent& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        // A button that ignores the mouse lets it through to what lies below.
        if (Parent() != nullptr) {
            Parent()->HandleEvent(event);
        } else {
            CLabelUI::HandleEvent(event);
        }
        return;
    }
    switch (event.type) {
        case SkinEventType::kSetFocus:
        case SkinEventType::kKillFocus:
            Invalidate();
            break;
        case SkinEventType::kKeyDown:
            if (IsKeyboardEnabled() && (event.keyChar == kSpaceKey || event.keyChar == kReturnKey)) {
                TryActivate();
                return;
            }
            break;
        case SkinEventType::kButtonDown:
        case SkinEventType::kDoubleClick:
            if (Contains(event.point) && IsEnabled()) {
                state_ |= SkinButtonState::kPushed | SkinButtonState::kCaptured;
                Invalidate();
            }
            return;
        case SkinEventType::kMouseMove:
            if ((state_ & SkinButtonState::kCaptured) != 0) {
                SetStateBit(SkinButtonState::kPushed, Contains(event.point));
                Invalidate();
            }
            return;
        case SkinEventType::kButtonUp:
            if ((state_ & SkinButtonState::kCaptured) != 0) {
                state_ &= ~(SkinButtonState::kPushed | SkinButtonState::kCaptured);
                Invalidate();
                // Released over the button: a click; released elsewhere: nothing.
                if (Contains(event.point)) {
                    TryActivate();
                }
            }
            return;
        case SkinEventType::kContextMenu:
            if (ContextMenuUsed()) {
                SendNotify(SkinNotifyType::kMenu, event.wParam, event.lParam);
            }
            return;
        case SkinEventType::kMouseEnter:
        case SkinEventType::kMouseLeave:
            if (IsEnabled()) {
                SetStateBit(SkinButtonState::kHot, event.type == SkinEventType::kMouseEnter);
                Invalidate();
            }
            break;
        case SkinEventType::kSetCursor:
            if (Manager() != nullptr) {
                Manager()->SetCursor(SkinCursor::Hand);
            }
            return;
        default:
            break;
    }
    CLabelUI::HandleEvent(event);
}

void CButtonUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr || value == nullptr) {
        return;
    }
    if (IsNamed(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (IsNamed(name, L"hotimage")) {
        SetHotImage(value);
    } else if (IsNamed(name, L"pushedimage")) {
        SetPushedImage(value);
    } else if (IsNamed(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (IsNamed(name, L"disabledimage")) {
        SetDisabledImage(value);
    } else if (IsNamed(name, L"foreimage")) {
        SetForeImage(value);
    } else if (IsNamed(name, L"hotforeimage")) {
        SetHotForeImage(value);
    } else if (IsNamed(name, L"hotbkcolor")) {
        SetHotBkColor(ParseColorText(value));
    } else if (IsNamed(name, L"hottextcolor")) {
        SetHotTextColor(ParseColorText(value));
    } else if (IsNamed(name, L"pushedtextcolor")) {
        SetPushedTextColor(ParseColorText(value));
    } else if (IsNamed(name, L"focusedtextcolor")) {
        SetFocusedTextColor(ParseColorText(value));
    } else {
        CLabelUI::ApplyAttribute(name, value);
    }
}

void CButtonUI::PaintStateImage(SkinCanvas& canvas) {
    SetStateBit(SkinButtonState::kFocused, IsFocused());
    SetStateBit(SkinButtonState::kDisabled, !IsEnabled());
    if ((state_ & SkinButtonState::kDisabled) != 0) {
        DrawEither(canvas, disabledImage_, normalImage_);
        DrawForeImage(canvas);
    } else if ((state_ & SkinButtonState::kPushed) != 0) {
        DrawEither(canvas, pushedImage_, normalImage_);
        if (!DrawImage(canvas, pushedForeImage_)) {
            DrawForeImage(canvas);
        }
    } else if ((state_ & SkinButtonState::kHot) != 0) {
        DrawEither(canvas, hotImage_, normalImage_);
        if (!DrawImage(canvas, hotForeImage_)) {
            if (hotBkColor_ != 0) {
                FillColor(canvas, PaintRect(), hotBkColor_);
            } else {
                DrawForeImage(canvas);
            }
        }
    } else if ((state_ & SkinButtonState::kFocused) != 0) {
        DrawEither(canvas, focusedImage_, normalImage_);
        DrawForeImage(canvas);
    } else {
        DrawImage(canvas, normalImage_);
        DrawForeImage(canvas);
    }
}

void CButtonUI::PaintTextPart(SkinCanvas& canvas) {
    ResolveTextColors();
    SkinColor color = IsEnabled() ? TextColor() : DisabledTextColor();
    if ((state_ & SkinButtonState::kPushed) != 0 && pushedTextColor_ != 0) {
        color = pushedTextColor_;
    } else if ((state_ & SkinButtonState::kHot) != 0 && hotTextColor_ != 0) {
        color = hotTextColor_;
    } else if ((state_ & SkinButtonState::kFocused) != 0 && focusedTextColor_ != 0) {
        color = focusedTextColor_;
    }
    DrawLabelText(canvas, color, TextStyle());
}

void CButtonUI::SetHotBkColor(SkinColor color) {
    hotBkColor_ = color;
    Invalidate();
}

void CButtonUI::SetHotTextColor(SkinColor color) {
    hotTextColor_ = color;
    Invalidate();
}

void CButtonUI::SetPushedTextColor(SkinColor color) {
    pushedTextColor_ = color;
    Invalidate();
}

void CButtonUI::SetFocusedTextColor(SkinColor color) {
    focusedTextColor_ = color;
    Invalidate();
}

void CButtonUI::SetStateBit(uint32_t bit, bool on) {
    state_ = on ? state_ | bit : state_ & ~bit;
}

void CButtonUI::DrawEither(SkinCanvas& canvas, SkinImageDescriptor& first, SkinImageDescriptor& fallback) {
    if (!DrawImage(canvas, first)) {
        DrawImage(canvas, fallback);
    }
}

}  // namespace SkinUI
