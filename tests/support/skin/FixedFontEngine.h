#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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
    struct Font : SkinUI::SkinFontObject {
        explicit Font(SkinUI::SkinFontDescription made) : description(std::move(made)) {}
        SkinUI::SkinFontDescription description;
    };

    bool refuseFonts = false;                            // MakeFont answers null
    std::vector<SkinUI::SkinFontDescription> madeFonts;  // every description asked for, in order

    static const SkinUI::SkinFontDescription& DescriptionOf(SkinUI::SkinFontHandle font) {
        return static_cast<const Font*>(font)->description;
    }

    SkinUI::SkinFontDescription SystemFont() override {
        SkinUI::SkinFontDescription font;
        font.faceName = L"Fixed Sans";
        font.height = -12;
        font.weight = 400;
        font.charSet = 0;
        return font;
    }
    std::unique_ptr<SkinUI::SkinFontObject> MakeFont(
        const SkinUI::SkinFontDescription& description) override {
        madeFonts.push_back(description);
        return refuseFonts ? nullptr : std::make_unique<Font>(description);
    }
    SkinUI::SkinTextMetrics Metrics(SkinUI::SkinFontHandle font) override {
        const int32_t size = PixelSize(font);
        SkinUI::SkinTextMetrics metrics;
        metrics.height = size + 2;
        metrics.ascent = size;
        metrics.descent = 2;
        metrics.averageCharWidth = size / 2;
        metrics.maxCharWidth = size;
        return metrics;
    }
    SkinUI::SkinSize MeasureText(SkinUI::SkinFontHandle font, const std::wstring& text, uint32_t,
                                 int32_t) override {
        int32_t lines = 1;
        size_t longest = 0;
        for (size_t start = 0, end = 0; end != std::wstring::npos; start = end + 1, ++lines) {
            end = text.find(L'\n', start);
            longest = std::max(longest, (end == std::wstring::npos ? text.size() : end) - start);
        }
        return SkinUI::SkinSize{static_cast<int32_t>(longest) * (PixelSize(font) / 2),
                                (lines - 1) * (PixelSize(font) + 2)};
    }

  private:
    static int32_t PixelSize(SkinUI::SkinFontHandle font) { return std::abs(DescriptionOf(font).height); }
};

}  // namespace testsupport
