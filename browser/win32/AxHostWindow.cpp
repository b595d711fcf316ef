#include "browser/win32/AxHostWindow.h"

#include <commctrl.h>

#include "browser/win32/AxHosting.h"

namespace browser {
namespace {

constexpr UINT_PTR kSubclassId = 0x41584857;  // one site per window

}  // namespace

AxHostWindow::~AxHostWindow() {
    ReleaseAll();
}

void* AxHostWindow::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
        return static_cast<IOleClientSite*>(this);
    }
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
        return static_cast<IOleInPlaceSite*>(this);
    }
    if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
        return static_cast<IOleInPlaceFrame*>(this);
    }
    if (iid == IID_IDispatch) {
        return static_cast<IDispatch*>(this);
    }
    if (iid == IID_IDocHostUIHandler) {
        return static_cast<IDocHostUIHandler*>(this);
    }
    return nullptr;
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
    ComPtr<IPersistStreamInit> persist = control_.As<IPersistStreamInit>();
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
    ComPtr<IUnknown> keepAlive = ComPtr<IUnknown>::Retain(control_.Get());
    if (inPlaceObject_ && inPlaceActive_) {
        inPlaceObject_->InPlaceDeactivate();
    }
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

}  // namespace browser
