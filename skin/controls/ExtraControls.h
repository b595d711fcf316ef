#pragma once

#include <cwchar>

#include "skin/controls/ButtonUI.h"
#include "skin/controls/ContainerUI.h"
#include "skin/controls/ControlUI.h"
#include "skin/controls/HorizontalLayoutUI.h"
#include "skin/controls/LabelUI.h"
#include "skin/controls/VerticalLayoutUI.h"

namespace SkinUI {

// The engine's further element classes. Each is its base with a name of its own: a skin that uses
// them builds, lays out and paints them as it would their base.

struct SkinControlNames {
    const wchar_t* className;
    const wchar_t* interfaceName;
};

template <typename Base, const SkinControlNames& Names>
class CNamedControlUI : public Base {
  public:
    const wchar_t* ClassName() const override { return Names.className; }
    void* FindInterface(const wchar_t* name) override {
        if (name != nullptr && std::wcscmp(name, Names.interfaceName) == 0) {
            return this;
        }
        return Base::FindInterface(name);
    }
};

inline constexpr SkinControlNames kTextNames{L"TextUI", L"Text"};
inline constexpr SkinControlNames kOptionNames{L"OptionUI", L"Option"};
inline constexpr SkinControlNames kCheckBoxNames{L"CheckBoxUI", L"CheckBox"};
inline constexpr SkinControlNames kEditNames{L"EditUI", L"Edit"};
inline constexpr SkinControlNames kRichEditNames{L"RichEditUI", L"RichEdit"};
inline constexpr SkinControlNames kComboNames{L"ComboUI", L"Combo"};
inline constexpr SkinControlNames kListNames{L"ListUI", L"List"};
inline constexpr SkinControlNames kListHeaderNames{L"ListHeaderUI", L"ListHeader"};
inline constexpr SkinControlNames kListHeaderItemNames{L"ListHeaderItemUI", L"ListHeaderItem"};
inline constexpr SkinControlNames kListLabelElementNames{L"ListLabelElementUI", L"ListLabelElement"};
inline constexpr SkinControlNames kListTextElementNames{L"ListTextElementUI", L"ListTextElement"};
inline constexpr SkinControlNames kListContainerElementNames{L"ListContainerElementUI",
                                                             L"ListContainerElement"};
inline constexpr SkinControlNames kTreeViewNames{L"TreeViewUI", L"TreeView"};
inline constexpr SkinControlNames kTreeNodeNames{L"TreeNodeUI", L"TreeNode"};
inline constexpr SkinControlNames kProgressNames{L"ProgressUI", L"Progress"};
inline constexpr SkinControlNames kSliderNames{L"SliderUI", L"Slider"};
inline constexpr SkinControlNames kTabLayoutNames{L"TabLayoutUI", L"TabLayout"};
inline constexpr SkinControlNames kTileLayoutNames{L"TileLayoutUI", L"TileLayout"};
inline constexpr SkinControlNames kChildLayoutNames{L"ChildLayoutUI", L"ChildLayout"};
inline constexpr SkinControlNames kDateTimeNames{L"DateTimeUI", L"DateTime"};
inline constexpr SkinControlNames kActiveXNames{L"ActiveXUI", L"ActiveX"};
inline constexpr SkinControlNames kWebBrowserNames{L"WebBrowserUI", L"WebBrowser"};

// Static text (with links, in a fuller engine).
class CTextUI : public CNamedControlUI<CLabelUI, kTextNames> {};
// Option button and check box.
class COptionUI : public CNamedControlUI<CButtonUI, kOptionNames> {};
class CCheckBoxUI : public CNamedControlUI<COptionUI, kCheckBoxNames> {};
// Edit boxes.
class CEditUI : public CNamedControlUI<CLabelUI, kEditNames> {};
class CRichEditUI : public CNamedControlUI<CLabelUI, kRichEditNames> {};
// Combo box: its items are its children.
class CComboUI : public CNamedControlUI<CContainerUI, kComboNames> {};
// List with header and elements.
class CListUI : public CNamedControlUI<CVerticalLayoutUI, kListNames> {};
class CListHeaderUI : public CNamedControlUI<CHorizontalLayoutUI, kListHeaderNames> {};
class CListHeaderItemUI : public CNamedControlUI<CLabelUI, kListHeaderItemNames> {};
class CListLabelElementUI : public CNamedControlUI<CLabelUI, kListLabelElementNames> {};
class CListTextElementUI : public CNamedControlUI<CListLabelElementUI, kListTextElementNames> {};
class CListContainerElementUI : public CNamedControlUI<CHorizontalLayoutUI, kListContainerElementNames> {};
// Tree view: a list of nodes, each node stacking its own child nodes.
class CTreeViewUI : public CNamedControlUI<CListUI, kTreeViewNames> {};
class CTreeNodeUI : public CNamedControlUI<CVerticalLayoutUI, kTreeNodeNames> {};
// Progress bar and slider.
class CProgressUI : public CNamedControlUI<CLabelUI, kProgressNames> {};
class CSliderUI : public CNamedControlUI<CProgressUI, kSliderNames> {};
// Tab, tile and child layouts.
class CTabLayoutUI : public CNamedControlUI<CContainerUI, kTabLayoutNames> {};
class CTileLayoutUI : public CNamedControlUI<CContainerUI, kTileLayoutNames> {};
class CChildLayoutUI : public CNamedControlUI<CContainerUI, kChildLayoutNames> {};
// Date picker.
class CDateTimeUI : public CNamedControlUI<CLabelUI, kDateTimeNames> {};
// Hosts of ActiveX controls and of the web browser control.
class CActiveXUI : public CNamedControlUI<CControlUI, kActiveXNames> {};
class CWebBrowserUI : public CNamedControlUI<CActiveXUI, kWebBrowserNames> {};

}  // namespace SkinUI
