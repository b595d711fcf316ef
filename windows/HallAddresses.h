#pragma once

#include <cstdint>
#include <string>

namespace hall {

// The longest server-list address the launcher sends to the child; a longer one is cut here.
inline constexpr size_t kServerListAddressMaxChars = 255;

// The portal's server list for a distribution channel: "http://<main>/wd_rnct.html?channel=<n>&newest=1".
std::string ServerListAddress(int32_t channel);

// Addresses behind the windows' buttons and the crash notice.
std::wstring GameSiteAddress();     // root of the game's own site
std::wstring PaymentPageAddress();  // "/payment.html" on the payment host
std::wstring ServicePageAddress();  // "/service.html" on the main host
std::wstring ForumAddress();        // "/" on the forum host
std::wstring HelpPageAddress();     // "/index.php" on the help host

}  // namespace hall
