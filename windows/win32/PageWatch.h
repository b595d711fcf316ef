#pragma once

#include <windows.h>

namespace hall {

// Watches a page window of the child process from a thread of its own: once the window is gone, the
// player is told that the game crashed and the hall ends (SC_HALL_QUIT posted to `launcher`). One watch
// runs per reported page window; false when its thread could not be started.
bool StartPageWatch(HWND page, HWND launcher);

// The system command that ends the hall, posted by a page watch.
inline constexpr WPARAM SC_HALL_QUIT = 16;

// How often a page watch looks for its window.
inline constexpr DWORD kPageWatchPeriodMs = 1000;

}  // namespace hall
