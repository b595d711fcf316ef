#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "childproc/IpcProtocol.h"

namespace browser {

class PageBrowser;

using childproc::WindowId;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// A browser interface obtained from another page for a new window; the platform side opens the new
// window in it.
class HandedBrowser {
  public:
    virtual ~HandedBrowser() = default;
};

// What a page window obtained from the child process for a new window.
struct OutOfProcessPage {
    WindowId window = 0;
    std::unique_ptr<HandedBrowser> browser;  // null when no interface came with it
};

// Everything the page controller does through its own window and the system around it.
class PageWindow {
  public:
    virtual ~PageWindow() = default;

    // The page window itself.
    virtual WindowId Handle() = 0;
    // The hosted browser, or null when the control is not (or no longer) there.
    virtual PageBrowser* HostedBrowser() = 0;

    virtual intptr_t Send(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual void Post(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // A data-copy message with the command as wParam, sent and waited for; empty data goes out as no
    // data with byte count 0.
    virtual void SendCopyData(WindowId to, uint32_t command, uintptr_t tag,
                              const std::vector<uint8_t>& data) = 0;

    // Timers of the page window: starting a running timer restarts it with the new period.
    virtual void StartTimer(uint32_t id, uint32_t periodMs) = 0;
    virtual void StopTimer(uint32_t id) = 0;
    // Ends the page thread's message loop once the current message is handled.
    virtual void PostQuit() = 0;

    virtual bool CursorPosition(Point& screen) = 0;
    // Screen to client coordinates of the page window.
    virtual bool ScreenToClient(Point& point) = 0;

    // Narrow text in the system code page, as link and stored addresses are kept.
    virtual std::string ToSystemCodePage(const std::wstring& text) = 0;
    virtual std::wstring FromSystemCodePage(const std::string& text) = 0;

    // Starts a process of the executable for a single address; false when it cannot be started.
    virtual bool SpawnWebProcess(const std::wstring& address) = 0;
    // Asks the owner window's child process for a new browser page.
    virtual OutOfProcessPage RequestOutOfProcessBrowser(WindowId owner) = 0;
};

}  // namespace browser
