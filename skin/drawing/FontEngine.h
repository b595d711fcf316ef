#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/drawing/Font.h"
#include "skin/markup/Geometry.h"

namespace SkinUI {

// The platform's fonts: where skin fonts start from, how they are made and measured. The GDI engine
// answers for real; tests use an engine with fixed measures.
class SkinFontEngine {
  public:
    virtual ~SkinFontEngine() = default;

    // The description of the system's default user-interface font.
    virtual SkinFontDescription SystemFont() = 0;
    // A font made from the description, or null when the platform refuses it.
    virtual std::unique_ptr<SkinFontObject> MakeFont(const SkinFontDescription& description) = 0;
    virtual SkinTextMetrics Metrics(SkinFontHandle font) = 0;
    // The extent of `text` drawn with `font` and the text format flags (see CanvasTextFormat), lines
    // broken at `maxWidth` when the format asks for word breaks.
    virtual SkinSize MeasureText(SkinFontHandle font, const std::wstring& text, uint32_t format,
                                 int32_t maxWidth) = 0;
};

}  // namespace SkinUI
