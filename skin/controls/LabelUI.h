#pragma once

#include <cstdint>

#include "skin/controls/ControlUI.h"
#include "skin/drawing/Font.h"

namespace SkinUI {

// Settings of the drawn text effects (shadow, stroke, gradient). They are kept for skins that write
// them; text is drawn plainly, effects or not.
struct SkinTextEffects {
    bool enabled = false;
    int32_t renderingHint = 0;
    int32_t shadowTransparency = 60;
    int32_t textTransparency = 168;
    int32_t shadowTransparency2 = 60;
    int32_t textTransparency2 = 64;
    int32_t gradientAngle = 0;
    bool strokeEnabled = false;
    bool shadowEnabled = false;
    int32_t strokeTransparency = 255;
    int32_t gradientLength = 0;
    SkinSize shadowOffset;
    SkinColor textColor2 = 0;
    SkinColor shadowColorA = 0xBB000000;
    SkinColor shadowColorB = 0xFF000000;
    SkinColor strokeColor = 0;
};

// A control that draws one line of text with a font chosen by id, a colour, alignment and padding.
class CLabelUI : public CControlUI {
  public:
    CLabelUI();

    const wchar_t* ClassName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    SkinSize DesiredSize(const SkinSize& available) override;
    void PaintTextPart(SkinCanvas& canvas) override;

    // 0 takes the window's default colour when painted.
    SkinColor TextColor() const { return textColor_; }
    void SetTextColor(SkinColor color);
    SkinColor DisabledTextColor() const { return disabledTextColor_; }
    void SetDisabledTextColor(SkinColor color);
    // -1, or an id without a font, gives the window's default font.
    int32_t Font() const { return font_; }
    void SetFont(int32_t id);
    // CanvasTextFormat flags.
    uint32_t TextStyle() const { return textStyle_; }
    void SetTextStyle(uint32_t style);
    const SkinRect& TextPadding() const { return textPadding_; }
    void SetTextPadding(const SkinRect& padding);
    bool ShowsMarkup() const { return showMarkup_; }
    void SetShowsMarkup(bool show);
    const SkinTextEffects& TextEffects() const { return effects_; }

  protected:
    // Zero colours become the window's default text and disabled colours, kept from then on.
    void ResolveTextColors();
    SkinRect TextRect() const;
    SkinFontHandle FontHandle() const;
    void DrawLabelText(SkinCanvas& canvas, SkinColor color, uint32_t style);

  private:
    bool ApplyEffectAttribute(const wchar_t* name, const wchar_t* value);

    SkinColor textColor_ = 0;
    SkinColor disabledTextColor_ = 0;
    int32_t font_ = -1;
    uint32_t textStyle_;
    SkinRect textPadding_;
    bool showMarkup_ = false;
    SkinTextEffects effects_;
};

}  // namespace SkinUI
