#pragma once

#include "skin/controls/Event.h"

namespace SkinUI {

// Receives the notifications of a skin window (a button's "click", "windowinit" and the like).
class INotifyUI {
  public:
    virtual void OnNotify(SkinNotify& notify) = 0;

  protected:
    ~INotifyUI() = default;
};

}  // namespace SkinUI
