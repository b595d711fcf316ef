#pragma once

#include <windows.h>

#include <exdisp.h>

#include "browser/win32/ComPtr.h"

namespace browser {

class CWebBrowser;

// The browser's DWebBrowserEvents2 sink of one CWebBrowser: a COM object of its own (the connection
// point holds a reference to it) that turns each event it knows by number into the browser window's
// operation and ignores every other number. Once detached from its window it delivers nothing.
class BrowserEventSink final : public IDispatch {
  public:
    static SkinUI::ComPtr<BrowserEventSink> Create(CWebBrowser& target);

    // Advises the browser's DWebBrowserEvents2 connection point.
    HRESULT Connect(IUnknown* browser);
    // Unadvises, when connected, and stops delivering.
    void Disconnect();
    bool Connected() const { return cookie_ != 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    // Delivers one event. Arguments arrive last-first, as the platform passes them; an event whose
    // arguments do not have the types the event promises is refused without reaching the window.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    explicit BrowserEventSink(CWebBrowser& target) : target_(&target) {}
    ~BrowserEventSink() = default;
    BrowserEventSink(const BrowserEventSink&) = delete;
    BrowserEventSink& operator=(const BrowserEventSink&) = delete;

    LONG references_ = 1;
    CWebBrowser* target_;
    SkinUI::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace browser
