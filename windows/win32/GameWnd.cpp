#include "windows/win32/GameWnd.h"

#include "childproc/IpcProtocol.h"
#include "services/win32/DefaultBrowser.h"
#include "skin/controls/ControlUI.h"
#include "skin/markup/win32/SystemRect.h"
#include "windows/HallAddresses.h"
#include "windows/HallClicks.h"
#include "windows/win32/HallWindows.h"

namespace hall {

namespace {

// The page command message, registered on the first reload; 0 until then (and after a failed attempt).
UINT g_pageCommandMessage = 0;

}  // namespace

std::wstring GameWnd::SkinFileName() const {
    return L"game.xml";
}

LRESULT GameWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case childproc::WM_IPC_GAME_PAGE:
            hostedWnd_ = reinterpret_cast<HWND>(lParam);
            LayoutHostedWindow();
            return 1;
        case WM_MOVE:
        case WM_SIZE:
        case WM_PAINT:
            LayoutHostedWindow();
            break;
        default:
            break;
    }
    return WindowImplBase::OnWindowMessage(message, wParam, lParam);
}

void GameWnd::LayoutHostedWindow() {
    if (hostedWnd_ == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(g_hGameWnd, &client);
    const Box page = HostedPageArea(SkinUI::FromRect(client));
    MoveWindow(hostedWnd_, page.left, page.top, page.Width(), page.Height(), TRUE);
}

LRESULT GameWnd::HandleWmNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    // While the left button is held the window is dragged or sized as an outline; the page inside would
    // otherwise be laid out at every step.
    const bool leftButtonDown = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    switch (dragFullWindows_.OnHitTest(leftButtonDown)) {
        case DragFullWindowsSwitch::Change::SwitchOff:
            SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, 0, nullptr, 0);
            break;
        case DragFullWindowsSwitch::Change::SwitchOn:
            SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, 1, nullptr, 0);
            break;
        case DragFullWindowsSwitch::Change::None:
            break;
    }
    return WindowImplBase::HandleWmNcHitTest(message, wParam, lParam, handled);
}

LRESULT GameWnd::HandleWmGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const Box placement =
        MaximisedGamePlacement(SkinUI::FromRect(monitor.rcMonitor), SkinUI::FromRect(monitor.rcWork));
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMaxPosition = POINT{placement.left, placement.top};
    info->ptMaxSize = POINT{placement.Width(), placement.Height()};
    handled = false;  // the manager sets the minimum tracking size from the skin next
    return 0;
}

LRESULT GameWnd::HandleWmSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (wParam == SC_CLOSE) {
        PostQuitMessage(0);
        handled = true;
        return 0;
    }
    return WindowImplBase::HandleWmSysCommand(message, wParam, lParam, handled);
}

void GameWnd::OnClick(const std::wstring& controlName) {
    switch (GameClickAction(controlName)) {
        case ClickAction::Minimise:
            ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case ClickAction::ConfirmQuit:
            if (ConfirmQuit()) {
                PostQuitMessage(0);
            }
            break;
        case ClickAction::ToggleMaximise:
            ::SendMessageW(GetHWND(), WM_SYSCOMMAND, IsZoomed(GetHWND()) ? SC_RESTORE : SC_MAXIMIZE, 0);
            break;
        case ClickAction::ClearCache:
            ClearCacheAndTell();
            break;
        case ClickAction::ReloadPage:
            ReloadPage();
            break;
        case ClickAction::OpenPaymentPage:
            services::OpenUrl(PaymentPageAddress());
            break;
        default:
            break;
    }
}

void GameWnd::ReloadPage() {
    if (g_pageCommandMessage == 0) {
        g_pageCommandMessage = RegisterWindowMessageW(childproc::kPageCommandMessageName);
    }
    if (hostedWnd_ != nullptr && g_pageCommandMessage != 0) {
        ::PostMessageW(hostedWnd_, g_pageCommandMessage, childproc::kPageCommandReload, 0);
    }
}

}  // namespace hall
