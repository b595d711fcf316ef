#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "skin/drawing/Font.h"
#include "skin/drawing/FontTable.h"
#include "skin/drawing/ImageTable.h"
#include "skin/markup/Colors.h"
#include "skin/resources/DefaultAttributeLists.h"

namespace SkinUI {

// The resources every window of the process can reach: the shared image and font tables, the
// process-wide default font (made on first use), the default colours new windows start from, the
// shared default attribute lists and the language strings (texts by numeric id) of the skins. They
// live until the process ends; like all of the engine they are used from the user-interface thread.
struct SkinSharedResources {
    SkinImageTable images;
    SkinFontTable fonts;
    std::unique_ptr<SkinFontInfo> defaultFont;
    SkinDefaultColors defaultColors;
    SkinDefaultAttributeLists defaultAttributes;
    std::map<int32_t, std::wstring> languageStrings;

    static SkinSharedResources& Process();
};

}  // namespace SkinUI
