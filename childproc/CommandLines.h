#pragma once

#include <cstdint>
#include <string>

namespace childproc {

// The child browser process's command line:
//   "<exe>" -KVGameBox -KVGameBoxChildProcess -KVHallWnd=<hall window, signed decimal>
//   -ChildIPCWndName=<name>
// Window handles carry 32 significant bits on both process widths and travel sign-extended.
std::wstring ChildProcessCommandLine(const std::wstring& executablePath, int32_t hallWindow,
                                     const std::wstring& ipcName);

// The child's IPC window title: "IPC:" and a GUID in registry form ("{XXXXXXXX-...}"), or, when no GUID
// can be made, "IPC:PID=<hall process id>.Tick=<milliseconds since system start>".
std::wstring IpcNameFromGuid(const std::wstring& guidText);
std::wstring FallbackIpcName(uint32_t processId, uint32_t tick);

// The single-address form of the executable's command line: "<exe>" -KVGameBox -web <address>. The
// address goes in as it stands, unquoted.
std::wstring WebProcessCommandLine(const std::wstring& executablePath, const std::wstring& address);

}  // namespace childproc
