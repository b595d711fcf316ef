#include "skin/resources/DefaultAttributeLists.h"

#include "skin/markup/AsciiText.h"

namespace SkinUI {

void SkinDefaultAttributeLists::Set(const std::wstring& elementName, const std::wstring& attributeList) {
    lists_[AsciiLowerCase(elementName.c_str())] = attributeList;
}

const std::wstring* SkinDefaultAttributeLists::Find(const wchar_t* elementName) const {
    if (lists_.empty() || elementName == nullptr) {
        return nullptr;
    }
    const auto found = lists_.find(AsciiLowerCase(elementName));
    return found == lists_.end() ? nullptr : &found->second;
}

}  // namespace SkinUI
