#pragma once

#include <optional>
#include <string>

// Where the game's plug-in control lives and how it is registered, free of the system.
namespace services {

inline constexpr wchar_t kPluginTypeLibKey[] =
    L"HKEY_CLASSES_ROOT\\TypeLib\\{5D1E7A20-3C4B-4F8E-9A61-0B2C7D94E315}\\1.0\\0\\win32";
inline constexpr wchar_t kPluginFileName[] = L"quillgame.ocx";
inline constexpr wchar_t kPluginOuterFolder[] = L"\\quill";
inline constexpr wchar_t kPluginInnerFolder[] = L"\\vex";
inline constexpr int kPluginResourceId = 115;
inline constexpr wchar_t kPluginResourceType[] = L"ZIPRES";
inline constexpr wchar_t kRegistrationTool[] = L"regsvr32.exe";

// Which shell folder the plug-in folder is built on.
enum class ProfileSource {
    AppDataParent,  // 5.1: the parent of the application-data folder
    UserProfile     // every other version: the profile folder
};

ProfileSource ProfileSourceFor(unsigned major, unsigned minor);

// The path without its last element: "C:\Documents and Settings\u\Application Data" gives
// "C:\Documents and Settings\u"; a drive root stays as it is.
std::wstring WithoutLastPathElement(const std::wstring& path);

// The registered type-library location names our control file (letter case ignored).
bool IsRegisteredAt(const std::wstring& registeredLocation, const std::wstring& controlPath);

// " /s \"path\"" to register, " /s /u \"path\"" to unregister.
std::wstring RegistrationParameters(const std::wstring& controlPath, bool registering);

// The registration tool's full command line: its quoted full path followed by the parameters.
std::wstring RegistrationCommandLine(const std::wstring& toolPath, const std::wstring& controlPath,
                                     bool registering);

// "runas" only when elevation is wanted, the system has elevation (major version 6 or later) and the
// membership test succeeded and found the user outside the Administrators group; "open" otherwise.
const wchar_t* ElevationVerb(bool wantElevation, unsigned major, bool membershipKnown, bool isMember);

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

struct RegistryPath {
    RegistryRoot root;
    std::wstring subKey;
};

// "HKEY_CLASSES_ROOT\TypeLib\..." -> classes root and "TypeLib\...". The root names are tried in the
// order classes root, current user, local machine, users; none matching gives nothing.
std::optional<RegistryPath> SplitRegistryPath(const std::wstring& fullKeyPath);

}  // namespace services
