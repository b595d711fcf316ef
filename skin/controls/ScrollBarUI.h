#pragma once

#include <cstdint>

#include "skin/controls/ControlUI.h"

namespace SkinUI {

// A container's scroll bar: where the container's view stands within the content it lays out. It
// paints like a plain control (background, border); dragging and arrow buttons are not part of it.
class CScrollBarUI : public CControlUI {
  public:
    static constexpr int32_t kThickness = 16;
    static constexpr int32_t kDefaultLineSize = 8;

    explicit CScrollBarUI(bool horizontal = false);

    const wchar_t* ClassName() const override;
    void* FindInterface(const wchar_t* name) override;

    bool IsHorizontal() const { return horizontal_; }
    // How far the view can move: 0 when the content fits.
    int32_t ScrollRange() const { return range_; }
    // Also brings the position back into the new range.
    void SetScrollRange(int32_t range);
    int32_t ScrollPos() const { return position_; }
    // Kept within 0..range.
    void SetScrollPos(int32_t position);
    int32_t LineSize() const { return lineSize_; }
    void SetLineSize(int32_t size);

  private:
    bool horizontal_;
    int32_t range_ = 0;
    int32_t position_ = 0;
    int32_t lineSize_ = kDefaultLineSize;
};

}  // namespace SkinUI
