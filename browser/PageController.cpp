#include "browser/PageController.h"

#include <utility>

#include "browser/HtmlDocument.h"
#include "browser/HtmlElement.h"
#include "browser/HtmlEventSink.h"
#include "browser/PageBrowser.h"
#include "browser/PageQueries.h"
#include "browser/PortalAddresses.h"
#include "browser/ResultCodes.h"
#include "childproc/IpcProtocol.h"

namespace browser {

std::atomic<int32_t> g_topNudge{-1};

namespace {

int32_t NegateTopNudge() {
    int32_t current = g_topNudge.load(std::memory_order_relaxed);
    while (!g_topNudge.compare_exchange_weak(current, -current, std::memory_order_relaxed)) {
    }
    return -current;
}

}  // namespace

PageController::PageController(PageWindow& window, WindowId ownerWindow, HtmlEventSink& scrollEvents,
                               HtmlEventSink& hoverEvents)
    : window_(window), ownerWindow_(ownerWindow), scrollEvents_(scrollEvents), hoverEvents_(hoverEvents) {}

void PageController::SetPendingAddress(std::string address) {
    std::lock_guard<std::mutex> lock(pendingMutex_);
    pendingAddress_ = std::move(address);
}

std::string PageController::PendingAddress() const {
    std::lock_guard<std::mutex> lock(pendingMutex_);
    return pendingAddress_;
}

bool PageController::OnPageCommand(uintptr_t wParam, intptr_t lParam, intptr_t& result) {
    PageBrowser* browser = window_.HostedBrowser();
    if (wParam == childproc::kPageCommandHandOver) {
        if (lParam != 0) {
            const uint32_t processId = static_cast<uint32_t>(lParam);
            result = static_cast<intptr_t>(browser != nullptr ? browser->HandOverToProcess(processId)
                                                              : uintptr_t{childproc::kNoBrowserHandle});
        } else {
            result = static_cast<intptr_t>(browser != nullptr ? browser->HandOverToThread() : 0);
        }
        return true;
    }
    if (browser == nullptr) {
        return false;
    }
    switch (wParam & 0xFFFF) {
        case childproc::kPageCommandBack:
            browser->GoBack();
            break;
        case childproc::kPageCommandForward:
            browser->GoForward();
            break;
        case childproc::kPageCommandReload: {
            std::wstring address;
            browser->LocationUrl(address);
            browser->Navigate(address);
            break;
        }
        case childproc::kPageCommandHome:
            browser->GoHome();
            break;
        case childproc::kPageCommandNavigatePending:
            browser->Navigate(window_.FromSystemCodePage(PendingAddress()));
            break;
        default:
            break;
    }
    return false;
}

void PageController::SendWideText(uint32_t command, WindowId tag, const std::wstring& text) {
    window_.SendCopyData(OwnerWindow(), command, tag, childproc::WriteWideText(text));
}

void PageController::RestartTitleTimer() {
    window_.StopTimer(IDT_TITLE_REPORT);
    window_.StartTimer(IDT_TITLE_REPORT, kTitleReportPeriodMs);
}

bool PageController::ReportLocationName() {
    PageBrowser* browser = window_.HostedBrowser();
    std::wstring name;
    if (browser == nullptr || !browser->LocationName(name) || name.empty()) {
        return false;
    }
    SendWideText(childproc::COPYDATA_NAVIGATED, window_.Handle(), name);
    window_.StopTimer(IDT_TITLE_REPORT);
    return true;
}

void PageController::OnBeforeNavigate2(bool topLevel, const std::wstring& address) {
    if (!topLevel) {
        return;
    }
    RestartTitleTimer();
    if (IsGameEntryAddress(address)) {
        window_.Send(OwnerWindow(), childproc::WM_IPC_GAME_PAGE, 0, 0);
    }
    SendWideText(childproc::COPYDATA_NAVIGATED, window_.Handle(), address);
}

void PageController::OnNavigateComplete2(bool topLevel) {
    SuppressScriptErrors(window_.HostedBrowser());
    if (!topLevel) {
        return;
    }
    RestartTitleTimer();
    PageBrowser* browser = window_.HostedBrowser();
    std::wstring location;
    if (browser != nullptr && browser->LocationUrl(location) && !location.empty()) {
        SendWideText(childproc::COPYDATA_NEW_WINDOW, window_.Handle(), location);
    }
}

void PageController::OnNavigateComplete() {
    SuppressScriptErrors(window_.HostedBrowser());
}

void PageController::OnDocumentComplete(bool topLevel, const std::wstring& address) {
    PageBrowser* browser = window_.HostedBrowser();
    const int32_t nudge = NegateTopNudge();
    if (browser == nullptr) {
        return;
    }
    browser->PutTop(nudge);
    int32_t state = 0;
    if (!browser->ReadyState(state) || state != kReadyStateComplete || !topLevel) {
        return;
    }
    window_.Post(OwnerWindow(), childproc::WM_IPC_PAGE_READY, 0, 0);
    browser->PutTop(-g_topNudge.load(std::memory_order_relaxed));
    ReportLocationName();
    std::unique_ptr<HtmlDocument> document = browser->Document();
    if (document == nullptr) {
        return;
    }
    AttachScrollSink(*document);
    if (IsServerListAddress(address)) {
        SendUpdateInfo(*document);
    }
}

void PageController::AttachScrollSink(HtmlDocument& document) {
    scrollEvents_.Attach(HtmlEventSink::kScroll, *this);
    window_.Post(OwnerWindow(), childproc::WM_IPC_PAGE_STATE, childproc::kPageStateScroll, 0);
    document.SetBodyScrollHandler(scrollEvents_);
}

void PageController::SendUpdateInfo(HtmlDocument& document) {
    const std::optional<childproc::UpdateInfo> info = ReadUpdateInfo(document);
    if (info.has_value()) {
        window_.SendCopyData(OwnerWindow(), childproc::COPYDATA_UPDATE_INFO, 0,
                             childproc::WriteUpdateRecord(*info));
    }
}

NewWindowOutcome PageController::OnNewWindow3(uint32_t flags, const std::optional<std::wstring>& address) {
    NewWindowOutcome outcome;
    const bool hasAddress = address.has_value() && !address->empty();
    if ((flags & kNewWindowForced) != 0 && hasAddress && window_.SpawnWebProcess(*address)) {
        outcome.cancel = true;
        return outcome;
    }
    OutOfProcessPage page = window_.RequestOutOfProcessBrowser(OwnerWindow());
    if (page.browser != nullptr) {
        outcome.openIn = std::move(page.browser);
    } else {
        outcome.cancel = true;
    }
    if (page.window != 0 && hasAddress) {
        SendWideText(childproc::COPYDATA_NEW_WINDOW, page.window, *address);
    }
    return outcome;
}

void PageController::OnCommandStateChange(int32_t command, int16_t enabled) {
    uint32_t code = 0;
    if (command == kCommandNavigateForward) {
        code = childproc::kPageStateForwardCommand;
    } else if (command == kCommandNavigateBack) {
        code = childproc::kPageStateBackCommand;
    } else {
        return;
    }
    window_.Send(OwnerWindow(), childproc::WM_IPC_PAGE_STATE,
                 childproc::PageStateCommandParam(code, enabled == kVariantTrue),
                 static_cast<intptr_t>(window_.Handle()));
}

void PageController::OnTimerTick(uintptr_t id) {
    if (id == IDT_TITLE_REPORT) {
        ReportLocationName();
        return;
    }
    if (id == IDT_HOOK_DOCUMENT) {
        PageBrowser* browser = window_.HostedBrowser();
        std::unique_ptr<HtmlDocument> document = browser != nullptr ? browser->Document() : nullptr;
        if (document != nullptr) {
            window_.StopTimer(IDT_HOOK_DOCUMENT);
            AttachHoverSink(*document, hoverEvents_, *this);
        }
    }
}

void PageController::OnNcDestroying() {
    window_.StopTimer(IDT_TITLE_REPORT);
    window_.StopTimer(IDT_HOOK_DOCUMENT);
    window_.PostQuit();
}

void PageController::OnMouseButton(int32_t screenX, int32_t screenY) {
    Point point{screenX, screenY};
    window_.ScreenToClient(point);
    ReportLinkAt(point, lastLinkAddress_);
}

void PageController::OnHoverEvent(std::string& lastLink) {
    Point point;
    if (!window_.CursorPosition(point)) {
        return;
    }
    window_.ScreenToClient(point);
    ReportLinkAt(point, lastLink);
}

void PageController::OnScrollEvent() {
    PageBrowser* browser = window_.HostedBrowser();
    std::unique_ptr<HtmlDocument> document = browser != nullptr ? browser->Document() : nullptr;
    std::unique_ptr<HtmlElement> active = document != nullptr ? document->ActiveElement() : nullptr;
    int32_t left = 0;
    int32_t top = 0;
    if (active == nullptr || !active->ScrollOffsets(left, top)) {
        return;
    }
    window_.Post(OwnerWindow(), childproc::WM_IPC_PAGE_STATE, childproc::kPageStateScroll,
                 static_cast<intptr_t>(childproc::PackScrollOffsets(left, top)));
}

void PageController::ReportLinkAt(Point client, std::string& remembered) {
    std::optional<std::string> link;
    std::unique_ptr<HtmlElement> element;
    if (ElementFromPointDeep(window_.HostedBrowser(), client.x, client.y, &element) == kResultOk) {
        std::optional<std::wstring> address;
        if (LinkAddressOf(std::move(element), &address) == kResultOk && address.has_value()) {
            link = window_.ToSystemCodePage(*address);
        }
    }
    const bool changed = link.has_value() ? *link != remembered : !remembered.empty();
    if (!changed) {
        return;
    }
    window_.SendCopyData(OwnerWindow(), childproc::COPYDATA_ELEMENT_TEXT, window_.Handle(),
                         link.has_value() ? childproc::WriteNarrowText(*link) : std::vector<uint8_t>());
    remembered = link.value_or(std::string());
}

}  // namespace browser
