#include "services/PluginRules.h"

#include "skin/markup/AsciiText.h"

namespace services {

ProfileSource ProfileSourceFor(unsigned major, unsigned minor) {
    return (major == 5 && minor == 1) ? ProfileSource::AppDataParent : ProfileSource::UserProfile;
}

std::wstring WithoutLastPathElement(const std::wstring& path) {
    std::wstring trimmed = path;
    while (trimmed.size() > 3 && trimmed.back() == L'\\') {
        trimmed.pop_back();
    }
    const size_t separator = trimmed.rfind(L'\\');
    if (separator == std::wstring::npos) {
        return trimmed;
    }
    // "C:\name" keeps the root's separator.
    if (separator == 2 && trimmed[1] == L':') {
        return trimmed.substr(0, 3);
    }
    return trimmed.substr(0, separator);
}

bool IsRegisteredAt(const std::wstring& registeredLocation, const std::wstring& controlPath) {
    return !controlPath.empty() && SkinUI::EqualsIgnoringAsciiCase(registeredLocation, controlPath);
}

std::wstring RegistrationParameters(const std::wstring& controlPath, bool registering) {
    return std::wstring(registering ? L" /s \"" : L" /s /u \"") + controlPath + L"\"";
}

std::wstring RegistrationCommandLine(const std::wstring& toolPath, const std::wstring& controlPath,
                                     bool registering) {
    return L"\"" + toolPath + L"\"" + RegistrationParameters(controlPath, registering);
}

const wchar_t* ElevationVerb(bool wantElevation, unsigned major, bool membershipKnown, bool isMember) {
    return (wantElevation && major >= 6 && membershipKnown && !isMember) ? L"runas" : L"open";
}

std::optional<RegistryPath> SplitRegistryPath(const std::wstring& fullKeyPath) {
    struct RootName {
        const wchar_t* name;
        RegistryRoot root;
    };
    static constexpr RootName kRoots[] = {
        {L"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
        {L"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
        {L"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
        {L"HKEY_USERS", RegistryRoot::Users},
    };
    for (const RootName& root : kRoots) {
        const std::wstring name = root.name;
        if (fullKeyPath.compare(0, name.size(), name) == 0) {
            const size_t rest = fullKeyPath.size() > name.size() ? name.size() + 1 : name.size();
            return RegistryPath{root.root, fullKeyPath.substr(rest)};
        }
    }
    return std::nullopt;
}

}  // namespace services
