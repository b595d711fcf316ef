#include "skin/manager/win32/MessageLoop.h"

#include "skin/manager/ManagerUI.h"

namespace SkinUI {

namespace {

class Win32WindowTree final : public ISkinWindowTree {
  public:
    bool IsChildWindow(uintptr_t window) const override {
        HWND handle = reinterpret_cast<HWND>(window);
        return handle != nullptr && (GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD) != 0;
    }
    bool IsAncestor(uintptr_t ancestor, uintptr_t window) const override {
        return IsChild(reinterpret_cast<HWND>(ancestor), reinterpret_cast<HWND>(window)) != FALSE;
    }
};

}  // namespace

bool PreTranslate(const MSG& message) {
    static const Win32WindowTree windows;
    const SkinWindowMessage offered{reinterpret_cast<uintptr_t>(message.hwnd), message.message,
                                    static_cast<uintptr_t>(message.wParam),
                                    static_cast<intptr_t>(message.lParam)};
    return CSkinManagerUI::PreTranslate(offered, windows);
}

int RunMessageLoop() {
    MSG message{};
    BOOL fetched;
    while ((fetched = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (fetched == -1) {
            return -1;
        }
        if (!PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace SkinUI
