#pragma once

#include <cstdint>
#include <string>

#include "skin/markup/Geometry.h"

namespace SkinUI {

class CControlUI;
class CSkinManagerUI;

// The behaviour of a borderless skinned window's frame, decided without the platform: which part of
// the window a point falls on, what the system buttons do, which of maximise and restore shows.

// The hit-test answer for a client point. `controlAtPoint` is the control drawn topmost there (or null).
// The size box is left alone while the window is maximised; the caption drags the window except over
// buttons, option buttons and text controls.
intptr_t SkinFrameHitTest(const SkinRect& client, const SkinPoint& point, const SkinRect& sizeBox,
                          const SkinRect& caption, bool maximised, const CControlUI* controlAtPoint);

// The system command a click on a standard system button stands for: close, minimise, maximise or
// restore by the button's name (letter case counts). 0 for any other name.
uintptr_t SystemButtonCommand(const std::wstring& buttonName);

// After a system command changed the maximised state: with both "maxbtn" and "restorebtn" in the tree,
// "maxbtn" shows exactly when the window was maximised before, "restorebtn" exactly when it was not.
void ShowZoomButtons(CSkinManagerUI& manager, bool wasMaximised, bool isMaximised);

// The window region's rounded rectangle for a window of `windowSize`; false when the corners are square.
bool RoundCornerRegion(const SkinSize& windowSize, const SkinSize& corner, SkinRect& regionRect);

}  // namespace SkinUI
