// Skin files for test programs from the table in TestImages.h instead of a skin folder or archive. Listed
// among a test program's own sources (never in a library), so that it stands in for the engine's reader.
#include <cstdint>
#include <string>
#include <vector>

#include "skin/SkinFiles.h"

namespace testsupport {
bool ServeFakeSkinFile(const std::wstring& name, const std::wstring& type, std::vector<uint8_t>& bytes);
}

namespace SkinUI {

bool LoadSkinFileBytes(const std::wstring& name, const std::wstring& resourceType,
                       std::vector<uint8_t>& bytes) {
    return testsupport::ServeFakeSkinFile(name, resourceType, bytes);
}

}  // namespace SkinUI
