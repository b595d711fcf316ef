#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/drawing/Font.h"
#include "skin/drawing/FontEngine.h"
#include "skin/drawing/FontTable.h"
#include "skin/drawing/Image.h"
#include "skin/drawing/ImageTable.h"
#include "skin/drawing/SharedResources.h"
#include "skin/markup/Colors.h"

namespace SkinUI {

// The images, fonts and default colours of one window, with the process-wide ones beside them. The
// window's manager owns one; lookups try the window's own table first, then the shared one.
class CSkinResourceTables {
  public:
    // Fonts are made by `fonts`, which must outlive the tables.
    explicit CSkinResourceTables(SkinFontEngine& fonts,
                                 SkinSharedResources& shared = SkinSharedResources::Process());
    CSkinResourceTables(const CSkinResourceTables&) = delete;
    CSkinResourceTables& operator=(const CSkinResourceTables&) = delete;

    // Images. The key is the name alone: a later request with another mask or type gets the cached image.
    // Loads and stores an image (in the shared table when `shared`), replacing one of the same name. With
    // a resource type, only a name starting with a digit (the resource id it spells) is loaded.
    std::shared_ptr<SkinImageInfo> RegisterImage(const std::wstring& name, const std::wstring& type,
                                                 uint32_t mask, bool recolour, bool shared);
    // Stores an image decoded elsewhere under the name, replacing one of the same name.
    void AddImage(const std::wstring& name, std::shared_ptr<SkinImageInfo> image, bool shared);
    std::shared_ptr<SkinImageInfo> FindImage(const std::wstring& name) const;
    std::shared_ptr<SkinImageInfo> FindOrRegisterImage(const std::wstring& name, const std::wstring& type,
                                                       uint32_t mask, bool recolour);
    bool RemoveImage(const std::wstring& name);
    void RemoveAllImages();
    void RemoveAllSharedImages();

    // Fonts. Null handles and records only when the platform cannot make a font at all.
    SkinFontHandle RegisterFont(int32_t id, const std::wstring& faceName, int32_t size, bool bold,
                                bool underline, bool italic, bool shared);
    // Replaces the window's default font, or the process-wide one when `shared`.
    SkinFontHandle SetBaseFont(const std::wstring& faceName, int32_t size, bool bold, bool underline,
                               bool italic, bool shared);
    // For id >= 0 the window's font of that id, else the shared one; when neither exists, or for a negative
    // id, the default font (the window's when set, else the process-wide one).
    SkinFontHandle FontById(int32_t id);
    const SkinFontInfo* FontRecordById(int32_t id);
    const SkinFontInfo* BaseFontRecord();
    void RemoveAllFonts();
    SkinFontEngine& FontEngine() { return fontEngine_; }

    // Default colours, copied from the process-wide ones when the tables are made.
    SkinDefaultColors& DefaultColors() { return defaultColors_; }
    const SkinDefaultColors& DefaultColors() const { return defaultColors_; }

    SkinSharedResources& Shared() { return shared_; }

  private:
    SkinFontEngine& fontEngine_;
    SkinSharedResources& shared_;
    SkinImageTable images_;
    SkinFontTable fonts_;
    std::unique_ptr<SkinFontInfo> baseFont_;
    SkinDefaultColors defaultColors_;
};

}  // namespace SkinUI
