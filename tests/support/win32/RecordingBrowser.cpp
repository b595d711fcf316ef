// Stands in for the player's web browser: appends the arguments it was started with, split as the C
// runtime splits them and joined by blanks, as a line of UTF-8 to the file named by TOLVANE_BROWSER_RECORD.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t recordFile[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TOLVANE_BROWSER_RECORD", recordFile, MAX_PATH) == 0 || __argc < 2) {
        return 1;
    }
    std::wstring line = __wargv[1];
    for (int i = 2; i < __argc; ++i) {
        line += L" " + std::wstring(__wargv[i]);
    }
    line += L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    HANDLE file = CreateFileW(recordFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
