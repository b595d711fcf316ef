#include "tests/browser/win32/BrowserTestSupport.h"

#include "childproc/IpcProtocol.h"
#include "tests/support/win32/TestProcess.h"

namespace browsertest {

namespace {

constexpr wchar_t kOwnerClass[] = L"BrowserTestOwner";
constexpr wchar_t kParentClass[] = L"BrowserTestParent";

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

}  // namespace

OwnerWindow::OwnerWindow() {
    RegisterClassOnce(kOwnerClass, &OwnerWindow::WindowProc);
    window_ = CreateWindowExW(0, kOwnerClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
}

OwnerWindow::~OwnerWindow() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

std::vector<Received> OwnerWindow::Messages(UINT message) const {
    std::vector<Received> found;
    for (const Received& r : received) {
        if (r.message == message) {
            found.push_back(r);
        }
    }
    return found;
}

LRESULT CALLBACK OwnerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const bool ours = message == WM_COPYDATA || (message >= ipc::kUserMessageBase + 700 && message <= 2100);
    if (self == nullptr || !ours) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    Received record;
    record.message = message;
    record.wParam = wParam;
    record.lParam = lParam;
    if (message == WM_COPYDATA) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        record.tag = copy->dwData;
        record.dataPresent = copy->lpData != nullptr;
        const auto* bytes = static_cast<const uint8_t*>(copy->lpData);
        if (bytes != nullptr) {
            record.data.assign(bytes, bytes + copy->cbData);
        }
    }
    self->received.push_back(record);
    if (self->onReceived) {
        self->onReceived(self->received.back());
    }
    if (message == ipc::WM_IPC_QUERY_CHILD) {
        return reinterpret_cast<LRESULT>(self->childIpcWindow);
    }
    if (message == ipc::WM_IPC_CREATE_BROWSER && self->createBrowser) {
        return reinterpret_cast<LRESULT>(self->createBrowser());
    }
    return message == WM_COPYDATA ? 1 : 0;
}

PageThread::PageThread(HWND owner, bool asChild) : owner_(owner), asChild_(asChild) {
    started_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &PageThread::Run, this, 0, &threadId_);
    // Sent messages of the page (to an owner on this thread) must be handled while it starts.
    while (MsgWaitForMultipleObjects(1, &started_, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        testsupport::PumpMessagesFor(0);
    }
}

PageThread::~PageThread() {
    Close();
    CloseHandle(started_);
}

void PageThread::Close() {
    if (thread_ == nullptr) {
        return;
    }
    if (window_ != nullptr) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    } else {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    }
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        testsupport::PumpMessagesFor(0);
    }
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI PageThread::Run(void* parameter) {
    auto* self = static_cast<PageThread*>(parameter);
    auto page = std::make_unique<browser::WebPage>(self->owner_, false);
    RECT rect = {0, 0, 400, 300};
    const DWORD style = self->asChild_ ? 0x56000000 : 0x8E000000;
    const DWORD exStyle = self->asChild_ ? 0 : 0x08000000;
    self->window_ = page->Create(self->owner_, rect, nullptr, style, exStyle);
    const bool created = self->window_ != nullptr;
    SetEvent(self->started_);
    if (!created) {
        return 0;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (page->TranslateAccelerator(msg)) {
            continue;
        }
        if (msg.message >= WM_LBUTTONDOWN && msg.message <= WM_RBUTTONDBLCLK) {
            page->OnMouseButton(msg.hwnd, msg.message, msg.pt.x, msg.pt.y);
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    page.reset();
    return 0;
}

OwnerThread::OwnerThread(std::function<void(OwnerWindow&)> setup) : setup_(std::move(setup)) {
    started_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &OwnerThread::Run, this, 0, &threadId_);
    WaitForSingleObject(started_, 10000);
}

OwnerThread::~OwnerThread() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        testsupport::PumpMessagesFor(0);
    }
    CloseHandle(thread_);
    CloseHandle(started_);
}

DWORD WINAPI OwnerThread::Run(void* parameter) {
    auto* self = static_cast<OwnerThread*>(parameter);
    OleInitialize(nullptr);
    {
        OwnerWindow owner;
        if (self->setup_) {
            self->setup_(owner);
        }
        self->window_ = owner.Handle();
        SetEvent(self->started_);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    OleUninitialize();
    return 0;
}

HWND TestParentWindow() {
    static HWND parent = [] {
        RegisterClassOnce(kParentClass, DefWindowProcW);
        return CreateWindowExW(0, kParentClass, L"parent", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 900,
                               700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }();
    return parent;
}

}  // namespace browsertest
