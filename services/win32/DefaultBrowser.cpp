#include "services/win32/DefaultBrowser.h"

#include <vector>

#include "services/BrowserRules.h"
#include "services/win32/Registry.h"
#include "services/win32/WinHandles.h"

namespace services {
namespace {

constexpr size_t kBrowserValueBytes = 522;

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

OpenCommand BuiltInBrowserCommand() {
    return {kBuiltInBrowser, L""};
}

OpenCommand SplitCommand(const std::wstring& command) {
    OpenCommand split = SplitOpenCommand(command, IsFile);
    return split.program.empty() ? BuiltInBrowserCommand() : split;
}

// 5.1: the data of the first value of the HTML files' open command.
OpenCommand HtmlFileCommand() {
    RegistryKey key;
    // Read rights are all this needs; a user may not write the machine's classes.
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kHtmlFileOpenCommandKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
        return BuiltInBrowserCommand();
    }
    wchar_t name[256] = {};
    DWORD nameChars = 256;
    DWORD type = 0;
    std::vector<wchar_t> data(kBrowserValueBytes / sizeof(wchar_t), L'\0');
    DWORD dataBytes = static_cast<DWORD>(kBrowserValueBytes - sizeof(wchar_t));
    if (RegEnumValueW(key.Get(), 0, name, &nameChars, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                      &dataBytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return BuiltInBrowserCommand();
    }
    return SplitCommand(data.data());
}

OpenCommand UserChoiceCommand(const wchar_t* choiceKey) {
    RegistryKey choice;
    std::wstring progId;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, choiceKey, 0, KEY_QUERY_VALUE, choice.Receive()) != ERROR_SUCCESS ||
        QueryStringValue(choice.Get(), kProgIdValue, kBrowserValueBytes, progId) != ERROR_SUCCESS) {
        return BuiltInBrowserCommand();
    }
    RegistryKey command;
    std::wstring commandLine;
    const std::wstring commandKey = progId + kOpenCommandSuffix;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, commandKey.c_str(), 0, KEY_QUERY_VALUE, command.Receive()) !=
            ERROR_SUCCESS ||
        QueryStringValue(command.Get(), nullptr, kBrowserValueBytes, commandLine) != ERROR_SUCCESS) {
        return BuiltInBrowserCommand();
    }
    return SplitCommand(commandLine);
}

OpenCommand DefaultBrowserCommand(SystemAccess& system) {
    const SystemVersion version = system.Version();
    switch (BrowserLookupFor(version.major, version.minor)) {
        case BrowserLookup::HtmlFileCommand:
            return HtmlFileCommand();
        case BrowserLookup::HttpUserChoice:
            return UserChoiceCommand(kHttpUserChoiceKey);
        case BrowserLookup::FtpUserChoice:
            return UserChoiceCommand(kFtpUserChoiceKey);
        case BrowserLookup::BuiltInBrowser:
            break;
    }
    return BuiltInBrowserCommand();
}

}  // namespace

std::wstring GetDefaultBrowser(SystemAccess& system) {
    return DefaultBrowserCommand(system).program;
}

std::wstring GetDefaultBrowser() {
    return GetDefaultBrowser(RealSystem());
}

void OpenUrl(SystemAccess& system, const std::wstring& address) {
    const OpenCommand command = DefaultBrowserCommand(system);
    ShellRequest request;
    request.verb = L"open";
    request.file = command.program;
    request.parameters = ArgumentsWithAddress(command.arguments, address);
    request.show = SW_SHOWNORMAL;
    system.RunShell(request);
}

void OpenUrl(const std::wstring& address) {
    OpenUrl(RealSystem(), address);
}

}  // namespace services
