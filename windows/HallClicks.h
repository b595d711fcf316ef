#pragma once

#include <string>

namespace hall {

// What a click on a named control of the launcher or the game window does.
enum class ClickAction {
    None,
    OpenGameSite,
    OpenPaymentPage,
    OpenServicePage,
    OpenForum,
    Minimise,
    ConfirmQuit,
    ClearCache,
    ToggleMaximise,
    ReloadPage,
};

// Only notifications of type "click" (letter case counts) act.
bool IsClickNotification(const std::wstring& type);

// The launcher's buttons. The skin's customer-service button "cusbtn" and the older name "servicebtn"
// both open the service page; "clearbtn" clears the browser cache.
ClickAction LauncherClickAction(const std::wstring& controlName);

// The game window's buttons. Its payment button is "charge" in the skin; "chargebtn" keeps working.
ClickAction GameClickAction(const std::wstring& controlName);

}  // namespace hall
