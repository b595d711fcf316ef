#pragma once

#include <map>
#include <string>

namespace SkinUI {

// Attribute lists that every control of an element name gets before its own attributes (the skin's
// "Default" elements). Element names match without regard to ASCII letter case, as elements do.
class SkinDefaultAttributeLists {
  public:
    // Replaces the list of the element name.
    void Set(const std::wstring& elementName, const std::wstring& attributeList);
    // The list of the element name, or null.
    const std::wstring* Find(const wchar_t* elementName) const;
    void Clear() { lists_.clear(); }
    size_t Size() const { return lists_.size(); }

  private:
    std::map<std::wstring, std::wstring> lists_;
};

}  // namespace SkinUI
