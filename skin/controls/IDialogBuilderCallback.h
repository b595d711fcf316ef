#pragma once

#include <memory>

namespace SkinUI {

class CControlUI;

// The application's say in building a skin: a control for an element name the engine does not know,
// or null to skip the element with its subtree.
class IDialogBuilderCallback {
  public:
    virtual std::unique_ptr<CControlUI> MakeCustomControl(const wchar_t* elementName) = 0;

  protected:
    ~IDialogBuilderCallback() = default;
};

}  // namespace SkinUI
