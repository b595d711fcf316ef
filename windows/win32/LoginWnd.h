#pragma once

#include <cstdint>

#include "windows/win32/NativeHallWindow.h"

// The launcher window: 1280 by 768, keeps the channel for the server-list address.
class LoginWnd : public NativeHallWindow {
public:
    explicit LoginWnd(int32_t channel) : NativeHallWindow(1280, 768), channel_(channel) {}

protected:
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int32_t channel_;
};
