#include "windows/win32/HallWindows.h"

#include "services/win32/CacheCleaner.h"

namespace hall {

HWND g_hHallWnd = nullptr;
HWND g_hGameWnd = nullptr;
childproc::ChildProcessLink* g_pChildLink = nullptr;

bool ConfirmQuit() {
    return MessageBoxW(nullptr, L"是否确定退出 TolvaneRunecourt", kHallWindowTitle, MB_OKCANCEL) == IDOK;
}

void ClearCacheAndTell() {
    services::ClearBrowserCache();
    MessageBoxW(nullptr, L"清空IE缓存成功!", L"提示", MB_OK);
}

}  // namespace hall
