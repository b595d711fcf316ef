#include "services/win32/Registry.h"

#include <vector>

#include "services/win32/WinHandles.h"

namespace services {
namespace {

constexpr size_t kRegistryStringBytes = 1024;

}  // namespace

HKEY PredefinedKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::Users:
            return HKEY_USERS;
    }
    return nullptr;
}

LONG QueryStringValue(HKEY key, const wchar_t* valueName, size_t bufferBytes, std::wstring& out) {
    out.clear();
    std::vector<wchar_t> buffer(bufferBytes / sizeof(wchar_t), L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(bufferBytes - sizeof(wchar_t));
    const LONG status =
        RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return ERROR_INVALID_DATA;
    }
    out = buffer.data();
    return ERROR_SUCCESS;
}

bool ReadRegistryString(const std::wstring& fullKeyPath, const std::wstring& valueName, std::wstring& out,
                        long* errorOut) {
    out.clear();
    if (errorOut != nullptr) {
        *errorOut = 0;
    }
    const auto path = SplitRegistryPath(fullKeyPath);
    if (!path) {
        if (errorOut != nullptr) {
            *errorOut = -1;
        }
        return false;
    }
    RegistryKey key;
    LONG status = RegOpenKeyExW(PredefinedKey(path->root), path->subKey.c_str(), 0, KEY_READ, key.Receive());
    if (status == ERROR_SUCCESS) {
        status = QueryStringValue(key.Get(), valueName.c_str(), kRegistryStringBytes, out);
    }
    if (status != ERROR_SUCCESS && errorOut != nullptr) {
        *errorOut = status;
    }
    return status == ERROR_SUCCESS;
}

}  // namespace services
