#pragma once

#include <oaidl.h>
#include <objsafe.h>
#include <windows.h>

#include <string>

namespace res {

// {3E9A5C27-71B4-4D0F-8C62-A5F1D3E8B914}
inline constexpr CLSID kControlClassId = {
    0x3E9A5C27, 0x71B4, 0x4D0F, {0x8C, 0x62, 0xA5, 0xF1, 0xD3, 0xE8, 0xB9, 0x14}};
// {8B0F4C61-2E7D-4A39-B1C5-6D2E9F3A7B40}
inline constexpr IID kControlInterfaceId = {
    0x8B0F4C61, 0x2E7D, 0x4A39, {0xB1, 0xC5, 0x6D, 0x2E, 0x9F, 0x3A, 0x7B, 0x40}};
// {5D1E7A20-3C4B-4F8E-9A61-0B2C7D94E315}
inline constexpr GUID kTypeLibraryId = {
    0x5D1E7A20, 0x3C4B, 0x4F8E, {0x9A, 0x61, 0x0B, 0x2C, 0x7D, 0x94, 0xE3, 0x15}};
inline constexpr WORD kTypeLibraryMajor = 1;
inline constexpr WORD kTypeLibraryMinor = 0;

inline constexpr wchar_t kClassIdText[] = L"{3E9A5C27-71B4-4D0F-8C62-A5F1D3E8B914}";
inline constexpr wchar_t kTypeLibraryIdText[] = L"{5D1E7A20-3C4B-4F8E-9A61-0B2C7D94E315}";
inline constexpr wchar_t kProgId[] = L"QuillGame.Control.1";
inline constexpr wchar_t kVersionIndependentProgId[] = L"QuillGame.Control";
inline constexpr wchar_t kControlName[] = L"Quill game control";
inline constexpr wchar_t kControlVersion[] = L"1.0";

// The control's scripting interface, in the order of its type library.
struct IQuillGame : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Version(BSTR* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE Echo(LONG value, LONG* answer) = 0;
};

// The module's own path and its count of live objects and server locks.
std::wstring ModulePath();
void LockModule();
void UnlockModule();
bool ModuleInUse();

// The interface's description from the type library inside this file; null when it cannot be read.
ITypeInfo* LoadControlTypeInfo();

// A COM pointer that releases what it holds; copying is not offered.
template <typename Interface>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface** Receive() {
        Reset();
        return &pointer_;
    }
    void Reset() {
        if (pointer_ != nullptr) {
            pointer_->Release();
            pointer_ = nullptr;
        }
    }

  private:
    Interface* pointer_ = nullptr;
};

}  // namespace res
