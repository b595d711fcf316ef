#include "skin/manager/win32/WindowWnd.h"

#include <string>

#include "skin/manager/win32/MessageLoop.h"
#include "skin/manager/win32/WindowPortWin32.h"
#include "skin/resources/Resources.h"

namespace SkinUI {

namespace {

HINSTANCE ProgramInstance() {
    HINSTANCE instance = static_cast<HINSTANCE>(Instance());
    return instance != nullptr ? instance : GetModuleHandleW(nullptr);
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

}  // namespace

CWindowWnd::~CWindowWnd() {
    UnlinkWindow();
}

void CWindowWnd::UnlinkWindow() {
    if (window_ == nullptr) {
        return;
    }
    if (subclassed_) {
        UnhookWindow();
        return;
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
}

void CWindowWnd::Show(bool show, bool takeFocus) {
    if (window_ == nullptr) {
        return;
    }
    ShowWindow(window_, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

uintptr_t CWindowWnd::RunModal() {
    if (window_ == nullptr) {
        return 0;
    }
    const HWND self = window_;
    HWND owner = GetWindow(self, GW_OWNER);
    ShowWindow(self, SW_SHOWNORMAL);
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    auto giveBackToOwner = [owner] {
        if (owner != nullptr) {
            EnableWindow(owner, TRUE);
            SetFocus(owner);
        }
    };
    uintptr_t result = 0;
    MSG message{};
    bool quit = false;
    while (IsWindow(self)) {
        const BOOL fetched = GetMessageW(&message, nullptr, 0, 0);
        if (fetched == 0 || fetched == -1) {
            quit = fetched == 0;
            break;
        }
        if (message.hwnd == self && message.message == WM_CLOSE) {
            // The owner is usable again before this window goes, so that it gets the activation.
            giveBackToOwner();
            result = message.wParam;
        }
        if (!PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    giveBackToOwner();
    if (quit) {
        PostQuitMessage(static_cast<int>(message.wParam));
    }
    return result;
}

void CWindowWnd::Close(uintptr_t result) {
    if (window_ != nullptr) {
        ::PostMessageW(window_, WM_CLOSE, result, 0);
    }
}

void CWindowWnd::CenterOnWorkArea() {
    if (window_ == nullptr) {
        return;
    }
    RECT own{};
    GetWindowRect(window_, &own);
    const RECT work = WorkAreaOf(window_);
    HWND around = (GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(window_)
                                                                          : GetWindow(window_, GW_OWNER);
    RECT centre = work;
    if (around != nullptr && IsWindowVisible(around) && !IsIconic(around)) {
        GetWindowRect(around, &centre);
    }
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;
    // Inside the work area as far as the window fits.
    x = x + width > work.right ? work.right - width : x;
    y = y + height > work.bottom ? work.bottom - height : y;
    x = x < work.left ? work.left : x;
    y = y < work.top ? work.top : y;
    if ((GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD) != 0) {
        POINT origin{x, y};
        ScreenToClient(GetParent(window_), &origin);
        x = origin.x;
        y = origin.y;
    }
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetWindowIcon(uint32_t resourceId) {
    if (window_ == nullptr) {
        return;
    }
    const struct {
        int xMetric;
        int yMetric;
        WPARAM kind;
    } sizes[] = {{SM_CXICON, SM_CYICON, ICON_BIG}, {SM_CXSMICON, SM_CYSMICON, ICON_SMALL}};
    for (const auto& size : sizes) {
        // Shared icons stay with the system: nothing to free when the window goes.
        HANDLE icon = LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                 GetSystemMetrics(size.xMetric), GetSystemMetrics(size.yMetric),
                                 LR_DEFAULTCOLOR | LR_SHARED);
        if (icon != nullptr) {
            ::SendMessageW(window_, WM_SETICON, size.kind, reinterpret_cast<LPARAM>(icon));
        }
    }
}

const wchar_t* CWindowWnd::SuperClassName() const {
    return nullptr;
}

UINT CWindowWnd::ClassStyle() const {
    return CS_DBLCLKS;
}

LRESULT CWindowWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProcessing(message, wParam, lParam);
}

void CWindowWnd::AfterFinalMessage(HWND) {}

LRESULT CWindowWnd::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProc_ != nullptr) {
        return CallWindowProcW(previousProc_, window_, message, wParam, lParam);
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool CWindowWnd::RegisterWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = ClassStyle();
    windowClass.lpfnWndProc = &CWindowWnd::WindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = WindowClassName();
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(nullptr, SuperClassName(), &windowClass) &&
        !GetClassInfoExW(ProgramInstance(), SuperClassName(), &windowClass)) {
        return false;
    }
    // Every window of the class runs the system class's procedure after this object's.
    previousProc_ = windowClass.lpfnWndProc;
    windowClass.lpfnWndProc = &CWindowWnd::WindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.lpszClassName = WindowClassName();
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::CreateNativeWindow(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x,
                                    int y, int cx, int cy, HMENU menu) {
    if (window_ != nullptr) {
        return nullptr;  // one window per object
    }
    const bool registered = SuperClassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!registered) {
        return nullptr;
    }
    return CreateWindowExW(exStyle & ~static_cast<DWORD>(WS_EX_LAYERED), WindowClassName(), name, style, x, y,
                           cx, cy, parent, menu, ProgramInstance(), this);
}

HWND CWindowWnd::HookWindow(HWND window) {
    if (window == nullptr || window_ != nullptr) {
        return nullptr;
    }
    window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowWnd::WindowProc)));
    subclassed_ = true;
    return window;
}

void CWindowWnd::UnhookWindow() {
    if (!subclassed_ || window_ == nullptr) {
        return;
    }
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    previousProc_ = nullptr;
    subclassed_ = false;
    window_ = nullptr;
}

LRESULT CWindowWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(window_, message, wParam, lParam);
}

bool CWindowWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(window_, message, wParam, lParam) != FALSE;
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    ResizeWindowClient(window_, cx, cy);
}

void CWindowWnd::SetTransparentBackground(bool transparent) {
    transparentBackground_ = transparent;
}

bool CWindowWnd::TransparentBackground() const {
    return transparentBackground_;
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self != nullptr) {
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY && self != nullptr) {
            const LRESULT result = self->DefaultProcessing(message, wParam, lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            if (self->subclassed_) {
                self->UnhookWindow();
            }
            self->window_ = nullptr;
            self->AfterFinalMessage(window);
            return result;
        }
    }
    if (self != nullptr) {
        return self->OnWindowMessage(message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace SkinUI
