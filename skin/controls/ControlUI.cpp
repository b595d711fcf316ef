#include "skin/controls/ControlUI.h"
#include "skin/markup/AsciiText.h"

#include <cwchar>

#include "skin/controls/ISkinControlHost.h"
#include "skin/drawing/CanvasDrawing.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/markup/AttributeValues.h"

namespace SkinUI {
namespace {

const wchar_t* SkipBlanks(const wchar_t* text) {
    while (IsAsciiSpace(*text)) {
        ++text;
    }
    return text;
}

std::wstring WithLineBreaks(const std::wstring& text) {
    static const std::wstring kMarker = L"<n>";
    std::wstring result = text;
    for (size_t at = result.find(kMarker); at != std::wstring::npos; at = result.find(kMarker, at + 2)) {
        result.replace(at, kMarker.size(), L"\r\n");
    }
    return result;
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    destroyHooks_.RunAll(*this);
    if (manager_ != nullptr) {
        manager_->ForgetControl(this);
    }
}

const std::wstring& CControlUI::Name() const {
    return name_;
}

void CControlUI::SetName(const std::wstring& name) {
    name_ = name;
}

const wchar_t* CControlUI::ClassName() const {
    return L"ControlUI";
}

void* CControlUI::FindInterface(const wchar_t* name) {
    return name != nullptr && IsNamed(name, L"Control") ? this : nullptr;
}

uint32_t CControlUI::ControlFlags() const {
    return 0;
}

bool CControlUI::TryActivate() {
    return IsVisible() && IsEnabled();
}

ISkinControlHost* CControlUI::Manager() const {
    return manager_;
}

ISkinWindowObject* CControlUI::Association() const {
    return association_;
}

void CControlUI::AttachManager(ISkinControlHost* manager, CControlUI* parent, ISkinWindowObject* association,
                               bool init) {
    manager_ = manager;
    parent_ = parent;
    association_ = association;
    attachedWithInit_ = init && manager != nullptr;
    if (init && parent != nullptr) {
        Init();
    }
}

CControlUI* CControlUI::Parent() const {
    return parent_;
}

const std::wstring& CControlUI::Text() const {
    return text_;
}

void CControlUI::SetText(const std::wstring& text) {
    if (text_ == text) {
        return;
    }
    text_ = text;
    Invalidate();
}

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

const std::wstring& CControlUI::ToolTip() const {
    return toolTip_;
}

void CControlUI::SetToolTip(const std::wstring& text) {
    toolTip_ = WithLineBreaks(text);
}

void CControlUI::SetToolTipWidth(int32_t width) {
    toolTipWidth_ = width;
}

int32_t CControlUI::ToolTipWidth() const {
    return toolTipWidth_;
}

wchar_t CControlUI::Shortcut() const {
    return shortcut_;
}

void CControlUI::SetShortcut(wchar_t shortcut) {
    shortcut_ = shortcut;
}

bool CControlUI::ContextMenuUsed() const {
    return contextMenuUsed_;
}

void CControlUI::SetContextMenuUsed(bool used) {
    contextMenuUsed_ = used;
}

const std::wstring& CControlUI::UserData() const {
    return userData_;
}

void CControlUI::SetUserData(const std::wstring& data) {
    userData_ = data;
}

uintptr_t CControlUI::Tag() const {
    return tag_;
}

void CControlUI::SetTag(uintptr_t tag) {
    tag_ = tag;
}

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

CControlUI* CControlUI::SearchControls(SkinControlTest test, void* data, uint32_t flags) {
    if ((flags & SkinSearchFlags::kVisible) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((flags & SkinSearchFlags::kEnabled) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if ((flags & SkinSearchFlags::kHitTest) != 0 &&
        (!IsMouseEnabled() || !RectContainsPoint(itemRect_, *static_cast<const SkinPoint*>(data)))) {
        return nullptr;
    }
    if ((flags & SkinSearchFlags::kUpdateTest) != 0 && test(this, data) != nullptr) {
        return nullptr;
    }
    return test(this, data);
}

void CControlUI::Init() {
    InitHook();
    initHooks_.RunAll(*this);
}

void CControlUI::InitHook() {}

void CControlUI::Event(SkinEvent& event) {
    if (eventHooks_.AllAccept(event)) {
        HandleEvent(event);
    }
}

void CControlUI::HandleEvent(SkinEvent& event) {
    switch (event.type) {
        case SkinEventType::kSetCursor:
            if (manager_ != nullptr) {
                manager_->SetCursor(SkinCursor::Arrow);
            }
            return;
        case SkinEventType::kSetFocus:
            focused_ = true;
            Invalidate();
            return;
        case SkinEventType::kKillFocus:
            focused_ = false;
            Invalidate();
            return;
        case SkinEventType::kTimer:
            SendNotify(SkinNotifyType::kTimer, event.wParam, event.lParam);
            return;
        case SkinEventType::kContextMenu:
            if (contextMenuUsed_) {
                SendNotify(SkinNotifyType::kMenu, event.wParam, event.lParam);
                return;
            }
            break;
        default:
            break;
    }
    // What this control does not handle goes up to its container.
    if (parent_ != nullptr) {
        parent_->HandleEvent(event);
    }
}

void CControlUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr || value == nullptr) {
        return;
    }
    if (ApplyGeometryAttribute(name, value) || ApplyAppearanceAttribute(name, value)) {
        return;
    }
    if (IsNamed(name, L"name")) {
        SetName(value);
    } else if (IsNamed(name, L"text")) {
        SetText(value);
    } else if (IsNamed(name, L"tooltip")) {
        SetToolTip(value);
    } else if (IsNamed(name, L"userdata")) {
        SetUserData(value);
    } else if (IsNamed(name, L"enabled")) {
        SetEnabled(IsTrueText(value));
    } else if (IsNamed(name, L"mouse")) {
        SetMouseEnabled(IsTrueText(value));
    } else if (IsNamed(name, L"keyboard")) {
        SetKeyboardEnabled(IsTrueText(value));
    } else if (IsNamed(name, L"visible")) {
        SetVisible(IsTrueText(value));
    } else if (IsNamed(name, L"shortcut")) {
        SetShortcut(value[0]);
    } else if (IsNamed(name, L"menu")) {
        SetContextMenuUsed(IsTrueText(value));
    } else if (IsNamed(name, L"virtualwnd")) {
        SetVirtualWindow(value);
    }
}

bool CControlUI::ApplyGeometryAttribute(const wchar_t* name, const wchar_t* value) {
    if (IsNamed(name, L"pos")) {
        const SkinRect pos = ParseRectValue(value);
        SetFloatOffset(SkinSize{pos.left, pos.top});
        SetFixedWidth(pos.right - pos.left);
        SetFixedHeight(pos.bottom - pos.top);
    } else if (IsNamed(name, L"padding")) {
        SetPadding(ParseRectValue(value));
    } else if (IsNamed(name, L"width")) {
        SetFixedWidth(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"height")) {
        SetFixedHeight(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"minwidth")) {
        SetMinWidth(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"minheight")) {
        SetMinHeight(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"maxwidth")) {
        SetMaxWidth(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"maxheight")) {
        SetMaxHeight(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"float")) {
        ApplyFloatAttribute(value);
    } else {
        return false;
    }
    return true;
}

bool CControlUI::ApplyAppearanceAttribute(const wchar_t* name, const wchar_t* value) {
    if (IsNamed(name, L"bkcolor") || IsNamed(name, L"bkcolor1")) {
        SetBkColor(ParseColorText(SkipBlanks(value)));
    } else if (IsNamed(name, L"bkcolor2")) {
        SetBkColor2(ParseColorText(value));
    } else if (IsNamed(name, L"bkcolor3")) {
        SetBkColor3(ParseColorText(value));
    } else if (IsNamed(name, L"bordercolor")) {
        SetBorderColor(ParseColorText(value));
    } else if (IsNamed(name, L"focusbordercolor")) {
        SetFocusBorderColor(ParseColorText(value));
    } else if (IsNamed(name, L"colorhsl")) {
        SetRecoloursColors(IsTrueText(value));
    } else if (IsNamed(name, L"bordersize")) {
        ApplyBorderSizeAttribute(value);
    } else if (IsNamed(name, L"leftbordersize") || IsNamed(name, L"topbordersize") ||
               IsNamed(name, L"rightbordersize") || IsNamed(name, L"bottombordersize")) {
        SkinRect sides = sideBorderSizes_;
        const int32_t size = ParseCoordinateValue(value);
        (name[0] == L'l'   ? sides.left
         : name[0] == L't' ? sides.top
         : name[0] == L'r' ? sides.right
                           : sides.bottom) = size;
        SetSideBorderSizes(sides);
    } else if (IsNamed(name, L"borderstyle")) {
        SetBorderStyle(ParseIntegerValue(value));
    } else if (IsNamed(name, L"borderround")) {
        SetBorderRound(ParseSizeValue(value));
    } else if (IsNamed(name, L"bkimage")) {
        SetBkImage(value);
    } else {
        return false;
    }
    return true;
}

void CControlUI::ApplyBorderSizeAttribute(const wchar_t* value) {
    if (std::wcschr(value, L',') == nullptr) {
        SetBorderSize(ParseCoordinateValue(value));
        SetSideBorderSizes(SkinRect{});
    } else {
        SetSideBorderSizes(ParseRectValue(value));
    }
}

void CControlUI::ApplyFloatAttribute(const wchar_t* value) {
    if (std::wcschr(value, L',') == nullptr) {
        SetFloat(IsTrueText(value));
        return;
    }
    SetAnchorRule(ParseFractionRectValue(value));
    SetFloat(true);
}

SkinSize CControlUI::DesiredSize(const SkinSize&) {
    return SkinSize{fixedWidth_, fixedHeight_};
}

void CControlUI::Paint(SkinCanvas& canvas, const SkinRect& paintRect) {
    if (!IntersectRects(paintRect, itemRect_, paintRect_)) {
        return;
    }
    if (borderRound_.cx < 1 && borderRound_.cy < 1) {
        PaintParts(canvas);
        return;
    }
    ScopedCanvasClip clip(canvas);
    canvas.IntersectClip(paintRect_);
    canvas.IntersectRoundClip(itemRect_, borderRound_.cx, borderRound_.cy);
    PaintParts(canvas);
}

void CControlUI::PaintParts(SkinCanvas& canvas) {
    PaintBackColor(canvas);
    PaintBackImage(canvas);
    PaintStateImage(canvas);
    PaintTextPart(canvas);
    PaintOutline(canvas);
}

void CControlUI::PaintBackColor(SkinCanvas& canvas) {
    if (bkColor_ == 0) {
        return;
    }
    if (bkColor2_ == 0) {
        // A translucent colour blends with what lies below, which is repainted over the whole item; an
        // opaque one needs only the part being repainted.
        FillColor(canvas, ColorAlpha(bkColor_) < 255 ? itemRect_ : paintRect_, bkColor_);
        return;
    }
    if (bkColor3_ == 0) {
        FillGradient(canvas, itemRect_, bkColor_, bkColor2_, true, 16);
        return;
    }
    const int32_t middle = (itemRect_.top + itemRect_.bottom) / 2;
    FillGradient(canvas, SkinRect{itemRect_.left, itemRect_.top, itemRect_.right, middle}, bkColor_,
                 bkColor2_, true, 8);
    FillGradient(canvas, SkinRect{itemRect_.left, middle, itemRect_.right, itemRect_.bottom}, bkColor2_,
                 bkColor3_, true, 8);
}

void CControlUI::PaintBackImage(SkinCanvas& canvas) {
    DrawImage(canvas, bkImage_);
}

void CControlUI::PaintStateImage(SkinCanvas&) {}

void CControlUI::PaintTextPart(SkinCanvas&) {}

void CControlUI::PaintOutline(SkinCanvas& canvas) {
    if (borderColor_ == 0 && focusBorderColor_ == 0) {
        return;
    }
    const bool focusColored = IsFocused() && focusBorderColor_ != 0;
    if (borderSize_ > 0 && (borderRound_.cx >= 1 || borderRound_.cy >= 1)) {
        StrokeRoundRect(canvas, itemRect_, borderSize_, borderRound_.cx, borderRound_.cy,
                        focusColored ? focusBorderColor_ : borderColor_);
        return;
    }
    if (focusColored && borderSize_ > 0) {
        StrokeRect(canvas, itemRect_, borderSize_, focusBorderColor_);
        return;
    }
    const SkinRect& sides = sideBorderSizes_;
    if (sides.left < 1 && sides.top < 1 && sides.right < 1 && sides.bottom < 1) {
        if (borderSize_ >= 1) {
            StrokeRect(canvas, itemRect_, borderSize_, borderColor_);
        }
        return;
    }
    const SkinRect& r = itemRect_;
    if (sides.left > 0) {
        StrokeLine(canvas, SkinPoint{r.left, r.top}, SkinPoint{r.left, r.bottom}, sides.left, borderColor_,
                   borderStyle_);
    }
    if (sides.top > 0) {
        StrokeLine(canvas, SkinPoint{r.left, r.top}, SkinPoint{r.right, r.top}, sides.top, borderColor_,
                   borderStyle_);
    }
    if (sides.right > 0) {
        StrokeLine(canvas, SkinPoint{r.right, r.top}, SkinPoint{r.right, r.bottom}, sides.right, borderColor_,
                   borderStyle_);
    }
    if (sides.bottom > 0) {
        StrokeLine(canvas, SkinPoint{r.left, r.bottom}, SkinPoint{r.right, r.bottom}, sides.bottom,
                   borderColor_, borderStyle_);
    }
}

void CControlUI::PaintOverlay(SkinCanvas&, const SkinRect&) {}

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

void CControlUI::ApplyAttributeList(const wchar_t* list) {
    const wchar_t* p = list != nullptr ? list : L"";
    while (*p != L'\0') {
        const wchar_t* nameStart = p;
        while (*p != L'\0' && *p != L'=') {
            ++p;
        }
        const std::wstring name(nameStart, p);
        if (*p++ != L'=' || *p++ != L'"') {
            return;
        }
        const wchar_t* valueStart = p;
        while (*p != L'\0' && *p != L'"') {
            ++p;
        }
        if (*p != L'"') {
            return;
        }
        const std::wstring value(valueStart, p);
        ++p;
        ApplyAttribute(name.c_str(), value.c_str());
        if (*p != L' ') {
            return;
        }
        ++p;
    }
}

void CControlUI::SetVirtualWindow(const std::wstring& name) {
    virtualWindow_ = name;
    if (manager_ != nullptr) {
        manager_->NoteVirtualWindowsUsed();
    }
}

void CControlUI::SetBkColor(SkinColor color) {
    if (bkColor_ != color) {
        bkColor_ = color;
        Invalidate();
    }
}

void CControlUI::SetBkColor2(SkinColor color) {
    if (bkColor2_ != color) {
        bkColor2_ = color;
        Invalidate();
    }
}

void CControlUI::SetBkColor3(SkinColor color) {
    if (bkColor3_ != color) {
        bkColor3_ = color;
        Invalidate();
    }
}

void CControlUI::SetBorderColor(SkinColor color) {
    if (borderColor_ != color) {
        borderColor_ = color;
        Invalidate();
    }
}

void CControlUI::SetFocusBorderColor(SkinColor color) {
    if (focusBorderColor_ != color) {
        focusBorderColor_ = color;
        Invalidate();
    }
}

void CControlUI::SetRecoloursColors(bool recolour) {
    if (recolourColors_ != recolour) {
        recolourColors_ = recolour;
        Invalidate();
    }
}

void CControlUI::SetBorderSize(int32_t size) {
    if (borderSize_ != size) {
        borderSize_ = size;
        Invalidate();
    }
}

void CControlUI::SetSideBorderSizes(const SkinRect& sizes) {
    if (sideBorderSizes_ != sizes) {
        sideBorderSizes_ = sizes;
        Invalidate();
    }
}

void CControlUI::SetBorderStyle(int32_t style) {
    if (borderStyle_ != style) {
        borderStyle_ = style;
        Invalidate();
    }
}

void CControlUI::SetBorderRound(const SkinSize& round) {
    if (borderRound_ != round) {
        borderRound_ = round;
        Invalidate();
    }
}

void CControlUI::SetBkImage(const std::wstring& descriptor) {
    if (UpdateDescriptor(bkImage_, descriptor)) {
        TakeImageSizeWhenFloating();
    }
}

void CControlUI::SetForeImage(const std::wstring& descriptor) {
    UpdateDescriptor(foreImage_, descriptor);
}

void CControlUI::TakeImageSizeWhenFloating() {
    if (!floating_ || fixedWidth_ != 0 || fixedHeight_ != 0 || manager_ == nullptr) {
        return;
    }
    if (bkImage_.Resolve(manager_->Resources())) {
        const auto image = bkImage_.Image();
        SetFixedWidth(image->width);
        SetFixedHeight(image->height);
    }
}

bool CControlUI::UpdateDescriptor(SkinImageDescriptor& descriptor, const std::wstring& text) {
    if (descriptor.Text() == text && descriptor.IsResolved()) {
        return false;
    }
    descriptor.SetText(text);
    Invalidate();
    return true;
}

bool CControlUI::DrawImage(SkinCanvas& canvas, SkinImageDescriptor& descriptor) {
    if (manager_ == nullptr || descriptor.IsEmpty()) {
        return false;
    }
    return DrawImageDescriptor(canvas, manager_->Resources(), itemRect_, paintRect_, descriptor);
}

void CControlUI::SendNotify(const std::wstring& type, uintptr_t wParam, intptr_t lParam) {
    if (manager_ != nullptr) {
        manager_->RaiseNotify(this, type, wParam, lParam, false);
    }
}

}  // namespace SkinUI
