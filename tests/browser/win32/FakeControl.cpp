#include "tests/browser/win32/FakeControl.h"

#include <cstdio>

#include "browser/win32/ComObject.h"
#include "skin/win32/ComPtr.h"

namespace browsertest {
namespace {

void Log(std::string entry) {
    FakeControlLog().push_back(std::move(entry));
}

class FakeControl final : public browser::ComObject<IOleObject, IPersistStreamInit> {
  public:
    ~FakeControl() override { Log("Released"); }

    // IOleObject: what a container does with its control is logged; the rest is not offered.
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        Log(site != nullptr ? "SetClientSite site" : "SetClientSite null");
        site_ = SkinUI::ComPtr<IOleClientSite>::Retain(site);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
        *site = SkinUI::ComPtr<IOleClientSite>::Retain(site_.Get()).Detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override {
        Log("Close");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override {
        Log("DoVerb " + std::to_string(verb));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
        *status = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override {
        std::string entry = "Load";
        unsigned char byte = 0;
        ULONG read = 0;
        while (SUCCEEDED(stream->Read(&byte, 1, &read)) && read == 1) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", byte);
            entry += hex;
        }
        Log(entry);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InitNew() override {
        Log("InitNew");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

  protected:
    void* Find(REFIID iid) override {
        if (iid == IID_IUnknown || iid == IID_IOleObject) {
            return static_cast<IOleObject*>(this);
        }
        return iid == IID_IPersistStreamInit ? static_cast<IPersistStreamInit*>(this) : nullptr;
    }

  private:
    SkinUI::ComPtr<IOleClientSite> site_;
};

class FakeFactory final : public browser::ComObject<IClassFactory> {
  public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        SkinUI::ComPtr<FakeControl> control = SkinUI::ComPtr<FakeControl>::Adopt(new FakeControl());
        return control->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  protected:
    void* Find(REFIID iid) override {
        return iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }
};

}  // namespace

std::vector<std::string>& FakeControlLog() {
    static std::vector<std::string> log;
    return log;
}

FakeControlRegistration::FakeControlRegistration() {
    CLSID classId = {};
    CLSIDFromString(kFakeControlName, &classId);
    SkinUI::ComPtr<FakeFactory> factory = SkinUI::ComPtr<FakeFactory>::Adopt(new FakeFactory());
    if (FAILED(CoRegisterClassObject(classId, static_cast<IClassFactory*>(factory.Get()),
                                     CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_))) {
        cookie_ = 0;
    }
}

FakeControlRegistration::~FakeControlRegistration() {
    if (cookie_ != 0) {
        CoRevokeClassObject(cookie_);
    }
}

}  // namespace browsertest
