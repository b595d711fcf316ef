#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "skin/manager/ISkinWindowPort.h"
#include "tests/support/skin/RecordingCanvas.h"

namespace testsupport {

// Stands in for the native window of a skin manager: remembers what the manager asks of the window
// and paints into a recording canvas. The window lies at `screenOrigin` on the screen.
class TestWindowPort : public SkinUI::ISkinWindowPort {
  public:
    struct Tooltip {
        std::wstring text;
        int32_t maxWidth = 0;
        SkinUI::SkinRect toolRect;
    };

    uintptr_t id = 0x1000;
    SkinUI::SkinRect client{0, 0, 400, 300};
    SkinUI::SkinPoint screenOrigin{100, 50};
    SkinUI::SkinPoint cursor;
    uint32_t clock = 1000;
    bool shiftDown = false;

    // What awaits repainting: the union of the invalidated rectangles.
    SkinUI::SkinRect pendingUpdate;
    int paints = 0;
    bool lastPaintLayered = false;
    SkinUI::SkinRect lastPaintRect;
    RecordingCanvas lastCanvas;

    bool keyboardFocus = false;
    int focusGivenToOwner = 0;
    bool captured = false;
    std::vector<uint32_t> trackedHoverTimes;
    SkinUI::SkinCursor shape = SkinUI::SkinCursor::Arrow;
    std::map<uint32_t, uint32_t> runningTimers;  // window timer id -> elapse
    bool tooltipExists = false;
    bool tooltipShown = false;
    Tooltip tooltip;
    int32_t tooltipDelay = 500;
    std::vector<SkinUI::SkinSize> clientResizes;
    std::vector<uint8_t> opacities;
    int deferredDestructionPosts = 0;
    std::vector<uint32_t> reflected;
    struct TrackingLimits {
        SkinUI::SkinSize minimum;
        SkinUI::SkinSize maximum;
    };
    std::vector<TrackingLimits> trackingLimits;

    uintptr_t WindowId() const override { return id; }
    SkinUI::SkinRect ClientRect() const override { return client; }
    void Invalidate(const SkinUI::SkinRect& rect) override;
    void InvalidateAll() override { pendingUpdate = client; }
    SkinUI::SkinRect UpdateRect() const override { return pendingUpdate; }
    void ValidateAll() override { pendingUpdate = SkinUI::SkinRect{}; }
    void PaintUpdate(bool layered, SkinUI::ISkinClientPainter& painter) override;
    void DropOffscreen() override {}
    void PrintClient(uintptr_t, intptr_t, SkinUI::ISkinClientPainter& painter) override;
    bool HasKeyboardFocus() const override { return keyboardFocus; }
    void TakeKeyboardFocus() override { keyboardFocus = true; }
    void GiveFocusToOwner() override {
        keyboardFocus = false;
        ++focusGivenToOwner;
    }
    bool ShiftDown() const override { return shiftDown; }
    void CaptureMouse() override { captured = true; }
    void ReleaseMouse() override { captured = false; }
    void TrackMouse(uint32_t hoverMs) override { trackedHoverTimes.push_back(hoverMs); }
    void SetCursor(SkinUI::SkinCursor cursorShape) override { shape = cursorShape; }
    SkinUI::SkinPoint CursorPosition() const override { return cursor; }
    SkinUI::SkinPoint ScreenToClient(const SkinUI::SkinPoint& screen) const override {
        return SkinUI::SkinPoint{screen.x - screenOrigin.x, screen.y - screenOrigin.y};
    }
    bool StartTimer(uint32_t windowTimerId, uint32_t elapseMs) override {
        runningTimers[windowTimerId] = elapseMs;
        return true;
    }
    void StopTimer(uint32_t windowTimerId) override { runningTimers.erase(windowTimerId); }
    uint32_t Now() const override { return clock; }
    int32_t TooltipInitialDelay() const override { return tooltipExists ? tooltipDelay : -1; }
    void ShowTooltip(const std::wstring& text, int32_t maxWidth, const SkinUI::SkinRect& toolRect) override;
    void HideTooltip() override { tooltipShown = false; }
    void ResizeClient(const SkinUI::SkinSize& size) override;
    void SetOpacity(uint8_t opacity) override { opacities.push_back(opacity); }
    void ApplyTrackingLimits(intptr_t, const SkinUI::SkinSize& minimum,
                             const SkinUI::SkinSize& maximum) override {
        trackingLimits.push_back({minimum, maximum});
    }
    bool ReflectToChild(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
    void PostDeferredDestruction() override { ++deferredDestructionPosts; }
};

}  // namespace testsupport
