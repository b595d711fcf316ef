#pragma once

#include <memory>

#include "skin/SkinColors.h"
#include "skin/SkinFont.h"
#include "skin/SkinFontTable.h"
#include "skin/SkinImageTable.h"

namespace SkinUI {

// The resources every window of the process can reach: the shared image and font tables, the
// process-wide default font (made on first use) and the default colours new windows start from. They
// live until the process ends; like all of the engine they are used from the user-interface thread.
struct SkinSharedResources {
    SkinImageTable images;
    SkinFontTable fonts;
    std::unique_ptr<SkinFontInfo> defaultFont;
    SkinDefaultColors defaultColors;

    static SkinSharedResources& Process();
};

}  // namespace SkinUI
