#include "childproc/win32/ChildProcessLink.h"

#include <objbase.h>

#include <cstring>

#include "childproc/CommandLines.h"
#include "childproc/IpcProtocol.h"
#include "childproc/win32/ChildIpcWindow.h"
#include "childproc/win32/ProgramProcess.h"

namespace childproc {

namespace {

constexpr DWORD kExecutablePathCapacity = 8192;
constexpr int kGuidTextCapacity = 64;

std::wstring NewIpcName() {
    GUID guid = {};
    wchar_t text[kGuidTextCapacity] = {};
    if (SUCCEEDED(CoCreateGuid(&guid)) && StringFromGUID2(guid, text, kGuidTextCapacity) > 0) {
        return IpcNameFromGuid(text);
    }
    return FallbackIpcName(GetCurrentProcessId(), GetTickCount());
}

HWND WaitForChildWindow(const std::wstring& ipcName) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kChildWindowSearchMs) {
        if (HWND window = FindWindowW(kChildIpcWindowClass, ipcName.c_str())) {
            return window;
        }
        Sleep(kChildWindowSearchStepMs);
    }
    return nullptr;
}

}  // namespace

int32_t SpawnChildProcess(ChildProcessLink& link, HWND hallWindow) {
    link.hallWindow = hallWindow;
    const std::wstring path = ExecutablePath(kExecutablePathCapacity);
    if (path.empty()) {
        return -1;
    }
    return SpawnChildProcessOf(link, hallWindow, path);
}

int32_t SpawnChildProcessOf(ChildProcessLink& link, HWND hallWindow, const std::wstring& executablePath) {
    link.hallWindow = hallWindow;
    const std::wstring ipcName = NewIpcName();
    // The child reads the handle back as a signed 32-bit number.
    const auto printed = static_cast<int32_t>(reinterpret_cast<intptr_t>(hallWindow));
    std::wstring commandLine = ChildProcessCommandLine(executablePath, printed, ipcName);

    StartedProgram started;
    if (!StartProgram(std::move(commandLine), started)) {
        return -1;
    }
    link.process = std::move(started.process);
    link.processId = started.processId;

    link.childIpcWindow = WaitForChildWindow(ipcName);
    return link.childIpcWindow != nullptr ? 0 : -1;
}

int32_t SendStartAddress(ChildProcessLink& link, const char* address, HWND ownerOverride) {
    if (!IsWindow(link.childIpcWindow)) {
        return -1;
    }
    const std::vector<uint8_t> record = address != nullptr
                                            ? WriteNarrowText(std::string_view(address, std::strlen(address)))
                                            : std::vector<uint8_t>();
    COPYDATASTRUCT copy = {};
    copy.dwData = reinterpret_cast<ULONG_PTR>(ownerOverride);
    copy.cbData = static_cast<DWORD>(record.size());
    copy.lpData = record.empty() ? nullptr : const_cast<uint8_t*>(record.data());
    SendMessageW(link.childIpcWindow, WM_COPYDATA, COPYDATA_OPEN_PAGE, reinterpret_cast<LPARAM>(&copy));
    return 0;
}

}  // namespace childproc
