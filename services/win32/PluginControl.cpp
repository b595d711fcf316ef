#include "services/win32/PluginControl.h"

#include <shlobj.h>

#include "services/PluginRules.h"
#include "services/win32/Registry.h"
#include "services/win32/WinHandles.h"

namespace services {
namespace {

std::wstring RegistrationToolPath(SystemAccess& system) {
    const std::wstring folder = system.SystemFolder();
    return folder.empty() ? std::wstring() : folder + L"\\" + kRegistrationTool;
}

std::wstring ProfileFolder(SystemAccess& system) {
    const SystemVersion version = system.Version();
    if (ProfileSourceFor(version.major, version.minor) == ProfileSource::AppDataParent) {
        const std::wstring appData = system.SpecialFolder(CSIDL_APPDATA, false);
        return appData.empty() ? appData : WithoutLastPathElement(appData);
    }
    return system.SpecialFolder(CSIDL_PROFILE, false);
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::wstring GetPluginFolder(SystemAccess& system) {
    std::wstring folder = ProfileFolder(system);
    if (folder.empty()) {
        return folder;
    }
    folder += kPluginOuterFolder;
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += kPluginInnerFolder;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool ExtractResource(HMODULE module, int id, const wchar_t* type, std::vector<uint8_t>& out) {
    out.clear();
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (resource == nullptr) {
        return false;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const DWORD size = SizeofResource(module, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return false;
    }
    out.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + size);
    return true;
}

bool WriteControlFile(SystemAccess& system, const std::wstring& path, const std::vector<uint8_t>& bytes) {
    bool complete = false;
    {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return false;
        }
        complete = system.WriteToFile(file.Get(), bytes.data(), bytes.size());
    }
    if (!complete) {
        DeleteFileW(path.c_str());
    }
    return complete;
}

bool IsAdministrator(bool& isMember) {
    return RealSystem().IsAdministrator(isMember);
}

bool RunElevated(SystemAccess& system, const std::wstring& program, const std::wstring& parameters,
                 bool wantElevation) {
    bool isMember = false;
    const bool membershipKnown = wantElevation && system.IsAdministrator(isMember);
    ShellRequest request;
    request.verb = ElevationVerb(wantElevation, system.Version().major, membershipKnown, isMember);
    request.file = program;
    request.parameters = parameters;
    request.show = SW_SHOWNORMAL;
    request.wantProcess = true;
    return system.RunShell(request);
}

bool RegisterControl(SystemAccess& system, const std::wstring& controlPath, bool registering) {
    const std::wstring tool = RegistrationToolPath(system);
    if (tool.empty()) {
        return false;
    }
    bool isMember = false;
    if (system.IsAdministrator(isMember) && isMember) {
        return system.StartProcess(tool, RegistrationCommandLine(tool, controlPath, registering));
    }
    return RunElevated(system, tool, RegistrationParameters(controlPath, registering), true);
}

bool EnsurePluginControl(SystemAccess& system) {
    std::wstring registered;
    ReadRegistryString(kPluginTypeLibKey, L"", registered);
    const std::wstring folder = GetPluginFolder(system);
    if (folder.empty()) {
        return false;
    }
    const std::wstring controlPath = folder + L"\\" + kPluginFileName;
    const bool exists = FileExists(controlPath);
    if (exists && IsRegisteredAt(registered, controlPath)) {
        return true;
    }
    if (!exists) {
        std::vector<uint8_t> control;
        if (!ExtractResource(system.ResourceModule(), kPluginResourceId, kPluginResourceType, control) ||
            !WriteControlFile(system, controlPath, control)) {
            return false;
        }
    }
    return RegisterControl(system, controlPath, true);
}

bool EnsurePluginControl() {
    return EnsurePluginControl(RealSystem());
}

}  // namespace services
