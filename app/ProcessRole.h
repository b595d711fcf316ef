#pragma once

namespace app {

// Which role a process of the executable plays, decided by the number of command-line arguments
// (program name included): five start the child browser process, one the hall, anything else nothing.
enum class ProcessRole { Child, Hall, None };

ProcessRole RoleForArgumentCount(int argumentCount);

}  // namespace app
