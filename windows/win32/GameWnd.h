#pragma once

#include <string>

#include "windows/HallGeometry.h"
#include "windows/win32/HallSkinWindow.h"

namespace hall {

// The game window: a resizable skinned frame with a 30-pixel title row that hosts the page window the
// launcher hands over, keeps it fitted to its client area and sends it the reload command.
class GameWnd : public HallSkinWindow {
  public:
    GameWnd() = default;

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::wstring SkinFileName() const override;
    LRESULT HandleWmNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleWmGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleWmSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // Fits the hosted page below the title row; nothing while no page is hosted.
    void LayoutHostedWindow();

  private:
    void OnClick(const std::wstring& controlName) override;
    void ReloadPage();

    HWND hostedWnd_ = nullptr;
    DragFullWindowsSwitch dragFullWindows_;
};

}  // namespace hall
