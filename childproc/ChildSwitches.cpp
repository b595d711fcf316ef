#include "childproc/ChildSwitches.h"

#include "skin/markup/Numbers.h"

namespace childproc {

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool ParseChildSwitches(const std::vector<std::wstring>& arguments, ChildSwitches& out) {
    static const std::wstring kGameBox = L"-KVGameBox";
    static const std::wstring kChildProcess = L"-KVGameBoxChildProcess";
    static const std::wstring kHallWnd = L"-KVHallWnd=";
    static const std::wstring kIpcName = L"-ChildIPCWndName=";

    out = ChildSwitches();
    if (arguments.size() != 5) {
        return false;
    }
    if (!StartsWith(arguments[1], kGameBox) || !StartsWith(arguments[2], kChildProcess)) {
        return false;
    }
    if (StartsWith(arguments[3], kHallWnd)) {
        out.hallWindow = SkinUI::ParseInt32(arguments[3].c_str() + kHallWnd.size());
    }
    if (StartsWith(arguments[4], kIpcName)) {
        out.ipcName = arguments[4].substr(kIpcName.size());
    }
    return out.hallWindow != 0 && !out.ipcName.empty();
}

}  // namespace childproc
