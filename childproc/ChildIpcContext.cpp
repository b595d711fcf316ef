#include "childproc/ChildIpcContext.h"

#include "childproc/IpcProtocol.h"

namespace childproc {

ChildIpcContext::ChildIpcContext(ChildIpcHost& host, WindowId ownerWindow)
    : host_(host), ownerWindow_(ownerWindow) {}

CopyDataAnswer ChildIpcContext::OnCopyData(uint32_t command, uintptr_t tag, const void* data, size_t size) {
    CopyDataAnswer answer = CopyDataAnswer::PassOn;
    switch (command) {
        case ipc::COPYDATA_OPEN_PAGE:
            OpenStartPage(tag, data, size, answer);
            break;
        case ipc::COPYDATA_NAVIGATE_PAGE:
            NavigatePage(tag, data, size);
            break;
        case ipc::COPYDATA_RELOAD_PAGE:
            ReloadPage(tag);
            break;
        case ipc::COPYDATA_SET_PAGE_OWNER:
            SetPageOwner(tag, data, size);
            break;
        default:
            break;
    }
    return answer;
}

void ChildIpcContext::OpenStartPage(uintptr_t tag, const void* data, size_t size, CopyDataAnswer& answer) {
    std::string address;
    if (!ipc::ReadNarrowText(data, size, address)) {
        answer = CopyDataAnswer::Refused;
        return;
    }
    startAddress_ = std::move(address);
    if (tag != 0) {
        ownerWindow_.store(tag, std::memory_order_relaxed);
    }
    OnCreateStartPage(tag);
    answer = CopyDataAnswer::Opened;
}

void ChildIpcContext::OnCreateStartPage(uintptr_t echo) {
    const WindowId owner = OwnerWindow();
    std::shared_ptr<ChildPage> page = host_.StartBrowserThread(owner, startAddress_);
    WindowId window = 0;
    if (page != nullptr) {
        window = page->Window();
        pages_.push_back(std::move(page));
    }
    host_.Send(owner, ipc::WM_IPC_BROWSER_CREATED, echo, static_cast<intptr_t>(window));
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
    if (page == nullptr || size == 0 || !ipc::ReadNarrowText(data, size, address)) {
        return;
    }
    page->SetPendingAddress(std::move(address));
    host_.PostPageCommand(tag, ipc::kPageCommandNavigatePending);
}

void ChildIpcContext::ReloadPage(uintptr_t tag) {
    if (FindPage(tag) != nullptr) {
        host_.PostPageCommand(tag, ipc::kPageCommandReload);
    }
}

void ChildIpcContext::SetPageOwner(uintptr_t tag, const void* data, size_t size) {
    ChildPage* page = FindPage(tag);
    uint32_t owner = 0;
    if (page == nullptr || !ipc::ReadOwnerRecord(data, size, owner)) {
        return;
    }
    // Window handles are 32-bit values that widen with their sign.
    page->SetOwnerWindow(static_cast<WindowId>(static_cast<intptr_t>(static_cast<int32_t>(owner))));
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
