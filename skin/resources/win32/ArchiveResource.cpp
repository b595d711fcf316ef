#include "skin/resources/win32/ArchiveResource.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "skin/resources/FilePlatform.h"
#include "skin/resources/Resources.h"

namespace SkinUI {

bool UseArchiveResource(uint32_t resourceId) {
    // Skin files are read from these blocks until the process ends.
    static std::map<std::pair<ModuleHandle, uint32_t>, std::vector<uint8_t>> blocks;
    const auto key = std::make_pair(ResourceModule(), resourceId);
    auto found = blocks.find(key);
    if (found == blocks.end()) {
        std::vector<uint8_t> bytes;
        if (resourceId == 0 ||
            !LoadModuleResourceBytes(ResourceModule(), std::to_wstring(resourceId), L"ZIPRES", bytes)) {
            return false;
        }
        found = blocks.emplace(key, std::move(bytes)).first;
    }
    UseArchiveMemory(found->second.data(), found->second.size());
    return true;
}

}  // namespace SkinUI
