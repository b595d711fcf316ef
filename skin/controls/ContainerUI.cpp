#include "skin/controls/ContainerUI.h"

#include <algorithm>
#include <cwchar>

#include "skin/controls/ISkinControlHost.h"
#include "skin/markup/AttributeValues.h"

namespace SkinUI {
namespace {

bool IsShown(const CScrollBarUI* bar) {
    return bar != nullptr && bar->IsVisible();
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    if (!autoDestroy_) {
        for (auto& child : items_) {
            LetGo(std::move(child));
        }
    }
}

const wchar_t* CContainerUI::ClassName() const {
    return L"ContainerUI";
}

void* CContainerUI::FindInterface(const wchar_t* name) {
    if (name != nullptr && IsNamed(name, L"IContainer")) {
        return static_cast<IContainerUI*>(this);
    }
    if (name != nullptr && IsNamed(name, L"Container")) {
        return this;
    }
    return CControlUI::FindInterface(name);
}

void CContainerUI::AttachManager(ISkinControlHost* manager, CControlUI* parent,
                                 ISkinWindowObject* association, bool init) {
    for (const auto& child : items_) {
        child->AttachManager(manager, this, association, init);
    }
    for (CScrollBarUI* bar : {verticalScrollBar_.get(), horizontalScrollBar_.get()}) {
        if (bar != nullptr) {
            bar->AttachManager(manager, this, association, init);
        }
    }
    CControlUI::AttachManager(manager, parent, association, init);
}

void CContainerUI::Place(const SkinRect& rect, bool invalidate) {
    CControlUI::Place(rect, invalidate);
    const SkinRect content = ContentArea();
    for (int i = 0; i < Count(); ++i) {
        CControlUI& child = *items_[i];
        if (!child.IsVisible()) {
            continue;
        }
        if (child.IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        const int32_t width = ClampToLimits(content.Width(), child.MinWidth(), child.MaxWidth());
        const int32_t height = ClampToLimits(content.Height(), child.MinHeight(), child.MaxHeight());
        child.Place(SkinRect{content.left, content.top, content.left + width, content.top + height}, false);
    }
    LayoutScrollBars(content, 0, 0);
}

void CContainerUI::Move(int32_t dx, int32_t dy, bool invalidate) {
    CControlUI::Move(dx, dy, invalidate);
    for (const auto& child : items_) {
        child->Move(dx, dy, false);
    }
    for (CScrollBarUI* bar : {verticalScrollBar_.get(), horizontalScrollBar_.get()}) {
        if (bar != nullptr) {
            bar->Move(dx, dy, false);
        }
    }
}

void CContainerUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    for (const auto& child : items_) {
        child->SetVisibleByParent(IsVisible());
    }
}

void CContainerUI::SetVisibleByParent(bool visible) {
    CControlUI::SetVisibleByParent(visible);
    for (const auto& child : items_) {
        child->SetVisibleByParent(IsVisible());
    }
}

CControlUI* CContainerUI::SearchControls(SkinControlTest test, void* data, uint32_t flags) {
    const bool hitTest = (flags & SkinSearchFlags::kHitTest) != 0;
    if ((flags & SkinSearchFlags::kVisible) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((flags & SkinSearchFlags::kEnabled) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if (hitTest && !RectContainsPoint(ItemRect(), *static_cast<const SkinPoint*>(data))) {
        return nullptr;
    }
    if ((flags & SkinSearchFlags::kUpdateTest) != 0 && test(this, data) != nullptr) {
        return nullptr;
    }
    const bool meFirst = (flags & SkinSearchFlags::kMeFirst) != 0;
    if (meFirst && (!hitTest || IsMouseEnabled())) {
        if (CControlUI* me = test(this, data)) {
            return me;
        }
    }
    if (CControlUI* found = SearchChildren(test, data, flags)) {
        return found;
    }
    if (meFirst || (hitTest && !IsMouseEnabled())) {
        return nullptr;
    }
    return test(this, data);
}

CControlUI* CContainerUI::SearchChildren(SkinControlTest test, void* data, uint32_t flags) {
    const bool hitTest = (flags & SkinSearchFlags::kHitTest) != 0;
    if (!hitTest || IsMouseEnabled()) {
        for (CScrollBarUI* bar : {verticalScrollBar_.get(), horizontalScrollBar_.get()}) {
            if (IsShown(bar)) {
                if (CControlUI* found = bar->SearchControls(test, data, flags)) {
                    return found;
                }
            }
        }
    }
    if (hitTest && !mouseChildEnabled_) {
        return nullptr;
    }
    const SkinRect content = ContentArea();
    const bool topFirst = (flags & SkinSearchFlags::kTopFirst) != 0;
    for (int n = 0; n < Count(); ++n) {
        CControlUI& child = *items_[topFirst ? Count() - 1 - n : n];
        CControlUI* found = child.SearchControls(test, data, flags);
        if (found == nullptr) {
            continue;
        }
        // Outside the content area only floating children can be hit.
        if (!hitTest || child.IsFloat() || RectContainsPoint(content, *static_cast<const SkinPoint*>(data))) {
            return found;
        }
    }
    return nullptr;
}

void CContainerUI::HandleEvent(SkinEvent& event) {
    if (event.type == SkinEventType::kScrollWheel && IsShown(verticalScrollBar_.get()) &&
        verticalScrollBar_->IsEnabled()) {
        if (event.wParam == kScrollLineUp) {
            LineUp();
        } else {
            LineDown();
        }
        return;
    }
    CControlUI::HandleEvent(event);
}

void CContainerUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr || value == nullptr) {
        return;
    }
    if (!ApplyContainerAttribute(name, value)) {
        CControlUI::ApplyAttribute(name, value);
    }
}

bool CContainerUI::ApplyContainerAttribute(const wchar_t* name, const wchar_t* value) {
    if (IsNamed(name, L"inset")) {
        SetInset(ParseRectValue(value));
    } else if (IsNamed(name, L"mousechild")) {
        SetChildrenTakeMouse(IsTrueText(value));
    } else if (IsNamed(name, L"vscrollbar")) {
        EnableScrollBars(IsTrueText(value), horizontalScrollBar_ != nullptr);
    } else if (IsNamed(name, L"hscrollbar")) {
        EnableScrollBars(verticalScrollBar_ != nullptr, IsTrueText(value));
    } else if (IsNamed(name, L"vscrollbarstyle")) {
        EnableScrollBars(true, horizontalScrollBar_ != nullptr);
        verticalScrollBar_->ApplyAttributeList(value);
    } else if (IsNamed(name, L"hscrollbarstyle")) {
        EnableScrollBars(verticalScrollBar_ != nullptr, true);
        horizontalScrollBar_->ApplyAttributeList(value);
    } else if (IsNamed(name, L"childpadding")) {
        SetChildPadding(ParseCoordinateValue(value));
    } else {
        return false;
    }
    return true;
}

void CContainerUI::Paint(SkinCanvas& canvas, const SkinRect& paintRect) {
    if (!RectsOverlap(paintRect, ItemRect())) {
        return;
    }
    ScopedCanvasClip clip(canvas);
    canvas.IntersectClip(ItemRect());
    if (BorderRound().cx >= 1 || BorderRound().cy >= 1) {
        canvas.IntersectRoundClip(ItemRect(), BorderRound().cx, BorderRound().cy);
    }
    CControlUI::Paint(canvas, paintRect);
    PaintChildren(canvas, paintRect);
    for (CScrollBarUI* bar : {verticalScrollBar_.get(), horizontalScrollBar_.get()}) {
        if (IsShown(bar)) {
            bar->Paint(canvas, paintRect);
        }
    }
}

void CContainerUI::PaintChildren(SkinCanvas& canvas, const SkinRect& paintRect) {
    const SkinRect content = ContentArea();
    // In list order: later children are painted over earlier ones.
    for (const auto& item : items_) {
        CControlUI& child = *item;
        if (!child.IsVisible() || !RectsOverlap(child.ItemRect(), paintRect)) {
            continue;
        }
        if (child.IsFloat()) {
            // Floating children may use the inset: they are clipped to the item rectangle only, which
            // the container's own clip already is.
            if (RectsOverlap(child.ItemRect(), ItemRect())) {
                child.Paint(canvas, paintRect);
            }
            continue;
        }
        if (!RectsOverlap(child.ItemRect(), content)) {
            continue;
        }
        ScopedCanvasClip childClip(canvas);
        canvas.IntersectClip(content);
        child.Paint(canvas, paintRect);
    }
}

SkinRect CContainerUI::Inset() const {
    return inset_;
}

void CContainerUI::SetInset(const SkinRect& inset) {
    inset_ = inset;
    MarkLayoutDirty();
}

int32_t CContainerUI::ChildPadding() const {
    return childPadding_;
}

void CContainerUI::SetChildPadding(int32_t padding) {
    childPadding_ = padding;
    MarkLayoutDirty();
}

bool CContainerUI::OwnsChildren() const {
    return autoDestroy_;
}

void CContainerUI::SetOwnsChildren(bool owns) {
    autoDestroy_ = owns;
}

bool CContainerUI::DefersChildDeletion() const {
    return delayedDestroy_;
}

void CContainerUI::SetDefersChildDeletion(bool defers) {
    delayedDestroy_ = defers;
}

bool CContainerUI::ChildrenTakeMouse() const {
    return mouseChildEnabled_;
}

void CContainerUI::SetChildrenTakeMouse(bool take) {
    mouseChildEnabled_ = take;
}

int CContainerUI::FindSelectableChild(int index, bool forward) const {
    for (int i = index; i >= 0 && i < Count(); i += forward ? 1 : -1) {
        if (items_[i]->IsVisible() && items_[i]->IsEnabled()) {
            return i;
        }
    }
    return -1;
}

SkinSize CContainerUI::ScrollPos() const {
    return SkinSize{horizontalScrollBar_ ? horizontalScrollBar_->ScrollPos() : 0,
                    verticalScrollBar_ ? verticalScrollBar_->ScrollPos() : 0};
}

SkinSize CContainerUI::ScrollRange() const {
    return SkinSize{horizontalScrollBar_ ? horizontalScrollBar_->ScrollRange() : 0,
                    verticalScrollBar_ ? verticalScrollBar_->ScrollRange() : 0};
}

void CContainerUI::SetScrollPos(const SkinSize& position) {
    const SkinSize old = ScrollPos();
    if (verticalScrollBar_) {
        verticalScrollBar_->SetScrollPos(position.cy);
    }
    if (horizontalScrollBar_) {
        horizontalScrollBar_->SetScrollPos(position.cx);
    }
    const SkinSize now = ScrollPos();
    if (now == old) {
        return;
    }
    // The view moves over the content: the children laid out in it move the other way.
    for (const auto& child : items_) {
        if (!child->IsFloat()) {
            child->Move(old.cx - now.cx, old.cy - now.cy, false);
        }
    }
    Invalidate();
}

void CContainerUI::ScrollVerticallyBy(int32_t delta) {
    const SkinSize position = ScrollPos();
    SetScrollPos(SkinSize{position.cx, position.cy + delta});
}

void CContainerUI::ScrollHorizontallyBy(int32_t delta) {
    const SkinSize position = ScrollPos();
    SetScrollPos(SkinSize{position.cx + delta, position.cy});
}

void CContainerUI::LineUp() {
    ScrollVerticallyBy(verticalScrollBar_ ? -verticalScrollBar_->LineSize() : 0);
}

void CContainerUI::LineDown() {
    ScrollVerticallyBy(verticalScrollBar_ ? verticalScrollBar_->LineSize() : 0);
}

void CContainerUI::PageUp() {
    ScrollVerticallyBy(-ContentArea().Height());
}

void CContainerUI::PageDown() {
    ScrollVerticallyBy(ContentArea().Height());
}

void CContainerUI::HomeUp() {
    SetScrollPos(SkinSize{ScrollPos().cx, 0});
}

void CContainerUI::EndDown() {
    SetScrollPos(SkinSize{ScrollPos().cx, ScrollRange().cy});
}

void CContainerUI::LineLeft() {
    ScrollHorizontallyBy(horizontalScrollBar_ ? -horizontalScrollBar_->LineSize() : 0);
}

void CContainerUI::LineRight() {
    ScrollHorizontallyBy(horizontalScrollBar_ ? horizontalScrollBar_->LineSize() : 0);
}

void CContainerUI::PageLeft() {
    ScrollHorizontallyBy(-ContentArea().Width());
}

void CContainerUI::PageRight() {
    ScrollHorizontallyBy(ContentArea().Width());
}

void CContainerUI::HomeLeft() {
    SetScrollPos(SkinSize{0, ScrollPos().cy});
}

void CContainerUI::EndRight() {
    SetScrollPos(SkinSize{ScrollRange().cx, ScrollPos().cy});
}

void CContainerUI::EnableScrollBars(bool vertical, bool horizontal) {
    const auto update = [this](std::unique_ptr<CScrollBarUI>& bar, bool wanted, bool isHorizontal) {
        if (wanted && !bar) {
            bar = std::make_unique<CScrollBarUI>(isHorizontal);
            bar->AttachManager(Manager(), this, Association(), IsAttachedWithInit());
        } else if (!wanted && bar) {
            bar.reset();
        }
    };
    update(verticalScrollBar_, vertical, false);
    update(horizontalScrollBar_, horizontal, true);
    MarkLayoutDirty();
}

CScrollBarUI* CContainerUI::VerticalScrollBar() const {
    return verticalScrollBar_.get();
}

CScrollBarUI* CContainerUI::HorizontalScrollBar() const {
    return horizontalScrollBar_.get();
}

void CContainerUI::PlaceFloatingChild(int index) {
    if (index < 0 || index >= Count()) {
        return;
    }
    CControlUI& child = *items_[index];
    if (!child.IsVisible() || !child.IsFloat()) {
        return;
    }
    const int32_t width = Width();
    const int32_t height = Height();
    const SkinSize offset = child.FloatOffset();
    const SkinFractionRect anchor = child.AnchorRule();
    const SkinRect rect{ScaleByFraction(width, anchor.left) + offset.cx,
                        ScaleByFraction(height, anchor.top) + offset.cy,
                        ScaleByFraction(width, anchor.right) + offset.cx + child.FixedWidth(),
                        ScaleByFraction(height, anchor.bottom) + offset.cy + child.FixedHeight()};
    // Relative to this container's top-left corner: the child moves it into place.
    child.Place(rect, false);
}

void CContainerUI::LayoutScrollBars(const SkinRect& rect, int32_t cxRequired, int32_t cyRequired) {
    if (IsShown(verticalScrollBar_.get())) {
        verticalScrollBar_->SetScrollRange(std::max(0, cyRequired - rect.Height()));
        verticalScrollBar_->Place(
            SkinRect{rect.right, rect.top, rect.right + verticalScrollBar_->FixedWidth(), rect.bottom},
            false);
    }
    if (IsShown(horizontalScrollBar_.get())) {
        horizontalScrollBar_->SetScrollRange(std::max(0, cxRequired - rect.Width()));
        horizontalScrollBar_->Place(
            SkinRect{rect.left, rect.bottom, rect.right, rect.bottom + horizontalScrollBar_->FixedHeight()},
            false);
    }
}

CControlUI* CContainerUI::ItemAt(int index) const {
    return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

int CContainerUI::IndexOf(const CControlUI* control) const {
    for (int i = 0; i < Count(); ++i) {
        if (items_[i].get() == control) {
            return i;
        }
    }
    return -1;
}

int CContainerUI::Count() const {
    return static_cast<int>(items_.size());
}

bool CContainerUI::Add(std::unique_ptr<CControlUI> control) {
    return AddAt(std::move(control), Count());
}

bool CContainerUI::AddAt(std::unique_ptr<CControlUI> control, int index) {
    if (!control || index < 0 || index > Count()) {
        return false;
    }
    CControlUI& child = *control;
    items_.insert(items_.begin() + index, std::move(control));
    AdoptChild(child);
    return true;
}

void CContainerUI::AdoptChild(CControlUI& child) {
    // A child joining a live tree is initialised at once; one added while the tree is being built is
    // initialised with the tree when it is attached.
    child.AttachManager(Manager(), this, Association(), IsAttachedWithInit());
    child.SetVisibleByParent(IsVisible());
    MarkLayoutDirty();
}

std::unique_ptr<CControlUI> CContainerUI::Remove(CControlUI* control) {
    return RemoveAt(IndexOf(control));
}

std::unique_ptr<CControlUI> CContainerUI::RemoveAt(int index) {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    std::unique_ptr<CControlUI> child = std::move(items_[index]);
    items_.erase(items_.begin() + index);
    MarkLayoutDirty();
    if (!autoDestroy_) {
        DetachChild(*child);
        return child;
    }
    DisposeChild(std::move(child));
    return nullptr;
}

void CContainerUI::RemoveAll() {
    std::vector<std::unique_ptr<CControlUI>> removed = std::move(items_);
    items_.clear();
    for (auto& child : removed) {
        if (autoDestroy_) {
            DisposeChild(std::move(child));
        } else {
            LetGo(std::move(child));
        }
    }
    MarkLayoutDirty();
}

void CContainerUI::DetachChild(CControlUI& child) {
    // Whatever the child does later (a size or visibility change) must not reach this container.
    child.AttachManager(child.Manager(), nullptr, child.Association(), false);
}

void CContainerUI::LetGo(std::unique_ptr<CControlUI> child) {
    DetachChild(*child);
    // Whoever added the child owns it: the container only forgets it.
    static_cast<void>(child.release());
}

void CContainerUI::DisposeChild(std::unique_ptr<CControlUI> child) {
    // The child may be the one whose event is being handled: the manager destroys it afterwards.
    if (delayedDestroy_ && Manager() != nullptr) {
        Manager()->DestroyLater(std::move(child));
    }
    // Otherwise it is destroyed here, with `child`.
}

SkinRect CContainerUI::ContentArea() const {
    SkinRect content = ItemRect();
    content.left += inset_.left;
    content.top += inset_.top;
    content.right -= inset_.right;
    content.bottom -= inset_.bottom;
    if (IsShown(verticalScrollBar_.get())) {
        content.right -= verticalScrollBar_->FixedWidth();
    }
    if (IsShown(horizontalScrollBar_.get())) {
        content.bottom -= horizontalScrollBar_->FixedHeight();
    }
    return content;
}

}  // namespace SkinUI
