#include "browser/win32/CHtmlEvents.h"

namespace browser {

ComPtr<CHtmlEvents> CHtmlEvents::Create() {
    return ComPtr<CHtmlEvents>::Adopt(new CHtmlEvents());
}

void* CHtmlEvents::Find(REFIID iid) {
    return iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
}

HRESULT STDMETHODCALLTYPE CHtmlEvents::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                              UINT*) {
    ComPtr<CHtmlEvents> keepAlive = ComPtr<CHtmlEvents>::Retain(this);
    Fire();
    return S_OK;
}

}  // namespace browser
