#pragma once

#include <windows.h>

#include "browser/HtmlEventSink.h"
#include "browser/win32/ComObject.h"
#include "browser/win32/ComPtr.h"

namespace browser {

// A document event handler as script sees it: a bare IDispatch whose every invocation, whatever its
// member and arguments, fires the sink. Documents hold real references to it, so a document that
// outlives its page calls a detached sink instead of a page that is gone.
class CHtmlEvents : public ComObject<NumberedDispatch>, public HtmlEventSink {
  public:
    static ComPtr<CHtmlEvents> Create();

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  protected:
    void* Find(REFIID iid) override;

  private:
    CHtmlEvents() = default;
    ~CHtmlEvents() override = default;
};

}  // namespace browser
