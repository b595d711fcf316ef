#include "skin/controls/LabelUI.h"

#include <cwchar>

#include "skin/controls/ISkinControlHost.h"
#include "skin/drawing/CanvasDrawing.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/markup/AttributeValues.h"

namespace SkinUI {
namespace {

bool Contains(const wchar_t* text, const wchar_t* part) {
    return std::wcsstr(text, part) != nullptr;
}

using namespace CanvasTextFormat;

uint32_t AlignedStyle(uint32_t style, const wchar_t* value) {
    if (Contains(value, L"left")) {
        style &= ~(kCenter | kRight | kSingleLine);
    }
    if (Contains(value, L"center")) {
        style &= ~kRight;
        style |= kCenter;
    }
    if (Contains(value, L"right")) {
        style &= ~(kCenter | kSingleLine);
        style |= kRight;
    }
    return style;
}

uint32_t VerticallyAlignedStyle(uint32_t style, const wchar_t* value) {
    if (Contains(value, L"top")) {
        style &= ~(kVerticalCenter | kBottom);
        style |= kSingleLine;
    }
    if (Contains(value, L"vcenter")) {
        style &= ~kBottom;
        style |= kVerticalCenter | kSingleLine;
    }
    if (Contains(value, L"bottom")) {
        style &= ~kVerticalCenter;
        style |= kBottom | kSingleLine;
    }
    return style;
}

}  // namespace

CLabelUI::CLabelUI() : textStyle_(kVerticalCenter) {}

const wchar_t* CLabelUI::ClassName() const {
    return L"LabelUI";
}

void* CLabelUI::FindInterface(const wchar_t* name) {
    if (name != nullptr && IsNamed(name, L"Label")) {
        return this;
    }
    return CControlUI::FindInterface(name);
}

void CLabelUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr || value == nullptr) {
        return;
    }
    if (IsNamed(name, L"align")) {
        SetTextStyle(AlignedStyle(textStyle_, value));
    } else if (IsNamed(name, L"valign")) {
        SetTextStyle(VerticallyAlignedStyle(textStyle_, value));
    } else if (IsNamed(name, L"endellipsis")) {
        SetTextStyle(IsTrueText(value) ? textStyle_ | kEndEllipsis : textStyle_ & ~kEndEllipsis);
    } else if (IsNamed(name, L"font")) {
        SetFont(ParseIntegerValue(value));
    } else if (IsNamed(name, L"textcolor")) {
        SetTextColor(ParseColorText(value));
    } else if (IsNamed(name, L"disabledtextcolor")) {
        SetDisabledTextColor(ParseColorText(value));
    } else if (IsNamed(name, L"textpadding")) {
        SetTextPadding(ParseRectValue(value));
    } else if (IsNamed(name, L"showhtml")) {
        SetShowsMarkup(IsTrueText(value));
    } else if (!ApplyEffectAttribute(name, value)) {
        CControlUI::ApplyAttribute(name, value);
    }
}

bool CLabelUI::ApplyEffectAttribute(const wchar_t* name, const wchar_t* value) {
    SkinTextEffects& e = effects_;
    if (IsNamed(name, L"enabledeffect")) {
        e.enabled = IsTrueText(value);
    } else if (IsNamed(name, L"rhaa")) {
        e.renderingHint = ParseIntegerValue(value);
    } else if (IsNamed(name, L"transshadow")) {
        e.shadowTransparency = ParseIntegerValue(value);
    } else if (IsNamed(name, L"transtext")) {
        e.textTransparency = ParseIntegerValue(value);
    } else if (IsNamed(name, L"transshadow1")) {
        e.shadowTransparency2 = ParseIntegerValue(value);
    } else if (IsNamed(name, L"transtext1")) {
        e.textTransparency2 = ParseIntegerValue(value);
    } else if (IsNamed(name, L"gradientangle")) {
        e.gradientAngle = ParseIntegerValue(value);
    } else if (IsNamed(name, L"enabledstroke")) {
        e.strokeEnabled = IsTrueText(value);
    } else if (IsNamed(name, L"enabledshadow")) {
        e.shadowEnabled = IsTrueText(value);
    } else if (IsNamed(name, L"transstroke")) {
        e.strokeTransparency = ParseIntegerValue(value);
    } else if (IsNamed(name, L"gradientlength")) {
        e.gradientLength = ParseIntegerValue(value);
    } else if (IsNamed(name, L"shadowoffset")) {
        e.shadowOffset = ParseSizeValue(value);
    } else if (IsNamed(name, L"textcolor1")) {
        e.textColor2 = ParseColorText(value);
    } else if (IsNamed(name, L"textshadowcolora")) {
        e.shadowColorA = ParseColorText(value);
    } else if (IsNamed(name, L"textshadowcolorb")) {
        e.shadowColorB = ParseColorText(value);
    } else if (IsNamed(name, L"strokecolor")) {
        e.strokeColor = ParseColorText(value);
    } else {
        return false;
    }
    Invalidate();
    return true;
}

SkinSize CLabelUI::DesiredSize(const SkinSize&) {
    if (FixedHeight() != 0) {
        return SkinSize{FixedWidth(), FixedHeight()};
    }
    int32_t fontHeight = 0;
    if (Manager() != nullptr) {
        if (const SkinFontInfo* font = Manager()->Resources().FontRecordById(font_)) {
            fontHeight = font->metrics.height;
        }
    }
    return SkinSize{FixedWidth(), fontHeight + 4};
}

void CLabelUI::PaintTextPart(SkinCanvas& canvas) {
    ResolveTextColors();
    // Single line whatever the alignment asked for: a label shows one line of text.
    DrawLabelText(canvas, IsEnabled() ? textColor_ : disabledTextColor_, textStyle_ | kSingleLine);
}

void CLabelUI::ResolveTextColors() {
    if (Manager() == nullptr) {
        return;
    }
    const SkinDefaultColors& defaults = Manager()->Resources().DefaultColors();
    if (textColor_ == 0) {
        textColor_ = defaults.text;
    }
    if (disabledTextColor_ == 0) {
        disabledTextColor_ = defaults.disabledText;
    }
}

SkinRect CLabelUI::TextRect() const {
    const SkinRect& item = ItemRect();
    return SkinRect{item.left + textPadding_.left, item.top + textPadding_.top,
                    item.right - textPadding_.right, item.bottom - textPadding_.bottom};
}

SkinFontHandle CLabelUI::FontHandle() const {
    return Manager() != nullptr ? Manager()->Resources().FontById(font_) : nullptr;
}

void CLabelUI::DrawLabelText(SkinCanvas& canvas, SkinColor color, uint32_t style) {
    // Markup text and effects have no renderer of their own: their text is drawn plainly.
    if (Text().empty() || Manager() == nullptr) {
        return;
    }
    DrawPlainText(canvas, TextRect(), Text(), color, FontHandle(), style);
}

void CLabelUI::SetTextColor(SkinColor color) {
    textColor_ = color;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(SkinColor color) {
    disabledTextColor_ = color;
    Invalidate();
}

void CLabelUI::SetFont(int32_t id) {
    font_ = id;
    Invalidate();
}

void CLabelUI::SetTextStyle(uint32_t style) {
    textStyle_ = style;
    Invalidate();
}

void CLabelUI::SetTextPadding(const SkinRect& padding) {
    textPadding_ = padding;
    Invalidate();
}

void CLabelUI::SetShowsMarkup(bool show) {
    showMarkup_ = show;
    Invalidate();
}

}  // namespace SkinUI
