// How a control looks: background colours and images, borders, and painting them in a fixed order.
#include "skin/controls/ControlUI.h"
#include "skin/controls/ISkinControlHost.h"
#include "skin/drawing/CanvasDrawing.h"
#include "skin/drawing/ResourceTables.h"

namespace SkinUI {

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

void CControlUI::SetBkColor(SkinColor color) {
    SetLook(bkColor_, color);
}

void CControlUI::SetBkColor2(SkinColor color) {
    SetLook(bkColor2_, color);
}

void CControlUI::SetBkColor3(SkinColor color) {
    SetLook(bkColor3_, color);
}

void CControlUI::SetBorderColor(SkinColor color) {
    SetLook(borderColor_, color);
}

void CControlUI::SetFocusBorderColor(SkinColor color) {
    SetLook(focusBorderColor_, color);
}

void CControlUI::SetRecoloursColors(bool recolour) {
    SetLook(recolourColors_, recolour);
}

void CControlUI::SetBorderSize(int32_t size) {
    SetLook(borderSize_, size);
}

void CControlUI::SetSideBorderSizes(const SkinRect& sizes) {
    SetLook(sideBorderSizes_, sizes);
}

void CControlUI::SetBorderStyle(int32_t style) {
    SetLook(borderStyle_, style);
}

void CControlUI::SetBorderRound(const SkinSize& round) {
    SetLook(borderRound_, round);
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

}  // namespace SkinUI
