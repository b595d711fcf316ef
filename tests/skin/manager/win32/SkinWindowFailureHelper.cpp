// Creates a skinned window from a skin that cannot be built: the window base reports it with a message
// box and ends the program with exit code 1. Returning 2 means it did not.
#include <windows.h>

#include "skin/manager/win32/WindowImplBase.h"

namespace {

class BrokenSkinWnd : public SkinUI::WindowImplBase {
  public:
    const wchar_t* WindowClassName() const override { return L"BrokenSkinWnd"; }
    std::wstring SkinFileName() const override { return L"broken.xml"; }
    SkinUI::SkinSourceKind SkinSourceKind() const override { return SkinUI::SkinSourceKind::ArchiveResource; }
    uint32_t SkinResourceId() const override { return 113; }
};

}  // namespace

int main() {
    BrokenSkinWnd window;
    window.CreateNativeWindow(nullptr, L"Broken skin", WS_OVERLAPPEDWINDOW, 0);
    return 2;
}
