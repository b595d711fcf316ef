#include "browser/PortalAddresses.h"

#include "PortalConfig.h"

namespace browser {
namespace {

// Host names are ASCII; they widen unit by unit.
std::wstring Address(const char* host, const wchar_t* path) {
    std::wstring address = L"http://";
    for (const char* c = host; *c != '\0'; ++c) {
        address.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    return address + path;
}

}  // namespace

const std::wstring& ServerListPrefix() {
    static const std::wstring text = Address(portal::kMainHost, L"/wd/servers");
    return text;
}

const std::wstring& GameEntryText() {
    static const std::wstring text = Address(portal::kMainHost, L"/playgame");
    return text;
}

const std::wstring& QuickGameEntryText() {
    static const std::wstring text = Address(portal::kGameHost, L"/redirect/quick.html");
    return text;
}

bool IsServerListAddress(const std::wstring& address) {
    return address.compare(0, ServerListPrefix().size(), ServerListPrefix()) == 0;
}

bool IsGameEntryAddress(const std::wstring& address) {
    return address.find(GameEntryText()) != std::wstring::npos ||
           address.find(QuickGameEntryText()) != std::wstring::npos;
}

}  // namespace browser
