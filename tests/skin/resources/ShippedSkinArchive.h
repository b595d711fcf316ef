#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skintest {

// A ZIP archive of every file in `folder` (the skin sources), deflated as the program's skin archive
// is; empty when the folder cannot be read.
std::vector<uint8_t> ArchiveOfFolder(const std::string& folder);

}  // namespace skintest
