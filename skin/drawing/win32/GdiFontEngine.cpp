#include "skin/drawing/win32/GdiFontEngine.h"

#include <algorithm>
#include <cwchar>

namespace SkinUI {
namespace {

constexpr UINT kCalculateRect = DT_CALCRECT;
constexpr UINT kNeverModify = DT_MODIFYSTRING;

HFONT FontOrDefault(SkinFontHandle font) {
    HFONT handle = GdiFontHandle(font);
    return handle != nullptr ? handle : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

HFONT GdiFontHandle(SkinFontHandle font) {
    const auto* gdiFont = dynamic_cast<const GdiFont*>(font);
    return gdiFont != nullptr ? gdiFont->Handle() : nullptr;
}

GdiFontEngine::GdiFontEngine() : measureDc_(nullptr) {}

LOGFONTW GdiFontEngine::SystemLogFont() const {
    LOGFONTW logFont = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    return logFont;
}

SkinFontDescription GdiFontEngine::SystemFont() {
    const LOGFONTW logFont = SystemLogFont();
    SkinFontDescription description;
    description.faceName.assign(logFont.lfFaceName, wcsnlen(logFont.lfFaceName, LF_FACESIZE));
    description.height = logFont.lfHeight;
    description.weight = logFont.lfWeight;
    description.italic = logFont.lfItalic != 0;
    description.underline = logFont.lfUnderline != 0;
    description.charSet = logFont.lfCharSet;
    return description;
}

std::unique_ptr<SkinFontObject> GdiFontEngine::MakeFont(const SkinFontDescription& description) {
    // Everything the description does not say (width, quality, pitch) stays as the system font has it.
    LOGFONTW logFont = SystemLogFont();
    const size_t length = std::min<size_t>(description.faceName.size(), LF_FACESIZE - 1);
    std::fill(std::begin(logFont.lfFaceName), std::end(logFont.lfFaceName), L'\0');
    std::copy_n(description.faceName.c_str(), length, logFont.lfFaceName);
    logFont.lfHeight = description.height;
    logFont.lfWeight = description.weight;
    logFont.lfItalic = description.italic ? TRUE : FALSE;
    logFont.lfUnderline = description.underline ? TRUE : FALSE;
    logFont.lfCharSet = description.charSet;
    HFONT font = CreateFontIndirectW(&logFont);
    if (font == nullptr) {
        return nullptr;
    }
    return std::make_unique<GdiFont>(font);
}

SkinTextMetrics GdiFontEngine::Metrics(SkinFontHandle font) {
    SkinTextMetrics metrics;
    TEXTMETRICW measured = {};
    ScopedSelect select(measureDc_.Get(), FontOrDefault(font));
    if (measureDc_.Get() == nullptr || !GetTextMetricsW(measureDc_.Get(), &measured)) {
        return metrics;
    }
    metrics.height = measured.tmHeight;
    metrics.ascent = measured.tmAscent;
    metrics.descent = measured.tmDescent;
    metrics.averageCharWidth = measured.tmAveCharWidth;
    metrics.maxCharWidth = measured.tmMaxCharWidth;
    return metrics;
}

SkinSize GdiFontEngine::MeasureText(SkinFontHandle font, const std::wstring& text, uint32_t format,
                                    int32_t maxWidth) {
    if (measureDc_.Get() == nullptr || text.empty()) {
        return SkinSize{};
    }
    ScopedSelect select(measureDc_.Get(), FontOrDefault(font));
    RECT rect = {0, 0, maxWidth, 0};
    DrawTextW(measureDc_.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
              (format & ~kNeverModify) | kCalculateRect);
    return SkinSize{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace SkinUI
