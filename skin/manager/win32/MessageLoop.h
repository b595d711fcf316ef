#pragma once

#include <windows.h>

namespace SkinUI {

// Offers a fetched message to the skin managers of its window (or, for a child window, of the skinned
// windows around it): their accelerators first, then their own keyboard handling (Tab, Alt with a
// shortcut letter) and pre-message filters. True when the message was consumed and must not be
// dispatched.
bool PreTranslate(const MSG& message);

// Fetches and dispatches the thread's messages, each offered to PreTranslate first, until a quit
// message arrives; returns the quit message's exit code.
int RunMessageLoop();

}  // namespace SkinUI
