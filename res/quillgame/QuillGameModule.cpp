// The module of quillgame.ocx: its entry points, class factory and self-registration.
#include "res/quillgame/QuillGameModule.h"

#include <olectl.h>
#include <shlwapi.h>

#include <atomic>
#include <vector>

#include "res/quillgame/QuillGameControl.h"

namespace res {
namespace {

HINSTANCE g_instance = nullptr;
std::atomic<long> g_locks{0};

class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is a static object: its life is the module's, which the server locks keep.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        QuillGameControl* control = QuillGameControl::Create();
        if (control == nullptr) {
            return E_FAIL;
        }
        const HRESULT result = control->QueryInterface(riid, object);
        control->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            LockModule();
        } else {
            UnlockModule();
        }
        return S_OK;
    }
};

ClassFactory g_factory;

bool SetKeyValue(const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.rfind(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

HRESULT WriteClassKeys(const std::wstring& path) {
    const std::wstring classKey = std::wstring(L"CLSID\\") + kClassIdText;
    const bool written =
        SetKeyValue(classKey, nullptr, kControlName) &&
        SetKeyValue(classKey + L"\\InprocServer32", nullptr, path) &&
        SetKeyValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
        SetKeyValue(classKey + L"\\ProgID", nullptr, kProgId) &&
        SetKeyValue(classKey + L"\\VersionIndependentProgID", nullptr, kVersionIndependentProgId) &&
        SetKeyValue(classKey + L"\\TypeLib", nullptr, kTypeLibraryIdText) &&
        SetKeyValue(classKey + L"\\Version", nullptr, kControlVersion) &&
        SetKeyValue(classKey + L"\\Control", nullptr, L"") && SetKeyValue(kProgId, nullptr, kControlName) &&
        SetKeyValue(std::wstring(kProgId) + L"\\CLSID", nullptr, kClassIdText) &&
        SetKeyValue(kVersionIndependentProgId, nullptr, kControlName) &&
        SetKeyValue(std::wstring(kVersionIndependentProgId) + L"\\CLSID", nullptr, kClassIdText) &&
        SetKeyValue(std::wstring(kVersionIndependentProgId) + L"\\CurVer", nullptr, kProgId);
    return written ? S_OK : SELFREG_E_CLASS;
}

void DeleteClassKeys() {
    SHDeleteKeyW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClassIdText).c_str());
    SHDeleteKeyW(HKEY_CLASSES_ROOT, kProgId);
    SHDeleteKeyW(HKEY_CLASSES_ROOT, kVersionIndependentProgId);
}

}  // namespace

std::wstring ModulePath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            return std::wstring(path.data(), length);
        }
        path.resize(path.size() * 2);
    }
}

void LockModule() {
    ++g_locks;
}
void UnlockModule() {
    --g_locks;
}
bool ModuleInUse() {
    return g_locks.load() != 0;
}

ITypeInfo* LoadControlTypeInfo() {
    ComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library.Receive()))) {
        return nullptr;
    }
    ITypeInfo* info = nullptr;
    return SUCCEEDED(library->GetTypeInfoOfGuid(kControlInterfaceId, &info)) ? info : nullptr;
}

}  // namespace res

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        res::g_instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return res::ModuleInUse() ? S_FALSE : S_OK;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(classId, res::kControlClassId)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return res::g_factory.QueryInterface(riid, object);
}

// Registers the class, its program ids and the type library inside this file, which names this file
// as the library's location.
STDAPI DllRegisterServer() {
    std::wstring path = res::ModulePath();
    if (path.empty()) {
        return SELFREG_E_CLASS;
    }
    const HRESULT classes = res::WriteClassKeys(path);
    if (FAILED(classes)) {
        return classes;
    }
    res::ComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Receive()))) {
        return SELFREG_E_TYPELIB;
    }
    std::wstring folder = res::FolderOf(path);
    return SUCCEEDED(RegisterTypeLib(library.Get(), &path[0], folder.empty() ? nullptr : &folder[0]))
               ? S_OK
               : SELFREG_E_TYPELIB;
}

STDAPI DllUnregisterServer() {
    UnRegisterTypeLib(res::kTypeLibraryId, res::kTypeLibraryMajor, res::kTypeLibraryMinor, LANG_NEUTRAL,
                      SYS_WIN32);
    res::DeleteClassKeys();
    return S_OK;
}

}  // extern "C"
