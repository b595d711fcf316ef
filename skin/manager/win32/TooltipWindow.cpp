#include "skin/manager/win32/TooltipWindow.h"

#include <commctrl.h>

namespace SkinUI {

namespace {

constexpr UINT_PTR kToolId = 1;

TOOLINFOW ToolInfo(HWND owner, wchar_t* text, const RECT& rect) {
    TOOLINFOW info{};
    // The smaller record of the common controls before version 6, which every version accepts.
#ifdef TTTOOLINFOW_V2_SIZE
    info.cbSize = TTTOOLINFOW_V2_SIZE;
#else
    info.cbSize = sizeof(info);
#endif
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hwnd = owner;
    info.uId = kToolId;
    info.rect = rect;
    info.hinst = nullptr;
    info.lpszText = text;
    return info;
}

void LoadTooltipClass() {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)loaded;
}

}  // namespace

SkinTooltipWindow::~SkinTooltipWindow() {
    Destroy();
}

void SkinTooltipWindow::SetOwner(HWND owner) {
    if (owner != owner_) {
        Destroy();
        owner_ = owner;
    }
}

void SkinTooltipWindow::Destroy() {
    if (tip_ != nullptr) {
        DestroyWindow(tip_);
        tip_ = nullptr;
    }
    toolAdded_ = false;
}

bool SkinTooltipWindow::Create() {
    if (tip_ != nullptr) {
        return true;
    }
    if (owner_ == nullptr || !IsWindow(owner_)) {
        return false;
    }
    LoadTooltipClass();
    tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE)), nullptr);
    return tip_ != nullptr;
}

int SkinTooltipWindow::InitialDelay() const {
    if (tip_ == nullptr) {
        return -1;
    }
    return static_cast<int>(SendMessageW(tip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
}

void SkinTooltipWindow::Show(const std::wstring& text, int maxWidth, const RECT& toolRect) {
    if (!Create()) {
        return;
    }
    text_ = text;
    TOOLINFOW info = ToolInfo(owner_, &text_[0], toolRect);
    if (!toolAdded_) {
        toolAdded_ = SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
    } else {
        SendMessageW(tip_, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, maxWidth);
    // Just below the pointer, as a tip that came by itself would stand.
    POINT cursor{};
    GetCursorPos(&cursor);
    SendMessageW(tip_, TTM_TRACKPOSITION, 0,
                 MAKELPARAM(cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR) / 2));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void SkinTooltipWindow::Hide() {
    if (tip_ == nullptr || !toolAdded_) {
        return;
    }
    TOOLINFOW info = ToolInfo(owner_, nullptr, RECT{});
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
}

}  // namespace SkinUI
