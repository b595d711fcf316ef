#include "browser/win32/AxHosting.h"

namespace browser {
namespace {

UINT g_getHostMessage = 0;
UINT g_getControlMessage = 0;

bool RegisterHostClass(const wchar_t* name) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) {
        return true;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcW;  // a site subclasses the window while it hosts a control
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool RegisterOnce() {
    g_getHostMessage = RegisterWindowMessageW(L"WM_ATLGETHOST");
    g_getControlMessage = RegisterWindowMessageW(L"WM_ATLGETCONTROL");
    return RegisterHostClass(kAxHostWindowClass) && RegisterHostClass(kAxHostLicensedWindowClass);
}

}  // namespace

bool AxHostInitialize() {
    static const bool registered = RegisterOnce();
    return registered;
}

UINT AxGetHostMessage() {
    AxHostInitialize();
    return g_getHostMessage;
}

UINT AxGetControlMessage() {
    AxHostInitialize();
    return g_getControlMessage;
}

}  // namespace browser
