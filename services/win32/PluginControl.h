#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "services/win32/SystemAccess.h"

namespace services {

// Makes sure the game's plug-in control file exists in the player's profile and is registered,
// elevating when needed. The hall goes on whatever it returns.
bool EnsurePluginControl();
// True when the control is in place and registered from there, or its registration was started;
// false when the control file was missing and could not be written.
bool EnsurePluginControl(SystemAccess& system);

// "<profile>\quill\vex", both levels created; the profile folder depends on the system version.
std::wstring GetPluginFolder(SystemAccess& system);

// A copy of a resource's bytes; false when it is missing or empty.
bool ExtractResource(HMODULE module, int id, const wchar_t* type, std::vector<uint8_t>& out);

// Writes the whole control file through the system's file writer. A file whose write failed, even after
// some bytes, is deleted, so that a partial control is never registered.
bool WriteControlFile(SystemAccess& system, const std::wstring& path, const std::vector<uint8_t>& bytes);

// Starts the system's registration tool (by its full path in the system folder) for the control:
// directly for administrators, through the shell otherwise. True when the tool was started.
bool RegisterControl(SystemAccess& system, const std::wstring& controlPath, bool registering);

// Asks the shell to start the program, with "runas" when elevation is wanted and needed. True when it
// was started (a refused elevation prompt starts nothing).
bool RunElevated(SystemAccess& system, const std::wstring& program, const std::wstring& parameters,
                 bool wantElevation);

// The membership test of the current token in the built-in Administrators group.
bool IsAdministrator(bool& isMember);

}  // namespace services
