#pragma once

#include <memory>
#include <string>

#include "services/DownloadSlots.h"
#include "services/UpdateRules.h"
#include "services/win32/SystemAccess.h"

namespace services {

// One announced launcher package and its local copy in the update folder ("<roaming application
// data>\Tolvane\update\<file name of the address>"). Built for one update check; the path stays wide
// from the shell folder to the file and to the installer start.
class UpdatePackage {
  public:
    // Creates the update folder. A package whose address names no usable file, or whose local path
    // would be too long, is not usable and is left alone.
    UpdatePackage(SystemAccess& system, const std::string& address);

    bool IsUsable() const { return !localPath_.empty(); }
    const std::wstring& LocalPath() const { return localPath_; }

    uint32_t QueryRemoteSize() const;
    uint32_t LocalSize() const;
    // What to do with the local copy: install it, fetch the rest, or delete it and fetch it anew. Asks
    // the server for the size; reads the copy's checksum only when the sizes agree.
    UpdateAction Decide(const std::wstring& expectedChecksum) const;
    bool IsComplete(const std::wstring& expectedChecksum) const;

    // Starts the download thread for the rest of the copy (or, from the start, for all of it) and
    // returns at once; false when a download of this package is already running (it goes on alone) or
    // the thread cannot start.
    bool StartDownload(const std::shared_ptr<DownloadSlots>& slots, bool fromStart = false) const;
    // Deletes the local copy so that the next download starts from byte 0.
    void DeleteLocalCopy() const;
    // Writes the trace line and asks the shell to "open" the copy with the silent installer parameters.
    bool LaunchInstaller() const;

  private:
    SystemAccess& system_;
    std::string address_;
    std::wstring localPath_;
};

// "<roaming application data>\Tolvane\update\", both levels created; "" when the shell has no such
// folder.
std::wstring UpdateFolder(SystemAccess& system);

}  // namespace services
