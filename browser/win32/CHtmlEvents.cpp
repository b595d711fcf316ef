#include "browser/win32/CHtmlEvents.h"

namespace browser {

SkinUI::ComPtr<CHtmlEvents> CHtmlEvents::Create() {
    return SkinUI::ComPtr<CHtmlEvents>::Adopt(new CHtmlEvents());
}

HRESULT STDMETHODCALLTYPE CHtmlEvents::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch) {
        return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CHtmlEvents::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE CHtmlEvents::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE CHtmlEvents::GetTypeInfoCount(UINT* count) {
    if (count != nullptr) {
        *count = 0;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CHtmlEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CHtmlEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CHtmlEvents::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                              UINT*) {
    SkinUI::ComPtr<CHtmlEvents> keepAlive = SkinUI::ComPtr<CHtmlEvents>::Retain(this);
    Fire();
    return S_OK;
}

}  // namespace browser
