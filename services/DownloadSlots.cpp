#include "services/DownloadSlots.h"

#include "skin/markup/AsciiText.h"

namespace services {

std::wstring DownloadSlots::Key(const std::wstring& package) {
    return SkinUI::AsciiLowerCase(package.c_str());
}

bool DownloadSlots::TryAcquire(const std::wstring& package) {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_.insert(Key(package)).second;
}

void DownloadSlots::Release(const std::wstring& package) {
    std::lock_guard<std::mutex> lock(mutex_);
    running_.erase(Key(package));
}

bool DownloadSlots::IsRunning(const std::wstring& package) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_.count(Key(package)) != 0;
}

size_t DownloadSlots::RunningCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_.size();
}

}  // namespace services
