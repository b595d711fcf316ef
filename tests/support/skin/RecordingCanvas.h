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
    RestoreClip,
};

// One call on the canvas with the arguments that matter for it; the others keep their defaults.
struct CanvasCall {
    CanvasOp op = CanvasOp::FillSolid;
    SkinUI::SkinRect rect;    // filled, outlined, text, image destination or clip rectangle
    SkinUI::SkinRect source;  // image pixels
    SkinUI::SkinPoint from;
    SkinUI::SkinPoint to;
    SkinUI::SkinColor color = 0;
    SkinUI::SkinColor color2 = 0;
    int32_t width = 0;  // pen width, gradient steps
    int32_t radiusX = 0;
    int32_t radiusY = 0;
    int32_t penStyle = 0;
    bool vertical = false;
    uint8_t opacity = 255;
    std::wstring text;
    SkinUI::SkinFontHandle font = nullptr;
    uint32_t format = 0;
    const SkinUI::SkinImageInfo* image = nullptr;
};

// A canvas that draws nothing and remembers every call in order, for tests of what is drawn where.
class RecordingCanvas : public SkinUI::SkinCanvas {
  public:
    std::vector<CanvasCall> calls;

    // The calls of one kind, in order.
    std::vector<CanvasCall> Only(CanvasOp op) const;
    // The image blits (copy, stretch, blend), in order.
    std::vector<CanvasCall> ImageBlits() const;
    // Clip saves minus restores: 0 when they pair up.
    int32_t OpenClips() const;

    void FillSolid(const SkinUI::SkinRect& rect, SkinUI::SkinColor color) override;
    void FillGradient(const SkinUI::SkinRect& rect, SkinUI::SkinColor from, SkinUI::SkinColor to,
                      bool vertical, int32_t steps) override;
    void DrawLine(const SkinUI::SkinPoint& from, const SkinUI::SkinPoint& to, int32_t width,
                  SkinUI::SkinColor color, int32_t penStyle) override;
    void DrawRect(const SkinUI::SkinRect& rect, int32_t width, SkinUI::SkinColor color) override;
    void DrawRoundRect(const SkinUI::SkinRect& rect, int32_t width, int32_t radiusX, int32_t radiusY,
                       SkinUI::SkinColor color) override;
    void PaintText(const SkinUI::SkinRect& rect, const std::wstring& text, SkinUI::SkinColor color,
                   SkinUI::SkinFontHandle font, uint32_t format) override;
    void CopyImage(const SkinUI::SkinRect& dest, const SkinUI::SkinImageInfo& image,
                   const SkinUI::SkinRect& source) override;
    void StretchImage(const SkinUI::SkinRect& dest, const SkinUI::SkinImageInfo& image,
                      const SkinUI::SkinRect& source) override;
    void BlendImage(const SkinUI::SkinRect& dest, const SkinUI::SkinImageInfo& image,
                    const SkinUI::SkinRect& source, uint8_t opacity) override;
    void SaveClip() override;
    void IntersectClip(const SkinUI::SkinRect& rect) override;
    void IntersectRoundClip(const SkinUI::SkinRect& rect, int32_t radiusX, int32_t radiusY) override;
    void RestoreClip() override;

  private:
    CanvasCall& Record(CanvasOp op, const SkinUI::SkinRect& rect, SkinUI::SkinColor color);
    CanvasCall& RecordImage(CanvasOp op, const SkinUI::SkinRect& dest, const SkinUI::SkinImageInfo& image,
                            const SkinUI::SkinRect& source);
};

const char* CanvasOpName(CanvasOp op);
std::ostream& operator<<(std::ostream& out, const CanvasCall& call);

}  // namespace testsupport

namespace SkinUI {
// Readable rectangles and points in test failure messages.
std::ostream& operator<<(std::ostream& out, const SkinRect& rect);
std::ostream& operator<<(std::ostream& out, const SkinPoint& point);
}  // namespace SkinUI
