#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/drawing/FontEngine.h"

namespace testsupport {

// A font engine with made-up, predictable measures: a font's metrics height is its pixel size plus 2,
// every character is half the pixel size wide, lines are broken only at line feeds.
class FixedFontEngine : public SkinUI::SkinFontEngine {
  public:
    // The font made by this engine, with the description it was made from.
    class Font : public SkinUI::SkinFontObject {
      public:
        explicit Font(SkinUI::SkinFontDescription description) : description(std::move(description)) {}
        SkinUI::SkinFontDescription description;
    };

    SkinUI::SkinFontDescription systemFont;
    bool refuseFonts = false;                            // MakeFont answers null
    std::vector<SkinUI::SkinFontDescription> madeFonts;  // every description asked for, in order

    FixedFontEngine();

    // The description a handle of this engine was made from.
    static const SkinUI::SkinFontDescription& DescriptionOf(SkinUI::SkinFontHandle font);

    SkinUI::SkinFontDescription SystemFont() override;
    std::unique_ptr<SkinUI::SkinFontObject> MakeFont(const SkinUI::SkinFontDescription& description) override;
    SkinUI::SkinTextMetrics Metrics(SkinUI::SkinFontHandle font) override;
    SkinUI::SkinSize MeasureText(SkinUI::SkinFontHandle font, const std::wstring& text, uint32_t format,
                                 int32_t maxWidth) override;
};

}  // namespace testsupport
