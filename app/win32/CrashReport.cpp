#include "app/win32/CrashReport.h"

#include <dbghelp.h>

#include "services/win32/DefaultBrowser.h"
#include "windows/HallAddresses.h"

namespace app {

namespace {

constexpr wchar_t kDumpFileName[] = L"gravewinds-ie.dmp";
constexpr wchar_t kCrashNoticeText[] = L"检测到当前系统IE版本太低，建议去Tolvane游戏中心下载完整版";
constexpr wchar_t kCrashNoticeCaption[] = L"Tolvane-Runecourt";

// Closes the dump file however the writing went.
class DumpFile {
  public:
    DumpFile()
        : handle_(CreateFileW(kDumpFileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr)) {}
    ~DumpFile() {
        if (IsOpen()) {
            CloseHandle(handle_);
        }
    }
    DumpFile(const DumpFile&) = delete;
    DumpFile& operator=(const DumpFile&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_;
};

// A dump that cannot be made is not reported: the player hears of the crash from the notice anyway.
void WriteDump(EXCEPTION_POINTERS* exception) {
    DumpFile file;
    if (!file.IsOpen()) {
        return;
    }
    MINIDUMP_EXCEPTION_INFORMATION information = {};
    information.ThreadId = GetCurrentThreadId();
    information.ExceptionPointers = exception;
    information.ClientPointers = TRUE;
    MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file.Get(), MiniDumpNormal, &information,
                      nullptr, nullptr);
}

}  // namespace

LONG WINAPI CrashReportFilter(EXCEPTION_POINTERS* exception) {
    WriteDump(exception);
    if (MessageBoxW(nullptr, kCrashNoticeText, kCrashNoticeCaption, MB_OKCANCEL) == IDOK) {
        services::OpenUrl(hall::HelpPageAddress());
    }
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace app
