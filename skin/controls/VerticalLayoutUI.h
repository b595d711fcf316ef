#pragma once

#include "skin/controls/LinearLayoutUI.h"

namespace SkinUI {

// Children stacked from top to bottom; those without a height share what the others leave.
class CVerticalLayoutUI : public CLinearLayoutUI {
  public:
    CVerticalLayoutUI();

    const wchar_t* ClassName() const override;
    void* FindInterface(const wchar_t* name) override;
};

}  // namespace SkinUI
