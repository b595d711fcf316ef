#include "skin/controls/VerticalLayoutUI.h"

#include <cwchar>

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : CLinearLayoutUI(true) {}

const wchar_t* CVerticalLayoutUI::ClassName() const {
    return L"VerticalLayoutUI";
}

void* CVerticalLayoutUI::FindInterface(const wchar_t* name) {
    if (name != nullptr && std::wcscmp(name, L"VerticalLayout") == 0) {
        return this;
    }
    return CLinearLayoutUI::FindInterface(name);
}

}  // namespace SkinUI
