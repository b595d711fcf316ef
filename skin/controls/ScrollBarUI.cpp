#include "skin/controls/ScrollBarUI.h"

#include <algorithm>
#include <cwchar>

namespace SkinUI {

CScrollBarUI::CScrollBarUI(bool horizontal) : horizontal_(horizontal) {
    if (horizontal) {
        SetFixedHeight(kThickness);
    } else {
        SetFixedWidth(kThickness);
    }
}

const wchar_t* CScrollBarUI::ClassName() const {
    return L"ScrollBarUI";
}

void* CScrollBarUI::FindInterface(const wchar_t* name) {
    return name != nullptr && std::wcscmp(name, L"ScrollBar") == 0 ? this : CControlUI::FindInterface(name);
}

void CScrollBarUI::SetScrollRange(int32_t range) {
    range_ = std::max(range, 0);
    SetScrollPos(position_);
}

void CScrollBarUI::SetScrollPos(int32_t position) {
    const int32_t kept = std::clamp(position, 0, range_);
    if (kept != position_) {
        position_ = kept;
        Invalidate();
    }
}

void CScrollBarUI::SetLineSize(int32_t size) {
    lineSize_ = std::max(size, 1);
}

}  // namespace SkinUI
