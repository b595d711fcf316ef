#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "childproc/IpcProtocol.h"
#include "services/DownloadSlots.h"
#include "services/win32/SystemAccess.h"

namespace services {

enum class UpdateCheck {
    NothingToDo,      // no usable address, or the download thread could not start
    Installing,       // the copy is complete: notice shown, installer started
    DownloadStarted,  // a background download now fetches the rest (or all) of the package
    DownloadRunning   // a download of this package is still running; it is left to finish
};

// The launcher's self-update: the update record arms a one-shot timer on the launcher window; when it
// fires, the local copy of the announced package is installed when complete and downloaded in the
// background otherwise. Everything but the download runs on the launcher window's thread.
class SelfUpdater {
  public:
    explicit SelfUpdater(SystemAccess& system);

    // On the update record: keeps the address (and checksum) and arms the update timer on the launcher
    // window, again when a timer is already armed.
    void OnUpdateInfo(const ipc::UpdateInfo& info, HWND hallWindow);
    // The launcher's WM_TIMER: true when it was the update timer, which is then killed and runs the
    // check; false for any other window or timer.
    bool OnTimer(HWND window, UINT_PTR timerId);
    // The update check itself; `owner` owns the notice.
    UpdateCheck CheckNow(HWND owner);

    const std::string& PendingAddress() const { return pendingAddress_; }
    size_t RunningDownloads() const { return slots_->RunningCount(); }

  private:
    SystemAccess& system_;
    HWND armedWindow_ = nullptr;
    std::string pendingAddress_;
    std::wstring pendingChecksum_;
    // Shared with the download threads, which may outlive this object at process end.
    std::shared_ptr<DownloadSlots> slots_;
};

// The hall's updater, on the real system. The launcher window calls these two.
SelfUpdater& HallUpdater();
void OnUpdateInfo(const ipc::UpdateInfo& info, HWND hallWindow);
bool OnUpdateTimer(HWND window, UINT_PTR timerId);

}  // namespace services
