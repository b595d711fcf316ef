#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/markup/Geometry.h"

namespace SkinUI {

class CControlUI;
class CSkinResourceTables;
class ISkinWindowSettings;
class SkinDefaultAttributeLists;

// Mouse pointer shapes a control asks for.
enum class SkinCursor { Arrow, Hand, SizeNorthSouth, SizeWestEast };

// What the controls of one window need of the window's manager: everything else about windows,
// messages and painting stays on the manager's side.
class ISkinControlHost {
  public:
    // Painting and layout.
    virtual void InvalidateRect(const SkinRect& rect) = 0;
    // Some control's layout is stale: a layout pass is due before the next paint.
    virtual void NoteLayoutDue() = 0;
    // Controls that get PaintOverlay after the whole tree is painted.
    virtual void AddPostPaintControl(CControlUI* control) = 0;
    virtual void RemovePostPaintControl(CControlUI* control) = 0;

    // Keyboard focus: give it to a control, or take it away with null.
    virtual void SetFocusControl(CControlUI* control) = 0;
    virtual CControlUI* FocusControl() const = 0;

    // Sends a notification from `sender` to the window's listeners; `async` queues it for the next message.
    virtual void RaiseNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam, intptr_t lParam,
                             bool async) = 0;

    // The window's fonts, images and default colours (and the process-wide ones behind them).
    virtual CSkinResourceTables& Resources() = 0;
    // The window's own default attribute lists; the shared ones are in Resources().Shared().
    virtual SkinDefaultAttributeLists& DefaultAttributeLists() = 0;
    // What the skin's "Window" element sets; null while the manager serves no window.
    virtual ISkinWindowSettings* WindowSettings() = 0;

    // A control named a virtual window: notifications carry virtual window names from now on.
    virtual void NoteVirtualWindowsUsed() = 0;
    virtual bool UsesVirtualWindows() const = 0;

    // Timers of a control: each elapse gives the control a timer event with its own id.
    virtual bool SetTimer(CControlUI* control, uint32_t timerId, uint32_t elapseMs) = 0;
    virtual bool KillTimer(CControlUI* control, uint32_t timerId) = 0;

    // Answer to a set-cursor event.
    virtual void SetCursor(SkinCursor cursor) = 0;

    // A removed child, destroyed after the message being handled (its events may still be on the stack).
    virtual void DestroyLater(std::unique_ptr<CControlUI> control) = 0;
    // A control of this window is being destroyed: the manager drops every reference it holds to it
    // (focus, hover, click and key targets, timers, names, post-paint list).
    virtual void ForgetControl(CControlUI* control) = 0;

  protected:
    ~ISkinControlHost() = default;
};

}  // namespace SkinUI
