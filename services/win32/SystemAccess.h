#pragma once

#include <windows.h>

#include <string>

namespace services {

struct SystemVersion {
    unsigned major = 0;
    unsigned minor = 0;
};

// One request to the shell to perform a verb on a file.
struct ShellRequest {
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    int show = SW_SHOWNORMAL;
    // Ask for the started process back (it is closed at once: nobody waits for it).
    bool wantProcess = false;
};

// Where the services touch the system outside files and the registry: the version the platform
// reports, the shell's folders, starting programs, the membership test and the one message box. The
// services take it as a parameter so that tests can put their own folders, versions and a recording
// shell in its place; RealSystem() is the system itself.
class SystemAccess {
  public:
    virtual ~SystemAccess() = default;

    virtual SystemVersion Version();
    // The path of a shell special folder (CSIDL), created when asked; "" when the shell has none.
    virtual std::wstring SpecialFolder(int csidl, bool create);
    // True when the shell performed the request (and, when a process was asked for, returned one).
    virtual bool RunShell(const ShellRequest& request);
    // Starts a program by its full path with the given command line; true when it was started.
    virtual bool StartProcess(const std::wstring& program, const std::wstring& commandLine);
    // True when the membership test succeeded; `isMember` tells whether the current token belongs to
    // the built-in Administrators group.
    virtual bool IsAdministrator(bool& isMember);
    virtual void ShowNotice(HWND owner, const wchar_t* text, const wchar_t* caption);
    // Writes the bytes to an open file at its current position; true when all of them were written.
    virtual bool WriteToFile(HANDLE file, const void* data, size_t size);
    // Full path of the running executable, and the module that carries the program's resources.
    virtual std::wstring LauncherPath();
    virtual HMODULE ResourceModule();
    // The system folder, where the system's own tools live.
    virtual std::wstring SystemFolder();
};

SystemAccess& RealSystem();

}  // namespace services
