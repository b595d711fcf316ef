#pragma once

#include <windows.h>

// The hall's two windows, set by the start-up right after each exists and read by the launcher, the game
// window and the page watch threads.
extern HWND g_hHallWnd;
extern HWND g_hGameWnd;

// The hall's own start message, posted once to the launcher window by the start-up.
inline constexpr UINT WM_HALL_START = WM_USER + 1010;

// Title of both hall windows and the name of their shared window class.
inline constexpr wchar_t kHallWindowTitle[] = L"Tolvane-Runecourt";
