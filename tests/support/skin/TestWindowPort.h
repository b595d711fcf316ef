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
        SkinUI::SkinRect toolRect;
    };

    uintptr_t id = 0x1000;
    SkinUI::SkinRect client{0, 0, 400, 300};
    SkinUI::SkinPoint screenOrigin{100, 50};
    bool shiftDown = false;

    SkinUI::SkinRect pendingUpdate;  // the union of the invalidated rectangles
    int paints = 0;
    bool lastPaintLayered = false;
    SkinUI::SkinRect lastPaintRect;
    RecordingCanvas lastCanvas;

    bool keyboardFocus = false;
    int focusGivenToOwner = 0;
    bool captured = false;
    std::vector<uint32_t> trackedHoverTimes;
    std::map<uint32_t, uint32_t> runningTimers;  // window timer id -> elapse
    bool tooltipExists = false;
    bool tooltipShown = false;
    Tooltip tooltip;
    std::vector<SkinUI::SkinSize> clientResizes;
    int deferredDestructionPosts = 0;

    uintptr_t WindowId() const override { return id; }
    SkinUI::SkinRect ClientRect() const override { return client; }
    void Invalidate(const SkinUI::SkinRect& rect) override {
        SkinUI::SkinRect visible;
        if (SkinUI::IntersectRects(rect, client, visible)) {
            pendingUpdate = SkinUI::UnionRects(pendingUpdate, visible);
        }
    }
    void InvalidateAll() override { pendingUpdate = client; }
    SkinUI::SkinRect UpdateRect() const override { return pendingUpdate; }
    void ValidateAll() override { pendingUpdate = SkinUI::SkinRect{}; }
    // A layered window is composed whole; otherwise only what awaits repainting is painted.
    void PaintUpdate(bool layered, SkinUI::ISkinClientPainter& painter) override {
        ++paints;
        lastPaintLayered = layered;
        lastPaintRect = layered ? client : pendingUpdate;
        pendingUpdate = SkinUI::SkinRect{};
        lastCanvas.calls.clear();
        painter.PaintClient(lastCanvas, lastPaintRect);
    }
    void DropOffscreen() override {}
    void PrintClient(uintptr_t, intptr_t, SkinUI::ISkinClientPainter& painter) override {
        painter.PaintClient(lastCanvas, client);
    }
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
    void SetCursor(SkinUI::SkinCursor) override {}
    SkinUI::SkinPoint CursorPosition() const override { return {}; }
    SkinUI::SkinPoint ScreenToClient(const SkinUI::SkinPoint& screen) const override {
        return SkinUI::SkinPoint{screen.x - screenOrigin.x, screen.y - screenOrigin.y};
    }
    bool StartTimer(uint32_t windowTimerId, uint32_t elapseMs) override {
        runningTimers[windowTimerId] = elapseMs;
        return true;
    }
    void StopTimer(uint32_t windowTimerId) override { runningTimers.erase(windowTimerId); }
    uint32_t Now() const override { return 1000; }
    int32_t TooltipInitialDelay() const override { return tooltipExists ? 500 : -1; }
    void ShowTooltip(const std::wstring& text, int32_t, const SkinUI::SkinRect& toolRect) override {
        tooltipExists = tooltipShown = true;
        tooltip = Tooltip{text, toolRect};
    }
    void HideTooltip() override { tooltipShown = false; }
    void ResizeClient(const SkinUI::SkinSize& size) override {
        clientResizes.push_back(size);
        client = SkinUI::SkinRect{0, 0, size.cx, size.cy};
    }
    void SetOpacity(uint8_t) override {}
    void ApplyTrackingLimits(intptr_t, const SkinUI::SkinSize&, const SkinUI::SkinSize&) override {}
    bool ReflectToChild(uint32_t, uintptr_t, intptr_t, intptr_t&) override { return false; }
    void PostDeferredDestruction() override { ++deferredDestructionPosts; }
};

}  // namespace testsupport
