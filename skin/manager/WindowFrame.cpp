#include "skin/manager/WindowFrame.h"

#include "skin/controls/ControlUI.h"
#include "skin/manager/ManagerUI.h"
#include "skin/manager/WindowMessages.h"
#include "skin/markup/AsciiText.h"

namespace SkinUI {

namespace {

// Controls the window cannot be dragged by, though they lie in the caption.
bool KeepsTheMouse(const CControlUI& control) {
    const wchar_t* name = control.ClassName();
    return SameNameIgnoringCase(name, L"ButtonUI") || SameNameIgnoringCase(name, L"OptionUI") ||
           SameNameIgnoringCase(name, L"TextUI");
}

intptr_t SizeBoxHit(const SkinRect& c, const SkinPoint& p, const SkinRect& s) {
    if (p.y < c.top + s.top) {
        if (p.x < c.left + s.left) {
            return SkinHit::kTopLeft;
        }
        return p.x <= c.right - s.right ? SkinHit::kTop : SkinHit::kTopRight;
    }
    if (p.y > c.bottom - s.bottom) {
        if (p.x < c.left + s.left) {
            return SkinHit::kBottomLeft;
        }
        return p.x <= c.right - s.right ? SkinHit::kBottom : SkinHit::kBottomRight;
    }
    if (p.x < c.left + s.left) {
        return SkinHit::kLeft;
    }
    if (p.x > c.right - s.right) {
        return SkinHit::kRight;
    }
    return 0;
}

}  // namespace

intptr_t SkinFrameHitTest(const SkinRect& client, const SkinPoint& point, const SkinRect& sizeBox,
                          const SkinRect& caption, bool maximised, const CControlUI* controlAtPoint) {
    if (!maximised) {
        if (const intptr_t border = SizeBoxHit(client, point, sizeBox)) {
            return border;
        }
    }
    const bool inCaption = point.x >= client.left + caption.left && point.x < client.right - caption.right &&
                           point.y >= caption.top && point.y < caption.bottom;
    if (inCaption && controlAtPoint != nullptr && !KeepsTheMouse(*controlAtPoint)) {
        return SkinHit::kCaption;
    }
    return SkinHit::kClient;
}

uintptr_t SystemButtonCommand(const std::wstring& buttonName) {
    if (buttonName == L"closebtn") {
        return SkinSysCommand::kClose;
    }
    if (buttonName == L"minbtn") {
        return SkinSysCommand::kMinimize;
    }
    if (buttonName == L"maxbtn") {
        return SkinSysCommand::kMaximize;
    }
    if (buttonName == L"restorebtn") {
        return SkinSysCommand::kRestore;
    }
    return 0;
}

void ShowZoomButtons(CSkinManagerUI& manager, bool wasMaximised, bool isMaximised) {
    if (wasMaximised == isMaximised) {
        return;
    }
    CControlUI* maximise = manager.SearchControls(std::wstring(L"maxbtn"));
    CControlUI* restore = manager.SearchControls(std::wstring(L"restorebtn"));
    if (maximise == nullptr || restore == nullptr) {
        return;
    }
    maximise->SetVisible(wasMaximised);
    restore->SetVisible(!wasMaximised);
}

bool RoundCornerRegion(const SkinSize& windowSize, const SkinSize& corner, SkinRect& regionRect) {
    if (corner.cx == 0 && corner.cy == 0) {
        return false;
    }
    regionRect = SkinRect{0, 0, windowSize.cx + 1, windowSize.cy + 1};
    return true;
}

}  // namespace SkinUI
