#pragma once

#include <windows.h>

namespace app {

// Steps of the hall start-up that follow the plug-in step: channel, launcher window, start message,
// hidden game window.
void StartHall(const wchar_t* commandLineTail);

// The hall's whole run after role selection; returns the process exit code.
int RunHall(HINSTANCE instance, const wchar_t* commandLineTail);

}  // namespace app
