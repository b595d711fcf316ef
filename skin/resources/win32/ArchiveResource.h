#pragma once

#include <cstdint>

namespace SkinUI {

// Makes the skin archive stored in the resource module (type "ZIPRES", numeric id) the archive skin
// files are read from. The resource is copied once into a block that lives as long as the process;
// later calls for the same module and id use that block again. False when the resource is missing, cannot be
// loaded or is empty.
bool UseArchiveResource(uint32_t resourceId);

}  // namespace SkinUI
