#pragma once

#include <string>

#include "services/win32/SystemAccess.h"

namespace services {

// The user's default browser program as the registry names it for this system version (the program
// of its open command, split from the arguments as the shell does), or "iexplore.exe" when anything on
// the way fails.
std::wstring GetDefaultBrowser();
std::wstring GetDefaultBrowser(SystemAccess& system);

// Starts the default browser with the arguments of its open command, the address in place of "%1" (or
// after them); the result is not checked.
void OpenUrl(const std::wstring& address);
void OpenUrl(SystemAccess& system, const std::wstring& address);

}  // namespace services
