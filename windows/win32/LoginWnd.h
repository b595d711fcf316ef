#pragma once

#include <cstdint>
#include <string>

#include "windows/win32/HallSkinWindow.h"

namespace hall {

// The launcher: a fixed 1280 by 768 skinned window whose centre shows the portal's server list, a page of
// the child browser process placed over the page area. It starts the child, shows the page when it has
// loaded, hands it to the game window when the player enters a game, and offers the portal's links.
class LoginWnd : public HallSkinWindow {
  public:
    explicit LoginWnd(int32_t channel);

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::wstring SkinFileName() const override;
    LRESULT HandleWmGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleWmSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // Moves the page window over the page area of the launcher; nothing while there is no page.
    void PlacePageWindow();

  private:
    void StartServerList();
    void OnUpdateRecord(const COPYDATASTRUCT* data);
    void OnBrowserCreated(HWND page);
    void OnPageReady();
    void HandOverToGame();
    void OnClick(const std::wstring& controlName) override;

    int32_t channel_;
    HWND pageWnd_ = nullptr;
    bool movedToGame_ = false;
};

}  // namespace hall
