#include "ComBase.h"

namespace standin {

HRESULT STDMETHODCALLTYPE NotImplemented() {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE FaceQueryInterface(Face* face, REFIID iid, void** object) {
    return face->self->QueryInterface(iid, object);
}

ULONG STDMETHODCALLTYPE FaceAddRef(Face* face) {
    return face->self->AddRef();
}

ULONG STDMETHODCALLTYPE FaceRelease(Face* face) {
    return face->self->Release();
}

HRESULT GiveText(const std::wstring& text, BSTR* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

std::wstring VariantString(const VARIANT* value) {
    while (value != nullptr && V_VT(value) == (VT_BYREF | VT_VARIANT)) {
        value = V_VARIANTREF(value);
    }
    if (value == nullptr) {
        return std::wstring();
    }
    if (V_VT(value) == VT_BSTR && V_BSTR(value) != nullptr) {
        return std::wstring(V_BSTR(value), SysStringLen(V_BSTR(value)));
    }
    return std::wstring();
}

void Log(const std::wstring& line) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"TOLVANE_STANDIN_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    const std::wstring text = line + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace standin
