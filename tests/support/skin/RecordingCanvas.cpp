#include "tests/support/skin/RecordingCanvas.h"

#include <algorithm>

namespace testsupport {

std::vector<CanvasCall> RecordingCanvas::Only(CanvasOp op) const {
    std::vector<CanvasCall> selected;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(selected),
                 [op](const CanvasCall& call) { return call.op == op; });
    return selected;
}

std::vector<CanvasCall> RecordingCanvas::ImageBlits() const {
    std::vector<CanvasCall> selected;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(selected), [](const CanvasCall& call) {
        return call.op == CanvasOp::CopyImage || call.op == CanvasOp::StretchImage ||
               call.op == CanvasOp::BlendImage;
    });
    return selected;
}

int32_t RecordingCanvas::OpenClips() const {
    int32_t open = 0;
    for (const CanvasCall& call : calls) {
        open += call.op == CanvasOp::SaveClip ? 1 : call.op == CanvasOp::RestoreClip ? -1 : 0;
    }
    return open;
}

CanvasCall& RecordingCanvas::Record(CanvasOp op) {
    calls.emplace_back();
    calls.back().op = op;
    return calls.back();
}

void RecordingCanvas::FillSolid(const SkinUI::SkinRect& rect, SkinUI::SkinColor color) {
    CanvasCall& call = Record(CanvasOp::FillSolid);
    call.rect = rect;
    call.color = color;
}

void RecordingCanvas::FillGradient(const SkinUI::SkinRect& rect, SkinUI::SkinColor from, SkinUI::SkinColor to,
                                   bool vertical, int32_t steps) {
    CanvasCall& call = Record(CanvasOp::FillGradient);
    call.rect = rect;
    call.color = from;
    call.color2 = to;
    call.vertical = vertical;
    call.width = steps;
}

void RecordingCanvas::DrawLine(const SkinUI::SkinPoint& from, const SkinUI::SkinPoint& to, int32_t width,
                               SkinUI::SkinColor color, int32_t penStyle) {
    CanvasCall& call = Record(CanvasOp::DrawLine);
    call.from = from;
    call.to = to;
    call.width = width;
    call.color = color;
    call.penStyle = penStyle;
}

void RecordingCanvas::DrawRect(const SkinUI::SkinRect& rect, int32_t width, SkinUI::SkinColor color) {
    CanvasCall& call = Record(CanvasOp::DrawRect);
    call.rect = rect;
    call.width = width;
    call.color = color;
}

void RecordingCanvas::DrawRoundRect(const SkinUI::SkinRect& rect, int32_t width, int32_t radiusX,
                                    int32_t radiusY, SkinUI::SkinColor color) {
    CanvasCall& call = Record(CanvasOp::DrawRoundRect);
    call.rect = rect;
    call.width = width;
    call.radiusX = radiusX;
    call.radiusY = radiusY;
    call.color = color;
}

void RecordingCanvas::PaintText(const SkinUI::SkinRect& rect, const std::wstring& text,
                                SkinUI::SkinColor color, SkinUI::SkinFontHandle font, uint32_t format) {
    CanvasCall& call = Record(CanvasOp::PaintText);
    call.rect = rect;
    call.text = text;
    call.color = color;
    call.font = font;
    call.format = format;
}

void RecordingCanvas::CopyImage(const SkinUI::SkinRect& dest, const SkinUI::SkinImageInfo& image,
                                const SkinUI::SkinRect& source) {
    CanvasCall& call = Record(CanvasOp::CopyImage);
    call.rect = dest;
    call.source = source;
    call.image = &image;
}

void RecordingCanvas::StretchImage(const SkinUI::SkinRect& dest, const SkinUI::SkinImageInfo& image,
                                   const SkinUI::SkinRect& source) {
    CanvasCall& call = Record(CanvasOp::StretchImage);
    call.rect = dest;
    call.source = source;
    call.image = &image;
}

void RecordingCanvas::BlendImage(const SkinUI::SkinRect& dest, const SkinUI::SkinImageInfo& image,
                                 const SkinUI::SkinRect& source, uint8_t opacity) {
    CanvasCall& call = Record(CanvasOp::BlendImage);
    call.rect = dest;
    call.source = source;
    call.image = &image;
    call.opacity = opacity;
}

void RecordingCanvas::SaveClip() {
    Record(CanvasOp::SaveClip);
}

void RecordingCanvas::IntersectClip(const SkinUI::SkinRect& rect) {
    CanvasCall& call = Record(CanvasOp::IntersectClip);
    call.rect = rect;
}

void RecordingCanvas::IntersectRoundClip(const SkinUI::SkinRect& rect, int32_t radiusX, int32_t radiusY) {
    CanvasCall& call = Record(CanvasOp::IntersectRoundClip);
    call.rect = rect;
    call.radiusX = radiusX;
    call.radiusY = radiusY;
}

void RecordingCanvas::RestoreClip() {
    Record(CanvasOp::RestoreClip);
}

const char* CanvasOpName(CanvasOp op) {
    switch (op) {
        case CanvasOp::FillSolid:
            return "FillSolid";
        case CanvasOp::FillGradient:
            return "FillGradient";
        case CanvasOp::DrawLine:
            return "DrawLine";
        case CanvasOp::DrawRect:
            return "DrawRect";
        case CanvasOp::DrawRoundRect:
            return "DrawRoundRect";
        case CanvasOp::PaintText:
            return "PaintText";
        case CanvasOp::CopyImage:
            return "CopyImage";
        case CanvasOp::StretchImage:
            return "StretchImage";
        case CanvasOp::BlendImage:
            return "BlendImage";
        case CanvasOp::SaveClip:
            return "SaveClip";
        case CanvasOp::IntersectClip:
            return "IntersectClip";
        case CanvasOp::IntersectRoundClip:
            return "IntersectRoundClip";
        case CanvasOp::RestoreClip:
            return "RestoreClip";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, const CanvasCall& call) {
    out << CanvasOpName(call.op) << " " << call.rect;
    if (call.image != nullptr) {
        out << " from " << call.source << " opacity " << int{call.opacity};
    }
    return out;
}

}  // namespace testsupport

namespace SkinUI {

std::ostream& operator<<(std::ostream& out, const SkinRect& rect) {
    return out << "(" << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << ")";
}

std::ostream& operator<<(std::ostream& out, const SkinPoint& point) {
    return out << "(" << point.x << "," << point.y << ")";
}

}  // namespace SkinUI
