#pragma once

#include "browser/win32/ComObject.h"

namespace browser {

// A host site's ambient properties, read by the control through IDispatch: only what a control commonly
// asks for is answered; everything else (the download-control value among it) is left to the control's
// defaults. The IUnknown methods belong to the host site that derives from it.
class AmbientProperties : public NumberedDispatch {
  public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;
};

}  // namespace browser
