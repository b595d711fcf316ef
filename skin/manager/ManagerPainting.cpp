// The manager's paint pass: what needs repainting, the layout that runs first when it is due, and the
// tree painted with the overlays of the controls that asked for one.
#include "skin/controls/ControlSearch.h"
#include "skin/controls/ISkinWindowObject.h"
#include "skin/manager/ManagerUI.h"

namespace SkinUI {
namespace {

// Outline of repainted rectangles when the skin asks to see them.
constexpr SkinColor kUpdateOutline = 0xFFDC0000;

}  // namespace

void CSkinManagerUI::Invalidate(const SkinRect& rect) {
    if (port_ != nullptr) {
        port_->Invalidate(rect);
    }
}

void CSkinManagerUI::InvalidateRect(const SkinRect& rect) {
    Invalidate(rect);
}

void CSkinManagerUI::NoteLayoutDue() {
    MarkLayoutDirty();
}

void CSkinManagerUI::AddPostPaintControl(CControlUI* control) {
    postPaintControls_.Add(control);
}

void CSkinManagerUI::RemovePostPaintControl(CControlUI* control) {
    postPaintControls_.Remove(control);
}

void CSkinManagerUI::OnPaint() {
    if (port_->UpdateRect().IsEmpty()) {
        return;
    }
    if (!root_) {
        port_->ValidateAll();
        return;
    }
    const bool layered = windowObject_ != nullptr && windowObject_->TransparentBackground();
    LayOutIfDue();
    if (focusNeeded_) {
        focusNeeded_ = false;
        CControlUI* pending = pendingFocus_;
        pendingFocus_ = nullptr;
        if (pending != nullptr && pending->IsVisible() && pending->IsEnabled()) {
            SetFocus(pending);
        } else {
            MoveTabFocus(true);
        }
    }
    if (!root_) {
        port_->ValidateAll();  // a listener of "windowinit" took the tree away
        return;
    }
    port_->PaintUpdate(layered, *this);
    if (updateNeeded_) {
        port_->InvalidateAll();
    }
}

void CSkinManagerUI::LayOutIfDue() {
    if (!updateNeeded_) {
        return;
    }
    port_->DropOffscreen();
    updateNeeded_ = false;
    const SkinRect client = port_->ClientRect();
    if (client.IsEmpty()) {
        return;
    }
    if (root_->NeedsUpdate()) {
        root_->Place(client, true);
    } else {
        for (CControlUI* control : ControlsInTreeOrder(*root_, SkinSearchFlags::kVisible)) {
            if (control->NeedsUpdate()) {
                control->Place(control->ItemRect(), true);
            }
        }
    }
    if (firstLayout_) {
        firstLayout_ = false;
        RaiseNotify(root_.get(), SkinNotifyType::kWindowInit, 0, 0, false);
    }
}

void CSkinManagerUI::PaintClient(SkinCanvas& canvas, const SkinRect& paintRect) {
    if (root_) {
        root_->Paint(canvas, paintRect);
    }
    postPaintControls_.ForEach([&](CControlUI& control) { control.PaintOverlay(canvas, paintRect); });
    if (showUpdateRect_) {
        canvas.DrawRect(paintRect, 1, kUpdateOutline);
    }
}

}  // namespace SkinUI
