#include "childproc/CommandLines.h"

namespace childproc {

std::wstring ChildProcessCommandLine(const std::wstring& executablePath, int32_t hallWindow,
                                     const std::wstring& ipcName) {
    return L"\"" + executablePath + L"\" -KVGameBox -KVGameBoxChildProcess -KVHallWnd=" +
           std::to_wstring(hallWindow) + L" -ChildIPCWndName=" + ipcName;
}

std::wstring IpcNameFromGuid(const std::wstring& guidText) {
    return L"IPC:" + guidText;
}

std::wstring FallbackIpcName(uint32_t processId, uint32_t tick) {
    return L"IPC:PID=" + std::to_wstring(static_cast<int32_t>(processId)) + L".Tick=" + std::to_wstring(tick);
}

std::wstring WebProcessCommandLine(const std::wstring& executablePath, const std::wstring& address) {
    return L"\"" + executablePath + L"\" -KVGameBox -web " + address;
}

}  // namespace childproc
