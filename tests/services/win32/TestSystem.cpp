#include "tests/services/win32/TestSystem.h"

namespace servicetests {

ScratchFolder::ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"tolvane-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data = {};
    HANDLE find = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
                      ? INVALID_HANDLE_VALUE
                      : FindFirstFileW((path + L"\\*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data)) {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
            RemoveTree(path + L"\\" + name);
        }
    }
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

bool MakeFile(const std::wstring& path, const std::string& content, DWORD attributes) {
    return testservers::WriteWholeFile(path, reinterpret_cast<const uint8_t*>(content.data()),
                                       content.size()) &&
           SetFileAttributesW(path.c_str(), attributes);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace servicetests
