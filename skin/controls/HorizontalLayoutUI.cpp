#include "skin/controls/HorizontalLayoutUI.h"

#include <cwchar>

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CLinearLayoutUI(false) {}

const wchar_t* CHorizontalLayoutUI::ClassName() const {
    return L"HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::FindInterface(const wchar_t* name) {
    if (name != nullptr && std::wcscmp(name, L"HorizontalLayout") == 0) {
        return this;
    }
    return CLinearLayoutUI::FindInterface(name);
}

}  // namespace SkinUI
