#pragma once

#include <string>

namespace childproc {

// Starts a process of this executable for one address with the single-address command line and does
// not wait for it. 0 when it started, -1 when it could not be created.
int SpawnWebProcess(const std::wstring& address);

}  // namespace childproc
