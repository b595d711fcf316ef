#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "skin/controls/IDialogBuilderCallback.h"
#include "skin/manager/IMessageFilterUI.h"
#include "skin/manager/INotifyUI.h"
#include "skin/manager/ManagerUI.h"
#include "skin/manager/NotifyPump.h"
#include "skin/manager/win32/WindowPortWin32.h"
#include "skin/manager/win32/WindowWnd.h"

namespace SkinUI {

// Where a skinned window's skin file comes from.
enum class SkinSourceKind {
    Folder = 1,           // the skin file lies below the skin folder
    ArchiveFile = 2,      // inside the archive file SkinArchiveName below the skin folder
    ModuleResource = 3,   // SkinFileName is the decimal id of a resource of type "xml"
    ArchiveResource = 4,  // inside the archive stored as resource "ZIPRES" SkinResourceId
};

// A borderless window drawn by its skin: on creation it drops the native caption, builds its control
// tree from its skin file and hands it to its manager; then it drags by the skin's caption area,
// resizes by its size box, keeps rounded corners, maximises to the work area, and gives the buttons
// named "closebtn", "minbtn", "maxbtn" and "restorebtn" their usual meaning. Escape closes it.
//
// A window derives from it, names its class and its skin, and reacts to notifications:
//   class MyWnd : public SkinUI::WindowImplBase {
//     const wchar_t* WindowClassName() const override;     // the class name
//     std::wstring SkinFileName() const override;          // "main.xml"
//     SkinUI::SkinSourceKind SkinSourceKind() const override;  // ArchiveResource
//     uint32_t SkinResourceId() const override;            // 113
//     void OnNotify(SkinUI::SkinNotify& notify) override;  // "windowinit", "click", ...
//   };
// It is created with CreateNativeWindow, shown, and served by SkinUI::RunMessageLoop.
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
  public:
    WindowImplBase();

    // The virtual operations continue those of CWindowWnd, in order.
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    ~WindowImplBase() override;
    // Called at the end of creation, once the tree is attached.
    virtual void AfterSkinAttached();
    // The standard system buttons; nothing for other names.
    virtual void HandleClick(SkinNotify& notify);
    virtual std::wstring SkinFolderName() const;
    virtual std::wstring SkinFileName() const;
    // Enter and Escape: Escape closes the window (result 1). True when the key was used.
    virtual bool HandleDefaultKey(WPARAM key);
    virtual SkinUI::SkinSourceKind SkinSourceKind() const;
    virtual std::wstring SkinArchiveName() const;
    // The id of the "ZIPRES" resource holding the skin archive; 0 for none.
    virtual uint32_t SkinResourceId() const;
    // Message handlers: one that does not handle its message sets `handled` to false and returns 0, and
    // the message goes on to the manager and then to default processing.
    virtual LRESULT HandleWmClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmNcActivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmNcPaint(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmMouseHover(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmChar(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmSetFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleWmMouseMove(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // The window's style without the caption bits.
    virtual LONG_PTR WindowStyle() const;

    // INotifyUI: hands the notification to the pump ("click" reaches HandleClick).
    void OnNotify(SkinNotify& notify) override;
    // IMessageFilterUI, as a pre-message filter of the window's own manager: Enter and Escape.
    intptr_t HandleWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;
    // IDialogBuilderCallback: the window adds no elements of its own.
    std::unique_ptr<CControlUI> MakeCustomControl(const wchar_t* elementName) override;

    CSkinManagerUI& Manager() { return manager_; }
    const SkinWindowPortWin32& WindowPort() const { return port_; }
    // The control named so in the window's tree, or null.
    CControlUI* FindControl(const std::wstring& name) const;

  protected:
    void AfterFinalMessage(HWND window) override;
    bool HandlePumpedNotify(SkinNotify& notify) override;

  private:
    // Selects the skin source; false when the skin archive resource is missing.
    bool SelectSkinSource();
    std::unique_ptr<CControlUI> BuildSkin();

    // Declared before the manager: the manager reaches the window through it until the end.
    SkinWindowPortWin32 port_;
    CSkinManagerUI manager_;
};

// The fonts of every skinned window of the process.
SkinFontEngine& ProcessFontEngine();

}  // namespace SkinUI
