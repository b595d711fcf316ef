#include <filesystem>
#include <fstream>
#include <vector>

#include "skin/SkinFiles.h"
#include "skin/SkinImageDecoder.h"

namespace SkinUI {
namespace {

// An encoded image file larger than this is not read: no image within the decoded size cap needs it in
// any format a skin uses.
constexpr uint64_t kMaxEncodedImageBytes = uint64_t{64} << 20;

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    const std::filesystem::path filePath(path);
    const uintmax_t size = std::filesystem::file_size(filePath, error);
    if (error || size == 0 || size > kMaxEncodedImageBytes) {
        return false;
    }
    std::ifstream file(filePath, std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<uintmax_t>(file.gcount()) != size) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<SkinImageInfo> DecodeImageFile(const std::wstring& name, const std::wstring& type,
                                               uint32_t mask) {
    std::vector<uint8_t> bytes;
    if (!LoadSkinFileBytes(name, type, bytes) || bytes.empty()) {
        ReadWholeFile(name, bytes);
    }
    if (bytes.empty()) {
        return nullptr;
    }
    return DecodeImageBytes(bytes.data(), bytes.size(), mask);
}

}  // namespace SkinUI
