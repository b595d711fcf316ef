#pragma once

namespace SkinUI {

// The window object a control tree belongs to (a control's association).
class ISkinWindowObject {
  public:
    // The window composes its client area with per-pixel transparency.
    virtual void SetTransparentBackground(bool transparent) = 0;
    virtual bool TransparentBackground() const = 0;

  protected:
    ~ISkinWindowObject() = default;
};

}  // namespace SkinUI
