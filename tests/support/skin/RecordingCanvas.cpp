#include "tests/support/skin/RecordingCanvas.h"

#include <algorithm>

namespace testsupport {

using SkinUI::SkinColor;
using SkinUI::SkinFontHandle;
using SkinUI::SkinImageInfo;
using SkinUI::SkinPoint;
using SkinUI::SkinRect;

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

CanvasCall& RecordingCanvas::Record(CanvasOp op, const SkinRect& rect, SkinColor color) {
    calls.emplace_back();
    calls.back().op = op;
    calls.back().rect = rect;
    calls.back().color = color;
    return calls.back();
}

void RecordingCanvas::FillSolid(const SkinRect& rect, SkinColor color) {
    Record(CanvasOp::FillSolid, rect, color);
}

void RecordingCanvas::FillGradient(const SkinRect& rect, SkinColor from, SkinColor to, bool vertical,
                                   int32_t steps) {
    CanvasCall& call = Record(CanvasOp::FillGradient, rect, from);
    call.color2 = to;
    call.vertical = vertical;
    call.width = steps;
}

void RecordingCanvas::DrawLine(const SkinPoint& from, const SkinPoint& to, int32_t width, SkinColor color,
                               int32_t penStyle) {
    CanvasCall& call = Record(CanvasOp::DrawLine, SkinRect{}, color);
    call.from = from;
    call.to = to;
    call.width = width;
    call.penStyle = penStyle;
}

void RecordingCanvas::DrawRect(const SkinRect& rect, int32_t width, SkinColor color) {
    Record(CanvasOp::DrawRect, rect, color).width = width;
}

void RecordingCanvas::DrawRoundRect(const SkinRect& rect, int32_t width, int32_t radiusX, int32_t radiusY,
                                    SkinColor color) {
    CanvasCall& call = Record(CanvasOp::DrawRoundRect, rect, color);
    call.width = width;
    call.radiusX = radiusX;
    call.radiusY = radiusY;
}

void RecordingCanvas::PaintText(const SkinRect& rect, const std::wstring& text, SkinColor color,
                                SkinFontHandle font, uint32_t format) {
    CanvasCall& call = Record(CanvasOp::PaintText, rect, color);
    call.text = text;
    call.font = font;
    call.format = format;
}

void RecordingCanvas::CopyImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source) {
    RecordImage(CanvasOp::CopyImage, dest, image, source);
}

void RecordingCanvas::StretchImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source) {
    RecordImage(CanvasOp::StretchImage, dest, image, source);
}

void RecordingCanvas::BlendImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source,
                                 uint8_t opacity) {
    RecordImage(CanvasOp::BlendImage, dest, image, source).opacity = opacity;
}

CanvasCall& RecordingCanvas::RecordImage(CanvasOp op, const SkinRect& dest, const SkinImageInfo& image,
                                         const SkinRect& source) {
    CanvasCall& call = Record(op, dest, 0);
    call.source = source;
    call.image = &image;
    return call;
}

void RecordingCanvas::SaveClip() {
    Record(CanvasOp::SaveClip, SkinRect{}, 0);
}

void RecordingCanvas::IntersectClip(const SkinRect& rect) {
    Record(CanvasOp::IntersectClip, rect, 0);
}

void RecordingCanvas::IntersectRoundClip(const SkinRect& rect, int32_t radiusX, int32_t radiusY) {
    CanvasCall& call = Record(CanvasOp::IntersectRoundClip, rect, 0);
    call.radiusX = radiusX;
    call.radiusY = radiusY;
}

void RecordingCanvas::RestoreClip() {
    Record(CanvasOp::RestoreClip, SkinRect{}, 0);
}

const char* CanvasOpName(CanvasOp op) {
    static const char* const kNames[] = {
        "FillSolid",     "FillGradient",       "DrawLine",     "DrawRect",   "DrawRoundRect",
        "PaintText",     "CopyImage",          "StretchImage", "BlendImage", "SaveClip",
        "IntersectClip", "IntersectRoundClip", "RestoreClip"};
    const auto index = static_cast<size_t>(op);
    return index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "?";
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
