#include "services/win32/SelfUpdater.h"

#include "services/UpdateRules.h"
#include "services/win32/UpdatePackage.h"

namespace services {

SelfUpdater::SelfUpdater(SystemAccess& system) : system_(system), slots_(std::make_shared<DownloadSlots>()) {}

void SelfUpdater::OnUpdateInfo(const ipc::UpdateInfo& info, HWND hallWindow) {
    pendingAddress_ = NarrowUpdateAddress(info.address);
    pendingChecksum_ = info.checksum;
    if (AddressArmsUpdate(pendingAddress_) && hallWindow != nullptr) {
        armedWindow_ = hallWindow;
        SetTimer(hallWindow, kUpdateTimerId, kUpdateTimerDelayMs, nullptr);
    }
}

bool SelfUpdater::OnTimer(HWND window, UINT_PTR timerId) {
    if (timerId != kUpdateTimerId || window == nullptr || window != armedWindow_) {
        return false;
    }
    KillTimer(window, kUpdateTimerId);
    CheckNow(window);
    return true;
}

UpdateCheck SelfUpdater::CheckNow(HWND owner) {
    const UpdatePackage package(system_, pendingAddress_);
    if (!package.IsUsable()) {
        return UpdateCheck::NothingToDo;
    }
    // A copy that is still being written is neither judged nor touched.
    if (slots_->IsRunning(package.LocalPath())) {
        return UpdateCheck::DownloadRunning;
    }
    switch (package.Decide(pendingChecksum_)) {
        case UpdateAction::Install:
            system_.ShowNotice(owner, kUpdateNoticeText, kUpdateNoticeCaption);
            package.LaunchInstaller();
            return UpdateCheck::Installing;
        case UpdateAction::DownloadAfterDelete:
            package.DeleteLocalCopy();
            return package.StartDownload(slots_, true) ? UpdateCheck::DownloadStarted
                                                       : UpdateCheck::NothingToDo;
        case UpdateAction::Download:
            break;
    }
    return package.StartDownload(slots_) ? UpdateCheck::DownloadStarted : UpdateCheck::NothingToDo;
}

SelfUpdater& HallUpdater() {
    static SelfUpdater updater(RealSystem());
    return updater;
}

void OnUpdateInfo(const ipc::UpdateInfo& info, HWND hallWindow) {
    HallUpdater().OnUpdateInfo(info, hallWindow);
}

bool OnUpdateTimer(HWND window, UINT_PTR timerId) {
    return HallUpdater().OnTimer(window, timerId);
}

}  // namespace services
