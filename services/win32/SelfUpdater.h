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

// Posted to the launcher window by the update check's thread when its result is ready.
inline constexpr UINT kUpdateCheckDoneMessage = WM_APP + 0x40;

// The launcher's self-update: the update record arms a one-shot timer on the launcher window; when it
// fires, a check runs on a thread of its own (the size query may wait on the network for many seconds
// and the checksum reads the whole package), so that the launcher keeps painting and answering. The
// check deletes a wrong copy and starts the background download itself; a complete copy comes back to
// the launcher window's thread, which shows the notice and starts the installer. One check runs at a
// time: a record that arrives meanwhile re-arms the timer and is the data of the next check.
class SelfUpdater {
  public:
    explicit SelfUpdater(SystemAccess& system);

    // On the update record: keeps the address (and checksum) and arms the update timer on the launcher
    // window, again when a timer is already armed.
    void OnUpdateInfo(const childproc::UpdateInfo& info, HWND hallWindow);
    // The launcher's WM_TIMER and kUpdateCheckDoneMessage: true when it was the update's (the timer is
    // then killed and the check started, or the timer armed again while a check still runs); false for
    // any other window, timer or message.
    bool OnMessage(HWND window, UINT message, WPARAM wParam);
    // The whole check on the calling thread; `owner` owns the notice.
    UpdateCheck CheckNow(HWND owner);

    bool CheckRunning() const { return running_ != nullptr; }
    size_t RunningDownloads() const { return slots_->RunningCount(); }

  private:
    struct RunningCheck;

    static DWORD WINAPI RunCheck(void* check);
    void StartCheck(HWND window);
    void FinishCheck();

    SystemAccess& system_;
    HWND armedWindow_ = nullptr;
    std::string pendingAddress_;
    std::wstring pendingChecksum_;
    // Shared with the download threads, which may outlive this object at process end.
    std::shared_ptr<DownloadSlots> slots_;
    // The check whose thread runs, until its result has been taken on the launcher window's thread.
    std::shared_ptr<RunningCheck> running_;
};

// The hall's updater, on the real system. The launcher window calls these two.
SelfUpdater& HallUpdater();
void OnUpdateInfo(const childproc::UpdateInfo& info, HWND hallWindow);
bool OnUpdateMessage(HWND window, UINT message, WPARAM wParam);

}  // namespace services
