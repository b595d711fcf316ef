#include "skin/SkinSharedResources.h"

namespace SkinUI {

SkinSharedResources& SkinSharedResources::Process() {
    static SkinSharedResources resources;
    return resources;
}

}  // namespace SkinUI
