#pragma once

#include "windows/win32/NativeHallWindow.h"

// The game window: 1000 by 700, hidden until the player enters a game.
class GameWnd : public NativeHallWindow {
public:
    GameWnd() : NativeHallWindow(1000, 700) {}

protected:
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
