#include "windows/win32/LoginWnd.h"

#include <memory>

#include "childproc/IpcProtocol.h"
#include "childproc/win32/ChildProcessLink.h"
#include "services/win32/DefaultBrowser.h"
#include "services/win32/SelfUpdater.h"
#include "skin/controls/ControlUI.h"
#include "skin/manager/win32/StartupTrace.h"
#include "skin/markup/win32/SystemRect.h"
#include "windows/HallAddresses.h"
#include "windows/HallClicks.h"
#include "windows/HallGeometry.h"
#include "windows/win32/HallWindows.h"
#include "windows/win32/PageWatch.h"

namespace hall {

LoginWnd::LoginWnd(int32_t channel) : channel_(channel) {}

std::wstring LoginWnd::SkinFileName() const {
    return L"main.xml";
}

LRESULT LoginWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCLBUTTONDBLCLK:
            return 1;  // a double click never maximises the launcher
        case WM_HALL_START:
            StartServerList();
            break;
        case WM_COPYDATA:
            if (wParam == childproc::COPYDATA_UPDATE_INFO) {
                OnUpdateRecord(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
            }
            break;
        case childproc::WM_IPC_BROWSER_CREATED:
            OnBrowserCreated(reinterpret_cast<HWND>(lParam));
            break;
        case childproc::WM_IPC_PAGE_READY:
            OnPageReady();
            break;
        case childproc::WM_IPC_GAME_PAGE:
            HandOverToGame();
            break;
        case WM_MOVE:
            PlacePageWindow();
            break;
        case WM_TIMER:
        case services::kUpdateCheckDoneMessage:
            if (services::OnUpdateMessage(GetHWND(), message, wParam)) {
                return 0;
            }
            break;
        default:
            break;
    }
    return WindowImplBase::OnWindowMessage(message, wParam, lParam);
}

void LoginWnd::StartServerList() {
    TOLVANE_TRACE("hall start message");
    const std::string address = ServerListAddress(channel_);
    ShowWindow(GetHWND(), SW_SHOWNORMAL);
    SetForegroundWindow(GetHWND());
    // The player sees the launcher now, not after the child process and its page have started.
    UpdateWindow(GetHWND());
    // One link for the hall's life: the page windows it reports are watched until the process ends.
    static childproc::ChildProcessLink link;
    g_pChildLink = &link;
    childproc::SpawnChildProcess(link, g_hHallWnd);
    // The child reports the new page (WM_IPC_BROWSER_CREATED) while this send waits.
    childproc::SendStartAddress(link, address.c_str(), nullptr);
}

void LoginWnd::OnUpdateRecord(const COPYDATASTRUCT* data) {
    childproc::UpdateInfo info;
    // A record of the wrong size or without its terminators is ignored.
    if (data != nullptr && childproc::ReadUpdateRecord(data->lpData, data->cbData, info)) {
        services::OnUpdateInfo(info, g_hHallWnd);
    }
}

void LoginWnd::OnBrowserCreated(HWND page) {
    pageWnd_ = page;
    if (g_pChildLink != nullptr) {
        g_pChildLink->browsers.push_back(pageWnd_);
    }
    StartPageWatch(pageWnd_, g_hHallWnd);
    PlacePageWindow();
}

void LoginWnd::OnPageReady() {
    if (movedToGame_ || pageWnd_ == nullptr) {
        return;
    }
    SetWindowLongW(pageWnd_, GWL_STYLE, GetWindowLongW(pageWnd_, GWL_STYLE) & ~WS_DISABLED);
    PlacePageWindow();
    ShowWindow(pageWnd_, SW_SHOW);
}

void LoginWnd::HandOverToGame() {
    movedToGame_ = true;
    SetParent(pageWnd_, g_hGameWnd);
    ShowWindow(g_hGameWnd, SW_MAXIMIZE);
    ShowWindow(GetHWND(), SW_HIDE);
    ::PostMessageW(g_hGameWnd, childproc::WM_IPC_GAME_PAGE, 0, reinterpret_cast<LPARAM>(pageWnd_));
}

void LoginWnd::PlacePageWindow() {
    if (pageWnd_ == nullptr) {
        return;
    }
    RECT window{};
    GetWindowRect(GetHWND(), &window);
    const Box page = PageAreaOfLauncher(SkinUI::FromRect(window));
    MoveWindow(pageWnd_, page.left, page.top, page.Width(), page.Height(), TRUE);
}

LRESULT LoginWnd::HandleWmGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMaxPosition = POINT{0, 0};
    info->ptMaxSize = POINT{Manager().MinInfo().cx, Manager().MinInfo().cy};
    handled = false;  // the manager sets the tracking sizes from the skin next
    return 0;
}

LRESULT LoginWnd::HandleWmSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (wParam == SC_HALL_QUIT) {
        PostQuitMessage(0);
        handled = true;
        return 0;
    }
    return WindowImplBase::HandleWmSysCommand(message, wParam, lParam, handled);
}

void LoginWnd::OnClick(const std::wstring& controlName) {
    switch (LauncherClickAction(controlName)) {
        case ClickAction::OpenGameSite:
            services::OpenUrl(GameSiteAddress());
            break;
        case ClickAction::OpenPaymentPage:
            services::OpenUrl(PaymentPageAddress());
            break;
        case ClickAction::OpenServicePage:
            services::OpenUrl(ServicePageAddress());
            break;
        case ClickAction::OpenForum:
            services::OpenUrl(ForumAddress());
            break;
        case ClickAction::Minimise:
            ::PostMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case ClickAction::ConfirmQuit:
            if (ConfirmQuit()) {
                PostQuitMessage(0);
            }
            break;
        case ClickAction::ClearCache:
            ClearCacheAndTell();
            break;
        default:
            break;
    }
}

}  // namespace hall
