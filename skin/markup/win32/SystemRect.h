#pragma once

#include <windows.h>

#include "skin/markup/Geometry.h"

namespace SkinUI {

// The engine's rectangles and the system's have the same four edges.
inline RECT ToRect(const SkinRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

inline SkinRect FromRect(const RECT& r) {
    return SkinRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace SkinUI
