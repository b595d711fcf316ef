#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/drawing/Image.h"

namespace SkinUI {

// Reads a skin image by name (a module resource of `type` when `type` is not empty, else a skin file)
// and decodes it; a name that gives no bytes is tried once more as a path of its own.
std::unique_ptr<SkinImageInfo> DecodeImageFile(const std::wstring& name, const std::wstring& type,
                                               uint32_t mask);

}  // namespace SkinUI
