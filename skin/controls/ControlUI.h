#pragma once

#include <cstdint>
#include <string>

#include "skin/controls/Event.h"
#include "skin/controls/HookList.h"
#include "skin/drawing/Canvas.h"
#include "skin/drawing/ImageDescriptor.h"
#include "skin/markup/Colors.h"
#include "skin/markup/Geometry.h"

namespace SkinUI {

class CControlUI;
class ISkinControlHost;
class ISkinWindowObject;

// What a control answers in ControlFlags.
namespace SkinControlFlags {
constexpr uint32_t kTabStop = 0x01;    // takes part in Tab focus moves
constexpr uint32_t kSetCursor = 0x02;  // sets the cursor over itself
}  // namespace SkinControlFlags

// Filters of SearchControls.
namespace SkinSearchFlags {
constexpr uint32_t kVisible = 0x01;
constexpr uint32_t kEnabled = 0x02;
constexpr uint32_t kHitTest = 0x04;         // data points at a SkinPoint the control must contain
constexpr uint32_t kUpdateTest = 0x08;      // a control the test already accepts is passed over
constexpr uint32_t kTopFirst = 0x10;        // children from the last (painted on top) to the first
constexpr uint32_t kMeFirst = 0x80000000u;  // a container is tested before its children
}  // namespace SkinSearchFlags

// The test SearchControls applies: the control it accepts (usually the one given), or null.
using SkinControlTest = CControlUI* (*)(CControlUI* control, void* data);

// The base of every element of a skinned window: geometry requests, appearance, flags, attributes,
// painting in a fixed order and a part in event routing. Controls are owned by their parent container
// (the root by the window's manager) and reach the manager only through ISkinControlHost.
class CControlUI {
  public:
    using InitHooks = SkinHookList<void, CControlUI&>;
    using DestroyHooks = SkinHookList<void, CControlUI&>;
    using SizeHooks = SkinHookList<void, CControlUI&>;
    using EventHooks = SkinHookList<bool, SkinEvent&>;
    using NotifyHooks = SkinHookList<bool, SkinNotify&>;

    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // The virtual operations, in the order every control class keeps.
    virtual ~CControlUI();
    virtual const std::wstring& Name() const;
    virtual void SetName(const std::wstring& name);
    virtual const wchar_t* ClassName() const;
    // The control as the named interface: the control itself (as its own class) for its interface
    // names, a container's child list (IContainerUI) for "IContainer", else null.
    virtual void* FindInterface(const wchar_t* name);
    virtual uint32_t ControlFlags() const;
    virtual bool TryActivate();
    virtual ISkinControlHost* Manager() const;
    virtual ISkinWindowObject* Association() const;
    virtual void AttachManager(ISkinControlHost* manager, CControlUI* parent, ISkinWindowObject* association,
                               bool init);
    virtual CControlUI* Parent() const;
    virtual const std::wstring& Text() const;
    virtual void SetText(const std::wstring& text);
    virtual const SkinRect& ItemRect() const;
    virtual SkinRect RelativeItemRect() const;
    virtual void Place(const SkinRect& rect, bool invalidate);
    virtual void Move(int32_t dx, int32_t dy, bool invalidate);
    virtual int32_t Width() const;
    virtual int32_t Height() const;
    virtual int32_t X() const;
    virtual int32_t Y() const;
    virtual SkinRect Padding() const;
    virtual void SetPadding(const SkinRect& padding);
    virtual SkinSize FloatOffset() const;
    virtual void SetFloatOffset(const SkinSize& offset);
    virtual int32_t FixedWidth() const;
    virtual void SetFixedWidth(int32_t width);
    virtual int32_t FixedHeight() const;
    virtual void SetFixedHeight(int32_t height);
    virtual int32_t MinWidth() const;
    virtual void SetMinWidth(int32_t width);
    virtual int32_t MaxWidth() const;
    virtual void SetMaxWidth(int32_t width);
    virtual int32_t MinHeight() const;
    virtual void SetMinHeight(int32_t height);
    virtual int32_t MaxHeight() const;
    virtual void SetMaxHeight(int32_t height);
    virtual SkinFractionRect AnchorRule() const;
    virtual void SetAnchorRule(const SkinFractionRect& rule);
    virtual const std::wstring& ToolTip() const;
    virtual void SetToolTip(const std::wstring& text);
    virtual void SetToolTipWidth(int32_t width);
    virtual int32_t ToolTipWidth() const;
    virtual wchar_t Shortcut() const;
    virtual void SetShortcut(wchar_t shortcut);
    virtual bool ContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool used);
    virtual const std::wstring& UserData() const;
    virtual void SetUserData(const std::wstring& data);
    virtual uintptr_t Tag() const;
    virtual void SetTag(uintptr_t tag);
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible);
    virtual void SetVisibleByParent(bool visible);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool floating);
    virtual CControlUI* SearchControls(SkinControlTest test, void* data, uint32_t flags);
    virtual void Init();
    virtual void InitHook();
    virtual void Event(SkinEvent& event);
    virtual void HandleEvent(SkinEvent& event);
    virtual void ApplyAttribute(const wchar_t* name, const wchar_t* value);
    virtual SkinSize DesiredSize(const SkinSize& available);
    virtual void Paint(SkinCanvas& canvas, const SkinRect& paintRect);
    virtual void PaintBackColor(SkinCanvas& canvas);
    virtual void PaintBackImage(SkinCanvas& canvas);
    virtual void PaintStateImage(SkinCanvas& canvas);
    virtual void PaintTextPart(SkinCanvas& canvas);
    virtual void PaintOutline(SkinCanvas& canvas);
    virtual void PaintOverlay(SkinCanvas& canvas, const SkinRect& paintRect);

    // Repaints the item rectangle as far as the visible ancestors show it.
    void Invalidate();
    // This control's layout is stale.
    void MarkLayoutDirty();
    // The parent's layout is stale (this control's own when it has no parent).
    void MarkParentLayoutDirty();
    bool NeedsUpdate() const { return updateNeeded_; }

    // Applies name="value" pairs separated by one blank, as "Default" lists and scroll bar styles
    // write them; anything else ends the list.
    void ApplyAttributeList(const wchar_t* list);

    const std::wstring& VirtualWindow() const { return virtualWindow_; }
    void SetVirtualWindow(const std::wstring& name);
    const SkinRect& PaintRect() const { return paintRect_; }

    SkinColor BkColor() const { return bkColor_; }
    void SetBkColor(SkinColor color);
    SkinColor BkColor2() const { return bkColor2_; }
    void SetBkColor2(SkinColor color);
    SkinColor BkColor3() const { return bkColor3_; }
    void SetBkColor3(SkinColor color);
    SkinColor BorderColor() const { return borderColor_; }
    void SetBorderColor(SkinColor color);
    SkinColor FocusBorderColor() const { return focusBorderColor_; }
    void SetFocusBorderColor(SkinColor color);
    // Colours pass through the process's recolouring when drawn; the engine keeps no recolouring
    // setting yet, so they are drawn as they are.
    bool RecoloursColors() const { return recolourColors_; }
    void SetRecoloursColors(bool recolour);
    int32_t BorderSize() const { return borderSize_; }
    void SetBorderSize(int32_t size);
    const SkinRect& SideBorderSizes() const { return sideBorderSizes_; }
    void SetSideBorderSizes(const SkinRect& sizes);
    int32_t BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int32_t style);
    const SkinSize& BorderRound() const { return borderRound_; }
    void SetBorderRound(const SkinSize& round);
    const SkinImageDescriptor& BkImage() const { return bkImage_; }
    void SetBkImage(const std::wstring& descriptor);
    const SkinImageDescriptor& ForeImage() const { return foreImage_; }
    void SetForeImage(const std::wstring& descriptor);

    InitHooks& OnInit() { return initHooks_; }
    DestroyHooks& OnDestroy() { return destroyHooks_; }
    SizeHooks& OnSize() { return sizeHooks_; }
    EventHooks& OnEvent() { return eventHooks_; }
    NotifyHooks& OnNotify() { return notifyHooks_; }

  protected:
    // Repaints `rect` as far as this control and its visible ancestors show it.
    void InvalidateClipped(const SkinRect& rect);
    // Sets a descriptor's text; unchanged text whose image is resolved does nothing. True when changed.
    bool UpdateDescriptor(SkinImageDescriptor& descriptor, const std::wstring& text);
    // Draws a descriptor over the item rectangle within the paint rectangle; false when it does not draw.
    bool DrawImage(SkinCanvas& canvas, SkinImageDescriptor& descriptor);
    bool DrawForeImage(SkinCanvas& canvas) { return DrawImage(canvas, foreImage_); }
    // Re-layout after a change of the fixed position or size.
    void MarkGeometryDirty();
    void SetItemRect(const SkinRect& rect) { itemRect_ = rect; }
    void SetFocusedFlag(bool focused) { focused_ = focused; }
    void SendNotify(const std::wstring& type, uintptr_t wParam, intptr_t lParam);

  private:
    void PaintParts(SkinCanvas& canvas);
    void ApplyBorderSizeAttribute(const wchar_t* value);
    void ApplyFloatAttribute(const wchar_t* value);
    void TakeImageSizeWhenFloating();
    bool ApplyGeometryAttribute(const wchar_t* name, const wchar_t* value);
    bool ApplyAppearanceAttribute(const wchar_t* name, const wchar_t* value);

    InitHooks initHooks_;
    DestroyHooks destroyHooks_;
    SizeHooks sizeHooks_;
    EventHooks eventHooks_;
    NotifyHooks notifyHooks_;
    ISkinControlHost* manager_ = nullptr;
    ISkinWindowObject* association_ = nullptr;
    CControlUI* parent_ = nullptr;
    std::wstring virtualWindow_;
    std::wstring name_;
    bool updateNeeded_ = true;
    bool contextMenuUsed_ = false;
    SkinRect itemRect_;
    SkinRect padding_;
    SkinSize fixedPosition_;
    int32_t fixedWidth_ = 0;
    int32_t fixedHeight_ = 0;
    int32_t minWidth_ = 0;
    int32_t minHeight_ = 0;
    int32_t maxWidth_ = 9999;
    int32_t maxHeight_ = 9999;
    bool visible_ = true;
    bool visibleByParent_ = true;
    bool enabled_ = true;
    bool mouseEnabled_ = true;
    bool keyboardEnabled_ = true;
    bool focused_ = false;
    bool floating_ = false;
    bool attachedWithInit_ = false;
    SkinFractionRect relativePosition_;
    bool sizeHooksRunning_ = false;
    std::wstring text_;
    std::wstring toolTip_;
    wchar_t shortcut_ = 0;
    std::wstring userData_;
    uintptr_t tag_ = 0;
    SkinColor bkColor_ = 0;
    SkinColor bkColor2_ = 0;
    SkinColor bkColor3_ = 0;
    SkinImageDescriptor bkImage_;
    SkinImageDescriptor foreImage_;
    SkinColor borderColor_ = 0;
    SkinColor focusBorderColor_ = 0;
    bool recolourColors_ = false;
    int32_t borderSize_ = 0;
    int32_t borderStyle_ = 0;
    int32_t toolTipWidth_ = 300;
    SkinSize borderRound_;
    SkinRect paintRect_;
    SkinRect sideBorderSizes_;

  protected:
    // The control was last attached as part of a live tree (with init): a container initialises the
    // children added to it from then on.
    bool IsAttachedWithInit() const { return attachedWithInit_; }
};

}  // namespace SkinUI
