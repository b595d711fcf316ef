#include "app/ProcessRole.h"

namespace app {

ProcessRole RoleForArgumentCount(int argumentCount) {
    if (argumentCount == 5) {
        return ProcessRole::Child;
    }
    if (argumentCount == 1) {
        return ProcessRole::Hall;
    }
    return ProcessRole::None;
}

}  // namespace app
