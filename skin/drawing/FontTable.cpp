#include "skin/drawing/FontTable.h"

#include <cstdint>

namespace SkinUI {
namespace {

constexpr uint8_t kDefaultCharSet = 1;
constexpr int32_t kBoldWeightStep = 700;
constexpr int32_t kBoldWeight = 700;

// -value without overflow for the one value that has no negative.
int32_t Negated(int32_t value) {
    return value == INT32_MIN ? INT32_MAX : -value;
}

std::unique_ptr<SkinFontInfo> MakeFontRecord(SkinFontEngine& engine, const SkinFontDescription& description) {
    std::unique_ptr<SkinFontObject> font = engine.MakeFont(description);
    if (!font) {
        return nullptr;
    }
    auto record = std::make_unique<SkinFontInfo>();
    record->font = std::move(font);
    record->faceName = description.faceName;
    record->size = description.height < 0 ? Negated(description.height) : description.height;
    record->underline = description.underline;
    record->italic = description.italic;
    record->metrics = engine.Metrics(record->Handle());
    return record;
}

}  // namespace

void SkinFontTable::Insert(int32_t id, std::unique_ptr<SkinFontInfo> font) {
    fonts_[id] = std::move(font);
}

const SkinFontInfo* SkinFontTable::Find(int32_t id) const {
    const auto found = fonts_.find(id);
    return found != fonts_.end() ? found->second.get() : nullptr;
}

void SkinFontTable::Clear() {
    fonts_.clear();
}

std::unique_ptr<SkinFontInfo> MakeSkinFont(SkinFontEngine& engine, const std::wstring& faceName, int32_t size,
                                           bool bold, bool underline, bool italic) {
    SkinFontDescription description = engine.SystemFont();
    description.faceName = faceName.substr(0, kMaxFontFaceLength);
    description.charSet = kDefaultCharSet;
    description.height = Negated(size);
    if (bold) {
        description.weight += kBoldWeightStep;
    }
    description.underline = underline;
    description.italic = italic;
    std::unique_ptr<SkinFontInfo> record = MakeFontRecord(engine, description);
    if (record) {
        record->size = size;
        record->bold = bold;
    }
    return record;
}

std::unique_ptr<SkinFontInfo> MakeSystemDefaultFont(SkinFontEngine& engine) {
    SkinFontDescription description = engine.SystemFont();
    description.faceName = description.faceName.substr(0, kMaxFontFaceLength);
    description.charSet = kDefaultCharSet;
    std::unique_ptr<SkinFontInfo> record = MakeFontRecord(engine, description);
    if (record) {
        record->bold = description.weight >= kBoldWeight;
    }
    return record;
}

}  // namespace SkinUI
