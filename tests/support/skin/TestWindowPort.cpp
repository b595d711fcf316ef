#include "tests/support/skin/TestWindowPort.h"

#include "skin/manager/WindowMessages.h"

namespace testsupport {

using SkinUI::SkinRect;

void TestWindowPort::Invalidate(const SkinRect& rect) {
    SkinRect visible;
    if (SkinUI::IntersectRects(rect, client, visible)) {
        pendingUpdate = SkinUI::UnionRects(pendingUpdate, visible);
    }
}

void TestWindowPort::PaintUpdate(bool layered, SkinUI::ISkinClientPainter& painter) {
    ++paints;
    lastPaintLayered = layered;
    // A layered window is composed whole; otherwise only what awaits repainting is painted.
    lastPaintRect = layered ? client : pendingUpdate;
    pendingUpdate = SkinRect{};
    lastCanvas.calls.clear();
    painter.PaintClient(lastCanvas, lastPaintRect);
}

void TestWindowPort::PrintClient(uintptr_t, intptr_t, SkinUI::ISkinClientPainter& painter) {
    lastCanvas.calls.clear();
    painter.PaintClient(lastCanvas, client);
}

void TestWindowPort::ShowTooltip(const std::wstring& text, int32_t maxWidth, const SkinRect& toolRect) {
    tooltipExists = true;
    tooltipShown = true;
    tooltip = Tooltip{text, maxWidth, toolRect};
}

void TestWindowPort::ResizeClient(const SkinUI::SkinSize& size) {
    clientResizes.push_back(size);
    client = SkinRect{0, 0, size.cx, size.cy};
}

bool TestWindowPort::ReflectToChild(uint32_t message, uintptr_t, intptr_t lParam, intptr_t& result) {
    if (lParam == 0) {
        return false;
    }
    reflected.push_back(message + SkinUI::SkinMessage::kReflectBase);
    result = 0;
    return true;
}

}  // namespace testsupport
