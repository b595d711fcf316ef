#pragma once

#include <atomic>

#include "res/quillgame/QuillGameModule.h"

namespace res {

// The control object: its scripting interface, dispatched through the type library, and the safety
// answers that let the game's pages script it.
class QuillGameControl final : public IQuillGame, public IObjectSafety {
  public:
    // A new object with one reference, or null when its type information cannot be read.
    static QuillGameControl* Create();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IQuillGame
    HRESULT STDMETHODCALLTYPE get_Version(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE Echo(LONG value, LONG* answer) override;

    // IObjectSafety
    HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID riid, DWORD* supported,
                                                        DWORD* enabled) override;
    HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID riid, DWORD mask, DWORD enabled) override;

  private:
    explicit QuillGameControl(ITypeInfo* typeInfo);
    ~QuillGameControl();

    std::atomic<ULONG> references_{1};
    ITypeInfo* typeInfo_;
};

}  // namespace res
