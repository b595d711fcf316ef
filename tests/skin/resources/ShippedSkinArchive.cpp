#include "tests/skin/resources/ShippedSkinArchive.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "tests/skin/resources/TestArchiveBuilder.h"

namespace skintest {

std::vector<uint8_t> ArchiveOfFolder(const std::string& folder) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    if (error || files.empty()) {
        return {};
    }
    std::sort(files.begin(), files.end());
    TestArchiveBuilder builder;
    for (const auto& path : files) {
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        builder.Add(path.filename().string(), bytes, Packing::Deflated);
    }
    return builder.Build();
}

}  // namespace skintest
