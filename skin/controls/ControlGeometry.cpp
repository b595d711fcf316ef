// Where a control is and how big it asks to be: its rectangle, the sizes and paddings the layout
// reads, floating placement, and the layout and repaint a change of them makes due.
#include "skin/controls/ControlUI.h"
#include "skin/controls/ISkinControlHost.h"
#include "skin/markup/AttributeValues.h"

namespace SkinUI {

const SkinRect& CControlUI::ItemRect() const {
    return itemRect_;
}

SkinRect CControlUI::RelativeItemRect() const {
    if (parent_ == nullptr) {
        return SkinRect{};
    }
    const SkinRect& origin = parent_->ItemRect();
    return SkinRect{itemRect_.left - origin.left, itemRect_.top - origin.top, itemRect_.right - origin.left,
                    itemRect_.bottom - origin.top};
}

void CControlUI::Place(const SkinRect& rect, bool invalidate) {
    SkinRect placed = rect;
    if (placed.right < placed.left) {
        placed.right = placed.left;
    }
    if (placed.bottom < placed.top) {
        placed.bottom = placed.top;
    }
    SkinRect old = itemRect_;
    if (floating_ && parent_ != nullptr) {
        // The rectangle is relative to the parent; the fixed position and size are taken back from it
        // so that the next layout of the parent puts the control at the same place.
        const SkinRect& origin = parent_->ItemRect();
        itemRect_ = SkinRect{placed.left + origin.left, placed.top + origin.top, placed.right + origin.left,
                             placed.bottom + origin.top};
        const int32_t width = origin.Width();
        const int32_t height = origin.Height();
        fixedPosition_.cx = placed.left - ScaleByFraction(width, relativePosition_.left);
        fixedPosition_.cy = placed.top - ScaleByFraction(height, relativePosition_.top);
        fixedWidth_ = placed.right - ScaleByFraction(width, relativePosition_.right) - fixedPosition_.cx;
        fixedHeight_ = placed.bottom - ScaleByFraction(height, relativePosition_.bottom) - fixedPosition_.cy;
    } else {
        itemRect_ = placed;
    }
    if (old.IsEmpty()) {
        old = itemRect_;
    }
    if (manager_ == nullptr) {
        return;
    }
    if (!sizeHooksRunning_) {
        sizeHooksRunning_ = true;
        sizeHooks_.RunAll(*this);
        sizeHooksRunning_ = false;
    }
    updateNeeded_ = false;
    if (invalidate && IsVisible()) {
        InvalidateClipped(UnionRects(old, itemRect_));
    }
}

void CControlUI::Move(int32_t dx, int32_t dy, bool invalidate) {
    const SkinRect old = itemRect_;
    itemRect_.left += dx;
    itemRect_.right += dx;
    itemRect_.top += dy;
    itemRect_.bottom += dy;
    // Both places need painting: where the control was and where it is now.
    if (invalidate && IsVisible()) {
        InvalidateClipped(UnionRects(old, itemRect_));
    }
}

int32_t CControlUI::Width() const {
    return itemRect_.Width();
}

int32_t CControlUI::Height() const {
    return itemRect_.Height();
}

int32_t CControlUI::X() const {
    return itemRect_.left;
}

int32_t CControlUI::Y() const {
    return itemRect_.top;
}

SkinRect CControlUI::Padding() const {
    return padding_;
}

void CControlUI::SetPadding(const SkinRect& padding) {
    padding_ = padding;
    MarkParentLayoutDirty();
}

SkinSize CControlUI::FloatOffset() const {
    return fixedPosition_;
}

void CControlUI::SetFloatOffset(const SkinSize& offset) {
    fixedPosition_ = offset;
    MarkGeometryDirty();
}

int32_t CControlUI::FixedWidth() const {
    return fixedWidth_;
}

void CControlUI::SetFixedWidth(int32_t width) {
    if (width < 0) {
        return;
    }
    fixedWidth_ = width;
    MarkGeometryDirty();
}

int32_t CControlUI::FixedHeight() const {
    return fixedHeight_;
}

void CControlUI::SetFixedHeight(int32_t height) {
    if (height < 0) {
        return;
    }
    fixedHeight_ = height;
    MarkGeometryDirty();
}

int32_t CControlUI::MinWidth() const {
    return minWidth_;
}

void CControlUI::SetMinWidth(int32_t width) {
    if (minWidth_ == width || width < 0) {
        return;
    }
    minWidth_ = width;
    MarkParentLayoutDirty();
}

int32_t CControlUI::MaxWidth() const {
    return maxWidth_;
}

void CControlUI::SetMaxWidth(int32_t width) {
    if (maxWidth_ == width || width < 0) {
        return;
    }
    maxWidth_ = width;
    MarkParentLayoutDirty();
}

int32_t CControlUI::MinHeight() const {
    return minHeight_;
}

void CControlUI::SetMinHeight(int32_t height) {
    if (minHeight_ == height || height < 0) {
        return;
    }
    minHeight_ = height;
    MarkParentLayoutDirty();
}

int32_t CControlUI::MaxHeight() const {
    return maxHeight_;
}

void CControlUI::SetMaxHeight(int32_t height) {
    if (maxHeight_ == height || height < 0) {
        return;
    }
    maxHeight_ = height;
    MarkParentLayoutDirty();
}

SkinFractionRect CControlUI::AnchorRule() const {
    return relativePosition_;
}

void CControlUI::SetAnchorRule(const SkinFractionRect& rule) {
    relativePosition_ = rule;
    MarkParentLayoutDirty();
}

bool CControlUI::IsFloat() const {
    return floating_;
}

void CControlUI::SetFloat(bool floating) {
    if (floating_ == floating) {
        return;
    }
    floating_ = floating;
    MarkParentLayoutDirty();
}

SkinSize CControlUI::DesiredSize(const SkinSize&) {
    return SkinSize{fixedWidth_, fixedHeight_};
}

void CControlUI::Invalidate() {
    if (IsVisible()) {
        InvalidateClipped(itemRect_);
    }
}

void CControlUI::InvalidateClipped(const SkinRect& rect) {
    if (manager_ == nullptr) {
        return;
    }
    SkinRect visible = rect;
    for (const CControlUI* ancestor = parent_; ancestor != nullptr; ancestor = ancestor->parent_) {
        if (!ancestor->IsVisible() || !IntersectRects(visible, ancestor->itemRect_, visible)) {
            return;
        }
    }
    if (!visible.IsEmpty()) {
        manager_->InvalidateRect(visible);
    }
}

void CControlUI::MarkLayoutDirty() {
    if (!IsVisible()) {
        return;
    }
    updateNeeded_ = true;
    Invalidate();
    if (manager_ != nullptr) {
        manager_->NoteLayoutDue();
    }
}

void CControlUI::MarkParentLayoutDirty() {
    if (parent_ != nullptr) {
        parent_->MarkLayoutDirty();
        parent_->Invalidate();
    } else {
        MarkLayoutDirty();
    }
    if (manager_ != nullptr) {
        manager_->NoteLayoutDue();
    }
}

void CControlUI::MarkGeometryDirty() {
    if (floating_) {
        MarkLayoutDirty();
    } else {
        MarkParentLayoutDirty();
    }
}

}  // namespace SkinUI
