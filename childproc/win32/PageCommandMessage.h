#pragma once

#include <windows.h>

namespace childproc {

// The registered page command message "QMR.WM_IPC_HTMLWND_COMMAND", registered on first use and kept
// for the process. 0 when the system refuses to register it (asked again next time).
UINT PageCommandMessage();

}  // namespace childproc
