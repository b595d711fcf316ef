#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/controls/ControlUI.h"

namespace SkinUI {

// The control a mouse point falls on: visible controls only, the one painted last found first.
CControlUI* FindControlAt(CControlUI& root, const SkinPoint& point);

// Every control of the tree the search flags let through, each container before its children: a list
// to walk while the walk may change the tree.
std::vector<CControlUI*> ControlsInTreeOrder(CControlUI& root, uint32_t flags);

// The first control of the tree with that name (letter case counts), or null.
CControlUI* FindControlByName(CControlUI& root, const std::wstring& name);

}  // namespace SkinUI
