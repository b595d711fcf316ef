#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/drawing/Canvas.h"
#include "skin/drawing/Image.h"
#include "skin/drawing/ImageDescriptorKeys.h"

namespace SkinUI {

class CSkinResourceTables;

// One image attribute of a control: its text, parsed and resolved against the window's resources the
// first time it is drawn. A descriptor that failed to resolve stays failed until its text changes.
class SkinImageDescriptor {
  public:
    SkinImageDescriptor() = default;
    explicit SkinImageDescriptor(std::wstring text) : text_(std::move(text)) {}

    const std::wstring& Text() const { return text_; }
    // Stores new text and forgets the resolution.
    void SetText(const std::wstring& text);
    // Forgets the resolution: the next draw parses and resolves again.
    void Reset();
    bool IsEmpty() const { return text_.empty(); }
    bool Tried() const { return tried_; }
    // The image is resolved and still held by its table.
    bool IsResolved() const { return !image_.expired(); }

    // Parses and looks up the image on first use; true when there is an image to draw. An image that its
    // table has since replaced or dropped is looked up again by name.
    bool Resolve(CSkinResourceTables& tables);
    std::shared_ptr<SkinImageInfo> Image() const { return image_.lock(); }
    const ImageDescriptorKeys& Keys() const { return keys_; }

  private:
    std::wstring text_;
    bool tried_ = false;
    bool resolved_ = false;
    ImageDescriptorKeys keys_;
    std::weak_ptr<SkinImageInfo> image_;
};

// Draws an image attribute into the item rectangle, limited to the paint rectangle; resolves the
// descriptor against the window's resources on first use. False when the descriptor is empty or its
// image cannot be had; true otherwise, even when nothing of it falls into the paint rectangle.
bool DrawImageDescriptor(SkinCanvas& canvas, CSkinResourceTables& resources, const SkinRect& item,
                         const SkinRect& paint, SkinImageDescriptor& descriptor);

}  // namespace SkinUI
