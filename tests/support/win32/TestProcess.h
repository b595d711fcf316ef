#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// Full path of a program built next to the test program, for example L"TolvaneRunecourt.exe": the
// product and the helper programs are built in one folder.
std::wstring SiblingProgram(const wchar_t* fileName);

// The top-level windows of a process, in z order, and a window's class name.
std::vector<HWND> WindowsOf(DWORD processId);
std::wstring ClassOf(HWND window);

// Owns a started process: its handles close, and a process still running is ended, on destruction.
class TestProcess {
  public:
    TestProcess() = default;
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    // Starts "program" with the argument text appended after its quoted path. Suspended processes
    // wait for Resume, so that hooks can be set on the main thread before it runs.
    bool Start(const std::wstring& program, const std::wstring& arguments, bool suspended = false);
    void Resume();
    // Waits for the end; false when it is still running after timeoutMs.
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;
    void Terminate();

    DWORD ProcessId() const { return info_.dwProcessId; }
    DWORD ThreadId() const { return info_.dwThreadId; }

  private:
    PROCESS_INFORMATION info_ = {};
};

// Handles messages of the calling thread for the given time: out-of-context hooks and sent messages
// need a pumping thread.
void PumpMessagesFor(DWORD milliseconds);

// Pumps messages until the predicate holds or the time is up; returns the predicate's last value.
template <typename Predicate>
bool WaitUntil(DWORD timeoutMs, Predicate predicate) {
    const DWORD start = GetTickCount();
    while (!predicate()) {
        if (GetTickCount() - start >= timeoutMs) {
            return predicate();
        }
        PumpMessagesFor(10);
    }
    return true;
}

}  // namespace testsupport
