#include "browser/win32/HostUIDefaults.h"

namespace browser {
namespace {

// Out places are cleared before a refusal, so that a caller that ignores the result reads null.
template <typename T>
void Clear(T** out) {
    if (out != nullptr) {
        *out = nullptr;
    }
}

}  // namespace

// IOleInPlaceUIWindow and IOleInPlaceFrame

HRESULT STDMETHODCALLTYPE HostUIDefaults::GetBorder(LPRECT border) {
    return border != nullptr ? INPLACE_E_NOTOOLSPACE : E_POINTER;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::RequestBorderSpace(LPCBORDERWIDTHS) {
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::SetBorderSpace(LPCBORDERWIDTHS) {
    return S_OK;
}

// The host translates no keys of its own, so it has no use for the active object.
HRESULT STDMETHODCALLTYPE HostUIDefaults::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::SetMenu(HMENU, HOLEMENU, HWND) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::RemoveMenus(HMENU) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::SetStatusText(LPCOLESTR) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::EnableModeless(BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::TranslateAccelerator(LPMSG, WORD) {
    return S_FALSE;
}

// IDocHostUIHandler

HRESULT STDMETHODCALLTYPE HostUIDefaults::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::GetHostInfo(DOCHOSTUIINFO* info) {
    return info != nullptr ? S_OK : E_POINTER;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                                 IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::HideUI() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::UpdateUI() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::OnDocWindowActivate(BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::OnFrameWindowActivate(BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    Clear(key);
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::GetDropTarget(IDropTarget*, IDropTarget** replacement) {
    Clear(replacement);
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::GetExternal(IDispatch** external) {
    if (external == nullptr) {
        return E_POINTER;
    }
    *external = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    Clear(translated);
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE HostUIDefaults::FilterDataObject(IDataObject*, IDataObject** replacement) {
    Clear(replacement);
    return S_FALSE;
}

}  // namespace browser
