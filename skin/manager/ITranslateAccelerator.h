#pragma once

#include <cstdint>

#include "skin/manager/WindowMessages.h"

namespace SkinUI {

// Offered every message of its window before anything else; a non-zero answer consumes the message.
class ITranslateAccelerator {
  public:
    virtual intptr_t TranslateAccelerator(const SkinWindowMessage& message) = 0;

  protected:
    ~ITranslateAccelerator() = default;
};

}  // namespace SkinUI
