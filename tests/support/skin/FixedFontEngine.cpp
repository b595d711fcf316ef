#include "tests/support/skin/FixedFontEngine.h"

#include <algorithm>

namespace testsupport {
namespace {

int32_t PixelSize(SkinUI::SkinFontHandle font) {
    const int32_t height = FixedFontEngine::DescriptionOf(font).height;
    return height < 0 ? -height : height;
}

}  // namespace

FixedFontEngine::FixedFontEngine() {
    systemFont.faceName = L"Fixed Sans";
    systemFont.height = -12;
    systemFont.weight = 400;
    systemFont.charSet = 0;
}

const SkinUI::SkinFontDescription& FixedFontEngine::DescriptionOf(SkinUI::SkinFontHandle font) {
    return static_cast<const Font*>(font)->description;
}

SkinUI::SkinFontDescription FixedFontEngine::SystemFont() {
    return systemFont;
}

std::unique_ptr<SkinUI::SkinFontObject> FixedFontEngine::MakeFont(
    const SkinUI::SkinFontDescription& description) {
    madeFonts.push_back(description);
    if (refuseFonts) {
        return nullptr;
    }
    return std::make_unique<Font>(description);
}

SkinUI::SkinTextMetrics FixedFontEngine::Metrics(SkinUI::SkinFontHandle font) {
    const int32_t size = PixelSize(font);
    SkinUI::SkinTextMetrics metrics;
    metrics.height = size + 2;
    metrics.ascent = size;
    metrics.descent = 2;
    metrics.averageCharWidth = size / 2;
    metrics.maxCharWidth = size;
    return metrics;
}

SkinUI::SkinSize FixedFontEngine::MeasureText(SkinUI::SkinFontHandle font, const std::wstring& text, uint32_t,
                                              int32_t) {
    const int32_t size = PixelSize(font);
    int32_t lines = 1;
    size_t longest = 0;
    size_t current = 0;
    for (const wchar_t c : text) {
        if (c == L'\n') {
            ++lines;
            current = 0;
        } else {
            longest = std::max(longest, ++current);
        }
    }
    return SkinUI::SkinSize{static_cast<int32_t>(longest) * (size / 2), lines * (size + 2)};
}

}  // namespace testsupport
