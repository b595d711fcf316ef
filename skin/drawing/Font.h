#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace SkinUI {

// A font made by the platform's font engine. Code outside the engine only passes it around; the
// engine that made it knows what it holds.
class SkinFontObject {
  public:
    virtual ~SkinFontObject() = default;

  protected:
    SkinFontObject() = default;
    SkinFontObject(const SkinFontObject&) = delete;
    SkinFontObject& operator=(const SkinFontObject&) = delete;
};

using SkinFontHandle = const SkinFontObject*;

// What a font is made from. `height` follows the platform's convention: negative = character height in
// pixels, which is how skin fonts are made (height = -size).
struct SkinFontDescription {
    std::wstring faceName;
    int32_t height = 0;
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    uint8_t charSet = 1;  // the platform's default character set
};

// The measures of a font that layout needs.
struct SkinTextMetrics {
    int32_t height = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t averageCharWidth = 0;
    int32_t maxCharWidth = 0;
};

// One font of a window's or the process's font table.
struct SkinFontInfo {
    std::unique_ptr<SkinFontObject> font;
    std::wstring faceName;  // at most kMaxFontFaceLength characters
    int32_t size = 0;       // pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
    SkinTextMetrics metrics;

    SkinFontHandle Handle() const { return font.get(); }
};

// Longest face name a font description carries (the platform's limit, without the terminator).
constexpr size_t kMaxFontFaceLength = 31;

}  // namespace SkinUI
