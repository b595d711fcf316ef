#pragma once

#include <string>

#include "skin/controls/ControlUI.h"

namespace SkinUI {

// The control a mouse point falls on: visible controls only, the one painted last found first.
CControlUI* FindControlAt(CControlUI& root, const SkinPoint& point);

// The first control of the tree with that name (letter case counts), or null.
CControlUI* FindControlByName(CControlUI& root, const std::wstring& name);

}  // namespace SkinUI
