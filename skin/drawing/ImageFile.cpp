#include <vector>

#include "skin/drawing/ImageFile.h"

#include "skin/drawing/ImageDecoder.h"
#include "skin/markup/FileRead.h"
#include "skin/resources/Files.h"

namespace SkinUI {
namespace {

// An encoded image file larger than this is not read: no image within the decoded size cap needs it in
// any format a skin uses.
constexpr uint64_t kMaxEncodedImageBytes = uint64_t{64} << 20;

}  // namespace

std::unique_ptr<SkinImageInfo> DecodeImageFile(const std::wstring& name, const std::wstring& type,
                                               uint32_t mask) {
    std::vector<uint8_t> bytes;
    if (!LoadSkinFileBytes(name, type, bytes) || bytes.empty()) {
        // Not a skin file: perhaps a path of its own, absolute or relative to the current folder.
        if (name.empty() || ReadFileBytes(name, kMaxEncodedImageBytes, bytes) != SkinFileStatus::Loaded) {
            return nullptr;
        }
    }
    return DecodeImageBytes(bytes.data(), bytes.size(), mask);
}

}  // namespace SkinUI
