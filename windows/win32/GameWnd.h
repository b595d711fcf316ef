#pragma once

#include <string>

#include "skin/win32/WindowImplBase.h"
#include "windows/HallGeometry.h"

// The game window: a resizable skinned frame with a 30-pixel title row that hosts the page window the
// launcher hands over, keeps it fitted to its client area and sends it the reload command.
class GameWnd : public SkinUI::WindowImplBase {
  public:
    GameWnd() = default;

    const wchar_t* WindowClassName() const override;
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::wstring SkinFolderName() const override;
    std::wstring SkinFileName() const override;
    SkinUI::SkinSourceKind SkinSourceKind() const override;
    std::wstring SkinArchiveName() const override;
    uint32_t SkinResourceId() const override;
    LRESULT HandleWmClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleWmNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleWmGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleWmSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnNotify(SkinUI::SkinNotify& notify) override;

    // Fits the hosted page below the title row; nothing while no page is hosted.
    void LayoutHostedWindow();

  private:
    void OnClick(const std::wstring& controlName);
    void ReloadPage();

    HWND hostedWnd = nullptr;
    hall::DragFullWindowsSwitch dragFullWindows;
};
