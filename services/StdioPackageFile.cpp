#include "services/StdioPackageFile.h"

#include <filesystem>
#include <system_error>

namespace services {

bool StdioPackageFile::OpenAt(uint64_t offset) {
    Close();
    std::error_code error;
    if (offset == 0) {
        stream_ = std::fopen(path_.c_str(), "wb");
        return stream_ != nullptr;
    }
    if (std::filesystem::file_size(path_, error) < offset || error) {
        return false;
    }
    std::filesystem::resize_file(path_, offset, error);
    if (error) {
        return false;
    }
    stream_ = std::fopen(path_.c_str(), "ab");
    return stream_ != nullptr;
}

bool StdioPackageFile::Write(const void* data, size_t size) {
    return stream_ != nullptr && std::fwrite(data, 1, size, stream_) == size;
}

void StdioPackageFile::Close() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
}

}  // namespace services
