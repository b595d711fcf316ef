#pragma once

#include <cstdio>
#include <string>

#include "services/PackageTransfer.h"

namespace services {

// The local copy as a C stream on a narrow path: what the native builds and the benchmark write to.
class StdioPackageFile : public PackageFile {
  public:
    explicit StdioPackageFile(std::string path) : path_(std::move(path)) {}
    ~StdioPackageFile() override { Close(); }
    StdioPackageFile(const StdioPackageFile&) = delete;
    StdioPackageFile& operator=(const StdioPackageFile&) = delete;

    bool OpenAt(uint64_t offset) override;
    bool Write(const void* data, size_t size) override;
    void Close() override;

  private:
    std::string path_;
    std::FILE* stream_ = nullptr;
};

}  // namespace services
