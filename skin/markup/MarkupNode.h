#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

class CSkinMarkup;

// A small value handle onto one element of a parsed CSkinMarkup, which must outlive it. The element's
// attributes are found on the first query, by scanning its start tag; at most 64 are visible.
class CSkinMarkupNode {
  public:
    static constexpr int kMaxAttributes = 64;

    CSkinMarkupNode() = default;
    CSkinMarkupNode(const CSkinMarkup* owner, uint32_t element) : owner_(owner), element_(element) {}
    CSkinMarkupNode(const CSkinMarkupNode& other);
    CSkinMarkupNode& operator=(const CSkinMarkupNode& other);

    bool IsValid() const { return owner_ != nullptr; }
    CSkinMarkupNode NextSibling() const;
    CSkinMarkupNode FirstChild() const;
    bool HasChild() const;

    // Null for an invalid node.
    const wchar_t* Name() const;
    // The text between the start tag and the first child (entities replaced); null for an invalid node.
    const wchar_t* Text() const;

    int AttributeCount() const;
    bool HasAnyAttribute() const { return AttributeCount() > 0; }
    // The i-th attribute in document order; an empty text when i is out of range, null for an
    // invalid node.
    const wchar_t* AttributeName(int i) const;
    const wchar_t* AttributeValue(int i) const;
    // The value of the first attribute named exactly `name` (letter case counts), or null.
    const wchar_t* FindAttribute(const wchar_t* name) const;
    // Copies that value into `buffer`, cut to capacity - 1 characters and always terminated. False
    // when there is no such attribute or the node is invalid.
    bool AttributeValue(const wchar_t* name, wchar_t* buffer, size_t capacity) const;

  private:
    struct AttributePositions {
        uint32_t name;
        uint32_t value;
    };

    void MapAttributes() const;
    const wchar_t* AttributeText(int i, uint32_t AttributePositions::*part) const;

    const CSkinMarkup* owner_ = nullptr;
    uint32_t element_ = 0;
    mutable int attributeCount_ = 0;  // 0 = not mapped yet (or none)
    mutable AttributePositions attributes_[kMaxAttributes];
};

}  // namespace SkinUI
