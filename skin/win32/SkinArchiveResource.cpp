#include "skin/win32/SkinArchiveResource.h"

#include <map>
#include <string>
#include <vector>

#include "skin/SkinFilePlatform.h"
#include "skin/SkinResources.h"

namespace SkinUI {

bool UseArchiveResource(uint32_t resourceId) {
    // Skin files are read from these blocks until the process ends.
    static std::map<uint32_t, std::vector<uint8_t>> blocks;
    auto found = blocks.find(resourceId);
    if (found == blocks.end()) {
        std::vector<uint8_t> bytes;
        if (resourceId == 0 ||
            !LoadModuleResourceBytes(ResourceModule(), std::to_wstring(resourceId), L"ZIPRES", bytes)) {
            return false;
        }
        found = blocks.emplace(resourceId, std::move(bytes)).first;
    }
    UseArchiveMemory(found->second.data(), found->second.size());
    return true;
}

}  // namespace SkinUI
