#pragma once

#include <windows.h>

#include <exdisp.h>

#include "browser/win32/ComObject.h"
#include "browser/win32/ComPtr.h"

namespace browser {

class CWebBrowser;

// The browser's DWebBrowserEvents2 sink of one CWebBrowser: a COM object of its own (the connection
// point holds a reference to it) that turns each event it knows by number into the browser window's
// operation and ignores every other number. Once detached from its window it delivers nothing.
class BrowserEventSink final : public ComObject<NumberedDispatch> {
  public:
    static ComPtr<BrowserEventSink> Create(CWebBrowser& target);

    // Advises the browser's DWebBrowserEvents2 connection point.
    HRESULT Connect(IUnknown* browser);
    // Unadvises, when connected, and stops delivering.
    void Disconnect();
    bool Connected() const { return cookie_ != 0; }

    // Delivers one event. Arguments arrive last-first, as the platform passes them; an event whose
    // arguments do not have the types the event promises is refused without reaching the window.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  protected:
    void* Find(REFIID iid) override;

  private:
    explicit BrowserEventSink(CWebBrowser& target) : target_(&target) {}
    ~BrowserEventSink() override = default;

    CWebBrowser* target_;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace browser
