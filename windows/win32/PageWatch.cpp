#include "windows/win32/PageWatch.h"

#include <memory>

#include "windows/win32/HallWindows.h"

namespace hall {

namespace {

constexpr wchar_t kCrashNoticeText[] = L"抱歉，当前游戏崩溃啦！请重启游戏！";

struct PageWatchContext {
    HWND page;
    HWND launcher;
};

DWORD WINAPI PageWatchThread(void* parameter) {
    const std::unique_ptr<PageWatchContext> context(static_cast<PageWatchContext*>(parameter));
    while (IsWindow(context->page)) {
        Sleep(kPageWatchPeriodMs);
    }
    MessageBoxW(g_hHallWnd, kCrashNoticeText, kHallWindowTitle, MB_OK);
    PostMessageW(context->launcher, WM_SYSCOMMAND, SC_HALL_QUIT, 0);
    return 0;
}

}  // namespace

bool StartPageWatch(HWND page, HWND launcher) {
    auto context = std::make_unique<PageWatchContext>(PageWatchContext{page, launcher});
    HANDLE thread = CreateThread(nullptr, 0, &PageWatchThread, context.get(), 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    context.release();  // the thread owns it from here on
    CloseHandle(thread);
    return true;
}

}  // namespace hall
