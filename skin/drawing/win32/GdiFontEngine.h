#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "skin/drawing/FontEngine.h"
#include "skin/drawing/win32/GdiCanvasObjects.h"

namespace SkinUI {

// A font made by the GDI font engine.
class GdiFont final : public SkinFontObject {
  public:
    explicit GdiFont(HFONT font) : font_(font) {}
    HFONT Handle() const { return font_.Get(); }

  private:
    GdiObject<HFONT> font_;
};

// The HFONT behind a font handle; null for no font or a font of another engine.
HFONT GdiFontHandle(SkinFontHandle font);

// Fonts from GDI: descriptions start from the default GUI font; measures come from a memory device
// context of the screen.
class GdiFontEngine final : public SkinFontEngine {
  public:
    GdiFontEngine();

    SkinFontDescription SystemFont() override;
    std::unique_ptr<SkinFontObject> MakeFont(const SkinFontDescription& description) override;
    SkinTextMetrics Metrics(SkinFontHandle font) override;
    SkinSize MeasureText(SkinFontHandle font, const std::wstring& text, uint32_t format,
                         int32_t maxWidth) override;

  private:
    LOGFONTW SystemLogFont() const;

    MemoryDc measureDc_;
};

}  // namespace SkinUI
