// The attributes every control takes from markup, and the attribute lists of "Default" elements and
// scroll bar styles.
#include <cwchar>

#include "skin/controls/ControlUI.h"
#include "skin/markup/AsciiText.h"
#include "skin/markup/AttributeValues.h"

namespace SkinUI {
namespace {

const wchar_t* SkipBlanks(const wchar_t* text) {
    while (IsAsciiSpace(*text)) {
        ++text;
    }
    return text;
}

}  // namespace

void CControlUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr || value == nullptr) {
        return;
    }
    if (ApplyGeometryAttribute(name, value) || ApplyAppearanceAttribute(name, value)) {
        return;
    }
    if (IsNamed(name, L"name")) {
        SetName(value);
    } else if (IsNamed(name, L"text")) {
        SetText(value);
    } else if (IsNamed(name, L"tooltip")) {
        SetToolTip(value);
    } else if (IsNamed(name, L"userdata")) {
        SetUserData(value);
    } else if (IsNamed(name, L"enabled")) {
        SetEnabled(IsTrueText(value));
    } else if (IsNamed(name, L"mouse")) {
        SetMouseEnabled(IsTrueText(value));
    } else if (IsNamed(name, L"keyboard")) {
        SetKeyboardEnabled(IsTrueText(value));
    } else if (IsNamed(name, L"visible")) {
        SetVisible(IsTrueText(value));
    } else if (IsNamed(name, L"shortcut")) {
        SetShortcut(value[0]);
    } else if (IsNamed(name, L"menu")) {
        SetContextMenuUsed(IsTrueText(value));
    } else if (IsNamed(name, L"virtualwnd")) {
        SetVirtualWindow(value);
    }
}

bool CControlUI::ApplyGeometryAttribute(const wchar_t* name, const wchar_t* value) {
    if (IsNamed(name, L"pos")) {
        const SkinRect pos = ParseRectValue(value);
        SetFloatOffset(SkinSize{pos.left, pos.top});
        SetFixedWidth(pos.right - pos.left);
        SetFixedHeight(pos.bottom - pos.top);
    } else if (IsNamed(name, L"padding")) {
        SetPadding(ParseRectValue(value));
    } else if (IsNamed(name, L"width")) {
        SetFixedWidth(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"height")) {
        SetFixedHeight(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"minwidth")) {
        SetMinWidth(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"minheight")) {
        SetMinHeight(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"maxwidth")) {
        SetMaxWidth(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"maxheight")) {
        SetMaxHeight(ParseCoordinateValue(value));
    } else if (IsNamed(name, L"float")) {
        ApplyFloatAttribute(value);
    } else {
        return false;
    }
    return true;
}

bool CControlUI::ApplyAppearanceAttribute(const wchar_t* name, const wchar_t* value) {
    if (IsNamed(name, L"bkcolor") || IsNamed(name, L"bkcolor1")) {
        SetBkColor(ParseColorText(SkipBlanks(value)));
    } else if (IsNamed(name, L"bkcolor2")) {
        SetBkColor2(ParseColorText(value));
    } else if (IsNamed(name, L"bkcolor3")) {
        SetBkColor3(ParseColorText(value));
    } else if (IsNamed(name, L"bordercolor")) {
        SetBorderColor(ParseColorText(value));
    } else if (IsNamed(name, L"focusbordercolor")) {
        SetFocusBorderColor(ParseColorText(value));
    } else if (IsNamed(name, L"colorhsl")) {
        SetRecoloursColors(IsTrueText(value));
    } else if (IsNamed(name, L"bordersize")) {
        ApplyBorderSizeAttribute(value);
    } else if (IsNamed(name, L"leftbordersize") || IsNamed(name, L"topbordersize") ||
               IsNamed(name, L"rightbordersize") || IsNamed(name, L"bottombordersize")) {
        SkinRect sides = sideBorderSizes_;
        const int32_t size = ParseCoordinateValue(value);
        (name[0] == L'l'   ? sides.left
         : name[0] == L't' ? sides.top
         : name[0] == L'r' ? sides.right
                           : sides.bottom) = size;
        SetSideBorderSizes(sides);
    } else if (IsNamed(name, L"borderstyle")) {
        SetBorderStyle(ParseIntegerValue(value));
    } else if (IsNamed(name, L"borderround")) {
        SetBorderRound(ParseSizeValue(value));
    } else if (IsNamed(name, L"bkimage")) {
        SetBkImage(value);
    } else {
        return false;
    }
    return true;
}

void CControlUI::ApplyBorderSizeAttribute(const wchar_t* value) {
    if (std::wcschr(value, L',') == nullptr) {
        SetBorderSize(ParseCoordinateValue(value));
        SetSideBorderSizes(SkinRect{});
    } else {
        SetSideBorderSizes(ParseRectValue(value));
    }
}

void CControlUI::ApplyFloatAttribute(const wchar_t* value) {
    if (std::wcschr(value, L',') == nullptr) {
        SetFloat(IsTrueText(value));
        return;
    }
    SetAnchorRule(ParseFractionRectValue(value));
    SetFloat(true);
}

void CControlUI::ApplyAttributeList(const wchar_t* list) {
    const wchar_t* p = list != nullptr ? list : L"";
    while (*p != L'\0') {
        const wchar_t* nameStart = p;
        while (*p != L'\0' && *p != L'=') {
            ++p;
        }
        const std::wstring name(nameStart, p);
        if (*p++ != L'=' || *p++ != L'"') {
            return;
        }
        const wchar_t* valueStart = p;
        while (*p != L'\0' && *p != L'"') {
            ++p;
        }
        if (*p != L'"') {
            return;
        }
        const std::wstring value(valueStart, p);
        ++p;
        ApplyAttribute(name.c_str(), value.c_str());
        if (*p != L' ') {
            return;
        }
        ++p;
    }
}

}  // namespace SkinUI
