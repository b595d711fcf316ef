#pragma once

#include <windows.h>

#include <string>

#include "tests/support/win32/ProcessProbe.h"
#include "tests/support/win32/TestProcess.h"

namespace testsupport {

// A launcher process started suspended with the probe hooks on its main thread; ended on destruction.
class ProbedLauncher {
  public:
    explicit ProbedLauncher(const std::wstring& arguments);
    ~ProbedLauncher();
    ProbedLauncher(const ProbedLauncher&) = delete;
    ProbedLauncher& operator=(const ProbedLauncher&) = delete;

    bool Ready() const {
        return started_ && record_ != nullptr && cbtHook_ != nullptr && getMessageHook_ != nullptr;
    }
    TestProcess& Process() { return process_; }
    const ProcessProbeRecord& Record() const { return *record_; }

  private:
    TestProcess process_;
    bool started_ = false;
    HANDLE mapping_ = nullptr;
    ProcessProbeRecord* record_ = nullptr;
    HMODULE hooks_ = nullptr;
    HHOOK cbtHook_ = nullptr;
    HHOOK getMessageHook_ = nullptr;
};

// The hall's two windows of a process, told apart by visibility.
struct HallWindows {
    HWND visible = nullptr;
    HWND hidden = nullptr;
};

HallWindows FindHallWindows(DWORD processId);

}  // namespace testsupport
