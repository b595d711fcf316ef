#include "skin/drawing/ImageTable.h"

namespace SkinUI {

void SkinImageTable::Insert(const std::wstring& name, std::shared_ptr<SkinImageInfo> image) {
    images_[name] = std::move(image);
}

std::shared_ptr<SkinImageInfo> SkinImageTable::Find(const std::wstring& name) const {
    const auto found = images_.find(name);
    return found != images_.end() ? found->second : nullptr;
}

bool SkinImageTable::Remove(const std::wstring& name) {
    return images_.erase(name) != 0;
}

void SkinImageTable::Clear() {
    images_.clear();
}

}  // namespace SkinUI
