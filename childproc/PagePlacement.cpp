#include "childproc/PagePlacement.h"

namespace childproc {
namespace {

PageRect Inset(const PageRect& owner) {
    return {owner.left + 500, owner.top + 400, owner.right - 300, owner.bottom - 400};
}

}  // namespace

PagePlacement ChoosePagePlacement(const std::string& address, const PageRect& ownerClient,
                                  const PageRect& ownerScreen) {
    PagePlacement placement;
    placement.asChild = address.find("aschildxsd=1") != std::string::npos;
    placement.serverList = address.find("server_list?") != std::string::npos;
    if (placement.asChild) {
        placement.rect = Inset(ownerClient);
        placement.style = kChildPageStyle;
        placement.exStyle = 0;
    } else {
        placement.rect = Inset(ownerScreen);
    }
    return placement;
}

}  // namespace childproc
