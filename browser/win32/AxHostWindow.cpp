#include "browser/win32/AxHostWindow.h"

#include <commctrl.h>
#include <olectl.h>

#include "browser/win32/AxHosting.h"

namespace browser {
namespace {

constexpr UINT_PTR kSubclassId = 0x41584857;  // one site per window

void SetBool(VARIANT* result, bool value) {
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace

AxHostWindow::~AxHostWindow() {
    ReleaseAll();
}

HRESULT AxHostWindow::CreateControl(const wchar_t* name, HWND window, IStream* state) {
    if (name == nullptr || window == nullptr || window_ != nullptr) {
        return E_INVALIDARG;
    }
    if (!TakeOverWindow(window)) {
        return E_FAIL;
    }
    CLSID classId = {};
    HRESULT result = name[0] == L'{' ? CLSIDFromString(name, &classId) : CLSIDFromProgID(name, &classId);
    if (FAILED(result)) {
        return result;
    }
    result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control_.PutVoid());
    if (FAILED(result)) {
        return result;
    }
    oleObject_ = control_.As<IOleObject>();
    if (!oleObject_) {
        ReleaseAll();
        return E_NOINTERFACE;
    }
    DWORD status = 0;
    oleObject_->GetMiscStatus(DVASPECT_CONTENT, &status);
    const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) {
        oleObject_->SetClientSite(this);
    }
    result = LoadOrInitialize(state);
    if (FAILED(result)) {
        ReleaseAll();
        return result;
    }
    if (!siteFirst) {
        oleObject_->SetClientSite(this);
    }
    RECT client = {};
    GetClientRect(window_, &client);
    result = oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, window_, &client);
    if (FAILED(result)) {
        ReleaseAll();
        return result;
    }
    inPlaceObject_ = control_.As<IOleInPlaceObject>();
    return S_OK;
}

bool AxHostWindow::TakeOverWindow(HWND window) {
    if (!SetWindowSubclass(window, &AxHostWindow::SubclassProc, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    window_ = window;
    AddRef();  // the window's reference, dropped by its last message
    return true;
}

// Persisted state that the control cannot read is no reason to fail: it starts fresh instead.
HRESULT AxHostWindow::LoadOrInitialize(IStream* state) {
    SkinUI::ComPtr<IPersistStreamInit> persist = control_.As<IPersistStreamInit>();
    if (!persist) {
        return S_OK;
    }
    if (state != nullptr && SUCCEEDED(persist->Load(state))) {
        return S_OK;
    }
    return persist->InitNew();
}

void AxHostWindow::ReleaseAll() {
    if (!control_) {
        return;
    }
    SkinUI::ComPtr<IUnknown> keepAlive = SkinUI::ComPtr<IUnknown>::Retain(control_.Get());
    if (inPlaceObject_ && inPlaceActive_) {
        inPlaceObject_->InPlaceDeactivate();
    }
    activeObject_.Reset();
    inPlaceObject_.Reset();
    if (oleObject_) {
        oleObject_->Close(OLECLOSE_NOSAVE);
        oleObject_->SetClientSite(nullptr);
        oleObject_.Reset();
    }
    control_.Reset();
}

void AxHostWindow::FitControlToWindow() {
    if (!inPlaceObject_ || window_ == nullptr) {
        return;
    }
    RECT client = {};
    GetClientRect(window_, &client);
    inPlaceObject_->SetObjectRects(&client, &client);
}

// The focus given to the window belongs to the control: it is activated for input and, when it did not
// take the focus itself, its window is given it.
void AxHostWindow::PassFocusToControl() {
    if (!oleObject_ || !inPlaceActive_) {
        return;
    }
    if (!uiActive_) {
        RECT client = {};
        GetClientRect(window_, &client);
        oleObject_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, window_, &client);
    }
    HWND controlWindow = nullptr;
    if (GetFocus() == window_ && inPlaceObject_ && SUCCEEDED(inPlaceObject_->GetWindow(&controlWindow)) &&
        controlWindow != nullptr) {
        SetFocus(controlWindow);
    }
}

void AxHostWindow::OnFinalMessage(HWND /*window*/) {
    ReleaseAll();
    Release();  // the window's reference; this may end the site
}

LRESULT CALLBACK AxHostWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR /*id*/, DWORD_PTR site) {
    return reinterpret_cast<AxHostWindow*>(site)->OnWindowMessage(window, message, wParam, lParam);
}

LRESULT AxHostWindow::OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == AxGetHostMessage()) {
        return reinterpret_cast<LRESULT>(static_cast<IOleClientSite*>(this));
    }
    if (message == AxGetControlMessage()) {
        return reinterpret_cast<LRESULT>(control_.Get());
    }
    switch (message) {
        case WM_ERASEBKGND:
            if (inPlaceActive_) {
                return 1;  // the control paints all of the client area
            }
            break;
        case WM_SIZE: {
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            FitControlToWindow();
            return result;
        }
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            PassFocusToControl();
            return result;
        }
        case WM_NCDESTROY: {
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            RemoveWindowSubclass(window, &AxHostWindow::SubclassProc, kSubclassId);
            window_ = nullptr;
            OnFinalMessage(window);
            return result;
        }
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// IUnknown

HRESULT STDMETHODCALLTYPE AxHostWindow::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
        *object = static_cast<IOleInPlaceFrame*>(this);
    } else if (iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
    } else if (iid == IID_IDocHostUIHandler) {
        *object = static_cast<IDocHostUIHandler*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE AxHostWindow::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE AxHostWindow::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

// IOleClientSite

HRESULT STDMETHODCALLTYPE AxHostWindow::SaveObject() {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetContainer(IOleContainer** container) {
    if (container != nullptr) {
        *container = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::ShowObject() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::OnShowWindow(BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::RequestNewObjectLayout() {
    return E_NOTIMPL;
}

// IOleWindow

HRESULT STDMETHODCALLTYPE AxHostWindow::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = window_;
    return window_ != nullptr ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

// IOleInPlaceSite

HRESULT STDMETHODCALLTYPE AxHostWindow::CanInPlaceActivate() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::OnInPlaceActivate() {
    inPlaceActive_ = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::OnUIActivate() {
    uiActive_ = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetWindowContext(IOleInPlaceFrame** frame,
                                                         IOleInPlaceUIWindow** document, LPRECT position,
                                                         LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr) {
        return E_POINTER;
    }
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;  // the frame is the document window as well
    GetClientRect(window_, position);
    *clip = *position;
    if (info != nullptr) {
        info->cb = sizeof(OLEINPLACEFRAMEINFO);
        info->fMDIApp = FALSE;
        info->hwndFrame = window_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::Scroll(SIZE) {
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::OnUIDeactivate(BOOL) {
    uiActive_ = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::OnInPlaceDeactivate() {
    inPlaceActive_ = false;
    uiActive_ = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::DiscardUndoState() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::DeactivateAndUndo() {
    if (inPlaceObject_) {
        inPlaceObject_->UIDeactivate();
    }
    return S_OK;
}

// The control moved itself (the page nudges its top edge): let it have the place it asked for.
HRESULT STDMETHODCALLTYPE AxHostWindow::OnPosRectChange(LPCRECT position) {
    if (position == nullptr) {
        return E_POINTER;
    }
    if (inPlaceObject_) {
        RECT clip = {};
        GetClientRect(window_, &clip);
        inPlaceObject_->SetObjectRects(position, &clip);
    }
    return S_OK;
}

// IOleInPlaceUIWindow and IOleInPlaceFrame: the host has no toolbars and no menus of its own.

HRESULT STDMETHODCALLTYPE AxHostWindow::GetBorder(LPRECT border) {
    if (border == nullptr) {
        return E_POINTER;
    }
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::RequestBorderSpace(LPCBORDERWIDTHS) {
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::SetBorderSpace(LPCBORDERWIDTHS) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    activeObject_ = SkinUI::ComPtr<IOleInPlaceActiveObject>::Retain(active);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::SetMenu(HMENU, HOLEMENU, HWND) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::RemoveMenus(HMENU) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::SetStatusText(LPCOLESTR) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::EnableModeless(BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::TranslateAccelerator(LPMSG, WORD) {
    return S_FALSE;
}

// IDispatch: ambient properties. Only what a control commonly asks for is answered; everything else
// (the download-control value among it) is left to the control's defaults.

HRESULT STDMETHODCALLTYPE AxHostWindow::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS*,
                                               VARIANT* result, EXCEPINFO*, UINT*) {
    if ((flags & DISPATCH_PROPERTYGET) == 0 || result == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    switch (member) {
        case DISPID_AMBIENT_USERMODE:
        case DISPID_AMBIENT_AUTOCLIP:
        case DISPID_AMBIENT_SUPPORTSMNEMONICS:
            SetBool(result, true);
            return S_OK;
        case DISPID_AMBIENT_UIDEAD:
        case DISPID_AMBIENT_SHOWGRABHANDLES:
        case DISPID_AMBIENT_SHOWHATCHING:
        case DISPID_AMBIENT_MESSAGEREFLECT:
        case DISPID_AMBIENT_DISPLAYASDEFAULT:
            SetBool(result, false);
            return S_OK;
        case DISPID_AMBIENT_LOCALEID:
            V_VT(result) = VT_I4;
            V_I4(result) = static_cast<LONG>(GetUserDefaultLCID());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

// IDocHostUIHandler: the control keeps its own menus and keys, and the page sees no external object.

HRESULT STDMETHODCALLTYPE AxHostWindow::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetHostInfo(DOCHOSTUIINFO* info) {
    return info != nullptr ? S_OK : E_POINTER;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                               IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::HideUI() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::UpdateUI() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::OnDocWindowActivate(BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::OnFrameWindowActivate(BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key != nullptr) {
        *key = nullptr;
    }
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetDropTarget(IDropTarget*, IDropTarget** replacement) {
    if (replacement != nullptr) {
        *replacement = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::GetExternal(IDispatch** external) {
    if (external == nullptr) {
        return E_POINTER;
    }
    *external = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    if (translated != nullptr) {
        *translated = nullptr;
    }
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AxHostWindow::FilterDataObject(IDataObject*, IDataObject** replacement) {
    if (replacement != nullptr) {
        *replacement = nullptr;
    }
    return S_FALSE;
}

}  // namespace browser
