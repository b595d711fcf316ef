#include "skin/controls/ControlFactory.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "skin/controls/ExtraControls.h"
#include "skin/markup/AsciiText.h"

namespace SkinUI {
namespace {

template <typename Control>
std::unique_ptr<CControlUI> Make() {
    return std::make_unique<Control>();
}

struct FactoryEntry {
    const wchar_t* name;
    size_t length;
    std::unique_ptr<CControlUI> (*make)();
};

template <size_t N>
constexpr FactoryEntry Entry(const wchar_t (&name)[N], std::unique_ptr<CControlUI> (*make)()) {
    return FactoryEntry{name, N - 1, make};
}

const FactoryEntry kFactoryTable[] = {
    Entry(L"Control", Make<CControlUI>),
    Entry(L"Container", Make<CContainerUI>),
    Entry(L"VerticalLayout", Make<CVerticalLayoutUI>),
    Entry(L"HorizontalLayout", Make<CHorizontalLayoutUI>),
    Entry(L"Label", Make<CLabelUI>),
    Entry(L"Button", Make<CButtonUI>),
    Entry(L"Text", Make<CTextUI>),
    Entry(L"Option", Make<COptionUI>),
    Entry(L"CheckBox", Make<CCheckBoxUI>),
    Entry(L"Edit", Make<CEditUI>),
    Entry(L"RichEdit", Make<CRichEditUI>),
    Entry(L"Combo", Make<CComboUI>),
    Entry(L"List", Make<CListUI>),
    Entry(L"ListHeader", Make<CListHeaderUI>),
    Entry(L"ListHeaderItem", Make<CListHeaderItemUI>),
    Entry(L"ListTextElement", Make<CListTextElementUI>),
    Entry(L"ListLabelElement", Make<CListLabelElementUI>),
    Entry(L"ListContainerElement", Make<CListContainerElementUI>),
    Entry(L"TreeView", Make<CTreeViewUI>),
    Entry(L"TreeNode", Make<CTreeNodeUI>),
    Entry(L"Slider", Make<CSliderUI>),
    Entry(L"Progress", Make<CProgressUI>),
    Entry(L"ScrollBar", Make<CScrollBarUI>),
    Entry(L"TabLayout", Make<CTabLayoutUI>),
    Entry(L"TileLayout", Make<CTileLayoutUI>),
    Entry(L"ChildLayout", Make<CChildLayoutUI>),
    Entry(L"DateTime", Make<CDateTimeUI>),
    Entry(L"ActiveX", Make<CActiveXUI>),
    Entry(L"WebBrowser", Make<CWebBrowserUI>),
};

std::vector<SkinControlCreator>& Extensions() {
    static std::vector<SkinControlCreator> extensions;
    return extensions;
}

}  // namespace

std::unique_ptr<CControlUI> CreateControlByName(const wchar_t* elementName) {
    if (elementName == nullptr) {
        return nullptr;
    }
    // Only names of the same length are compared.
    const size_t length = std::wcslen(elementName);
    for (const FactoryEntry& entry : kFactoryTable) {
        if (entry.length == length && SameNameIgnoringCase(entry.name, elementName)) {
            return entry.make();
        }
    }
    return nullptr;
}

void AddControlExtension(SkinControlCreator creator) {
    if (creator != nullptr) {
        Extensions().push_back(creator);
    }
}

bool RemoveControlExtension(SkinControlCreator creator) {
    auto& extensions = Extensions();
    const auto found = std::find(extensions.begin(), extensions.end(), creator);
    if (found == extensions.end()) {
        return false;
    }
    extensions.erase(found);
    return true;
}

std::unique_ptr<CControlUI> CreateExtensionControl(const wchar_t* elementName) {
    for (const SkinControlCreator creator : Extensions()) {
        if (std::unique_ptr<CControlUI> control = creator(elementName)) {
            return control;
        }
    }
    return nullptr;
}

}  // namespace SkinUI
