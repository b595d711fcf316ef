#pragma once

#include <cstdint>
#include <string>

#include "skin/markup/Geometry.h"

namespace SkinUI {

class CControlUI;

// Kinds of input a window's manager hands to a control.
namespace SkinEventType {
constexpr int32_t kKeyDown = 3;
constexpr int32_t kKeyUp = 4;
constexpr int32_t kChar = 5;
constexpr int32_t kSysKey = 6;
constexpr int32_t kMouseMove = 9;
constexpr int32_t kMouseLeave = 10;
constexpr int32_t kMouseEnter = 11;
constexpr int32_t kMouseHover = 12;
constexpr int32_t kButtonDown = 13;
constexpr int32_t kButtonUp = 14;
constexpr int32_t kRightButtonDown = 15;
constexpr int32_t kDoubleClick = 16;
constexpr int32_t kContextMenu = 17;
constexpr int32_t kScrollWheel = 18;
constexpr int32_t kKillFocus = 20;
constexpr int32_t kSetFocus = 21;
constexpr int32_t kWindowSize = 22;
constexpr int32_t kSetCursor = 23;
constexpr int32_t kTimer = 24;
}  // namespace SkinEventType

// Mouse events are the kinds from mouse move up to the scroll wheel.
inline bool IsMouseEvent(int32_t type) {
    return type > 8 && type < 19;
}

// wParam of a scroll-wheel event.
constexpr uintptr_t kScrollLineUp = 0;
constexpr uintptr_t kScrollLineDown = 1;

// One input event for one control.
struct SkinEvent {
    int32_t type = 0;
    CControlUI* sender = nullptr;
    uint32_t timestamp = 0;  // milliseconds since the system started
    SkinPoint point;         // client coordinates
    uint16_t keyChar = 0;
    uint16_t keyState = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Notification names the engine's controls and managers send.
namespace SkinNotifyType {
inline constexpr const wchar_t* kWindowInit = L"windowinit";
inline constexpr const wchar_t* kClick = L"click";
inline constexpr const wchar_t* kSetFocus = L"setfocus";
inline constexpr const wchar_t* kKillFocus = L"killfocus";
inline constexpr const wchar_t* kTimer = L"timer";
inline constexpr const wchar_t* kMenu = L"menu";
}  // namespace SkinNotifyType

// One notification for the window's listeners.
struct SkinNotify {
    std::wstring type;
    std::wstring virtualWindow;  // empty unless the window uses virtual windows
    CControlUI* sender = nullptr;
    uint32_t timestamp = 0;
    SkinPoint point;  // the last mouse point
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

}  // namespace SkinUI
