#pragma once

#include <cstdint>

#include "skin/markup/Geometry.h"

namespace SkinUI {

// What a skin's "Window" element sets on the window's manager. Sizes of 0 mean no limit.
class ISkinWindowSettings {
  public:
    // The window takes this client size at once.
    virtual void SetInitialSize(const SkinSize& size) = 0;
    // Widths of the resize borders (left, top, right, bottom).
    virtual void SetSizeBox(const SkinRect& box) = 0;
    // Left and right are margins from the client edges, top and bottom absolute.
    virtual void SetCaptionRect(const SkinRect& caption) = 0;
    virtual void SetRoundCorner(const SkinSize& corner) = 0;
    virtual void SetMinInfo(const SkinSize& size) = 0;
    virtual void SetMaxInfo(const SkinSize& size) = 0;
    // Outline every repainted rectangle.
    virtual void SetShowUpdateRect(bool show) = 0;
    // Constant opacity of the whole window; 255 is opaque.
    virtual void SetOpacity(uint8_t opacity) = 0;

  protected:
    ~ISkinWindowSettings() = default;
};

}  // namespace SkinUI
