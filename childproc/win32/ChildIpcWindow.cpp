#include "childproc/win32/ChildIpcWindow.h"

#include "childproc/IpcProtocol.h"
#include "childproc/win32/ChildPageThread.h"
#include "childproc/win32/PageCommandMessage.h"

namespace childproc {

namespace {

HWND AsWindow(WindowId id) {
    return reinterpret_cast<HWND>(id);
}

// The IPC window's dealings with the system.
class Win32ChildIpcHost : public ChildIpcHost {
  public:
    void SetIpcWindow(HWND window) { ipcWindow_ = window; }

    std::shared_ptr<ChildPage> StartBrowserThread(WindowId owner, const std::string& address) override {
        return childproc::StartBrowserThread(AsWindow(owner), address);
    }
    intptr_t Send(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        return static_cast<intptr_t>(SendMessageW(AsWindow(to), message, wParam, lParam));
    }
    void PostPageCommand(WindowId page, uint32_t command) override {
        const UINT pageCommand = PageCommandMessage();
        if (pageCommand != 0) {
            PostMessageW(AsWindow(page), pageCommand, command, 0);
        }
    }
    void PostClose(WindowId window) override { PostMessageW(AsWindow(window), WM_CLOSE, 0, 0); }
    bool IsWindow(WindowId window) override { return ::IsWindow(AsWindow(window)) != FALSE; }
    uint32_t ProcessOfWindow(WindowId window) override {
        DWORD process = 0;
        return GetWindowThreadProcessId(AsWindow(window), &process) != 0 ? process : 0;
    }
    void DestroyIpcWindow() override {
        if (ipcWindow_ != nullptr) {
            DestroyWindow(ipcWindow_);
        }
    }

  private:
    HWND ipcWindow_ = nullptr;
};

struct ChildIpc {
    explicit ChildIpc(HWND owner) : context(host, reinterpret_cast<WindowId>(owner)) {}
    Win32ChildIpcHost host;
    ChildIpcContext context;
};

ChildIpc& TheChildIpc(HWND initialOwner = nullptr) {
    static ChildIpc ipc(initialOwner);
    return ipc;
}

LRESULT OnCopyData(HWND window, WPARAM wParam, LPARAM lParam) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (copy == nullptr) {
        return 0;
    }
    const CopyDataAnswer answer = TheChildIpc().context.OnCopyData(
        static_cast<uint32_t>(wParam), static_cast<uintptr_t>(copy->dwData), copy->lpData, copy->cbData);
    switch (answer) {
        case CopyDataAnswer::Opened:
            return 1;
        case CopyDataAnswer::Refused:
            return 0;
        case CopyDataAnswer::PassOn:
            break;
    }
    return DefWindowProcW(window, WM_COPYDATA, wParam, lParam);
}

}  // namespace

ChildIpcContext& TheChildIpcContext(HWND initialOwner) {
    return TheChildIpc(initialOwner).context;
}

bool RegisterChildIpcWindowClass(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &ChildIpcWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kChildIpcWindowClass;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateChildIpcWindow(HINSTANCE instance, const wchar_t* ipcName) {
    return CreateWindowExW(0, kChildIpcWindowClass, ipcName, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                           nullptr);
}

LRESULT CALLBACK ChildIpcWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ChildIpc& ipc = TheChildIpc();
    switch (message) {
        case WM_CREATE:
            ipc.host.SetIpcWindow(window);
            SetTimer(window, kLifetimeTimer, kLifetimePeriodMs, nullptr);
            return 0;
        case WM_TIMER:
            if (wParam == kLifetimeTimer) {
                ipc.context.OnLifetimeTick();
            }
            return 0;
        case WM_DESTROY:
            KillTimer(window, kLifetimeTimer);
            ipc.host.SetIpcWindow(nullptr);
            PostQuitMessage(0);
            return 0;
        case WM_COPYDATA:
            return OnCopyData(window, wParam, lParam);
        case WM_IPC_CREATE_START_PAGE:
            ipc.context.OnCreateStartPage(static_cast<uintptr_t>(wParam));
            break;
        case WM_IPC_CREATE_BROWSER:
            return static_cast<LRESULT>(ipc.context.OnCreateBrowser());
        case WM_IPC_CLOSE_BROWSER:
            ipc.context.OnCloseBrowser(static_cast<WindowId>(lParam));
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace childproc
