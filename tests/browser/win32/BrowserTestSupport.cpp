#include "tests/browser/win32/BrowserTestSupport.h"

#include <atomic>
#include <thread>

#include "childproc/IpcProtocol.h"
#include "childproc/win32/ChildPageThread.h"
#include "tests/support/win32/TestProcess.h"

namespace browsertest {
namespace {

constexpr wchar_t kOwnerClass[] = L"BrowserTestOwner";

// Waits for a thread's end while this thread handles its messages.
void JoinPumping(HANDLE thread) {
    testsupport::WaitUntil(10000, [&] { return WaitForSingleObject(thread, 0) != WAIT_TIMEOUT; });
}

}  // namespace

OwnerWindow::OwnerWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &OwnerWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kOwnerClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
}

OwnerWindow::~OwnerWindow() {
    if (IsWindow(window_)) {
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
    const bool ours =
        message == WM_COPYDATA || (message >= childproc::kUserMessageBase + 700 && message <= 2100);
    if (self == nullptr || !ours) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const Received record{message, wParam, lParam};
    self->received.push_back(record);
    if (self->onReceived) {
        self->onReceived(record);
    }
    if (message == childproc::WM_IPC_QUERY_CHILD) {
        return reinterpret_cast<LRESULT>(self->childIpcWindow);
    }
    if (message == childproc::WM_IPC_CREATE_BROWSER && self->createBrowser) {
        return reinterpret_cast<LRESULT>(self->createBrowser());
    }
    return message == WM_COPYDATA ? 1 : 0;
}

OwnerThread::OwnerThread(std::function<void(OwnerWindow&)> setup)
    : setup_(std::move(setup)), started_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    thread_.Reset(CreateThread(nullptr, 0, &OwnerThread::Run, this, 0, &threadId_));
    WaitForSingleObject(started_.Get(), 10000);
}

OwnerThread::~OwnerThread() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    JoinPumping(thread_.Get());
}

DWORD WINAPI OwnerThread::Run(void* parameter) {
    auto* self = static_cast<OwnerThread*>(parameter);
    childproc::OleApartment apartment;
    OwnerWindow owner;
    if (self->setup_) {
        self->setup_(owner);
    }
    self->window_ = owner.Handle();
    SetEvent(self->started_.Get());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return 0;
}

PageThread::PageThread(HWND owner) {
    std::atomic<bool> started{false};
    std::thread starter([&] {
        page_ = childproc::StartBrowserThread(owner, "");
        started = true;
    });
    testsupport::WaitUntil(20000, [&] { return started.load(); });
    starter.join();
    if (page_ != nullptr) {
        thread_.Reset(OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(Window(), nullptr)));
    }
}

PageThread::~PageThread() {
    if (thread_) {
        PostMessageW(Window(), WM_CLOSE, 0, 0);
        JoinPumping(thread_.Get());
    }
}

HWND PageThread::Window() const {
    return page_ != nullptr ? reinterpret_cast<HWND>(page_->Window()) : nullptr;
}

HWND TestParentWindow() {
    static HWND parent = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BrowserTestParent";
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, windowClass.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               0, 0, 900, 700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }();
    return parent;
}

}  // namespace browsertest
