#include "skin/manager/NotifyPump.h"

namespace SkinUI {

bool CNotifyPump::AddVirtualWindow(const std::wstring& name, CNotifyPump* pump) {
    if (name.empty() || pump == nullptr || pump == this) {
        return false;
    }
    return virtualWindows_.emplace(name, pump).second;
}

bool CNotifyPump::RemoveVirtualWindow(const std::wstring& name) {
    return virtualWindows_.erase(name) != 0;
}

bool CNotifyPump::PumpNotify(SkinNotify& notify) {
    if (!notify.virtualWindow.empty()) {
        auto it = virtualWindows_.find(notify.virtualWindow);
        if (it != virtualWindows_.end()) {
            return it->second->PumpNotify(notify);
        }
    }
    return HandlePumpedNotify(notify);
}

bool CNotifyPump::HandlePumpedNotify(SkinNotify&) {
    return false;
}

}  // namespace SkinUI
