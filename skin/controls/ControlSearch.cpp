#include "skin/controls/ControlSearch.h"

namespace SkinUI {
namespace {

CControlUI* AnyControl(CControlUI* control, void*) {
    return control;
}

CControlUI* ControlNamed(CControlUI* control, void* name) {
    return control->Name() == *static_cast<const std::wstring*>(name) ? control : nullptr;
}

}  // namespace

CControlUI* FindControlAt(CControlUI& root, const SkinPoint& point) {
    SkinPoint searched = point;
    return root.SearchControls(
        AnyControl, &searched,
        SkinSearchFlags::kVisible | SkinSearchFlags::kHitTest | SkinSearchFlags::kTopFirst);
}

CControlUI* FindControlByName(CControlUI& root, const std::wstring& name) {
    std::wstring searched = name;
    return root.SearchControls(ControlNamed, &searched, SkinSearchFlags::kMeFirst);
}

}  // namespace SkinUI
