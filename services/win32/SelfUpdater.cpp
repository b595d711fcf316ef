#include "services/win32/SelfUpdater.h"

#include <atomic>

#include "services/UpdateRules.h"
#include "services/win32/UpdatePackage.h"

namespace services {

// What the check's thread works on, and its answer: the thread owns one reference, the updater the
// other, so either may let go first.
struct SelfUpdater::RunningCheck {
    RunningCheck(UpdatePackage package, std::wstring checksum, std::shared_ptr<DownloadSlots> slots,
                 HWND window)
        : package(std::move(package)),
          checksum(std::move(checksum)),
          slots(std::move(slots)),
          window(window) {}

    const UpdatePackage package;
    const std::wstring checksum;
    const std::shared_ptr<DownloadSlots> slots;
    const HWND window;
    UpdateCheck result = UpdateCheck::NothingToDo;  // written by the thread before `done`
    std::atomic<bool> done{false};
};

namespace {

// Everything of a check but the notice and the installer: the size query, the checksum, and the
// download (after deleting a wrong copy). Installing means that the copy is complete and is to be
// installed. Safe on any thread.
UpdateCheck Examine(const UpdatePackage& package, const std::wstring& checksum,
                    const std::shared_ptr<DownloadSlots>& slots) {
    if (!package.IsUsable()) {
        return UpdateCheck::NothingToDo;
    }
    // A copy that is still being written is neither judged nor touched.
    if (slots->IsRunning(package.LocalPath())) {
        return UpdateCheck::DownloadRunning;
    }
    bool fromStart = false;
    switch (package.Decide(checksum)) {
        case UpdateAction::Install:
            return UpdateCheck::Installing;
        case UpdateAction::DownloadAfterDelete:
            package.DeleteLocalCopy();
            fromStart = true;
            break;
        case UpdateAction::Download:
            break;
    }
    return package.StartDownload(slots, fromStart) ? UpdateCheck::DownloadStarted : UpdateCheck::NothingToDo;
}

void Install(SystemAccess& system, const UpdatePackage& package, HWND owner) {
    system.ShowNotice(owner, kUpdateNoticeText, kUpdateNoticeCaption);
    package.LaunchInstaller();
}

}  // namespace

SelfUpdater::SelfUpdater(SystemAccess& system) : system_(system), slots_(std::make_shared<DownloadSlots>()) {}

void SelfUpdater::OnUpdateInfo(const childproc::UpdateInfo& info, HWND hallWindow) {
    pendingAddress_ = NarrowUpdateAddress(info.address);
    pendingChecksum_ = info.checksum;
    if (AddressArmsUpdate(pendingAddress_) && hallWindow != nullptr) {
        armedWindow_ = hallWindow;
        SetTimer(hallWindow, kUpdateTimerId, kUpdateTimerDelayMs, nullptr);
    }
}

bool SelfUpdater::OnMessage(HWND window, UINT message, WPARAM wParam) {
    if (window == nullptr || window != armedWindow_) {
        return false;
    }
    if (message == kUpdateCheckDoneMessage) {
        FinishCheck();
        return true;
    }
    if (message != WM_TIMER || wParam != kUpdateTimerId) {
        return false;
    }
    KillTimer(window, kUpdateTimerId);
    FinishCheck();  // a result whose message was lost
    if (running_ != nullptr) {
        // The record that armed this timer is checked once the running check is done.
        SetTimer(window, kUpdateTimerId, kUpdateTimerDelayMs, nullptr);
    } else {
        StartCheck(window);
    }
    return true;
}

void SelfUpdater::StartCheck(HWND window) {
    const UpdatePackage package(system_, pendingAddress_);
    if (!package.IsUsable()) {
        return;
    }
    auto check = std::make_shared<RunningCheck>(package, pendingChecksum_, slots_, window);
    auto threadReference = std::make_unique<std::shared_ptr<RunningCheck>>(check);
    HANDLE thread = CreateThread(nullptr, 0, &SelfUpdater::RunCheck, threadReference.get(), 0, nullptr);
    if (thread == nullptr) {
        return;
    }
    // Nobody waits for the thread: it owns its reference now, and its result comes back by message.
    threadReference.release();
    CloseHandle(thread);
    running_ = std::move(check);
}

DWORD WINAPI SelfUpdater::RunCheck(void* parameter) {
    const std::unique_ptr<std::shared_ptr<RunningCheck>> reference(
        static_cast<std::shared_ptr<RunningCheck>*>(parameter));
    RunningCheck& check = **reference;
    check.result = Examine(check.package, check.checksum, check.slots);
    check.done.store(true, std::memory_order_release);
    PostMessageW(check.window, kUpdateCheckDoneMessage, 0, 0);
    return 0;
}

void SelfUpdater::FinishCheck() {
    if (running_ == nullptr || !running_->done.load(std::memory_order_acquire)) {
        return;
    }
    const std::shared_ptr<RunningCheck> check = std::move(running_);
    if (check->result == UpdateCheck::Installing) {
        Install(system_, check->package, check->window);
    }
}

UpdateCheck SelfUpdater::CheckNow(HWND owner) {
    const UpdatePackage package(system_, pendingAddress_);
    const UpdateCheck result = Examine(package, pendingChecksum_, slots_);
    if (result == UpdateCheck::Installing) {
        Install(system_, package, owner);
    }
    return result;
}

SelfUpdater& HallUpdater() {
    static SelfUpdater updater(RealSystem());
    return updater;
}

void OnUpdateInfo(const childproc::UpdateInfo& info, HWND hallWindow) {
    HallUpdater().OnUpdateInfo(info, hallWindow);
}

bool OnUpdateMessage(HWND window, UINT message, WPARAM wParam) {
    return HallUpdater().OnMessage(window, message, wParam);
}

}  // namespace services
