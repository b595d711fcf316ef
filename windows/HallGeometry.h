#pragma once

#include "skin/markup/Geometry.h"

namespace hall {

// A rectangle in pixels, right and bottom exclusive: the engine's own.
using Box = SkinUI::SkinRect;

// Where the page window sits over the launcher: its window rectangle less 384 left, 222 top, 170 right
// and 126 bottom. For the 1280 by 768 launcher that is the 726 by 420 frame of the background.
Box PageAreaOfLauncher(const Box& launcherWindow);

// Where the hosted page sits in the game window: the client area below the 30-pixel title row with a
// 3-pixel margin all round (3 left, 33 top, 3 right, 3 bottom).
Box HostedPageArea(const Box& gameClient);

// The maximised placement of the game window: the work area relative to its monitor's top-left corner.
// The window is maximised at (left, top) with the work area's width and height, so that a task bar on
// the left or top of the screen does not push it past the right or bottom edge.
Box MaximisedGamePlacement(const Box& monitor, const Box& workArea);

// Full-window dragging of the game window: outline dragging while the left button is held during a hit
// test, full-window dragging as soon as it is up again. Each change is made once.
class DragFullWindowsSwitch {
  public:
    enum class Change { None, SwitchOff, SwitchOn };
    Change OnHitTest(bool leftButtonDown);

  private:
    bool fullWindowsOn_ = false;
};

}  // namespace hall
