// Stands in for the update package's installer: records the command line it was started with in
// "<own path>.args" (UTF-16) and ends.
#include <windows.h>

#include <string>
#include <vector>

int wmain() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        return 1;
    }
    const std::wstring record = std::wstring(path.data(), length) + L".args";
    const std::wstring line = GetCommandLineW();
    HANDLE file =
        CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 2;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
