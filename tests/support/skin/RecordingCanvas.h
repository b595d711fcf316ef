#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "skin/drawing/Canvas.h"

namespace testsupport {

enum class CanvasOp {
    FillSolid,
    FillGradient,
    DrawLine,
    DrawRect,
    DrawRoundRect,
    PaintText,
    CopyImage,
    StretchImage,
    BlendImage,
    SaveClip,
    IntersectClip,
    IntersectRoundClip,
    RestoreClip
};

// One call on the canvas with the arguments that matter for the tests; the others keep their defaults.
struct CanvasCall {
    CanvasOp op = CanvasOp::FillSolid;
    SkinUI::SkinRect rect{};  // filled, outlined, text, image destination or clip rectangle
    SkinUI::SkinColor color = 0;
    SkinUI::SkinRect source{};  // image pixels
    const SkinUI::SkinImageInfo* image = nullptr;
    int32_t radiusX = 0;
    int32_t radiusY = 0;
    std::wstring text{};
    SkinUI::SkinFontHandle font = nullptr;
    uint32_t format = 0;
};

// A canvas that draws nothing and remembers every call in order, for tests of what is drawn where.
class RecordingCanvas : public SkinUI::SkinCanvas {
  public:
    using Rect = SkinUI::SkinRect;
    using Color = SkinUI::SkinColor;
    using Image = SkinUI::SkinImageInfo;
    std::vector<CanvasCall> calls;

    // The calls of one kind, or with `op` CopyImage every image blit (copy, stretch, blend), in order.
    std::vector<CanvasCall> Only(CanvasOp op) const {
        std::vector<CanvasCall> found;
        for (const CanvasCall& call : calls) {
            const bool blit = call.op == CanvasOp::StretchImage || call.op == CanvasOp::BlendImage;
            if (call.op == op || (op == CanvasOp::CopyImage && blit)) {
                found.push_back(call);
            }
        }
        return found;
    }
    // Clip saves minus restores: 0 when they pair up.
    int32_t OpenClips() const {
        int32_t open = 0;
        for (const CanvasCall& call : calls) {
            open += call.op == CanvasOp::SaveClip ? 1 : call.op == CanvasOp::RestoreClip ? -1 : 0;
        }
        return open;
    }

    void FillSolid(const Rect& rect, Color color) override {
        calls.push_back({CanvasOp::FillSolid, rect, color});
    }
    void FillGradient(const Rect& rect, Color from, Color, bool, int32_t) override {
        calls.push_back({CanvasOp::FillGradient, rect, from});
    }
    void DrawLine(const SkinUI::SkinPoint&, const SkinUI::SkinPoint&, int32_t, Color color,
                  int32_t) override {
        calls.push_back({CanvasOp::DrawLine, {}, color});
    }
    void DrawRect(const Rect& rect, int32_t, Color color) override {
        calls.push_back({CanvasOp::DrawRect, rect, color});
    }
    void DrawRoundRect(const Rect& rect, int32_t, int32_t radiusX, int32_t radiusY, Color color) override {
        calls.push_back({CanvasOp::DrawRoundRect, rect, color, {}, nullptr, radiusX, radiusY});
    }
    void PaintText(const Rect& rect, const std::wstring& text, Color color, SkinUI::SkinFontHandle font,
                   uint32_t format) override {
        calls.push_back({CanvasOp::PaintText, rect, color, {}, nullptr, 0, 0, text, font, format});
    }
    void CopyImage(const Rect& dest, const Image& image, const Rect& source) override {
        calls.push_back({CanvasOp::CopyImage, dest, 0, source, &image});
    }
    void StretchImage(const Rect& dest, const Image& image, const Rect& source) override {
        calls.push_back({CanvasOp::StretchImage, dest, 0, source, &image});
    }
    void BlendImage(const Rect& dest, const Image& image, const Rect& source, uint8_t) override {
        calls.push_back({CanvasOp::BlendImage, dest, 0, source, &image});
    }
    void SaveClip() override { calls.push_back({CanvasOp::SaveClip}); }
    void IntersectClip(const Rect& rect) override { calls.push_back({CanvasOp::IntersectClip, rect}); }
    void IntersectRoundClip(const Rect& rect, int32_t radiusX, int32_t radiusY) override {
        calls.push_back({CanvasOp::IntersectRoundClip, rect, 0, {}, nullptr, radiusX, radiusY});
    }
    void RestoreClip() override { calls.push_back({CanvasOp::RestoreClip}); }
};

}  // namespace testsupport

namespace SkinUI {
// Readable rectangles in test failure messages.
inline std::ostream& operator<<(std::ostream& out, const SkinRect& rect) {
    return out << "(" << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << ")";
}
}  // namespace SkinUI
