#include "windows/HallGeometry.h"

namespace hall {

Box PageAreaOfLauncher(const Box& launcherWindow) {
    return {launcherWindow.left + 384, launcherWindow.top + 222, launcherWindow.right - 170,
            launcherWindow.bottom - 126};
}

Box HostedPageArea(const Box& gameClient) {
    return {gameClient.left + 3, gameClient.top + 33, gameClient.right - 3, gameClient.bottom - 3};
}

Box MaximisedGamePlacement(const Box& monitor, const Box& workArea) {
    return {workArea.left - monitor.left, workArea.top - monitor.top, workArea.right - monitor.left,
            workArea.bottom - monitor.top};
}

DragFullWindowsSwitch::Change DragFullWindowsSwitch::OnHitTest(bool leftButtonDown) {
    if (leftButtonDown && fullWindowsOn_) {
        fullWindowsOn_ = false;
        return Change::SwitchOff;
    }
    if (!leftButtonDown && !fullWindowsOn_) {
        fullWindowsOn_ = true;
        return Change::SwitchOn;
    }
    return Change::None;
}

}  // namespace hall
