#include "windows/win32/GameWnd.h"

LRESULT GameWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return NativeHallWindow::OnWindowMessage(message, wParam, lParam);
}
