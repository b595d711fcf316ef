#include "services/BrowserRules.h"

namespace services {

BrowserLookup BrowserLookupFor(unsigned major, unsigned minor) {
    if (major == 5 && minor == 1) {
        return BrowserLookup::HtmlFileCommand;
    }
    if (major >= 6 && minor >= 2) {
        return BrowserLookup::HttpUserChoice;
    }
    if (major >= 6) {
        return BrowserLookup::FtpUserChoice;
    }
    return BrowserLookup::BuiltInBrowser;
}

std::wstring ProgramOfOpenCommand(const std::wstring& command) {
    const size_t open = command.find(L'"');
    if (open == std::wstring::npos) {
        return command;
    }
    const size_t close = command.find(L'"', open + 1);
    if (close == std::wstring::npos) {
        return command;
    }
    return command.substr(open + 1, close - open - 1);
}

}  // namespace services
