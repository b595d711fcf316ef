#pragma once

#include <string>

#include "skin/manager/win32/WindowImplBase.h"

// What the launcher and the game window share: their class name, their skin from the archive carried as
// resource "ZIPRES" 113, the question before the hall ends, and clicks on their named buttons.
class HallSkinWindow : public SkinUI::WindowImplBase {
  public:
    const wchar_t* WindowClassName() const override;
    std::wstring SkinFolderName() const override;
    SkinUI::SkinSourceKind SkinSourceKind() const override;
    std::wstring SkinArchiveName() const override;
    uint32_t SkinResourceId() const override;
    // Any close request other than the window's own buttons (Escape through the window base, Alt+F4, the
    // system menu) asks before the hall ends, and never destroys the window: without the launcher the
    // hall would run on invisibly, and the game window would take the game page down with it.
    LRESULT HandleWmClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // Clicks only, on the control that the window finds under the sender's name; the window base's own
    // click handling is not used.
    void OnNotify(SkinUI::SkinNotify& notify) override;

  protected:
    virtual void OnClick(const std::wstring& controlName) = 0;
};
