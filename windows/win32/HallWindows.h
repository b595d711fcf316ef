#pragma once

#include <windows.h>

#include "childproc/win32/ChildProcessLink.h"

namespace hall {

// The hall's two windows, set by the start-up right after each exists and read by the launcher, the game
// window and the page watch threads.
extern HWND g_hHallWnd;
extern HWND g_hGameWnd;
// The child browser process of the server list; made by the launcher's start and kept for the hall's life.
extern childproc::ChildProcessLink* g_pChildLink;

// The hall's own start message, posted once to the launcher window by the start-up.
inline constexpr UINT WM_HALL_START = WM_USER + 1010;

// Title of both hall windows and the name of their shared window class.
inline constexpr wchar_t kHallWindowTitle[] = L"Tolvane-Runecourt";

// Both windows' skins lie in the skin archive carried as resource "ZIPRES" 113.
inline constexpr UINT kHallSkinArchiveResource = 113;

// Asks the player whether to leave; true when the answer was OK.
bool ConfirmQuit();

// Clears the system browser's cache and says so.
void ClearCacheAndTell();

}  // namespace hall
