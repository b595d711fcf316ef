#include "app/win32/Hall.h"

#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/Channel.h"
#include "app/win32/CrashReport.h"
#include "services/win32/PluginControl.h"
#include "skin/manager/win32/MessageLoop.h"
#include "skin/manager/win32/StartupTrace.h"
#include "skin/resources/Resources.h"
#include "windows/win32/GameWnd.h"
#include "windows/win32/HallWindows.h"
#include "windows/win32/LoginWnd.h"

namespace {

constexpr DWORD kHallWindowStyle = 0x10CF0000;    // WS_VISIBLE | WS_OVERLAPPEDWINDOW
constexpr DWORD kHallWindowExStyle = 0x00080000;  // WS_EX_LAYERED; the window base leaves it out
constexpr UINT kHallIconResource = 101;

// The tail split by the shell's rules; a failed split counts as no arguments.
std::vector<std::wstring> SplitTail(const wchar_t* tail) {
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(tail != nullptr ? tail : L"", &count);
    if (argv == nullptr) {
        return arguments;
    }
    for (int i = 0; i < count; ++i) {
        arguments.emplace_back(argv[i]);
    }
    LocalFree(argv);
    return arguments;
}

// Both window objects live until the process ends; the hall never tears them down.
LoginWnd* g_loginWnd = nullptr;
GameWnd* g_gameWnd = nullptr;

}  // namespace

void StartHall(const wchar_t* commandLineTail) {
    const int32_t channel = ParseChannel(ChannelTextFromTail(SplitTail(commandLineTail)));

    g_loginWnd = new LoginWnd(channel);
    g_loginWnd->CreateNativeWindow(nullptr, kHallWindowTitle, kHallWindowStyle, kHallWindowExStyle);
    TOLVANE_TRACE("launcher window created");
    g_loginWnd->SetWindowIcon(kHallIconResource);
    g_loginWnd->CenterOnWorkArea();
    g_hHallWnd = g_loginWnd->GetHWND();
    // The launcher can be neither maximised from the system menu nor resized by its frame.
    SetWindowLongW(g_hHallWnd, GWL_STYLE,
                   GetWindowLongW(g_hHallWnd, GWL_STYLE) & ~(WS_MAXIMIZEBOX | WS_THICKFRAME));
    // The player sees the launcher as soon as it exists: its first frame does not wait for the hidden
    // game window below.
    UpdateWindow(g_hHallWnd);

    // Posted, so the launcher handles it in the message loop, after the game window below exists.
    PostMessageW(g_hHallWnd, WM_HALL_START, 0, 0);

    g_gameWnd = new GameWnd();
    // Made without WS_VISIBLE: it stays hidden until the player enters a game, and is never seen flashing
    // up and away at start.
    g_gameWnd->CreateNativeWindow(nullptr, kHallWindowTitle, kHallWindowStyle & ~WS_VISIBLE,
                                  kHallWindowExStyle);
    g_gameWnd->SetWindowIcon(kHallIconResource);
    g_gameWnd->CenterOnWorkArea();
    g_gameWnd->Show(false, false);
    g_hGameWnd = g_gameWnd->GetHWND();
    TOLVANE_TRACE("game window created and hidden");
}

int RunHall(HINSTANCE instance, const wchar_t* commandLineTail) {
    TOLVANE_TRACE("hall entered");
    SetUnhandledExceptionFilter(&CrashReportFilter);
    SkinUI::SetInstance(instance);
    // The shell calls of the plug-in step, of opening addresses and of the update need an apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TOLVANE_TRACE("COM started");
    EnsurePluginControl();
    TOLVANE_TRACE("plug-in control step");
    StartHall(commandLineTail);
    SkinUI::RunMessageLoop();
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return 0;
}
