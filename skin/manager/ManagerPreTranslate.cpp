// What the manager does with a message before it is dispatched: the pre-translate filters, Tab moves,
// Alt shortcuts and accelerators, and the process-wide offer of a fetched message to the managers of
// its window.
#include "skin/manager/IMessageFilterUI.h"
#include "skin/manager/ITranslateAccelerator.h"
#include "skin/manager/ManagerUI.h"
#include "skin/markup/AsciiText.h"

namespace SkinUI {
namespace {

CControlUI* ControlWithShortcut(CControlUI* control, void* key) {
    return AsciiLower(control->Shortcut()) == *static_cast<const wchar_t*>(key) ? control : nullptr;
}

}  // namespace

bool CSkinManagerUI::HandlePreTranslate(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                        intptr_t& result) {
    if (OfferToFilters(preMessageFilters_, message, wParam, lParam, result)) {
        return true;
    }
    switch (message) {
        case SkinMessage::kKeyDown:
            if (wParam != SkinKey::kTab) {
                return false;
            }
            // Rich edit boxes of this engine take no Tab characters, so Tab always moves the focus.
            MoveTabFocus(port_ == nullptr || !port_->ShiftDown());
            return true;
        case SkinMessage::kSysChar:
            return ActivateShortcut(static_cast<wchar_t>(wParam));
        case SkinMessage::kSysKeyDown:
            SendEvent(focus_, SkinEventType::kSysKey, lastMousePoint_, wParam, lParam,
                      static_cast<uint16_t>(wParam));
            return false;
        default:
            return false;
    }
}

bool CSkinManagerUI::ActivateShortcut(wchar_t key) {
    if (!root_) {
        return false;
    }
    wchar_t wanted = AsciiLower(key);
    if (wanted == 0) {
        return false;
    }
    CControlUI* control = root_->SearchControls(
        ControlWithShortcut, &wanted,
        SkinSearchFlags::kEnabled | SkinSearchFlags::kMeFirst | SkinSearchFlags::kTopFirst);
    if (control == nullptr) {
        return false;  // Alt with any other key keeps its system meaning
    }
    control->SetFocus();
    control->TryActivate();
    return true;
}

bool CSkinManagerUI::TranslateAccelerators(const SkinWindowMessage& message) {
    return accelerators_.AnyTakes([&message](ITranslateAccelerator& accelerator) {
        return accelerator.TranslateAccelerator(message) != 0;
    });
}

bool CSkinManagerUI::PreTranslate(const SkinWindowMessage& message, const ISkinWindowTree& windows) {
    // A manager may go while a message is offered (its window closed): the walk skips it then.
    intptr_t result = 0;
    auto offer = [&](CSkinManagerUI& manager) {
        return manager.TranslateAccelerators(message) ||
               manager.HandlePreTranslate(message.message, message.wParam, message.lParam, result);
    };
    if (!windows.IsChildWindow(message.window)) {
        // The window's own manager only; its answer is final.
        bool consumed = false;
        Managers().AnyTakes([&](CSkinManagerUI& manager) {
            if (manager.port_ == nullptr || manager.port_->WindowId() != message.window) {
                return false;
            }
            consumed = offer(manager);
            return true;
        });
        return consumed;
    }
    // The managers of the windows around a child window, the last one registered first.
    return Managers().AnyTakes(
        [&](CSkinManagerUI& manager) {
            return manager.port_ != nullptr &&
                   windows.IsAncestor(manager.port_->WindowId(), message.window) && offer(manager);
        },
        true);
}

}  // namespace SkinUI
