#pragma once

#include <cstdint>
#include <string>

#include "skin/controls/ISkinControlHost.h"
#include "skin/drawing/Canvas.h"
#include "skin/markup/Geometry.h"

namespace SkinUI {

// Paints a window's client area into a canvas: the tree, the overlays and the update outline.
class ISkinClientPainter {
  public:
    virtual void PaintClient(SkinCanvas& canvas, const SkinRect& paintRect) = 0;

  protected:
    ~ISkinClientPainter() = default;
};

// The native window a skin manager serves: what the manager asks of the platform. Coordinates are the
// window's client coordinates unless a name says otherwise.
class ISkinWindowPort {
  public:
    // The window's handle as a number (it identifies the manager in the process-wide list).
    virtual uintptr_t WindowId() const = 0;
    virtual SkinRect ClientRect() const = 0;

    // Painting.
    virtual void Invalidate(const SkinRect& rect) = 0;
    virtual void InvalidateAll() = 0;
    // The bounds of what awaits repainting; empty when nothing does.
    virtual SkinRect UpdateRect() const = 0;
    // Marks everything painted without painting.
    virtual void ValidateAll() = 0;
    // Repaints what awaits repainting through `painter`: offscreen and copied to the window, or, when
    // `layered`, the whole client area composed with per-pixel alpha over what lies behind the window.
    virtual void PaintUpdate(bool layered, ISkinClientPainter& painter) = 0;
    // Offscreen bitmaps are made again at the next paint (the client size may have changed).
    virtual void DropOffscreen() = 0;
    // Paints the client area into the device context of a print-client message.
    virtual void PrintClient(uintptr_t wParam, intptr_t lParam, ISkinClientPainter& painter) = 0;

    // Keyboard focus of the window itself.
    virtual bool HasKeyboardFocus() const = 0;
    virtual void TakeKeyboardFocus() = 0;
    // The window is closing: the keyboard focus goes to its owner.
    virtual void GiveFocusToOwner() = 0;
    virtual bool ShiftDown() const = 0;

    // Mouse.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // Asks for one hover message after `hoverMs` of rest and a leave message when the pointer goes.
    virtual void TrackMouse(uint32_t hoverMs) = 0;
    virtual void SetCursor(SkinCursor cursor) = 0;
    virtual SkinPoint CursorPosition() const = 0;
    virtual SkinPoint ScreenToClient(const SkinPoint& screen) const = 0;

    // Timers: each elapse arrives as a timer message with the window timer id.
    virtual bool StartTimer(uint32_t windowTimerId, uint32_t elapseMs) = 0;
    virtual void StopTimer(uint32_t windowTimerId) = 0;
    // Milliseconds since the system started.
    virtual uint32_t Now() const = 0;

    // The tooltip, made on first use. The initial delay is negative while there is no tooltip yet.
    virtual int32_t TooltipInitialDelay() const = 0;
    virtual void ShowTooltip(const std::wstring& text, int32_t maxWidth, const SkinRect& toolRect) = 0;
    virtual void HideTooltip() = 0;

    // Window-wide settings of the skin.
    virtual void ResizeClient(const SkinSize& size) = 0;
    // 255 opaque; below, the whole window is drawn with that constant opacity.
    virtual void SetOpacity(uint8_t opacity) = 0;
    // Writes non-zero minimum and maximum tracking sizes into a min/max-info message's record.
    virtual void ApplyTrackingLimits(intptr_t lParam, const SkinSize& minimum, const SkinSize& maximum) = 0;
    // Sends a child window's notify, command or control-colour message back to that child; false when
    // the message names no child window.
    virtual bool ReflectToChild(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) = 0;
    // Posts the message that destroys deferred controls.
    virtual void PostDeferredDestruction() = 0;

  protected:
    ~ISkinWindowPort() = default;
};

// How the process's windows nest, for giving managers a first look at messages of child windows.
class ISkinWindowTree {
  public:
    virtual bool IsChildWindow(uintptr_t window) const = 0;
    virtual bool IsAncestor(uintptr_t ancestor, uintptr_t window) const = 0;

  protected:
    ~ISkinWindowTree() = default;
};

}  // namespace SkinUI
