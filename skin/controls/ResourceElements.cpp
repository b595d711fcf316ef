#include "skin/controls/ResourceElements.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "skin/controls/ISkinControlHost.h"
#include "skin/controls/ISkinWindowObject.h"
#include "skin/controls/ISkinWindowSettings.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/markup/AsciiText.h"
#include "skin/markup/AttributeValues.h"
#include "skin/markup/Colors.h"
#include "skin/resources/DefaultAttributeLists.h"

namespace SkinUI {
namespace {

// The value of the last attribute of that name, letter case aside; null when there is none.
const wchar_t* Attribute(const CSkinMarkupNode& node, const wchar_t* name) {
    const wchar_t* value = nullptr;
    for (int i = 0; i < node.AttributeCount(); ++i) {
        if (SameNameIgnoringCase(node.AttributeName(i), name)) {
            value = node.AttributeValue(i);
        }
    }
    return value;
}

std::wstring TextAttribute(const CSkinMarkupNode& node, const wchar_t* name) {
    const wchar_t* value = Attribute(node, name);
    return value != nullptr ? value : L"";
}

int32_t IntegerAttribute(const CSkinMarkupNode& node, const wchar_t* name, int32_t fallback) {
    const wchar_t* value = Attribute(node, name);
    return value != nullptr ? ParseIntegerValue(value) : fallback;
}

bool FlagAttribute(const CSkinMarkupNode& node, const wchar_t* name) {
    return IsTrueText(Attribute(node, name));
}

void RegisterImageElement(const CSkinMarkupNode& node, ISkinControlHost& host) {
    const std::wstring name = TextAttribute(node, L"name");
    if (name.empty()) {
        return;
    }
    // "shared" takes the place of the recolour flag; the image goes to the window's own table.
    host.Resources().RegisterImage(name, TextAttribute(node, L"restype"),
                                   ParseColorText(Attribute(node, L"mask")), FlagAttribute(node, L"shared"),
                                   false);
}

void RegisterFontElement(const CSkinMarkupNode& node, ISkinControlHost& host) {
    const int32_t id = IntegerAttribute(node, L"id", -1);
    const std::wstring face = TextAttribute(node, L"name");
    if (id < 0 || face.empty()) {
        return;
    }
    const int32_t size = IntegerAttribute(node, L"size", 12);
    const bool bold = FlagAttribute(node, L"bold");
    const bool underline = FlagAttribute(node, L"underline");
    const bool italic = FlagAttribute(node, L"italic");
    const bool shared = FlagAttribute(node, L"shared");
    host.Resources().RegisterFont(id, face, size, bold, underline, italic, shared);
    if (FlagAttribute(node, L"default")) {
        host.Resources().SetBaseFont(face, size, bold, underline, italic, shared);
    }
}

void AddDefaultElement(const CSkinMarkupNode& node, ISkinControlHost& host) {
    const std::wstring element = TextAttribute(node, L"name");
    const wchar_t* list = Attribute(node, L"value");
    if (element.empty() || list == nullptr) {
        return;
    }
    SkinDefaultAttributeLists& lists = FlagAttribute(node, L"shared")
                                           ? host.Resources().Shared().defaultAttributes
                                           : host.DefaultAttributeLists();
    lists.Set(element, list);
}

void AddLanguageElement(const CSkinMarkupNode& node, ISkinControlHost& host) {
    const int32_t id = IntegerAttribute(node, L"id", -1);
    const wchar_t* text = Attribute(node, L"value");
    if (id >= 0 && text != nullptr) {
        host.Resources().Shared().languageStrings[id] = text;
    }
}

void ApplyWindowAttribute(const wchar_t* name, const wchar_t* value, ISkinWindowSettings& settings,
                          ISkinControlHost& host, ISkinWindowObject* window) {
    SkinDefaultColors& colors = host.Resources().DefaultColors();
    if (IsNamed(name, L"size")) {
        settings.SetInitialSize(ParseSizeValue(value));
    } else if (IsNamed(name, L"sizebox")) {
        settings.SetSizeBox(ParseRectValue(value));
    } else if (IsNamed(name, L"caption")) {
        settings.SetCaptionRect(ParseRectValue(value));
    } else if (IsNamed(name, L"roundcorner")) {
        settings.SetRoundCorner(ParseSizeValue(value));
    } else if (IsNamed(name, L"mininfo")) {
        settings.SetMinInfo(ParseSizeValue(value));
    } else if (IsNamed(name, L"maxinfo")) {
        settings.SetMaxInfo(ParseSizeValue(value));
    } else if (IsNamed(name, L"showdirty")) {
        settings.SetShowUpdateRect(IsTrueText(value));
    } else if (IsNamed(name, L"alpha")) {
        settings.SetOpacity(static_cast<uint8_t>(std::clamp(ParseIntegerValue(value), 0, 255)));
    } else if (IsNamed(name, L"bktrans")) {
        if (window != nullptr) {
            window->SetTransparentBackground(IsTrueText(value));
        }
    } else if (IsNamed(name, L"disabledfontcolor")) {
        colors.disabledText = ParseColorText(value);
    } else if (IsNamed(name, L"defaultfontcolor")) {
        colors.text = ParseColorText(value);
    } else if (IsNamed(name, L"linkfontcolor")) {
        colors.linkText = ParseColorText(value);
    } else if (IsNamed(name, L"linkhoverfontcolor")) {
        colors.linkTextHot = ParseColorText(value);
    } else if (IsNamed(name, L"selectedcolor")) {
        colors.selectedBackground = ParseColorText(value);
    }
}

}  // namespace

bool IsResourceElement(const wchar_t* elementName) {
    return SameNameIgnoringCase(elementName, L"Image") || SameNameIgnoringCase(elementName, L"Font") ||
           SameNameIgnoringCase(elementName, L"Default") ||
           SameNameIgnoringCase(elementName, L"MultiLanguage");
}

void ApplyResourceElements(const CSkinMarkupNode& root, ISkinControlHost& host, ISkinWindowObject* window) {
    for (CSkinMarkupNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
        const wchar_t* name = node.Name();
        if (SameNameIgnoringCase(name, L"Image")) {
            RegisterImageElement(node, host);
        } else if (SameNameIgnoringCase(name, L"Font")) {
            RegisterFontElement(node, host);
        } else if (SameNameIgnoringCase(name, L"Default")) {
            AddDefaultElement(node, host);
        } else if (SameNameIgnoringCase(name, L"MultiLanguage")) {
            AddLanguageElement(node, host);
        }
    }
    ISkinWindowSettings* settings = host.WindowSettings();
    if (settings == nullptr || !SameNameIgnoringCase(root.Name(), L"Window")) {
        return;
    }
    for (int i = 0; i < root.AttributeCount(); ++i) {
        ApplyWindowAttribute(root.AttributeName(i), root.AttributeValue(i), *settings, host, window);
    }
}

}  // namespace SkinUI
