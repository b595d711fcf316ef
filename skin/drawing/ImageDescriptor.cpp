#include "skin/drawing/ImageDescriptor.h"

#include <algorithm>

#include "skin/drawing/ImageCompositor.h"
#include "skin/drawing/ResourceTables.h"

namespace SkinUI {

void SkinImageDescriptor::SetText(const std::wstring& text) {
    text_ = text;
    Reset();
}

void SkinImageDescriptor::Reset() {
    tried_ = false;
    resolved_ = false;
    keys_ = ImageDescriptorKeys{};
    image_.reset();
}

bool SkinImageDescriptor::Resolve(CSkinResourceTables& tables) {
    if (text_.empty()) {
        return false;
    }
    if (tried_ && !resolved_) {
        return false;
    }
    if (resolved_ && !image_.expired()) {
        return true;
    }
    if (!tried_) {
        tried_ = true;
        keys_ = ParseImageDescriptor(text_);
    }
    const std::wstring noType;
    std::shared_ptr<SkinImageInfo> image = tables.FindOrRegisterImage(
        keys_.imageName, keys_.fromResource ? keys_.resourceType : noType, keys_.mask, keys_.recolour);
    resolved_ = image != nullptr;
    image_ = image;
    return resolved_;
}

bool DrawImageDescriptor(SkinCanvas& canvas, CSkinResourceTables& resources, const SkinRect& item,
                         const SkinRect& paint, SkinImageDescriptor& descriptor) {
    if (!descriptor.Resolve(resources)) {
        return false;
    }
    const std::shared_ptr<SkinImageInfo> image = descriptor.Image();
    const ImageDescriptorKeys& keys = descriptor.Keys();
    const SkinRect dest = DescriptorDestination(item, keys.dest);
    if (!RectsOverlap(dest, item) || !RectsOverlap(dest, paint)) {
        return true;
    }
    ImageDrawParams params;
    params.source = keys.source.IsZero() ? SkinRect{0, 0, image->width, image->height} : keys.source;
    params.source.right = std::min(params.source.right, image->width);
    params.source.bottom = std::min(params.source.bottom, image->height);
    params.corners = keys.corner;
    params.fade = keys.fade;
    params.hole = keys.hole;
    params.xTiled = keys.xTiled;
    params.yTiled = keys.yTiled;
    CompositeImage(canvas, *image, dest, paint, params);
    return true;
}

}  // namespace SkinUI
