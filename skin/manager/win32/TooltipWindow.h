#pragma once

#include <windows.h>

#include <string>

namespace SkinUI {

// The tooltip of a skinned window: a system tooltip window owned by it, made the first time a tip is
// shown and destroyed with the object. One tool covers the control the pointer rests on.
class SkinTooltipWindow {
  public:
    explicit SkinTooltipWindow(HWND owner = nullptr) : owner_(owner) {}
    ~SkinTooltipWindow();
    SkinTooltipWindow(const SkinTooltipWindow&) = delete;
    SkinTooltipWindow& operator=(const SkinTooltipWindow&) = delete;

    void SetOwner(HWND owner);
    bool Exists() const { return tip_ != nullptr; }
    HWND Handle() const { return tip_; }
    // The delay before a tip shows, in milliseconds; negative while there is no tooltip window.
    int InitialDelay() const;
    // Shows `text` (lines broken at `maxWidth` pixels) for the tool rectangle, in client coordinates.
    void Show(const std::wstring& text, int maxWidth, const RECT& toolRect);
    void Hide();

  private:
    bool Create();
    void Destroy();

    HWND owner_;
    HWND tip_ = nullptr;
    bool toolAdded_ = false;
    std::wstring text_;
};

}  // namespace SkinUI
