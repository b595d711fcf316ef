#pragma once

#include <cstdint>
#include <string>

#include "skin/drawing/Canvas.h"
#include "skin/drawing/Font.h"
#include "skin/markup/Colors.h"
#include "skin/markup/Geometry.h"

namespace SkinUI {

// The drawing operations controls paint with.

// Alpha 0 draws nothing, alpha 255 fills solid, anything between is blended over what is there.
void FillColor(SkinCanvas& canvas, const SkinRect& rect, SkinColor color);
void FillGradient(SkinCanvas& canvas, const SkinRect& rect, SkinColor from, SkinColor to, bool vertical,
                  int32_t steps);
void StrokeLine(SkinCanvas& canvas, const SkinPoint& from, const SkinPoint& to, int32_t size, SkinColor color,
                int32_t penStyle = CanvasPenStyle::kSolid);
void StrokeRect(SkinCanvas& canvas, const SkinRect& rect, int32_t size, SkinColor color);
void StrokeRoundRect(SkinCanvas& canvas, const SkinRect& rect, int32_t size, int32_t width, int32_t height,
                     SkinColor color);
// Text in the colour's low 24 bits (alpha ignored) on a transparent background.
void DrawPlainText(SkinCanvas& canvas, const SkinRect& rect, const std::wstring& text, SkinColor color,
                   SkinFontHandle font, uint32_t format);

}  // namespace SkinUI
