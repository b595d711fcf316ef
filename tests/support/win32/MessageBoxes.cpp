#include "tests/support/win32/MessageBoxes.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/win32/TestProcess.h"

namespace testsupport {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

std::vector<HWND> FindBoxes(DWORD processId, const std::wstring& caption) {
    std::vector<HWND> boxes;
    for (HWND window : WindowsOf(processId)) {
        wchar_t title[128] = {};
        GetWindowTextW(window, title, 128);
        if (IsWindowVisible(window) && ClassOf(window) == L"#32770" && caption == title) {
            boxes.push_back(window);
        }
    }
    return boxes;
}

const wchar_t kUserChoiceRoot[] = L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";
const wchar_t kProgId[] = L"TolvaneRecordingBrowser";

}  // namespace

bool WriteRegistryString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS written =
        RegSetValueExW(created, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(created);
    return written == ERROR_SUCCESS;
}

ShownMessageBox WaitForMessageBox(DWORD processId, const std::wstring& caption, DWORD timeoutMs) {
    ShownMessageBox shown;
    std::vector<HWND> boxes;
    if (WaitUntil(timeoutMs, [&] { return !(boxes = FindBoxes(processId, caption)).empty(); })) {
        shown.window = boxes.front();
        wchar_t text[512] = {};
        GetDlgItemTextW(shown.window, kMessageBoxTextId, text, 512);
        shown.text = text;
        shown.owner = GetWindow(shown.window, GW_OWNER);
    }
    return shown;
}

void AnswerMessageBox(HWND box, int buttonId) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
}

int CountMessageBoxes(DWORD processId, const std::wstring& caption) {
    return static_cast<int>(FindBoxes(processId, caption).size());
}

RecordingDefaultBrowser::RecordingDefaultBrowser() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"Recording Browser " + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    program_ = folder + L"\\recording_browser.exe";
    DeleteFileW((program_ + L".args").c_str());
    CopyFileW(SiblingProgram(L"recording_browser.exe").c_str(), program_.c_str(), FALSE);
    // Every system version looks in one of these places.
    for (const wchar_t* protocol : {L"http", L"Ftp"}) {
        WriteRegistryString(HKEY_CURRENT_USER, kUserChoiceRoot + std::wstring(protocol) + L"\\UserChoice",
                            L"Progid", kProgId);
    }
    WriteRegistryString(HKEY_CLASSES_ROOT, std::wstring(kProgId) + L"\\shell\\open\\command", nullptr,
                        program_ + L" -url %1");
}

RecordingDefaultBrowser::~RecordingDefaultBrowser() {
    for (const wchar_t* protocol : {L"http", L"Ftp"}) {
        RegDeleteTreeW(HKEY_CURRENT_USER,
                       (kUserChoiceRoot + std::wstring(protocol) + L"\\UserChoice").c_str());
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    // A browser still ending holds its program file for a moment.
    WaitUntil(5000, [&] { return DeleteFileW(program_.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
    DeleteFileW((program_ + L".args").c_str());
    RemoveDirectoryW(program_.substr(0, program_.rfind(L'\\')).c_str());
}

std::wstring RecordingDefaultBrowser::Recorded() const {
    std::ifstream in((program_ + L".args").c_str(), std::ios::binary);
    const std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const int chars = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), chars);
    return text;
}

bool RecordingDefaultBrowser::WaitForAddress(const std::wstring& address, DWORD timeoutMs) const {
    return WaitUntil(timeoutMs,
                     [&] { return Recorded().find(L"-url " + address + L"\n") != std::wstring::npos; });
}

}  // namespace testsupport
