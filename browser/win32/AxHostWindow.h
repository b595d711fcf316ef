#pragma once

#include <windows.h>

#include <docobj.h>
#include <ocidl.h>
#include <oleidl.h>

#include "browser/win32/AmbientProperties.h"
#include "browser/win32/ComObject.h"
#include "browser/win32/ComPtr.h"
#include "browser/win32/HostUIDefaults.h"

namespace browser {

// The container side of one hosted ActiveX control: client site, in-place site and frame, ambient
// properties and the document host's user-interface handler, all on this one object with one reference
// count. While it hosts a control the site takes over its window (it subclasses it): the control fills
// the window's client area, follows its size and takes the focus given to the window. The window keeps
// the site alive; the window's last message tears the control down (close, client site cleared,
// released) and drops that reference.
class AxHostWindow : public ComObject<IOleClientSite, IOleInPlaceSite, HostUIDefaults, AmbientProperties> {
  public:
    // Creates the control named `name` (a programmatic name or a "{CLSID}") in `window`, loading its
    // persisted state from `state` when one is given and the control accepts it, and activates it in
    // place. On failure the window still belongs to the site until it is destroyed.
    HRESULT CreateControl(const wchar_t* name, HWND window, IStream* state);

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleWindow (shared by the in-place site and the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip,
                                               LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override;

  protected:
    AxHostWindow() = default;
    ~AxHostWindow() override;

    void* Find(REFIID iid) override;
    // The window has had its last message: release the control, then the window's reference to the site.
    virtual void OnFinalMessage(HWND window);
    // Everything the site holds on the control, in order: in-place deactivation, close, client site
    // cleared, released. Does nothing when it already ran.
    void ReleaseAll();

  private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR site);
    LRESULT OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool TakeOverWindow(HWND window);
    HRESULT LoadOrInitialize(IStream* state);
    void FitControlToWindow();
    void PassFocusToControl();

    HWND window_ = nullptr;
    ComPtr<IUnknown> control_;
    ComPtr<IOleObject> oleObject_;
    ComPtr<IOleInPlaceObject> inPlaceObject_;
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
};

}  // namespace browser
