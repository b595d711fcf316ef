#include "windows/HallAddresses.h"

#include "PortalConfig.h"
#include "skin/markup/AsciiText.h"

namespace hall {
namespace {

// Host names are ASCII by configuration.
std::wstring HttpAddress(const char* host, const char* path) {
    return L"http://" + SkinUI::WidenAscii(host) + SkinUI::WidenAscii(path);
}

}  // namespace

std::string ServerListAddress(int32_t channel) {
    std::string address = std::string("http://") + portal::kMainHost +
                          "/wd_rnct.html?channel=" + std::to_string(channel) + "&newest=1";
    if (address.size() > kServerListAddressMaxChars) {
        address.resize(kServerListAddressMaxChars);
    }
    return address;
}

std::wstring GameSiteAddress() {
    return HttpAddress(portal::kGameSiteHost, "/");
}
std::wstring PaymentPageAddress() {
    return HttpAddress(portal::kPaymentHost, "/payment.html");
}
std::wstring ServicePageAddress() {
    return HttpAddress(portal::kMainHost, "/service.html");
}
std::wstring ForumAddress() {
    return HttpAddress(portal::kForumHost, "/");
}
std::wstring HelpPageAddress() {
    return HttpAddress(portal::kHelpHost, "/index.php");
}

}  // namespace hall
