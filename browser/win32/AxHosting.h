#pragma once

#include <windows.h>

namespace browser {

// The window class that windows hosting an ActiveX control are superclassed from.
inline constexpr wchar_t kAxHostWindowClass[] = L"AtlAxWin100";
inline constexpr wchar_t kAxHostLicensedWindowClass[] = L"AtlAxWinLic100";

// Registers, once per process, what hosting a control in a window needs: the host window classes and
// the messages "WM_ATLGETHOST" and "WM_ATLGETCONTROL", with which a host window gives the IUnknown of
// its site and of its control (no reference is added; both live as long as the window). Safe to call
// from any thread, any number of times; false when the classes could not be registered.
bool AxHostInitialize();

UINT AxGetHostMessage();
UINT AxGetControlMessage();

}  // namespace browser
