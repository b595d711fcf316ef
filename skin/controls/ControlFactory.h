#pragma once

#include <memory>

#include "skin/controls/ControlUI.h"

namespace SkinUI {

// Makes a control for an element name, or null.
using SkinControlCreator = std::unique_ptr<CControlUI> (*)(const wchar_t* elementName);

// The engine's own element names ("Control", "VerticalLayout", "Button" ...), matched without
// regard to ASCII letter case; null for any other name.
std::unique_ptr<CControlUI> CreateControlByName(const wchar_t* elementName);

// Creators the application adds for elements of its own, asked in the order they were added when
// the engine's table has no such name. Process-wide; used from the user-interface thread.
void AddControlExtension(SkinControlCreator creator);
bool RemoveControlExtension(SkinControlCreator creator);
std::unique_ptr<CControlUI> CreateExtensionControl(const wchar_t* elementName);

}  // namespace SkinUI
