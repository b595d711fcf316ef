#pragma once

#include <cstdint>

#include "skin/controls/ContainerUI.h"

namespace SkinUI {

// What vertical and horizontal layouts share: children distributed along one axis between fixed-size
// and stretchable ones, and a separator strip along one edge that resizes the layout by dragging.
class CLinearLayoutUI : public CContainerUI {
  public:
    uint32_t ControlFlags() const override;
    void Place(const SkinRect& rect, bool invalidate) override;
    void HandleEvent(SkinEvent& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintOverlay(SkinCanvas& canvas, const SkinRect& paintRect) override;

    bool IsVertical() const { return vertical_; }
    // 0: no separator; positive: along the bottom (right) edge; negative: along the top (left) edge.
    // The magnitude is the strip's thickness.
    int32_t SeparatorSize() const { return separatorSize_; }
    void SetSeparatorSize(int32_t size);
    // Whether a drag resizes at every move rather than on release.
    bool SeparatorImmediate() const { return separatorImmediate_; }
    void SetSeparatorImmediate(bool immediate) { separatorImmediate_ = immediate; }
    // The separator strip of the layout's item rectangle; empty without a separator.
    SkinRect SeparatorStrip() const { return StripOf(ItemRect()); }
    bool IsDraggingSeparator() const { return dragging_; }

  protected:
    explicit CLinearLayoutUI(bool vertical);

  private:
    // Sizes and places the children inside the content area (the second and third passes of a layout).
    void DistributeChildren();
    SkinRect StripOf(const SkinRect& rect) const;
    bool HandleSeparatorEvent(const SkinEvent& event);
    SkinRect DraggedTo(const SkinPoint& point) const;
    void ApplyDraggedSize();

    bool vertical_;
    int32_t separatorSize_ = 0;
    bool separatorImmediate_ = false;
    bool dragging_ = false;
    SkinPoint dragStart_;
    SkinRect dragStartRect_;
    SkinRect draggedRect_;
};

}  // namespace SkinUI
