#include "skin/drawing/SharedResources.h"

namespace SkinUI {

SkinSharedResources& SkinSharedResources::Process() {
    static SkinSharedResources resources;
    return resources;
}

}  // namespace SkinUI
