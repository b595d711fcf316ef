#pragma once

#include <windows.h>

#include <oaidl.h>

#include "browser/HtmlEventSink.h"
#include "browser/win32/ComPtr.h"

namespace browser {

// A document event handler as script sees it: a bare IDispatch whose every invocation, whatever its
// member and arguments, fires the sink. Documents hold real references to it, so a document that
// outlives its page calls a detached sink instead of a page that is gone.
class CHtmlEvents : public IDispatch, public HtmlEventSink {
  public:
    static SkinUI::ComPtr<CHtmlEvents> Create();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    CHtmlEvents() = default;
    ~CHtmlEvents() override = default;

    LONG references_ = 1;
};

}  // namespace browser
