#pragma once

#include <map>
#include <memory>
#include <string>

#include "skin/drawing/Image.h"

namespace SkinUI {

// Decoded images by name. An image lives while the table or a drawing in progress holds it; descriptors
// only observe it, so replacing or removing an entry never leaves a descriptor pointing at freed pixels.
class SkinImageTable {
  public:
    // Stores the image under the name, replacing (and releasing) an image of the same name.
    void Insert(const std::wstring& name, std::shared_ptr<SkinImageInfo> image);
    std::shared_ptr<SkinImageInfo> Find(const std::wstring& name) const;
    bool Remove(const std::wstring& name);
    void Clear();
    size_t Size() const { return images_.size(); }

  private:
    std::map<std::wstring, std::shared_ptr<SkinImageInfo>> images_;
};

}  // namespace SkinUI
