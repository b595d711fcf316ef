#include "browser/win32/ComValues.h"

namespace browser {

std::optional<std::wstring> BstrText(BSTR value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::wstring(value, SysStringLen(value));
}

std::optional<std::wstring> VariantText(const VARIANT* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    if (V_VT(value) == (VT_BYREF | VT_VARIANT)) {
        value = V_VARIANTREF(value);
        if (value == nullptr) {
            return std::nullopt;
        }
    }
    if (V_VT(value) == VT_BSTR) {
        return BstrText(V_BSTR(value));
    }
    if (V_VT(value) == (VT_BYREF | VT_BSTR) && V_BSTRREF(value) != nullptr) {
        return BstrText(*V_BSTRREF(value));
    }
    return std::nullopt;
}

}  // namespace browser
