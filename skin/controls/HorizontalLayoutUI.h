#pragma once

#include "skin/controls/LinearLayoutUI.h"

namespace SkinUI {

// Children side by side from left to right; those without a width share what the others leave.
class CHorizontalLayoutUI : public CLinearLayoutUI {
  public:
    CHorizontalLayoutUI();

    const wchar_t* ClassName() const override;
    void* FindInterface(const wchar_t* name) override;
};

}  // namespace SkinUI
