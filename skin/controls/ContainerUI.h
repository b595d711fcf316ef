#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "skin/controls/ControlUI.h"
#include "skin/controls/IContainerUI.h"
#include "skin/controls/ScrollBarUI.h"

namespace SkinUI {

// A control that holds children: it places every child over its whole content area (layouts place
// them along one axis), paints them clipped to itself and routes hit tests to them.
class CContainerUI : public CControlUI, public IContainerUI {
  public:
    CContainerUI();
    ~CContainerUI() override;

    // Operations of the control that a container changes, in the control's order.
    const wchar_t* ClassName() const override;
    void* FindInterface(const wchar_t* name) override;
    void AttachManager(ISkinControlHost* manager, CControlUI* parent, ISkinWindowObject* association,
                       bool init) override;
    void Place(const SkinRect& rect, bool invalidate) override;
    void Move(int32_t dx, int32_t dy, bool invalidate) override;
    void SetVisible(bool visible) override;
    void SetVisibleByParent(bool visible) override;
    CControlUI* SearchControls(SkinControlTest test, void* data, uint32_t flags) override;
    void HandleEvent(SkinEvent& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void Paint(SkinCanvas& canvas, const SkinRect& paintRect) override;

    // Operations a container adds.
    virtual SkinRect Inset() const;
    virtual void SetInset(const SkinRect& inset);
    virtual int32_t ChildPadding() const;
    virtual void SetChildPadding(int32_t padding);
    // Whether removed children (and the remaining ones at the end) are destroyed by the container. A
    // container that does not own its children lets them go without destroying them: whoever added
    // them keeps them (RemoveAt hands a child back, RemoveAll and the destructor only forget them).
    virtual bool OwnsChildren() const;
    virtual void SetOwnsChildren(bool owns);
    // Whether removed children are destroyed only after the message being handled.
    virtual bool DefersChildDeletion() const;
    virtual void SetDefersChildDeletion(bool defers);
    // Whether hit tests may descend into the children.
    virtual bool ChildrenTakeMouse() const;
    virtual void SetChildrenTakeMouse(bool take);
    // The index of the next visible, enabled child from `index` on (backwards when not forward), or -1.
    virtual int FindSelectableChild(int index, bool forward) const;
    virtual SkinSize ScrollPos() const;
    virtual SkinSize ScrollRange() const;
    virtual void SetScrollPos(const SkinSize& position);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBars(bool vertical, bool horizontal);
    virtual CScrollBarUI* VerticalScrollBar() const;
    virtual CScrollBarUI* HorizontalScrollBar() const;
    // Places a visible floating child by its fixed position and size and its anchor fractions.
    virtual void PlaceFloatingChild(int index);
    // Gives the scroll bars their ranges for content of the required size and their places beside
    // `rect` (the content area).
    virtual void LayoutScrollBars(const SkinRect& rect, int32_t cxRequired, int32_t cyRequired);

    // The child list.
    CControlUI* ItemAt(int index) const override;
    int IndexOf(const CControlUI* control) const override;
    int Count() const override;
    bool Add(std::unique_ptr<CControlUI> control) override;
    bool AddAt(std::unique_ptr<CControlUI> control, int index) override;
    std::unique_ptr<CControlUI> Remove(CControlUI* control) override;
    std::unique_ptr<CControlUI> RemoveAt(int index) override;
    void RemoveAll() override;

    // The item rectangle without the inset and the visible scroll bars.
    SkinRect ContentArea() const;

  protected:
    // Applies the container's own attributes; false for names it does not know.
    bool ApplyContainerAttribute(const wchar_t* name, const wchar_t* value);

  private:
    void AdoptChild(CControlUI& child);
    void DisposeChild(std::unique_ptr<CControlUI> child);
    static void DetachChild(CControlUI& child);
    static void LetGo(std::unique_ptr<CControlUI> child);
    void PaintChildren(SkinCanvas& canvas, const SkinRect& paintRect);
    CControlUI* SearchChildren(SkinControlTest test, void* data, uint32_t flags);
    void ScrollVerticallyBy(int32_t delta);
    void ScrollHorizontallyBy(int32_t delta);

    std::vector<std::unique_ptr<CControlUI>> items_;
    SkinRect inset_;
    int32_t childPadding_ = 0;
    bool autoDestroy_ = true;
    bool delayedDestroy_ = true;
    bool mouseChildEnabled_ = true;
    std::unique_ptr<CScrollBarUI> verticalScrollBar_;
    std::unique_ptr<CScrollBarUI> horizontalScrollBar_;
};

}  // namespace SkinUI
