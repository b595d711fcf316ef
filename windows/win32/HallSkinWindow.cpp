#include "windows/win32/HallSkinWindow.h"

#include "skin/controls/ControlUI.h"
#include "windows/HallClicks.h"
#include "windows/win32/HallWindows.h"

const wchar_t* HallSkinWindow::WindowClassName() const {
    return kHallWindowTitle;
}
std::wstring HallSkinWindow::SkinFolderName() const {
    return std::wstring();
}
SkinUI::SkinSourceKind HallSkinWindow::SkinSourceKind() const {
    return SkinUI::SkinSourceKind::ArchiveResource;
}
std::wstring HallSkinWindow::SkinArchiveName() const {
    return SkinFolderName();
}
uint32_t HallSkinWindow::SkinResourceId() const {
    return kHallSkinArchiveResource;
}

LRESULT HallSkinWindow::HandleWmClose(UINT, WPARAM, LPARAM, bool& handled) {
    if (ConfirmQuit()) {
        PostQuitMessage(0);
    }
    handled = true;
    return 0;
}

void HallSkinWindow::OnNotify(SkinUI::SkinNotify& notify) {
    if (!hall::IsClickNotification(notify.type) || notify.sender == nullptr) {
        return;
    }
    const std::wstring& name = notify.sender->Name();
    if (FindControl(name) == notify.sender) {
        OnClick(name);
    }
}
