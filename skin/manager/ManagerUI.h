#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/ControlUI.h"
#include "skin/controls/ISkinControlHost.h"
#include "skin/controls/ISkinWindowSettings.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/manager/ISkinWindowPort.h"
#include "skin/manager/TimerTable.h"
#include "skin/manager/WindowMessages.h"
#include "skin/resources/DefaultAttributeLists.h"

namespace SkinUI {

class INotifyUI;
class IMessageFilterUI;
class ITranslateAccelerator;
class ISkinWindowObject;

// Sits between one native window and its control tree: turns the window's messages into events for
// the right control (the one under the mouse, the pressed one, the focused one), lays out and paints
// the tree, sends notifications to the window's listeners, and owns the tree and the window's
// resources. Every manager of the process is in one list, so that the message loop can give the
// manager of a message's window a first look at it. Used on the user-interface thread only.
class CSkinManagerUI : public ISkinControlHost, public ISkinWindowSettings, private ISkinClientPainter {
  public:
    explicit CSkinManagerUI(SkinFontEngine& fonts,
                            SkinSharedResources& shared = SkinSharedResources::Process());
    ~CSkinManagerUI();
    CSkinManagerUI(const CSkinManagerUI&) = delete;
    CSkinManagerUI& operator=(const CSkinManagerUI&) = delete;

    // Serves the window behind `port` (which must outlive the manager or a later Init) and joins the
    // process-wide list.
    void Init(ISkinWindowPort* port);
    ISkinWindowPort* Port() const { return port_; }
    // The window is gone: the tree and its timers go, and the manager leaves the process-wide list.
    void DetachWindow();

    // Takes the tree: the old one is destroyed after the current message, every control gets this
    // manager, its parent and the window object, and the next paint lays the tree out and sends
    // "windowinit". False for a null tree.
    bool AttachRoot(std::unique_ptr<CControlUI> root, ISkinWindowObject* window);
    CControlUI* Root() const { return root_.get(); }
    ISkinWindowObject* WindowObject() const { return windowObject_; }

    CControlUI* SearchControls(const std::wstring& name) const;
    // The control drawn topmost at the point, or null.
    CControlUI* SearchControls(const SkinPoint& point) const;

    void AddNotifyListener(INotifyUI* listener);
    bool RemoveNotifyListener(INotifyUI* listener);
    void AddMessageListener(IMessageFilterUI* filter);
    bool RemoveMessageListener(IMessageFilterUI* filter);
    void AddPreTranslateListener(IMessageFilterUI* filter);
    bool RemovePreTranslateListener(IMessageFilterUI* filter);
    void AddAcceleratorListener(ITranslateAccelerator* accelerator);
    bool RemoveAcceleratorListener(ITranslateAccelerator* accelerator);

    void RaiseNotify(SkinNotify& notify, bool async);
    void SetFocus(CControlUI* control);
    // The window takes the keyboard focus and the control gets it at the next paint, after the layout
    // (the first Tab stop when the control cannot take it then).
    void SetPendingFocus(CControlUI* control);
    void MoveTabFocus(bool forward);
    void KillTimer(CControlUI* control);
    void KillAllTimers();
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return mouseCapture_; }
    void Invalidate(const SkinRect& rect);
    void MarkLayoutDirty() { updateNeeded_ = true; }
    bool IsLayoutDue() const { return updateNeeded_; }
    const SkinPoint& LastMousePoint() const { return lastMousePoint_; }
    CControlUI* HoverControl() const { return hover_; }
    CControlUI* ClickControl() const { return click_; }

    // One message of the window; true when handled, with the message's result.
    bool HandleWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    // A message the loop fetched for this window, before it is dispatched; true when consumed.
    bool HandlePreTranslate(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    // Offers a fetched message to the managers of its window (or, for a child window, of the windows
    // around it); true when one consumed it.
    static bool PreTranslate(const SkinWindowMessage& message, const ISkinWindowTree& windows);
    static const std::vector<CSkinManagerUI*>& Managers();

    // What the skin's "Window" element set.
    const SkinSize& InitialSize() const { return initialSize_; }
    const SkinRect& SizeBox() const { return sizeBox_; }
    const SkinRect& CaptionRect() const { return caption_; }
    const SkinSize& RoundCorner() const { return roundCorner_; }
    const SkinSize& MinInfo() const { return minInfo_; }
    const SkinSize& MaxInfo() const { return maxInfo_; }
    bool ShowUpdateRect() const { return showUpdateRect_; }
    uint8_t Opacity() const { return opacity_; }

    // ISkinControlHost
    void InvalidateRect(const SkinRect& rect) override;
    void NoteLayoutDue() override;
    void AddPostPaintControl(CControlUI* control) override;
    void RemovePostPaintControl(CControlUI* control) override;
    void SetFocusControl(CControlUI* control) override;
    CControlUI* FocusControl() const override;
    void RaiseNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam, intptr_t lParam,
                     bool async) override;
    CSkinResourceTables& Resources() override;
    SkinDefaultAttributeLists& DefaultAttributeLists() override;
    ISkinWindowSettings* WindowSettings() override;
    void NoteVirtualWindowsUsed() override;
    bool UsesVirtualWindows() const override;
    bool SetTimer(CControlUI* control, uint32_t timerId, uint32_t elapseMs) override;
    bool KillTimer(CControlUI* control, uint32_t timerId) override;
    void SetCursor(SkinCursor cursor) override;
    void DestroyLater(std::unique_ptr<CControlUI> control) override;
    void ForgetControl(CControlUI* control) override;

    // ISkinWindowSettings
    void SetInitialSize(const SkinSize& size) override;
    void SetSizeBox(const SkinRect& box) override;
    void SetCaptionRect(const SkinRect& caption) override;
    void SetRoundCorner(const SkinSize& corner) override;
    void SetMinInfo(const SkinSize& size) override;
    void SetMaxInfo(const SkinSize& size) override;
    void SetShowUpdateRect(bool show) override;
    void SetOpacity(uint8_t opacity) override;

  private:
    bool HandleByMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    bool HandleMouseMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    bool HandleKeyMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void DeliverQueuedNotifications();
    void DeliverNotify(SkinNotify& notify);
    void OnClose();
    void OnPaint();
    void LayOutIfDue();
    void OnTimer(uint32_t windowTimerId);
    void OnMouseHover(const SkinPoint& point);
    void OnMouseLeave();
    void OnMouseMove(const SkinPoint& point, uintptr_t keyState);
    void OnButtonDown(int32_t eventType, const SkinPoint& point, uintptr_t keyState);
    void OnButtonUp(const SkinPoint& point, uintptr_t keyState);
    void OnContextMenu(intptr_t lParam);
    void OnMouseWheel(uintptr_t wParam, intptr_t lParam);
    bool OnSetCursor(intptr_t lParam);
    void DestroyDeferredControls();
    bool ActivateShortcut(wchar_t key);
    bool TranslateAccelerators(const SkinWindowMessage& message);
    // Gives the control an event unless it belongs to another manager.
    void SendEvent(CControlUI* control, int32_t type, const SkinPoint& point, uintptr_t wParam = 0,
                   intptr_t lParam = 0, uint16_t keyChar = 0, uint16_t keyState = 0);
    bool Owns(const CControlUI* control) const;
    bool InTree(const CControlUI* control) const;
    uint32_t Now() const;
    void PaintClient(SkinCanvas& canvas, const SkinRect& paintRect) override;

    ISkinWindowPort* port_ = nullptr;
    uint8_t opacity_ = 255;
    bool showUpdateRect_ = false;
    std::unique_ptr<CControlUI> root_;
    ISkinWindowObject* windowObject_ = nullptr;
    CControlUI* focus_ = nullptr;
    CControlUI* hover_ = nullptr;
    CControlUI* click_ = nullptr;
    CControlUI* key_ = nullptr;
    CControlUI* pendingFocus_ = nullptr;
    SkinPoint lastMousePoint_;
    SkinSize minInfo_;
    SkinSize maxInfo_;
    SkinSize initialSize_;
    SkinRect sizeBox_;
    SkinRect caption_;
    SkinSize roundCorner_;
    bool firstLayout_ = true;
    bool updateNeeded_ = false;
    bool focusNeeded_ = false;
    bool mouseTracking_ = false;
    bool mouseCapture_ = false;
    bool virtualWindowsUsed_ = false;
    std::vector<INotifyUI*> notifiers_;
    std::vector<IMessageFilterUI*> messageFilters_;
    std::vector<IMessageFilterUI*> preMessageFilters_;
    std::vector<ITranslateAccelerator*> accelerators_;
    std::vector<CControlUI*> postPaintControls_;
    std::vector<std::unique_ptr<CControlUI>> deferredDestruction_;
    std::vector<SkinNotify> queuedNotifications_;
    SkinTimerTable timers_;
    std::map<std::wstring, CControlUI*> names_;
    SkinDefaultAttributeLists defaultAttributes_;
    CSkinResourceTables resources_;
};

}  // namespace SkinUI
