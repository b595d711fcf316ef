#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "services/ResponseHeaders.h"

// The network half of the self-update: the size query and the resumable download, over libcurl's
// easy interface. The local copy is written through PackageFile so that the transfer code is the same
// on every platform; only the file behind it differs.
namespace services {

class PackageFile {
  public:
    virtual ~PackageFile() = default;
    // Opens the local copy for writing from `offset` on; whatever lies beyond it is cut off, so the
    // copy holds exactly the bytes before `offset` and the ones written after. False when it cannot.
    virtual bool OpenAt(uint64_t offset) = 0;
    virtual bool Write(const void* data, size_t size) = 0;
    virtual void Close() = 0;
};

// The size the server announces for the address (after redirects, the final answer's), 0 when it
// announces none, kSizeQueryFailed when the request fails or the final answer is an error status.
uint32_t QueryRemoteSize(const std::string& address);

struct DownloadResult {
    int curlCode = -1;  // libcurl's result of the transfer
    int status = 0;     // HTTP status of the final answer
    BodyHandling handling = BodyHandling::Refuse;
    uint64_t bytesWritten = 0;
};

// Asks for the range from `resumeOffset` on ("0-" for a new download) and writes the body as the
// answer allows (see DecideBodyHandling). The file is opened only when the first bytes arrive.
DownloadResult DownloadPackage(const std::string& address, uint64_t resumeOffset, PackageFile& file);

// libcurl's text for a result code.
std::string TransferErrorText(int curlCode);

}  // namespace services
