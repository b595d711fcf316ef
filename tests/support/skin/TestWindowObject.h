#pragma once

#include "skin/controls/ISkinWindowObject.h"

namespace testsupport {

// A window object that only remembers its transparent-background flag.
class TestWindowObject : public SkinUI::ISkinWindowObject {
  public:
    bool transparent = false;
    int transparencyCalls = 0;

    void SetTransparentBackground(bool value) override {
        transparent = value;
        ++transparencyCalls;
    }
    bool TransparentBackground() const override { return transparent; }
};

}  // namespace testsupport
