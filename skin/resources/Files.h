#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

// The bytes of one skin file, from wherever the process-wide resource settings say skin files come from:
// - with a resource type (not empty): the module resource of that type, named by `name` (a name that
//   starts with a digit is the numeric id it spells);
// - otherwise: the skin folder (resource path + name) when no archive is in use, else the skin archive
//   (file or memory; opened for this load unless kept open), the entry looked up ignoring letter case.
// False, with `bytes` empty, for a missing file, an empty file or a short read.
bool LoadSkinFileBytes(const std::wstring& name, const std::wstring& resourceType,
                       std::vector<uint8_t>& bytes);

}  // namespace SkinUI
