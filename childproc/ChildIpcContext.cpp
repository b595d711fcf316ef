#include "childproc/ChildIpcContext.h"

#include "childproc/IpcProtocol.h"

namespace childproc {

ChildIpcContext::ChildIpcContext(ChildIpcHost& host, WindowId ownerWindow)
    : host_(host), hallProcess_(host.ProcessOfWindow(ownerWindow)), ownerWindow_(ownerWindow) {}

CopyDataAnswer ChildIpcContext::OnCopyData(uint32_t command, uintptr_t tag, const void* data, size_t size) {
    CopyDataAnswer answer = CopyDataAnswer::PassOn;
    switch (command) {
        case COPYDATA_OPEN_PAGE:
            answer = OpenStartPage(tag, data, size);
            break;
        case COPYDATA_NAVIGATE_PAGE:
            NavigatePage(tag, data, size);
            break;
        case COPYDATA_RELOAD_PAGE:
            ReloadPage(tag);
            break;
        case COPYDATA_SET_PAGE_OWNER:
            answer = SetPageOwner(tag, data, size);
            break;
        default:
            break;
    }
    return answer;
}

CopyDataAnswer ChildIpcContext::OpenStartPage(uintptr_t tag, const void* data, size_t size) {
    std::string address;
    if (!ReadNarrowText(data, size, address) || (tag != 0 && !IsHallWindow(tag))) {
        return CopyDataAnswer::Refused;
    }
    startAddress_ = std::move(address);
    if (tag != 0) {
        ownerWindow_.store(tag, std::memory_order_relaxed);
    }
    OnCreateStartPage(tag);
    return CopyDataAnswer::Opened;
}

void ChildIpcContext::OnCreateStartPage(uintptr_t echo) {
    const WindowId owner = OwnerWindow();
    std::shared_ptr<ChildPage> page = host_.StartBrowserThread(owner, startAddress_);
    WindowId window = 0;
    if (page != nullptr) {
        window = page->Window();
        pages_.push_back(std::move(page));
    }
    host_.Send(owner, WM_IPC_BROWSER_CREATED, echo, static_cast<intptr_t>(window));
}

WindowId ChildIpcContext::OnCreateBrowser() {
    std::shared_ptr<ChildPage> page = host_.StartBrowserThread(OwnerWindow(), std::string());
    if (page == nullptr) {
        return 0;
    }
    const WindowId window = page->Window();
    pages_.push_back(std::move(page));
    return window;
}

void ChildIpcContext::OnCloseBrowser(WindowId window) {
    for (auto it = pages_.begin(); it != pages_.end(); ++it) {
        if ((*it)->Window() == window) {
            host_.PostClose(window);
            pages_.erase(it);
            return;
        }
    }
}

void ChildIpcContext::OnLifetimeTick() {
    if (!host_.IsWindow(OwnerWindow())) {
        host_.DestroyIpcWindow();
    }
}

void ChildIpcContext::NavigatePage(uintptr_t tag, const void* data, size_t size) {
    ChildPage* page = FindPage(tag);
    std::string address;
    // No address is nothing to navigate to, and an unterminated one is not read at all.
    if (page == nullptr || size == 0 || !ReadNarrowText(data, size, address)) {
        return;
    }
    page->SetPendingAddress(std::move(address));
    host_.PostPageCommand(tag, kPageCommandNavigatePending);
}

void ChildIpcContext::ReloadPage(uintptr_t tag) {
    if (FindPage(tag) != nullptr) {
        host_.PostPageCommand(tag, kPageCommandReload);
    }
}

CopyDataAnswer ChildIpcContext::SetPageOwner(uintptr_t tag, const void* data, size_t size) {
    ChildPage* page = FindPage(tag);
    uint32_t record = 0;
    if (page == nullptr || !ReadOwnerRecord(data, size, record)) {
        return CopyDataAnswer::PassOn;
    }
    // Window handles are 32-bit values that widen with their sign.
    const auto owner = static_cast<WindowId>(static_cast<intptr_t>(static_cast<int32_t>(record)));
    if (!IsHallWindow(owner)) {
        return CopyDataAnswer::Refused;
    }
    page->SetOwnerWindow(owner);
    return CopyDataAnswer::PassOn;
}

bool ChildIpcContext::IsHallWindow(WindowId window) const {
    return hallProcess_ != 0 && host_.ProcessOfWindow(window) == hallProcess_;
}

ChildPage* ChildIpcContext::FindPage(WindowId window) const {
    if (window == 0) {
        return nullptr;
    }
    for (const auto& page : pages_) {
        if (page->Window() == window) {
            return page.get();
        }
    }
    return nullptr;
}

}  // namespace childproc
