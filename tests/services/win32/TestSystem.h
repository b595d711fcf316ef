#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "services/win32/SystemAccess.h"
#include "skin/markup/AsciiText.h"
#include "tests/services/support/UpdateServers.h"

namespace servicetests {

using SkinUI::WidenAscii;
using testservers::ReadWholeFile;

// The system with the test's own shell folders, version and membership answer; shell requests and
// notices are recorded, and shell requests reach the real shell only when asked to.
class TestSystem : public services::SystemAccess {
  public:
    std::map<int, std::wstring> folders;
    services::SystemVersion version{6, 1};
    bool administrator = true;
    bool passShellRequestsOn = false;
    bool recordProcessStarts = false;

    std::vector<services::ShellRequest> shellRequests;
    std::vector<std::wstring> notices;
    std::vector<std::wstring> processStarts;

    services::SystemVersion Version() override { return version; }
    std::wstring SpecialFolder(int csidl, bool) override {
        const auto it = folders.find(csidl);
        return it == folders.end() ? std::wstring() : it->second;
    }
    bool RunShell(const services::ShellRequest& request) override {
        shellRequests.push_back(request);
        return passShellRequestsOn ? SystemAccess::RunShell(request) : true;
    }
    bool StartProcess(const std::wstring& program, const std::wstring& commandLine) override {
        processStarts.push_back(commandLine);
        return recordProcessStarts ? true : SystemAccess::StartProcess(program, commandLine);
    }
    bool IsAdministrator(bool& isMember) override {
        isMember = administrator;
        return true;
    }
    void ShowNotice(HWND, const wchar_t* text, const wchar_t* caption) override {
        notices.push_back(std::wstring(text) + L"|" + caption);
    }
};

// A folder of its own under the temporary folder, removed with everything in it on destruction.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::wstring& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::wstring Sub(const std::wstring& relative) const { return path_ + L"\\" + relative; }

  private:
    std::wstring path_;
};

// Removes read-only entries too; a link inside is removed as a link, never followed.
void RemoveTree(const std::wstring& path);
bool MakeFile(const std::wstring& path, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
bool Exists(const std::wstring& path);

}  // namespace servicetests
