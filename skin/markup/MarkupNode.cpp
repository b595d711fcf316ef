#include "skin/markup/MarkupNode.h"
#include "skin/markup/AsciiText.h"

#include "skin/markup/Markup.h"

namespace SkinUI {
namespace {

bool IsNameChar(wchar_t c) {
    return c != 0 && !IsMarkupBlank(c) && c != L'"' && c != L'>' && c != L'/';
}

}  // namespace

CSkinMarkupNode::CSkinMarkupNode(const CSkinMarkupNode& other) {
    *this = other;
}

CSkinMarkupNode& CSkinMarkupNode::operator=(const CSkinMarkupNode& other) {
    owner_ = other.owner_;
    element_ = other.element_;
    attributeCount_ = other.attributeCount_;
    for (int i = 0; i < attributeCount_; ++i) {
        attributes_[i] = other.attributes_[i];
    }
    return *this;
}

CSkinMarkupNode CSkinMarkupNode::NextSibling() const {
    if (owner_ == nullptr) {
        return CSkinMarkupNode();
    }
    const uint32_t next = owner_->Element(element_).nextSibling;
    return next != 0 ? CSkinMarkupNode(owner_, next) : CSkinMarkupNode();
}

CSkinMarkupNode CSkinMarkupNode::FirstChild() const {
    if (owner_ == nullptr) {
        return CSkinMarkupNode();
    }
    const uint32_t child = owner_->Element(element_).firstChild;
    return child != 0 ? CSkinMarkupNode(owner_, child) : CSkinMarkupNode();
}

bool CSkinMarkupNode::HasChild() const {
    return owner_ != nullptr && owner_->Element(element_).firstChild != 0;
}

const wchar_t* CSkinMarkupNode::Name() const {
    return owner_ != nullptr ? owner_->TextAt(owner_->Element(element_).namePosition) : nullptr;
}

const wchar_t* CSkinMarkupNode::Text() const {
    return owner_ != nullptr ? owner_->TextAt(owner_->Element(element_).dataPosition) : nullptr;
}

int CSkinMarkupNode::AttributeCount() const {
    if (owner_ != nullptr && attributeCount_ == 0) {
        MapAttributes();
    }
    return attributeCount_;
}

const wchar_t* CSkinMarkupNode::AttributeText(int i, uint32_t AttributePositions::*part) const {
    if (owner_ == nullptr) {
        return nullptr;
    }
    if (i < 0 || i >= AttributeCount()) {
        return L"";
    }
    return owner_->TextAt(attributes_[i].*part);
}

const wchar_t* CSkinMarkupNode::AttributeName(int i) const {
    return AttributeText(i, &AttributePositions::name);
}

const wchar_t* CSkinMarkupNode::AttributeValue(int i) const {
    return AttributeText(i, &AttributePositions::value);
}

const wchar_t* CSkinMarkupNode::FindAttribute(const wchar_t* name) const {
    if (owner_ == nullptr || name == nullptr) {
        return nullptr;
    }
    const int count = AttributeCount();
    for (int i = 0; i < count; ++i) {
        const wchar_t* candidate = owner_->TextAt(attributes_[i].name);
        size_t k = 0;
        while (candidate[k] != 0 && candidate[k] == name[k]) {
            ++k;
        }
        if (candidate[k] == name[k]) {
            return owner_->TextAt(attributes_[i].value);
        }
    }
    return nullptr;
}

bool CSkinMarkupNode::AttributeValue(const wchar_t* name, wchar_t* buffer, size_t capacity) const {
    const wchar_t* value = FindAttribute(name);
    if (value == nullptr) {
        return false;
    }
    if (buffer != nullptr && capacity > 0) {
        size_t i = 0;
        for (; i + 1 < capacity && value[i] != 0; ++i) {
            buffer[i] = value[i];
        }
        buffer[i] = 0;
    }
    return true;
}

// Walks the parsed start tag: name, terminator, then for each attribute its name and terminator,
// blanks (the former "=" among them), the opening quote, the value and its terminator. Parsing left
// every attribute name followed by its terminator, so anything else ends the walk: the ">" that
// closes the tag, or text content.
void CSkinMarkupNode::MapAttributes() const {
    const SkinMarkupElement& element = owner_->Element(element_);
    const wchar_t* const text = owner_->TextAt(0);
    const wchar_t* p = text + element.namePosition;
    const wchar_t* const end = text + element.dataPosition;
    while (*p != 0) {
        ++p;
    }
    ++p;
    int count = 0;
    while (p < end && count < kMaxAttributes) {
        while (IsMarkupBlank(*p)) {
            ++p;
        }
        const wchar_t* name = p;
        while (IsNameChar(*p) && *p != L'=') {
            ++p;
        }
        if (*p != 0 || p >= end) {
            break;
        }
        ++p;
        while (IsMarkupBlank(*p)) {
            ++p;
        }
        if (*p != L'"') {
            break;
        }
        ++p;
        attributes_[count].name = static_cast<uint32_t>(name - text);
        attributes_[count].value = static_cast<uint32_t>(p - text);
        ++count;
        while (*p != 0) {
            ++p;
        }
        ++p;
    }
    attributeCount_ = count;
}

}  // namespace SkinUI
