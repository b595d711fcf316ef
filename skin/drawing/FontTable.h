#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "skin/drawing/Font.h"
#include "skin/drawing/FontEngine.h"

namespace SkinUI {

// Fonts by numeric id (the markup's "id").
class SkinFontTable {
  public:
    // Stores the font under the id, replacing (and freeing) a font of the same id.
    void Insert(int32_t id, std::unique_ptr<SkinFontInfo> font);
    const SkinFontInfo* Find(int32_t id) const;
    void Clear();
    size_t Size() const { return fonts_.size(); }

  private:
    std::map<int32_t, std::unique_ptr<SkinFontInfo>> fonts_;
};

// A skin font: the system font's description with the face name (cut to kMaxFontFaceLength characters),
// the default character set, height -size, 700 added to the weight when bold, underline and italic as
// asked. Null when the engine cannot make it.
std::unique_ptr<SkinFontInfo> MakeSkinFont(SkinFontEngine& engine, const std::wstring& faceName, int32_t size,
                                           bool bold, bool underline, bool italic);

// The process's default font: the system font itself with the default character set.
std::unique_ptr<SkinFontInfo> MakeSystemDefaultFont(SkinFontEngine& engine);

}  // namespace SkinUI
