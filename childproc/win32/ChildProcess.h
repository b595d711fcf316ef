#pragma once

namespace childproc {

// The child browser process's whole run; reads the process's argument vector itself and returns the
// process exit code: 0 after a normal end, -1 when the command line or the start-up is refused.
int RunChildProcess();

}  // namespace childproc
