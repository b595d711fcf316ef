#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/ControlUI.h"
#include "skin/controls/ISkinControlHost.h"
#include "skin/controls/ISkinWindowSettings.h"
#include "skin/drawing/ResourceTables.h"
#include "skin/drawing/SharedResources.h"
#include "skin/resources/DefaultAttributeLists.h"
#include "tests/support/skin/FixedFontEngine.h"

namespace testsupport {

// Stands in for a window's manager: records what the controls ask of it, owns a control tree, lays it
// out over a client rectangle, paints it, and delivers mouse input the way a manager does (the control
// under the pointer gets enter and leave; a pressed control keeps the mouse until release).
// Its fonts come from a FixedFontEngine and its shared resources are its own, not the process's.
class TestControlHost : public SkinUI::ISkinControlHost, public SkinUI::ISkinWindowSettings {
  public:
    struct Notification {
        std::wstring type;
        SkinUI::CControlUI* sender = nullptr;
        uintptr_t wParam = 0;
        intptr_t lParam = 0;
    };
    // What the skin's "Window" element set.
    struct WindowSettingsRecord {
        std::vector<std::wstring> calls;  // setter names in call order
        SkinUI::SkinSize initialSize;
        SkinUI::SkinRect sizeBox;
        SkinUI::SkinRect caption;
        SkinUI::SkinSize roundCorner;
        SkinUI::SkinSize minInfo;
        SkinUI::SkinSize maxInfo;
        bool showUpdateRect = false;
        uint8_t opacity = 255;
    };

    FixedFontEngine fonts;
    SkinUI::SkinSharedResources shared;
    SkinUI::CSkinResourceTables resources{fonts, shared};
    SkinUI::SkinDefaultAttributeLists defaultAttributes;

    bool servesWindow = true;  // WindowSettings answers null when false
    std::vector<SkinUI::SkinRect> invalidated;
    int layoutRequests = 0;
    std::vector<Notification> notifications;
    SkinUI::SkinCursor cursor = SkinUI::SkinCursor::Arrow;
    bool virtualWindows = false;
    std::vector<SkinUI::CControlUI*> postPaint;
    std::vector<std::unique_ptr<SkinUI::CControlUI>> destroyLater;
    std::vector<SkinUI::CControlUI*> forgotten;
    WindowSettingsRecord window;

    TestControlHost() = default;
    ~TestControlHost();
    TestControlHost(const TestControlHost&) = delete;
    TestControlHost& operator=(const TestControlHost&) = delete;

    // Takes the tree and attaches it as a manager does: every control gets this host and its parent,
    // and each control with a parent is initialised.
    SkinUI::CControlUI* Attach(std::unique_ptr<SkinUI::CControlUI> root,
                               SkinUI::ISkinWindowObject* windowObject = nullptr);
    SkinUI::CControlUI* Root() const { return root_.get(); }
    // Places the root over the client rectangle.
    void Layout(const SkinUI::SkinRect& client);
    // Paints the tree and then the post-paint controls.
    void Paint(SkinUI::SkinCanvas& canvas, const SkinUI::SkinRect& paintRect);
    SkinUI::CControlUI* Find(const std::wstring& name) const;

    // Mouse input at client points.
    void MouseMove(const SkinUI::SkinPoint& point);
    void MouseDown(const SkinUI::SkinPoint& point);
    void MouseUp(const SkinUI::SkinPoint& point);
    void Click(const SkinUI::SkinPoint& point);
    // An event for one control, through its hooks.
    void Send(SkinUI::CControlUI& control, int32_t type, const SkinUI::SkinPoint& point = {},
              uint16_t key = 0);

    // The notifications of one type, in order.
    std::vector<Notification> NotificationsOf(const std::wstring& type) const;
    void ClearRecords();

    // ISkinControlHost
    void InvalidateRect(const SkinUI::SkinRect& rect) override { invalidated.push_back(rect); }
    void NoteLayoutDue() override { ++layoutRequests; }
    void AddPostPaintControl(SkinUI::CControlUI* control) override;
    void RemovePostPaintControl(SkinUI::CControlUI* control) override;
    void SetFocusControl(SkinUI::CControlUI* control) override;
    SkinUI::CControlUI* FocusControl() const override { return focus_; }
    void RaiseNotify(SkinUI::CControlUI* sender, const std::wstring& type, uintptr_t wParam, intptr_t lParam,
                     bool async) override;
    SkinUI::CSkinResourceTables& Resources() override { return resources; }
    SkinUI::SkinDefaultAttributeLists& DefaultAttributeLists() override { return defaultAttributes; }
    SkinUI::ISkinWindowSettings* WindowSettings() override { return servesWindow ? this : nullptr; }
    void NoteVirtualWindowsUsed() override { virtualWindows = true; }
    bool UsesVirtualWindows() const override { return virtualWindows; }
    bool SetTimer(SkinUI::CControlUI*, uint32_t, uint32_t) override { return true; }
    bool KillTimer(SkinUI::CControlUI*, uint32_t) override { return true; }
    void SetCursor(SkinUI::SkinCursor shape) override { cursor = shape; }
    void DestroyLater(std::unique_ptr<SkinUI::CControlUI> control) override {
        destroyLater.push_back(std::move(control));
    }
    void ForgetControl(SkinUI::CControlUI* control) override;

    // ISkinWindowSettings: each setter notes its name and keeps its value.
    void SetInitialSize(const SkinUI::SkinSize& size) override { window.initialSize = Noted(L"size", size); }
    void SetSizeBox(const SkinUI::SkinRect& box) override { window.sizeBox = Noted(L"sizebox", box); }
    void SetCaptionRect(const SkinUI::SkinRect& rect) override { window.caption = Noted(L"caption", rect); }
    void SetRoundCorner(const SkinUI::SkinSize& size) override {
        window.roundCorner = Noted(L"roundcorner", size);
    }
    void SetMinInfo(const SkinUI::SkinSize& size) override { window.minInfo = Noted(L"mininfo", size); }
    void SetMaxInfo(const SkinUI::SkinSize& size) override { window.maxInfo = Noted(L"maxinfo", size); }
    void SetShowUpdateRect(bool show) override { window.showUpdateRect = Noted(L"showdirty", show); }
    void SetOpacity(uint8_t opacity) override { window.opacity = Noted(L"alpha", opacity); }

  private:
    template <typename Value>
    Value Noted(const wchar_t* setter, Value value) {
        window.calls.push_back(setter);
        return value;
    }

    std::unique_ptr<SkinUI::CControlUI> root_;
    SkinUI::CControlUI* focus_ = nullptr;
    SkinUI::CControlUI* hover_ = nullptr;
    SkinUI::CControlUI* click_ = nullptr;
};

}  // namespace testsupport
