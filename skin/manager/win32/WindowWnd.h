#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/controls/ISkinWindowObject.h"

namespace SkinUI {

// One native window and its object: class registration, creation, the window procedure that hands
// every message to OnWindowMessage, modal showing and centring. The object must outlive its window;
// AfterFinalMessage runs once the window is gone.
class CWindowWnd : public ISkinWindowObject {
  public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // The virtual operations, in the order every window class keeps.
    // Shows the window (without activating it when `takeFocus` is false) or hides it.
    virtual void Show(bool show = true, bool takeFocus = true);
    // Shows the window with its owner disabled and runs the thread's messages until the window is
    // gone; the close message's wParam is the result. A quit message ends the loop early and is posted
    // again for the outer loop.
    virtual uintptr_t RunModal();
    // Posts a close message whose wParam is `result`.
    virtual void Close(uintptr_t result = 1);
    // Centres the window on its owner or parent, or on the work area when it has none or the owner is
    // minimised; kept inside the work area; neither activated nor moved in the z-order.
    virtual void CenterOnWorkArea();
    // Sets the large and small icons from an icon resource of the program.
    virtual void SetWindowIcon(uint32_t resourceId);
    virtual const wchar_t* WindowClassName() const = 0;
    // A system class this one is made from; null makes a class of its own.
    virtual const wchar_t* SuperClassName() const;
    virtual UINT ClassStyle() const;
    // The previous window procedure, or the default one.
    virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void AfterFinalMessage(HWND window);
    virtual ~CWindowWnd();

    // Registers the class once per process and creates the window. The layered style is left out: a
    // skinned window becomes layered through its skin.
    HWND CreateNativeWindow(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle,
                            int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
                            int cy = CW_USEDEFAULT, HMENU menu = nullptr);
    // Routes the messages of an existing window through this object.
    HWND HookWindow(HWND window);
    void UnhookWindow();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sizes the window so that its client area is cx by cy.
    void ResizeClient(int cx, int cy);
    HWND GetHWND() const { return window_; }
    operator HWND() const { return window_; }

    // ISkinWindowObject
    void SetTransparentBackground(bool transparent) override;
    bool TransparentBackground() const override;

  protected:
    // An object going before its window: messages reach the default processing from now on.
    void UnlinkWindow();

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool RegisterWindowClass();
    bool RegisterSuperclass();
    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    bool subclassed_ = false;
    bool transparentBackground_ = false;
};

}  // namespace SkinUI
