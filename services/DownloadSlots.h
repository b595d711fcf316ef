#pragma once

#include <mutex>
#include <set>
#include <string>

namespace services {

// The packages that have a download running: at most one download writes to one local copy at a
// time. Keys are compared without regard to ASCII letter case, as Windows compares file names.
class DownloadSlots {
  public:
    // True when the package had no download running; it has one now, until Release.
    bool TryAcquire(const std::wstring& package);
    void Release(const std::wstring& package);
    bool IsRunning(const std::wstring& package) const;
    size_t RunningCount() const;

  private:
    static std::wstring Key(const std::wstring& package);

    mutable std::mutex mutex_;
    std::set<std::wstring> running_;
};

}  // namespace services
