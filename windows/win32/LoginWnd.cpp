#include "windows/win32/LoginWnd.h"

#include "windows/win32/HallWindows.h"

LRESULT LoginWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HALL_START:
            ShowWindow(GetHWND(), SW_SHOWNORMAL);
            SetForegroundWindow(GetHWND());
            return 0;
        case WM_NCLBUTTONDBLCLK:
            return 1;  // a double click never maximises the launcher
        default:
            return NativeHallWindow::OnWindowMessage(message, wParam, lParam);
    }
}
