#pragma once

#include <map>
#include <string>

#include "skin/controls/Event.h"

namespace SkinUI {

// Hands a window's notifications on: to the virtual window a notification names, when one is
// registered under that name, else to the pump's own handler.
class CNotifyPump {
  public:
    CNotifyPump() = default;
    virtual ~CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    // The pump must outlive its registration. False when the name is empty or taken.
    bool AddVirtualWindow(const std::wstring& name, CNotifyPump* pump);
    bool RemoveVirtualWindow(const std::wstring& name);
    // True when a handler took the notification.
    bool PumpNotify(SkinNotify& notify);

  protected:
    // The pump's own handling; nothing by default.
    virtual bool HandlePumpedNotify(SkinNotify& notify);

  private:
    std::map<std::wstring, CNotifyPump*> virtualWindows_;
};

}  // namespace SkinUI
