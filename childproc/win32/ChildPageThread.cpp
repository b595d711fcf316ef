#include "childproc/win32/ChildPageThread.h"

#include <mutex>

#include "browser/win32/AxHosting.h"
#include "browser/win32/WebPage.h"
#include "childproc/IpcProtocol.h"
#include "childproc/PagePlacement.h"
#include "childproc/win32/ScopedHandles.h"
#include "skin/markup/TextCodec.h"

namespace childproc {

namespace {

// A page as the IPC window keeps it. The page object itself belongs to its thread, which destroys it
// when its loop ends; the slot outlives it, so the IPC window may still name or address a page that has
// ended by itself.
class PageSlot : public ChildPage {
  public:
    PageSlot(std::unique_ptr<browser::WebPage> page, HWND window) : page_(std::move(page)), window_(window) {}

    WindowId Window() const override { return reinterpret_cast<WindowId>(window_); }

    void SetOwnerWindow(WindowId owner) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (page_ != nullptr) {
            page_->SetOwnerWindow(reinterpret_cast<HWND>(owner));
        }
    }

    void SetPendingAddress(std::string address) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (page_ != nullptr) {
            page_->SetPendingAddress(std::move(address));
        }
    }

    // Kept by the slot, so that the handle is closed exactly once whichever side lets go last.
    void SetThread(UniqueHandle thread, DWORD id) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (page_ != nullptr) {
            page_->SetThread(thread.Get(), id);
        }
        thread_ = std::move(thread);
    }

    // Only the page's own thread uses the page through this pointer, and only until it takes the page.
    browser::WebPage* Page() const { return page_.get(); }

    std::unique_ptr<browser::WebPage> TakePage() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::move(page_);
    }

  private:
    std::mutex mutex_;
    std::unique_ptr<browser::WebPage> page_;
    const HWND window_;
    UniqueHandle thread_;
};

// Lives only while a page thread starts: filled by the starter, answered by the new thread.
struct BrowserThreadStart {
    HWND ownerWindow = nullptr;
    std::string address;
    UniqueHandle started;
    std::shared_ptr<PageSlot> page;  // null until the thread made its window
};

PageRect AsPageRect(const RECT& rect) {
    return {static_cast<int32_t>(rect.left), static_cast<int32_t>(rect.top), static_cast<int32_t>(rect.right),
            static_cast<int32_t>(rect.bottom)};
}

PagePlacement PlacementFor(HWND owner, const std::string& address) {
    RECT client = {};
    RECT screen = {};
    GetClientRect(owner, &client);
    GetWindowRect(owner, &screen);
    return ChoosePagePlacement(address, AsPageRect(client), AsPageRect(screen));
}

bool IsMouseButtonMessage(UINT message) {
    return message >= WM_LBUTTONDOWN && message <= WM_RBUTTONDBLCLK;
}

// Keys go to the control's accelerators first; a button message also tells the owner that the player
// clicked into the page and gives the page its link report.
void RunPageLoop(browser::WebPage& page) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (page.TranslateAccelerator(msg)) {
            continue;
        }
        if (IsMouseButtonMessage(msg.message)) {
            PostMessageW(page.OwnerWindow(), WM_IPC_PAGE_STATE, kPageStateMouseButton,
                         reinterpret_cast<LPARAM>(page.Window()));
            page.OnMouseButton(msg.hwnd, msg.message, msg.pt.x, msg.pt.y);
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void EndPage(PageSlot& slot) {
    std::unique_ptr<browser::WebPage> page = slot.TakePage();
    // The destructor takes a window that is still there (after an escaped exception) with it.
    page.reset();
}

DWORD WINAPI PageThreadMain(void* parameter) {
    auto* start = static_cast<BrowserThreadStart*>(parameter);
    OleApartment apartment;  // single-threaded, for the control and its events
    browser::AxHostInitialize();

    const std::string address = start->address;
    const PagePlacement placement = PlacementFor(start->ownerWindow, address);
    auto page = std::make_unique<browser::WebPage>(start->ownerWindow, placement.serverList);
    const RECT rect = {placement.rect.left, placement.rect.top, placement.rect.right, placement.rect.bottom};
    const HWND window = page->Create(start->ownerWindow, rect, L"", placement.style, placement.exStyle);
    if (window == nullptr) {
        page.reset();
        SetEvent(start->started.Get());
        return 0;
    }
    if (placement.asChild) {
        SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(placement.style));
    }
    if (page->WebBrowser() != nullptr && !address.empty()) {
        page->Navigate(SkinUI::AnsiToWide(address.data(), address.size()));
    }
    auto slot = std::make_shared<PageSlot>(std::move(page), window);
    start->page = slot;
    SetEvent(start->started.Get());
    // From here the start block belongs to the starter again.

    try {
        RunPageLoop(*slot->Page());
    } catch (...) {
        // A failure that escaped a message ends this page only; the child serves on.
    }
    EndPage(*slot);
    return 0;
}

}  // namespace

std::shared_ptr<ChildPage> StartBrowserThread(HWND ownerWindow, const std::string& address) {
    BrowserThreadStart start;
    start.ownerWindow = ownerWindow;
    start.address = address;
    start.started = UniqueHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!start.started) {
        return nullptr;
    }
    DWORD threadId = 0;
    UniqueHandle thread(CreateThread(nullptr, 0, &PageThreadMain, &start, 0, &threadId));
    if (!thread) {
        return nullptr;
    }
    WaitForSingleObject(start.started.Get(), INFINITE);
    std::shared_ptr<PageSlot> page = std::move(start.page);
    if (page != nullptr) {
        page->SetThread(std::move(thread), threadId);
    }
    return page;
}

}  // namespace childproc
