#pragma once

#include <cstdint>

namespace SkinUI {

// Looks at a window message before the manager does; setting `handled` ends the message with the result.
class IMessageFilterUI {
  public:
    virtual intptr_t HandleWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                         bool& handled) = 0;

  protected:
    ~IMessageFilterUI() = default;
};

}  // namespace SkinUI
