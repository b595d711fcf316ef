#include "skin/controls/LinearLayoutUI.h"
#include "skin/markup/Numbers.h"

#include <algorithm>
#include <cwchar>
#include <limits>

#include "skin/controls/ISkinControlHost.h"
#include "skin/drawing/CanvasDrawing.h"
#include "skin/markup/AttributeValues.h"

namespace SkinUI {
namespace {

constexpr SkinColor kDraggedSeparatorColor = 0xAA000000;

bool IsShown(const CScrollBarUI* bar) {
    return bar != nullptr && bar->IsVisible();
}

int32_t ScrollPosOf(const CScrollBarUI* bar) {
    return IsShown(bar) ? bar->ScrollPos() : 0;
}

// The layout's axis ("main") and the one across it, so that one distribution serves both layouts.
struct Axis {
    bool vertical;

    int64_t Main(const SkinSize& size) const { return vertical ? size.cy : size.cx; }
    int64_t Cross(const SkinSize& size) const { return vertical ? size.cx : size.cy; }
    int32_t Main(const SkinPoint& point) const { return vertical ? point.y : point.x; }
    int32_t LeadingMain(const SkinRect& r) const { return vertical ? r.top : r.left; }
    int32_t TrailingMain(const SkinRect& r) const { return vertical ? r.bottom : r.right; }
    int32_t LeadingCross(const SkinRect& r) const { return vertical ? r.left : r.top; }
    int32_t TrailingCross(const SkinRect& r) const { return vertical ? r.right : r.bottom; }
    int32_t MainLength(const SkinRect& r) const { return vertical ? r.Height() : r.Width(); }

    int32_t FixedMain(const CControlUI& c) const { return vertical ? c.FixedHeight() : c.FixedWidth(); }
    int32_t FixedCross(const CControlUI& c) const { return vertical ? c.FixedWidth() : c.FixedHeight(); }
    int64_t ClampMain(const CControlUI& c, int64_t v) const {
        return vertical ? ClampToLimits(SaturateToInt32(v), c.MinHeight(), c.MaxHeight())
                        : ClampToLimits(SaturateToInt32(v), c.MinWidth(), c.MaxWidth());
    }
    int64_t ClampCross(const CControlUI& c, int64_t v) const {
        return vertical ? ClampToLimits(SaturateToInt32(v), c.MinWidth(), c.MaxWidth())
                        : ClampToLimits(SaturateToInt32(v), c.MinHeight(), c.MaxHeight());
    }

    SkinSize Size(int64_t main, int64_t cross) const {
        return vertical ? SkinSize{SaturateToInt32(cross), SaturateToInt32(main)}
                        : SkinSize{SaturateToInt32(main), SaturateToInt32(cross)};
    }
    SkinRect Rect(int64_t mainStart, int64_t mainEnd, int64_t crossStart, int64_t crossEnd) const {
        return vertical ? SkinRect{SaturateToInt32(crossStart), SaturateToInt32(mainStart),
                                   SaturateToInt32(crossEnd), SaturateToInt32(mainEnd)}
                        : SkinRect{SaturateToInt32(mainStart), SaturateToInt32(crossStart),
                                   SaturateToInt32(mainEnd), SaturateToInt32(crossEnd)};
    }
    SkinRect WithMainEdges(const SkinRect& r, int32_t start, int32_t end) const {
        return vertical ? SkinRect{r.left, start, r.right, end} : SkinRect{start, r.top, end, r.bottom};
    }
};

}  // namespace

CLinearLayoutUI::CLinearLayoutUI(bool vertical) : vertical_(vertical) {}

uint32_t CLinearLayoutUI::ControlFlags() const {
    return IsEnabled() && separatorSize_ != 0 ? SkinControlFlags::kSetCursor : 0;
}

void CLinearLayoutUI::Place(const SkinRect& rect, bool invalidate) {
    CControlUI::Place(rect, invalidate);
    DistributeChildren();
}

void CLinearLayoutUI::DistributeChildren() {
    const Axis axis{vertical_};
    const SkinRect rc = ContentArea();
    if (Count() == 0) {
        LayoutScrollBars(rc, 0, 0);
        return;
    }
    const CScrollBarUI* mainBar = vertical_ ? VerticalScrollBar() : HorizontalScrollBar();
    const CScrollBarUI* crossBar = vertical_ ? HorizontalScrollBar() : VerticalScrollBar();
    const int32_t childPadding = ChildPadding();

    // Pass 1: the space that fixed children, paddings and child padding take, and how many children
    // stretch (their desired size along the axis is 0).
    const int64_t availableMain = axis.MainLength(rc);
    const int64_t availableCross =
        (vertical_ ? rc.Width() : rc.Height()) + (IsShown(crossBar) ? crossBar->ScrollRange() : 0);
    const SkinSize available = axis.Size(availableMain, availableCross);
    int64_t fixedTotal = 0;
    int estimated = 0;
    int stretchable = 0;
    for (int i = 0; i < Count(); ++i) {
        CControlUI& child = *ItemAt(i);
        if (!child.IsVisible() || child.IsFloat()) {
            continue;
        }
        int64_t length = axis.Main(child.DesiredSize(available));
        if (length == 0) {
            ++stretchable;
        } else {
            length = axis.ClampMain(child, length);
        }
        const SkinRect padding = child.Padding();
        fixedTotal += length + axis.LeadingMain(padding) + axis.TrailingMain(padding);
        ++estimated;
    }
    fixedTotal += static_cast<int64_t>(estimated - 1) * childPadding;

    // Pass 2: every stretchable child gets the same whole share of what is left.
    const int64_t share =
        stretchable > 0 ? std::max<int64_t>(0, (availableMain - fixedTotal) / stretchable) : 0;

    // Pass 3: children placed one after the other; the last stretchable child takes the rest, so
    // that rounding leaves no gap.
    int64_t remainingMain = availableMain;
    int64_t position = axis.LeadingMain(rc) - ScrollPosOf(mainBar);
    const int64_t crossOrigin = axis.LeadingCross(rc) - ScrollPosOf(crossBar);
    int64_t fixedRemaining = fixedTotal;
    int64_t needed = 0;
    int stretchMet = 0;
    for (int i = 0; i < Count(); ++i) {
        CControlUI& child = *ItemAt(i);
        if (!child.IsVisible()) {
            continue;
        }
        if (child.IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        const SkinRect padding = child.Padding();
        const int64_t leading = axis.LeadingMain(padding);
        const int64_t trailing = axis.TrailingMain(padding);
        remainingMain -= leading;
        // What this child's paddings take is no longer ahead of it. Deliberately taken off here, once:
        // the fixed total counts every child's paddings, and leaving them in while this child's own
        // leading padding has already left the remaining space counted them twice, which left a gap
        // after the last stretchable child instead of letting it reach the end.
        fixedRemaining -= leading + trailing;
        int64_t length = axis.Main(child.DesiredSize(axis.Size(remainingMain, availableCross)));
        if (length != 0) {
            length = axis.ClampMain(child, length);
            fixedRemaining -= length;
        } else {
            ++stretchMet;
            length = stretchMet == stretchable
                         ? std::max<int64_t>(0, remainingMain - trailing - fixedRemaining)
                         : share;
            length = axis.ClampMain(child, length);
        }
        int64_t crossLength = axis.FixedCross(child);
        if (crossLength == 0) {
            crossLength = std::max<int64_t>(
                0, availableCross - axis.LeadingCross(padding) - axis.TrailingCross(padding));
        }
        crossLength = axis.ClampCross(child, crossLength);
        const int64_t crossStart = crossOrigin + axis.LeadingCross(padding);
        // The trailing padding lies inside the child's rectangle.
        child.Place(axis.Rect(position + leading, position + leading + length + trailing, crossStart,
                              crossStart + crossLength),
                    false);
        position += length + childPadding + leading + trailing;
        needed += length + leading + trailing;
        remainingMain -= length + childPadding + trailing;
        fixedRemaining -= childPadding;
    }
    needed += static_cast<int64_t>(estimated - 1) * childPadding;
    if (vertical_) {
        LayoutScrollBars(rc, 0, SaturateToInt32(needed));
    } else {
        LayoutScrollBars(rc, SaturateToInt32(needed), 0);
    }
}

void CLinearLayoutUI::HandleEvent(SkinEvent& event) {
    if (separatorSize_ != 0 && HandleSeparatorEvent(event)) {
        return;
    }
    CContainerUI::HandleEvent(event);
}

void CLinearLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr || value == nullptr) {
        return;
    }
    if (std::wcscmp(name, vertical_ ? L"sepheight" : L"sepwidth") == 0) {
        SetSeparatorSize(ParseCoordinateValue(value));
    } else if (std::wcscmp(name, L"sepimm") == 0) {
        SetSeparatorImmediate(IsTrueText(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CLinearLayoutUI::PaintOverlay(SkinCanvas& canvas, const SkinRect&) {
    if (dragging_ && !separatorImmediate_) {
        FillColor(canvas, StripOf(draggedRect_), kDraggedSeparatorColor);
    }
}

void CLinearLayoutUI::SetSeparatorSize(int32_t size) {
    separatorSize_ = size;
}

SkinRect CLinearLayoutUI::StripOf(const SkinRect& rect) const {
    const Axis axis{vertical_};
    if (separatorSize_ > 0) {
        const int32_t end = axis.TrailingMain(rect);
        return axis.WithMainEdges(rect, end - separatorSize_, end);
    }
    if (separatorSize_ < 0) {
        const int32_t start = axis.LeadingMain(rect);
        return axis.WithMainEdges(rect, start, start - separatorSize_);
    }
    return SkinRect{};
}

bool CLinearLayoutUI::HandleSeparatorEvent(const SkinEvent& event) {
    ISkinControlHost* host = Manager();
    switch (event.type) {
        case SkinEventType::kButtonDown:
            if (!IsEnabled() || !RectContainsPoint(SeparatorStrip(), event.point)) {
                return false;
            }
            dragging_ = true;
            dragStart_ = event.point;
            dragStartRect_ = draggedRect_ = ItemRect();
            if (!separatorImmediate_ && host != nullptr) {
                host->AddPostPaintControl(this);
            }
            return true;
        case SkinEventType::kMouseMove: {
            if (!dragging_) {
                return false;
            }
            const SkinRect moved = DraggedTo(event.point);
            if (moved == draggedRect_) {
                return true;
            }
            const SkinRect oldStrip = StripOf(draggedRect_);
            draggedRect_ = moved;
            if (separatorImmediate_) {
                ApplyDraggedSize();
            } else if (host != nullptr) {
                host->InvalidateRect(UnionRects(oldStrip, StripOf(draggedRect_)));
            }
            return true;
        }
        case SkinEventType::kButtonUp:
            if (!dragging_) {
                return false;
            }
            dragging_ = false;
            if (!separatorImmediate_ && host != nullptr) {
                host->RemovePostPaintControl(this);
                host->InvalidateRect(StripOf(draggedRect_));
            }
            ApplyDraggedSize();
            return true;
        case SkinEventType::kSetCursor:
            if (!dragging_ && !RectContainsPoint(SeparatorStrip(), event.point)) {
                return false;
            }
            if (host != nullptr) {
                host->SetCursor(vertical_ ? SkinCursor::SizeNorthSouth : SkinCursor::SizeWestEast);
            }
            return true;
        default:
            return false;
    }
}

SkinRect CLinearLayoutUI::DraggedTo(const SkinPoint& point) const {
    const Axis axis{vertical_};
    const int64_t moved = static_cast<int64_t>(axis.Main(point)) - axis.Main(dragStart_);
    const int32_t start = axis.LeadingMain(dragStartRect_);
    const int32_t end = axis.TrailingMain(dragStartRect_);
    // The dragged edge stays inside the parent, and the layout within its limits and no thinner than
    // its separator, so that the strip can still be grabbed.
    const CControlUI* parent = Parent();
    const int64_t room = parent == nullptr ? std::numeric_limits<int32_t>::max()
                         : separatorSize_ > 0
                             ? static_cast<int64_t>(axis.TrailingMain(parent->ItemRect())) - start
                             : static_cast<int64_t>(end) - axis.LeadingMain(parent->ItemRect());
    int64_t length = static_cast<int64_t>(end) - start + (separatorSize_ > 0 ? moved : -moved);
    length = std::min(length, room);
    length = axis.ClampMain(*this, length);
    length = std::max<int64_t>(length,
                               separatorSize_ > 0 ? separatorSize_ : -static_cast<int64_t>(separatorSize_));
    return separatorSize_ > 0 ? axis.WithMainEdges(dragStartRect_, start, SaturateToInt32(start + length))
                              : axis.WithMainEdges(dragStartRect_, SaturateToInt32(end - length), end);
}

void CLinearLayoutUI::ApplyDraggedSize() {
    const int32_t length = Axis{vertical_}.MainLength(draggedRect_);
    if (vertical_) {
        SetFixedHeight(length);
    } else {
        SetFixedWidth(length);
    }
}

}  // namespace SkinUI
