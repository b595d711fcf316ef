#pragma once

#include <windows.h>

#include <memory>

#include "skin/drawing/win32/GdiDibSurface.h"
#include "skin/manager/ISkinWindowPort.h"
#include "skin/manager/win32/TooltipWindow.h"

namespace SkinUI {

// A skin manager's window on Windows: painting through an offscreen bitmap (or, for a window with a
// transparent background, composed with per-pixel alpha by UpdateLayeredWindow), focus, capture, mouse
// tracking, timers, cursors and the tooltip of one window.
class SkinWindowPortWin32 final : public ISkinWindowPort {
  public:
    SkinWindowPortWin32() = default;
    SkinWindowPortWin32(const SkinWindowPortWin32&) = delete;
    SkinWindowPortWin32& operator=(const SkinWindowPortWin32&) = delete;

    // The window served from now on (null: none).
    void Attach(HWND window);
    HWND Window() const { return window_; }
    // The bitmap the last paint was composed in, while the window's size stays (null before).
    const GdiDibSurface* OffscreenSurface() const { return offscreen_.get(); }

    uintptr_t WindowId() const override;
    SkinRect ClientRect() const override;
    void Invalidate(const SkinRect& rect) override;
    void InvalidateAll() override;
    SkinRect UpdateRect() const override;
    void ValidateAll() override;
    void PaintUpdate(bool layered, ISkinClientPainter& painter) override;
    void DropOffscreen() override;
    void PrintClient(uintptr_t wParam, intptr_t lParam, ISkinClientPainter& painter) override;
    bool HasKeyboardFocus() const override;
    void TakeKeyboardFocus() override;
    void GiveFocusToOwner() override;
    bool ShiftDown() const override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void TrackMouse(uint32_t hoverMs) override;
    void SetCursor(SkinCursor cursor) override;
    SkinPoint CursorPosition() const override;
    SkinPoint ScreenToClient(const SkinPoint& screen) const override;
    bool StartTimer(uint32_t windowTimerId, uint32_t elapseMs) override;
    void StopTimer(uint32_t windowTimerId) override;
    uint32_t Now() const override;
    int32_t TooltipInitialDelay() const override;
    void ShowTooltip(const std::wstring& text, int32_t maxWidth, const SkinRect& toolRect) override;
    void HideTooltip() override;
    void ResizeClient(const SkinSize& size) override;
    void SetOpacity(uint8_t opacity) override;
    void ApplyTrackingLimits(intptr_t lParam, const SkinSize& minimum, const SkinSize& maximum) override;
    bool ReflectToChild(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
    void PostDeferredDestruction() override;

  private:
    // The offscreen bitmap of the client size, made when missing or of another size.
    GdiDibSurface* Offscreen(const SkinSize& size);
    void PaintOffscreen(HDC windowDc, const RECT& paintRect, ISkinClientPainter& painter);
    void PaintLayered(ISkinClientPainter& painter);

    HWND window_ = nullptr;
    std::unique_ptr<GdiDibSurface> offscreen_;
    SkinTooltipWindow tooltip_;
};

// Sizes a window so that its client area is cx by cy.
void ResizeWindowClient(HWND window, int cx, int cy);

}  // namespace SkinUI
