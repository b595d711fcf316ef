#pragma once

#include <cstdint>

#include "skin/controls/LabelUI.h"

namespace SkinUI {

// Bits of a button's state.
namespace SkinButtonState {
constexpr uint32_t kFocused = 0x01;
constexpr uint32_t kDisabled = 0x04;
constexpr uint32_t kHot = 0x08;
constexpr uint32_t kPushed = 0x10;
constexpr uint32_t kCaptured = 0x40;
}  // namespace SkinButtonState

// A label that follows the mouse and the keyboard: hot, pushed, captured, focused and disabled states,
// an image per state, and the "click" notification when activated.
class CButtonUI : public CLabelUI {
  public:
    CButtonUI();

    const wchar_t* ClassName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t ControlFlags() const override;
    bool TryActivate() override;
    void SetEnabled(bool enabled) override;
    void HandleEvent(SkinEvent& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintStateImage(SkinCanvas& canvas) override;
    void PaintTextPart(SkinCanvas& canvas) override;

    uint32_t ButtonState() const { return state_; }

    SkinColor HotBkColor() const { return hotBkColor_; }
    void SetHotBkColor(SkinColor color);
    SkinColor HotTextColor() const { return hotTextColor_; }
    void SetHotTextColor(SkinColor color);
    SkinColor PushedTextColor() const { return pushedTextColor_; }
    void SetPushedTextColor(SkinColor color);
    SkinColor FocusedTextColor() const { return focusedTextColor_; }
    void SetFocusedTextColor(SkinColor color);

    void SetNormalImage(const std::wstring& descriptor) { UpdateDescriptor(normalImage_, descriptor); }
    void SetHotImage(const std::wstring& descriptor) { UpdateDescriptor(hotImage_, descriptor); }
    void SetHotForeImage(const std::wstring& descriptor) { UpdateDescriptor(hotForeImage_, descriptor); }
    void SetPushedImage(const std::wstring& descriptor) { UpdateDescriptor(pushedImage_, descriptor); }
    void SetFocusedImage(const std::wstring& descriptor) { UpdateDescriptor(focusedImage_, descriptor); }
    void SetDisabledImage(const std::wstring& descriptor) { UpdateDescriptor(disabledImage_, descriptor); }
    const SkinImageDescriptor& NormalImage() const { return normalImage_; }
    const SkinImageDescriptor& HotImage() const { return hotImage_; }
    const SkinImageDescriptor& PushedImage() const { return pushedImage_; }
    const SkinImageDescriptor& DisabledImage() const { return disabledImage_; }

  private:
    bool Contains(const SkinPoint& point) const { return RectContainsPoint(ItemRect(), point); }
    void SetStateBit(uint32_t bit, bool on);
    // The first descriptor of the two that draws.
    void DrawEither(SkinCanvas& canvas, SkinImageDescriptor& first, SkinImageDescriptor& fallback);

    uint32_t state_ = 0;
    SkinColor hotBkColor_ = 0;
    SkinColor hotTextColor_ = 0;
    SkinColor pushedTextColor_ = 0;
    SkinColor focusedTextColor_ = 0;
    SkinImageDescriptor normalImage_;
    SkinImageDescriptor hotImage_;
    SkinImageDescriptor hotForeImage_;
    SkinImageDescriptor pushedImage_;
    SkinImageDescriptor pushedForeImage_;  // no attribute sets it
    SkinImageDescriptor focusedImage_;
    SkinImageDescriptor disabledImage_;
};

}  // namespace SkinUI
