// The in-process server: one class, the stand-in browser control, created on the caller's thread
// (apartment threading). The module stays loaded for the life of the process: its window procedure
// may be running in any page thread.
#include "Browser.h"

namespace standin {
namespace {

// {3C1E5A77-9B2D-4F10-8C64-7D2E91A0B5F3}, registered by register.sh.
constexpr CLSID kStandInClassId = {
    0x3c1e5a77, 0x9b2d, 0x4f10, {0x8c, 0x64, 0x7d, 0x2e, 0x91, 0xa0, 0xb5, 0xf3}};

HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory* self, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = iid == IID_IUnknown || iid == IID_IClassFactory ? self : nullptr;
    return *object != nullptr ? S_OK : E_NOINTERFACE;
}

// The factory is a static object: it counts nothing.
ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory*) {
    return 2;
}

ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory*) {
    return 1;
}

HRESULT STDMETHODCALLTYPE CreateInstance(IClassFactory*, IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    Browser* browser = Browser::Create(true);
    const HRESULT result = browser->QueryInterface(iid, object);
    browser->Release();
    return result;
}

HRESULT STDMETHODCALLTYPE LockServer(IClassFactory*, BOOL) {
    return S_OK;
}

const IClassFactoryVtbl kFactoryTable = {&FactoryQueryInterface, &FactoryAddRef, &FactoryRelease,
                                         &CreateInstance, &LockServer};
IClassFactory g_factory = {const_cast<IClassFactoryVtbl*>(&kFactoryTable)};

}  // namespace
}  // namespace standin

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (classId != standin::kStandInClassId) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return standin::FactoryQueryInterface(&standin::g_factory, iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return S_FALSE;
}
