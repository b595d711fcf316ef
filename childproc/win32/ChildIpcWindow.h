#pragma once

#include <windows.h>

#include "childproc/ChildIpcContext.h"

namespace childproc {

// The child's hidden IPC window: the class the hall finds it by and its window procedure.
inline constexpr wchar_t kChildIpcWindowClass[] = L"ChildWeb_IWebBrowser2_Class";
// The lifetime timer of the IPC window: it checks every second that the owner window is still there.
inline constexpr UINT_PTR kLifetimeTimer = 1;
inline constexpr UINT kLifetimePeriodMs = 1000;

// The child's process-wide IPC context, made on first use with the given owner (later calls ignore it).
ChildIpcContext& TheChildIpcContext(HWND initialOwner = nullptr);

// Registers the IPC window class; true when it is registered (also when it already was).
bool RegisterChildIpcWindowClass(HINSTANCE instance);

// The hidden 1 x 1 popup titled with the IPC name; null when it cannot be created.
HWND CreateChildIpcWindow(HINSTANCE instance, const wchar_t* ipcName);

LRESULT CALLBACK ChildIpcWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace childproc
