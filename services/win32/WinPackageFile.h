#pragma once

#include <string>

#include "services/PackageTransfer.h"
#include "services/win32/WinHandles.h"

namespace services {

// The local copy of the update package on its wide path: written by the download thread, readable by
// others meanwhile.
class WinPackageFile : public PackageFile {
  public:
    explicit WinPackageFile(std::wstring path) : path_(std::move(path)) {}

    bool OpenAt(uint64_t offset) override;
    bool Write(const void* data, size_t size) override;
    void Close() override { file_.Reset(); }

  private:
    std::wstring path_;
    UniqueFile file_;
};

// Size of a file, 0 when it does not exist or cannot be read; sizes beyond 32 bits read as the
// largest size below the failure marker, which no announced size equals.
uint32_t FileSize32(const std::wstring& path);

}  // namespace services
