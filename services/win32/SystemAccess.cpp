#include "services/win32/SystemAccess.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <vector>

namespace services {

SystemVersion SystemAccess::Version() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) {
        return SystemVersion{};
    }
    return SystemVersion{info.dwMajorVersion, info.dwMinorVersion};
}

std::wstring SystemAccess::SpecialFolder(int csidl, bool create) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, create ? TRUE : FALSE)) {
        return std::wstring();
    }
    return path;
}

bool SystemAccess::RunShell(const ShellRequest& request) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = request.wantProcess ? SEE_MASK_NOCLOSEPROCESS : 0;
    info.lpVerb = request.verb.c_str();
    info.lpFile = request.file.c_str();
    info.lpParameters = request.parameters.empty() ? nullptr : request.parameters.c_str();
    info.nShow = request.show;
    if (!ShellExecuteExW(&info)) {
        return false;
    }
    if (!request.wantProcess) {
        return true;
    }
    if (info.hProcess == nullptr) {
        return false;
    }
    CloseHandle(info.hProcess);
    return true;
}

bool SystemAccess::StartProcess(const std::wstring& program, const std::wstring& commandLine) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool SystemAccess::IsAdministrator(bool& isMember) {
    isMember = false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                  0, 0, 0, 0, &administrators)) {
        return false;
    }
    BOOL member = FALSE;
    const BOOL tested = CheckTokenMembership(nullptr, administrators, &member);
    FreeSid(administrators);
    if (!tested) {
        return false;
    }
    isMember = member != FALSE;
    return true;
}

void SystemAccess::ShowNotice(HWND owner, const wchar_t* text, const wchar_t* caption) {
    MessageBoxW(owner, text, caption, MB_OK);
}

bool SystemAccess::WriteToFile(HANDLE file, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

std::wstring SystemAccess::LauncherPath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            return std::wstring(path.data(), length);
        }
        path.resize(path.size() * 2);
    }
}

HMODULE SystemAccess::ResourceModule() {
    return GetModuleHandleW(nullptr);
}

std::wstring SystemAccess::SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return (length == 0 || length >= MAX_PATH) ? std::wstring() : std::wstring(path, length);
}

SystemAccess& RealSystem() {
    static SystemAccess system;
    return system;
}

}  // namespace services
