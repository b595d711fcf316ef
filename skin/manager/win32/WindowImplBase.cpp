#include "skin/manager/win32/WindowImplBase.h"

#include "skin/controls/Builder.h"
#include "skin/drawing/win32/GdiFontEngine.h"
#include "skin/drawing/win32/GdiPixelBuffer.h"
#include "skin/manager/WindowFrame.h"
#include "skin/manager/win32/StartupTrace.h"
#include "skin/markup/Numbers.h"
#include "skin/resources/Resources.h"
#include "skin/resources/win32/ArchiveResource.h"

namespace SkinUI {

namespace {

constexpr LONG_PTR kCaptionBits = 0x00C00000;  // WS_CAPTION

MONITORINFO MonitorOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor;
}

}  // namespace

SkinFontEngine& ProcessFontEngine() {
    static GdiFontEngine fonts;
    return fonts;
}

WindowImplBase::WindowImplBase() : manager_(ProcessFontEngine()) {
    // Images decoded for skinned windows keep their pixels in bitmaps that GDI draws without a copy.
    InstallDibPixelStorage();
}

WindowImplBase::~WindowImplBase() {
    // Messages that tearing down the tree may cause must not reach this half-destroyed object.
    UnlinkWindow();
    manager_.DetachWindow();
}

LRESULT WindowImplBase::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = true;
    LRESULT result = 0;
    switch (message) {
        case WM_CREATE:
            result = HandleWmCreate(message, wParam, lParam, handled);
            break;
        case WM_CLOSE:
            result = HandleWmClose(message, wParam, lParam, handled);
            break;
        case WM_DESTROY:
            result = HandleWmDestroy(message, wParam, lParam, handled);
            break;
        case WM_NCCALCSIZE:
            result = HandleWmNcCalcSize(message, wParam, lParam, handled);
            break;
        case WM_NCPAINT:
            result = HandleWmNcPaint(message, wParam, lParam, handled);
            break;
        case WM_NCHITTEST:
            result = HandleWmNcHitTest(message, wParam, lParam, handled);
            break;
        case WM_GETMINMAXINFO:
            result = HandleWmGetMinMaxInfo(message, wParam, lParam, handled);
            break;
        case WM_MOUSEWHEEL:
            result = HandleWmMouseWheel(message, wParam, lParam, handled);
            break;
        case WM_MOUSEHOVER:
            result = HandleWmMouseHover(message, wParam, lParam, handled);
            break;
        case WM_SIZE:
            result = HandleWmSize(message, wParam, lParam, handled);
            break;
        case WM_CHAR:
            result = HandleWmChar(message, wParam, lParam, handled);
            break;
        case WM_SYSCOMMAND:
            result = HandleWmSysCommand(message, wParam, lParam, handled);
            break;
        case WM_KEYDOWN:
            result = HandleWmKeyDown(message, wParam, lParam, handled);
            break;
        case WM_KILLFOCUS:
            result = HandleWmKillFocus(message, wParam, lParam, handled);
            break;
        case WM_SETFOCUS:
            result = HandleWmSetFocus(message, wParam, lParam, handled);
            break;
        case WM_LBUTTONDOWN:
            result = HandleWmLButtonDown(message, wParam, lParam, handled);
            break;
        case WM_LBUTTONUP:
            result = HandleWmLButtonUp(message, wParam, lParam, handled);
            break;
        case WM_MOUSEMOVE:
            result = HandleWmMouseMove(message, wParam, lParam, handled);
            break;
        default:
            result = HandleOtherMessage(message, wParam, lParam, handled);
            break;
    }
    if (handled) {
        return result;
    }
    intptr_t managerResult = 0;
    if (manager_.HandleWindowMessage(message, wParam, lParam, managerResult)) {
        return managerResult;
    }
    return CWindowWnd::OnWindowMessage(message, wParam, lParam);
}

void WindowImplBase::AfterSkinAttached() {}

void WindowImplBase::HandleClick(SkinNotify& notify) {
    if (notify.sender == nullptr) {
        return;
    }
    const uintptr_t command = SystemButtonCommand(notify.sender->Name());
    if (command == SkinSysCommand::kClose) {
        Close(1);
    } else if (command != 0) {
        SendMessage(WM_SYSCOMMAND, command, 0);
    }
}

std::wstring WindowImplBase::SkinFolderName() const {
    return std::wstring();
}

std::wstring WindowImplBase::SkinFileName() const {
    return std::wstring();
}

bool WindowImplBase::HandleDefaultKey(WPARAM key) {
    if (key == VK_ESCAPE) {
        Close(1);
        return true;
    }
    return false;
}

SkinUI::SkinSourceKind WindowImplBase::SkinSourceKind() const {
    return SkinUI::SkinSourceKind::Folder;
}

std::wstring WindowImplBase::SkinArchiveName() const {
    return std::wstring();
}

uint32_t WindowImplBase::SkinResourceId() const {
    return 0;
}

#define SKIN_UNHANDLED(name)                                            \
    LRESULT WindowImplBase::name(UINT, WPARAM, LPARAM, bool& handled) { \
        handled = false;                                                \
        return 0;                                                       \
    }
SKIN_UNHANDLED(HandleWmClose)
SKIN_UNHANDLED(HandleWmDestroy)
SKIN_UNHANDLED(HandleWmMouseWheel)
SKIN_UNHANDLED(HandleWmMouseHover)
SKIN_UNHANDLED(HandleWmChar)
SKIN_UNHANDLED(HandleWmKeyDown)
SKIN_UNHANDLED(HandleWmKillFocus)
SKIN_UNHANDLED(HandleWmSetFocus)
SKIN_UNHANDLED(HandleWmLButtonDown)
SKIN_UNHANDLED(HandleWmLButtonUp)
SKIN_UNHANDLED(HandleWmMouseMove)
SKIN_UNHANDLED(HandleOtherMessage)
#undef SKIN_UNHANDLED

LRESULT WindowImplBase::HandleWmNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
    if (IsIconic(GetHWND())) {
        handled = false;
        return 0;
    }
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::HandleWmNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, bool&) {
    if (!IsZoomed(GetHWND())) {
        return 0;  // the whole window is client area
    }
    RECT* proposed = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                 : reinterpret_cast<RECT*>(lParam);
    const MONITORINFO monitor = MonitorOf(GetHWND());
    proposed->right = proposed->left + (monitor.rcWork.right - monitor.rcWork.left);
    proposed->bottom = proposed->top + (monitor.rcWork.bottom - monitor.rcWork.top);
    return WVR_REDRAW;
}

LRESULT WindowImplBase::HandleWmNcPaint(UINT, WPARAM, LPARAM, bool&) {
    return 0;
}

LRESULT WindowImplBase::HandleWmNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(GetHWND(), &point);
    RECT client{};
    GetClientRect(GetHWND(), &client);
    const SkinPoint at{point.x, point.y};
    return SkinFrameHitTest(SkinRect{client.left, client.top, client.right, client.bottom}, at,
                            manager_.SizeBox(), manager_.CaptionRect(), IsZoomed(GetHWND()) != FALSE,
                            manager_.SearchControls(at));
}

LRESULT WindowImplBase::HandleWmGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    const MONITORINFO monitor = MonitorOf(GetHWND());
    const RECT& work = monitor.rcWork;
    info->ptMaxPosition = POINT{work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top};
    info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
    info->ptMaxTrackSize = info->ptMaxSize;
    info->ptMinTrackSize = POINT{manager_.MinInfo().cx, manager_.MinInfo().cy};
    handled = false;  // the manager applies the skin's limits next
    return 0;
}

LRESULT WindowImplBase::HandleWmSize(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;  // the manager lays the tree out again
    if (IsIconic(GetHWND())) {
        return 0;
    }
    RECT window{};
    GetWindowRect(GetHWND(), &window);
    SkinRect region;
    if (RoundCornerRegion(SkinSize{window.right - window.left, window.bottom - window.top},
                          manager_.RoundCorner(), region)) {
        // The window owns the region from here on.
        HRGN rounded = CreateRoundRectRgn(region.left, region.top, region.right, region.bottom,
                                          manager_.RoundCorner().cx, manager_.RoundCorner().cy);
        if (rounded != nullptr && SetWindowRgn(GetHWND(), rounded, TRUE) == 0) {
            DeleteObject(rounded);
        }
    }
    return 0;
}

LRESULT WindowImplBase::HandleWmSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool&) {
    if (SkinSysCommand::Of(wParam) == SkinSysCommand::kClose) {
        PostMessage(WM_CLOSE);
        return 0;
    }
    const bool wasMaximised = IsZoomed(GetHWND()) != FALSE;
    const LRESULT result = CWindowWnd::OnWindowMessage(message, wParam, lParam);
    if (GetHWND() != nullptr) {
        ShowZoomButtons(manager_, wasMaximised, IsZoomed(GetHWND()) != FALSE);
    }
    return result;
}

LRESULT WindowImplBase::HandleWmCreate(UINT, WPARAM, LPARAM, bool&) {
    HWND window = GetHWND();
    SetWindowLongPtrW(window, GWL_STYLE, WindowStyle() | WS_CLIPSIBLINGS);
    RECT client{};
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, client.right, client.bottom,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    port_.Attach(window);
    manager_.Init(&port_);
    manager_.AddPreTranslateListener(this);
    TOLVANE_TRACE("window made, skin source next");
    if (!SelectSkinSource()) {
        return 0;  // no skin archive: the window stays empty
    }
    TOLVANE_TRACE("skin archive found, copied and opened");
    std::unique_ptr<CControlUI> root = BuildSkin();
    TOLVANE_TRACE("skin markup read, parsed and built");
    if (!root) {
        MessageBoxW(window, L"加载资源文件失败", L"SkinUI", MB_OK | MB_ICONERROR);
        ExitProcess(1);
    }
    manager_.AttachRoot(std::move(root), this);
    manager_.AddNotifyListener(this);
    AfterSkinAttached();
    TOLVANE_TRACE("skin attached");
    return 0;
}

bool WindowImplBase::SelectSkinSource() {
    if (SkinPath().empty()) {
        SetSkinPath(InstanceFolder() + SkinFolderName());
    }
    switch (SkinSourceKind()) {
        case SkinUI::SkinSourceKind::ArchiveFile:
            UseArchiveFile(SkinArchiveName(), true);
            return true;
        case SkinUI::SkinSourceKind::ArchiveResource:
            return UseArchiveResource(SkinResourceId());
        case SkinUI::SkinSourceKind::Folder:
        case SkinUI::SkinSourceKind::ModuleResource:
            break;
    }
    return true;
}

std::unique_ptr<CControlUI> WindowImplBase::BuildSkin() {
    CSkinBuilder builder;
    const std::wstring file = SkinFileName();
    const bool loaded = SkinSourceKind() == SkinUI::SkinSourceKind::ModuleResource
                            ? builder.LoadResource(ParseUInt32(file.c_str()), L"xml")
                            : builder.LoadMarkup(file);
    if (!loaded) {
        return nullptr;
    }
    return builder.BuildTree(this, &manager_, this);
}

LONG_PTR WindowImplBase::WindowStyle() const {
    return GetWindowLongPtrW(GetHWND(), GWL_STYLE) & ~kCaptionBits;
}

void WindowImplBase::OnNotify(SkinNotify& notify) {
    PumpNotify(notify);
}

bool WindowImplBase::HandlePumpedNotify(SkinNotify& notify) {
    if (notify.type == SkinNotifyType::kClick) {
        HandleClick(notify);
        return true;
    }
    return false;
}

intptr_t WindowImplBase::HandleWindowMessage(uint32_t message, uintptr_t wParam, intptr_t, bool& handled) {
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        handled = HandleDefaultKey(wParam);
    }
    return 0;
}

std::unique_ptr<CControlUI> WindowImplBase::MakeCustomControl(const wchar_t*) {
    return nullptr;
}

CControlUI* WindowImplBase::FindControl(const std::wstring& name) const {
    return manager_.SearchControls(name);
}

void WindowImplBase::AfterFinalMessage(HWND) {
    manager_.RemovePreTranslateListener(this);
    manager_.RemoveNotifyListener(this);
    manager_.DetachWindow();
    port_.Attach(nullptr);
}

}  // namespace SkinUI
