#pragma once

#include <string>

namespace browser {

// The portal addresses a page reacts to, built from the configured host names. All comparisons are
// case-sensitive.

// "http://<main host>/wd/servers": a document address that begins with it is the server list.
const std::wstring& ServerListPrefix();
// "http://<main host>/playgame" and "http://<game host>/redirect/quick.html": a navigation whose address
// contains either anywhere enters the game.
const std::wstring& GameEntryText();
const std::wstring& QuickGameEntryText();

bool IsServerListAddress(const std::wstring& address);
bool IsGameEntryAddress(const std::wstring& address);

}  // namespace browser
