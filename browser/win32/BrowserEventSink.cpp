#include "browser/win32/BrowserEventSink.h"

#include <exdispid.h>
#include <ocidl.h>

#include <new>

#include "browser/win32/CWebBrowser.h"

namespace browser {
namespace {

// The older browser event interface's navigation-complete number, bound as well.
constexpr DISPID kNavigateCompleteOld = 101;

// The event's arguments in declaration order (the platform passes them last-first).
class Arguments {
  public:
    explicit Arguments(DISPPARAMS* parameters) : p_(parameters) {}
    UINT Count() const { return p_ != nullptr && p_->rgvarg != nullptr ? p_->cArgs : 0; }
    VARIANT* At(UINT index) const { return &p_->rgvarg[p_->cArgs - 1 - index]; }
    VARTYPE Type(UINT index) const { return V_VT(At(index)); }

    // A variant argument: one reference to a variant is followed, other values are passed themselves.
    VARIANT* Value(UINT index) const {
        VARIANT* value = At(index);
        return V_VT(value) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(value) != nullptr ? V_VARIANTREF(value)
                                                                                        : value;
    }
    // A by-value argument converted to `type`; false when it cannot be.
    bool Coerced(UINT index, VARTYPE type, VARIANT& out) const {
        VariantInit(&out);
        return SUCCEEDED(VariantChangeType(&out, Value(index), 0, type));
    }

  private:
    DISPPARAMS* p_;
};

bool IsFrame(const Arguments& a, UINT index) {
    return a.Type(index) == VT_DISPATCH;
}

HRESULT FrameAndAddress(const Arguments& a, void (CWebBrowser::*operation)(IDispatch*, VARIANT*),
                        CWebBrowser& target) {
    if (a.Count() != 2 || !IsFrame(a, 0)) {
        return DISP_E_TYPEMISMATCH;
    }
    (target.*operation)(V_DISPATCH(a.At(0)), a.Value(1));
    return S_OK;
}

HRESULT BeforeNavigate2(const Arguments& a, CWebBrowser& target) {
    if (a.Count() != 7 || !IsFrame(a, 0) || a.Type(6) != (VT_BYREF | VT_BOOL) ||
        V_BOOLREF(a.At(6)) == nullptr) {
        return DISP_E_TYPEMISMATCH;
    }
    target.OnBeforeNavigate2(V_DISPATCH(a.At(0)), a.Value(1), a.Value(2), a.Value(3), a.Value(4), a.Value(5),
                             V_BOOLREF(a.At(6)));
    return S_OK;
}

HRESULT NewWindow3(const Arguments& a, CWebBrowser& target) {
    if (a.Count() != 5 || a.Type(0) != (VT_BYREF | VT_DISPATCH) || V_DISPATCHREF(a.At(0)) == nullptr ||
        a.Type(1) != (VT_BYREF | VT_BOOL) || V_BOOLREF(a.At(1)) == nullptr) {
        return DISP_E_TYPEMISMATCH;
    }
    VARIANT flags, context, address;
    if (!a.Coerced(2, VT_UI4, flags)) {
        return DISP_E_TYPEMISMATCH;
    }
    if (!a.Coerced(3, VT_BSTR, context)) {
        return DISP_E_TYPEMISMATCH;
    }
    if (!a.Coerced(4, VT_BSTR, address)) {
        VariantClear(&context);
        return DISP_E_TYPEMISMATCH;
    }
    target.OnNewWindow3(V_DISPATCHREF(a.At(0)), V_BOOLREF(a.At(1)), V_UI4(&flags), V_BSTR(&context),
                        V_BSTR(&address));
    VariantClear(&context);
    VariantClear(&address);
    return S_OK;
}

HRESULT CommandStateChange(const Arguments& a, CWebBrowser& target) {
    VARIANT command, enabled;
    if (a.Count() != 2 || !a.Coerced(0, VT_I4, command) || !a.Coerced(1, VT_BOOL, enabled)) {
        return DISP_E_TYPEMISMATCH;
    }
    target.OnCommandStateChange(V_I4(&command), V_BOOL(&enabled));
    return S_OK;
}

// Raised by no current browser under this number; whatever arrives is passed on as it stands.
HRESULT NavigateComplete(const Arguments& a, CWebBrowser& target) {
    target.OnNavigateComplete(a.Count() > 0 ? a.Value(0) : nullptr, a.Count() > 1 ? a.Value(1) : nullptr);
    return S_OK;
}

}  // namespace

ComPtr<BrowserEventSink> BrowserEventSink::Create(CWebBrowser& target) {
    return ComPtr<BrowserEventSink>::Adopt(new (std::nothrow) BrowserEventSink(target));
}

HRESULT BrowserEventSink::Connect(IUnknown* browser) {
    if (browser == nullptr || cookie_ != 0) {
        return E_UNEXPECTED;
    }
    ComPtr<IConnectionPointContainer> container;
    HRESULT result = browser->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
    if (FAILED(result)) {
        return result;
    }
    ComPtr<IConnectionPoint> point;
    result = container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put());
    if (FAILED(result)) {
        return result;
    }
    DWORD cookie = 0;
    result = point->Advise(static_cast<IDispatch*>(this), &cookie);
    if (FAILED(result)) {
        return result;
    }
    point_ = std::move(point);
    cookie_ = cookie;
    return S_OK;
}

void BrowserEventSink::Disconnect() {
    target_ = nullptr;
    if (point_ && cookie_ != 0) {
        point_->Unadvise(cookie_);
    }
    cookie_ = 0;
    point_.Reset();
}

void* BrowserEventSink::Find(REFIID iid) {
    const bool answers = iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2;
    return answers ? static_cast<IDispatch*>(this) : nullptr;
}

HRESULT STDMETHODCALLTYPE BrowserEventSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                                   VARIANT*, EXCEPINFO*, UINT*) {
    if (target_ == nullptr) {
        return S_OK;
    }
    // The window may be destroyed by what an operation does; the sink stays alive until this returns.
    ComPtr<BrowserEventSink> keepAlive = ComPtr<BrowserEventSink>::Retain(this);
    const Arguments arguments(parameters);
    CWebBrowser& target = *target_;
    switch (member) {
        case DISPID_DOCUMENTCOMPLETE:
            return FrameAndAddress(arguments, &CWebBrowser::OnDocumentComplete, target);
        case DISPID_BEFORENAVIGATE2:
            return BeforeNavigate2(arguments, target);
        case DISPID_NAVIGATECOMPLETE2:
            return FrameAndAddress(arguments, &CWebBrowser::OnNavigateComplete2, target);
        case kNavigateCompleteOld:
            return NavigateComplete(arguments, target);
        case DISPID_NEWWINDOW3:
            return NewWindow3(arguments, target);
        case DISPID_COMMANDSTATECHANGE:
            return CommandStateChange(arguments, target);
        case DISPID_STATUSTEXTCHANGE:  // bound to nothing the page uses
        case DISPID_NEWWINDOW2:        // the cancel flag stays as the control set it
        default:
            return S_OK;
    }
}

}  // namespace browser
