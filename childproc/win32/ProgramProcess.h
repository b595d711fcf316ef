#pragma once

#include <windows.h>

#include <string>

#include "childproc/win32/ScopedHandles.h"

namespace childproc {

// Full path of the running executable read into a buffer of `capacity` characters; empty when it does
// not fit (a cut path would start some other program, or none).
std::wstring ExecutablePath(DWORD capacity);

// A started program: its process handle (kept open for the caller) and id.
struct StartedProgram {
    UniqueHandle process;
    DWORD processId = 0;
};

// Starts a command line the way the launcher starts its own processes: no inherited handles, no creation
// flags, the parent's environment and folder, and a start-up record empty but for its size. The thread
// handle is closed at once. False when the process cannot be created.
bool StartProgram(std::wstring commandLine, StartedProgram& started);

}  // namespace childproc
