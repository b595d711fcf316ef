#include "skin/drawing/ResourceTables.h"

#include "skin/drawing/ImageFile.h"

namespace SkinUI {
namespace {

bool StartsWithDigit(const std::wstring& name) {
    return !name.empty() && name[0] >= L'0' && name[0] <= L'9';
}

}  // namespace

CSkinResourceTables::CSkinResourceTables(SkinFontEngine& fonts, SkinSharedResources& shared)
    : fontEngine_(fonts), shared_(shared), defaultColors_(shared.defaultColors) {}

std::shared_ptr<SkinImageInfo> CSkinResourceTables::RegisterImage(const std::wstring& name,
                                                                  const std::wstring& type, uint32_t mask,
                                                                  bool recolour, bool shared) {
    if (name.empty() || (!type.empty() && !StartsWithDigit(name))) {
        return nullptr;
    }
    std::shared_ptr<SkinImageInfo> image = DecodeImageFile(name, type, mask);
    if (!image) {
        return nullptr;
    }
    image->recolour = recolour;
    image->resourceType = type;
    image->mask = mask;
    if (recolour) {
        const uint8_t* bits = image->Bits();
        image->sourcePixels.assign(bits, bits + image->pixels->ByteSize());
    }
    AddImage(name, image, shared);
    return image;
}

void CSkinResourceTables::AddImage(const std::wstring& name, std::shared_ptr<SkinImageInfo> image,
                                   bool shared) {
    (shared ? shared_.images : images_).Insert(name, std::move(image));
}

std::shared_ptr<SkinImageInfo> CSkinResourceTables::FindImage(const std::wstring& name) const {
    std::shared_ptr<SkinImageInfo> image = images_.Find(name);
    return image ? image : shared_.images.Find(name);
}

std::shared_ptr<SkinImageInfo> CSkinResourceTables::FindOrRegisterImage(const std::wstring& name,
                                                                        const std::wstring& type,
                                                                        uint32_t mask, bool recolour) {
    std::shared_ptr<SkinImageInfo> image = FindImage(name);
    return image ? image : RegisterImage(name, type, mask, recolour, false);
}

bool CSkinResourceTables::RemoveImage(const std::wstring& name) {
    return images_.Remove(name);
}

void CSkinResourceTables::RemoveAllImages() {
    images_.Clear();
}

void CSkinResourceTables::RemoveAllSharedImages() {
    shared_.images.Clear();
}

SkinFontHandle CSkinResourceTables::RegisterFont(int32_t id, const std::wstring& faceName, int32_t size,
                                                 bool bold, bool underline, bool italic, bool shared) {
    std::unique_ptr<SkinFontInfo> font = MakeSkinFont(fontEngine_, faceName, size, bold, underline, italic);
    if (!font) {
        return nullptr;
    }
    const SkinFontHandle handle = font->Handle();
    (shared ? shared_.fonts : fonts_).Insert(id, std::move(font));
    return handle;
}

SkinFontHandle CSkinResourceTables::SetBaseFont(const std::wstring& faceName, int32_t size, bool bold,
                                                bool underline, bool italic, bool shared) {
    std::unique_ptr<SkinFontInfo> font = MakeSkinFont(fontEngine_, faceName, size, bold, underline, italic);
    if (!font) {
        return nullptr;
    }
    const SkinFontHandle handle = font->Handle();
    (shared ? shared_.defaultFont : baseFont_) = std::move(font);
    return handle;
}

SkinFontHandle CSkinResourceTables::FontById(int32_t id) {
    const SkinFontInfo* record = FontRecordById(id);
    return record != nullptr ? record->Handle() : nullptr;
}

const SkinFontInfo* CSkinResourceTables::FontRecordById(int32_t id) {
    if (id >= 0) {
        if (const SkinFontInfo* own = fonts_.Find(id)) {
            return own;
        }
        if (const SkinFontInfo* common = shared_.fonts.Find(id)) {
            return common;
        }
    }
    return BaseFontRecord();
}

const SkinFontInfo* CSkinResourceTables::BaseFontRecord() {
    if (baseFont_) {
        return baseFont_.get();
    }
    if (!shared_.defaultFont) {
        shared_.defaultFont = MakeSystemDefaultFont(fontEngine_);
    }
    return shared_.defaultFont.get();
}

void CSkinResourceTables::RemoveAllFonts() {
    fonts_.Clear();
    baseFont_.reset();
}

}  // namespace SkinUI
