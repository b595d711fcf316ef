#pragma once

#include <cstdint>

#include "skin/markup/Geometry.h"

namespace SkinUI {

// The window messages a skin window's manager and window base look at, by the numbers the platform
// gives them, so that the routing decisions build and run without the platform.
namespace SkinMessage {
constexpr uint32_t kCreate = 0x0001;
constexpr uint32_t kDestroy = 0x0002;
constexpr uint32_t kSize = 0x0005;
constexpr uint32_t kSetFocus = 0x0007;
constexpr uint32_t kKillFocus = 0x0008;
constexpr uint32_t kPaint = 0x000F;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kEraseBackground = 0x0014;
constexpr uint32_t kSetCursor = 0x0020;
constexpr uint32_t kGetMinMaxInfo = 0x0024;
constexpr uint32_t kNotify = 0x004E;
constexpr uint32_t kContextMenu = 0x007B;
constexpr uint32_t kNcCreate = 0x0081;
constexpr uint32_t kNcDestroy = 0x0082;
constexpr uint32_t kNcCalcSize = 0x0083;
constexpr uint32_t kNcHitTest = 0x0084;
constexpr uint32_t kNcPaint = 0x0085;
constexpr uint32_t kNcActivate = 0x0086;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kChar = 0x0102;
constexpr uint32_t kSysKeyDown = 0x0104;
constexpr uint32_t kSysChar = 0x0106;
constexpr uint32_t kCommand = 0x0111;
constexpr uint32_t kSysCommand = 0x0112;
constexpr uint32_t kTimer = 0x0113;
constexpr uint32_t kFirstControlColor = 0x0132;  // the control-colour messages of child windows
constexpr uint32_t kLastControlColor = 0x0138;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftButtonDown = 0x0201;
constexpr uint32_t kLeftButtonUp = 0x0202;
constexpr uint32_t kLeftButtonDoubleClick = 0x0203;
constexpr uint32_t kRightButtonDown = 0x0204;
constexpr uint32_t kMouseWheel = 0x020A;
constexpr uint32_t kMouseHover = 0x02A1;
constexpr uint32_t kMouseLeave = 0x02A3;
constexpr uint32_t kPrintClient = 0x0318;
// Child-window notifications come back to their sender with this added.
constexpr uint32_t kReflectBase = 0x2000;
// Posted to destroy the controls whose destruction was deferred.
constexpr uint32_t kDestroyDeferredControls = 0x8001;
}  // namespace SkinMessage

// Keys the engine reacts to.
namespace SkinKey {
constexpr uintptr_t kTab = 0x09;
constexpr uintptr_t kReturn = 0x0D;
constexpr uintptr_t kEscape = 0x1B;
}  // namespace SkinKey

// Hit-test answers of the window's frame.
namespace SkinHit {
constexpr intptr_t kClient = 1;
constexpr intptr_t kCaption = 2;
constexpr intptr_t kLeft = 10;
constexpr intptr_t kRight = 11;
constexpr intptr_t kTop = 12;
constexpr intptr_t kTopLeft = 13;
constexpr intptr_t kTopRight = 14;
constexpr intptr_t kBottom = 15;
constexpr intptr_t kBottomLeft = 16;
constexpr intptr_t kBottomRight = 17;
}  // namespace SkinHit

// System commands (the low four bits of the command are the system's own).
namespace SkinSysCommand {
constexpr uintptr_t kMinimize = 0xF020;
constexpr uintptr_t kMaximize = 0xF030;
constexpr uintptr_t kClose = 0xF060;
constexpr uintptr_t kRestore = 0xF120;
inline uintptr_t Of(uintptr_t wParam) {
    return wParam & 0xFFF0;
}
}  // namespace SkinSysCommand

// One message as the message loop fetched it.
struct SkinWindowMessage {
    uintptr_t window = 0;  // the target window's handle as a number
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// The point packed into a mouse message's lParam: two signed 16-bit coordinates.
inline SkinPoint PointFromLParam(intptr_t lParam) {
    const auto bits = static_cast<uint32_t>(lParam);
    return SkinPoint{static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>(bits >> 16)};
}

inline intptr_t LParamFromPoint(const SkinPoint& point) {
    const uint32_t bits = (static_cast<uint32_t>(static_cast<uint16_t>(point.x))) |
                          (static_cast<uint32_t>(static_cast<uint16_t>(point.y)) << 16);
    return static_cast<intptr_t>(static_cast<int32_t>(bits));
}

// The signed wheel distance in the high word of a wheel message's wParam.
inline int32_t WheelDelta(uintptr_t wParam) {
    return static_cast<int16_t>((wParam >> 16) & 0xFFFF);
}

}  // namespace SkinUI
