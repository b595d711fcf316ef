#include "windows/win32/HallWindows.h"

HWND g_hHallWnd = nullptr;
HWND g_hGameWnd = nullptr;
