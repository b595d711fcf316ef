#pragma once

#include "skin/markup/MarkupNode.h"

namespace SkinUI {

class ISkinControlHost;
class ISkinWindowObject;

// The declarations at the top of a skin document, children of its root: "Image", "Font", "Default" and
// "MultiLanguage" (names and their attribute names matched without regard to ASCII letter case) go to
// the manager's tables in document order; then, when the root is a "Window" element and the manager
// serves a window, the root's attributes go to the manager's window settings and to `window`.
void ApplyResourceElements(const CSkinMarkupNode& root, ISkinControlHost& host, ISkinWindowObject* window);

// True for the four declaration elements, which are no controls.
bool IsResourceElement(const wchar_t* elementName);

}  // namespace SkinUI
