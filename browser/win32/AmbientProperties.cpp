#include "browser/win32/AmbientProperties.h"

#include <olectl.h>

namespace browser {
namespace {

void SetBool(VARIANT* result, bool value) {
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace

HRESULT STDMETHODCALLTYPE AmbientProperties::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS*,
                                                    VARIANT* result, EXCEPINFO*, UINT*) {
    if ((flags & DISPATCH_PROPERTYGET) == 0 || result == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    switch (member) {
        case DISPID_AMBIENT_USERMODE:
        case DISPID_AMBIENT_AUTOCLIP:
        case DISPID_AMBIENT_SUPPORTSMNEMONICS:
            SetBool(result, true);
            return S_OK;
        case DISPID_AMBIENT_UIDEAD:
        case DISPID_AMBIENT_SHOWGRABHANDLES:
        case DISPID_AMBIENT_SHOWHATCHING:
        case DISPID_AMBIENT_MESSAGEREFLECT:
        case DISPID_AMBIENT_DISPLAYASDEFAULT:
            SetBool(result, false);
            return S_OK;
        case DISPID_AMBIENT_LOCALEID:
            V_VT(result) = VT_I4;
            V_I4(result) = static_cast<LONG>(GetUserDefaultLCID());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace browser
