#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace childproc {

// The child browser process's command line:
//   "<exe>" -KVGameBox -KVGameBoxChildProcess -KVHallWnd=<decimal handle> -ChildIPCWndName=<name>
// Each switch is matched case-sensitively over its own full length at the start of its argument, so a
// longer argument still matches.
struct ChildSwitches {
    int64_t hallWindow = 0;  // the hall window handle as the hall printed it (signed decimal)
    std::wstring ipcName;    // title of the child's IPC window
};

// Reads the whole argument vector (program path first). False when the child role must refuse:
// not five arguments, a missing or wrong switch, a hall window of 0 or an empty IPC name.
bool ParseChildSwitches(const std::vector<std::wstring>& arguments, ChildSwitches& out);

}  // namespace childproc
