#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "browser/PageWindow.h"

namespace browser {

class HtmlDocument;
class HtmlEventSink;

// Timers of a page window.
inline constexpr uint32_t IDT_TITLE_REPORT = 1002;
inline constexpr uint32_t IDT_HOOK_DOCUMENT = 1003;
inline constexpr uint32_t kTitleReportPeriodMs = 300;

// A new window the browser is allowed to open only when the user forced it (shift-click and the like).
inline constexpr uint32_t kNewWindowForced = 0x10000;
// Browser command-state numbers: history forward and back.
inline constexpr int32_t kCommandNavigateForward = 1;
inline constexpr int32_t kCommandNavigateBack = 2;
// The platform's boolean true.
inline constexpr int16_t kVariantTrue = -1;

// Shared by every page of the process: each document completion negates it and nudges the control's
// top edge by it, which makes the control lay its document out again.
extern std::atomic<int32_t> g_topNudge;

// What the browser does with a new window it asked for.
struct NewWindowOutcome {
    bool cancel = false;
    std::unique_ptr<HandedBrowser> openIn;  // the page that takes the new window, when one was obtained
};

// The decisions of one page window: what its browser's events and the page commands mean for the hall.
// Everything runs on the page thread, except the owner and pending-address setters, which the child's
// IPC thread calls.
class PageController {
  public:
    PageController(PageWindow& window, WindowId ownerWindow, HtmlEventSink& scrollEvents,
                   HtmlEventSink& hoverEvents);
    PageController(const PageController&) = delete;
    PageController& operator=(const PageController&) = delete;

    // The registered page command message: true when the message counts as handled, with `result` set.
    bool OnPageCommand(uintptr_t wParam, intptr_t lParam, intptr_t& result);

    void OnBeforeNavigate2(bool topLevel, const std::wstring& address);
    void OnNavigateComplete2(bool topLevel);
    void OnNavigateComplete();
    void OnDocumentComplete(bool topLevel, const std::wstring& address);
    // `address` is absent when the browser gave none.
    NewWindowOutcome OnNewWindow3(uint32_t flags, const std::optional<std::wstring>& address);
    void OnCommandStateChange(int32_t command, int16_t enabled);
    void OnTimerTick(uintptr_t id);
    void OnNcDestroying();

    // A mouse button went down, up or double-clicked at a screen position in the page.
    void OnMouseButton(int32_t screenX, int32_t screenY);
    // The document sinks' events.
    void OnScrollEvent();
    void OnHoverEvent(std::string& lastLink);

    WindowId OwnerWindow() const { return ownerWindow_.load(std::memory_order_relaxed); }
    void SetOwnerWindow(WindowId owner) { ownerWindow_.store(owner, std::memory_order_relaxed); }
    // The address page command 5 navigates to (narrow, system code page).
    void SetPendingAddress(std::string address);
    std::string PendingAddress() const;
    const std::string& LastLinkAddress() const { return lastLinkAddress_; }

  private:
    void SendWideText(uint32_t command, WindowId tag, const std::wstring& text);
    void RestartTitleTimer();
    bool ReportLocationName();
    void AttachScrollSink(HtmlDocument& document);
    void SendUpdateInfo(HtmlDocument& document);
    // Reports the link under a point of the page's client area when it differs from `remembered`.
    void ReportLinkAt(Point client, std::string& remembered);

    PageWindow& window_;
    std::atomic<WindowId> ownerWindow_;
    HtmlEventSink& scrollEvents_;
    HtmlEventSink& hoverEvents_;
    std::string lastLinkAddress_;
    mutable std::mutex pendingMutex_;
    std::string pendingAddress_;
};

}  // namespace browser
