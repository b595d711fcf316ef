#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/markup/MarkupNode.h"

namespace SkinUI {

// How a block of markup bytes is encoded.
enum class SkinTextEncoding { Utf8 = 0, Utf16 = 1, Ansi = 2 };

// One element of a parsed document: positions are character offsets into the document's text,
// links are element indices (0 = none; element 0 stands for the document itself).
struct SkinMarkupElement {
    uint32_t namePosition = 0;
    uint32_t firstChild = 0;
    uint32_t nextSibling = 0;
    uint32_t parent = 0;
    uint32_t dataPosition = 0;  // the element's text content; an empty element's stands on a terminator
};

// Skin markup: elements, double-quoted attributes, the five named entities; comments and processing
// instructions are skipped. The whole text is kept in one buffer: names, values and text contents
// become terminated strings inside it, so nodes allocate nothing. UTF-8 bytes are converted as they
// are scanned, in one pass; other text is parsed in place. Nodes handed out stay valid until the next
// load or Clear.
class CSkinMarkup {
  public:
    static constexpr size_t kErrorMessageSize = 100;
    static constexpr size_t kErrorLocationSize = 50;
    // Skin files larger than this are refused.
    static constexpr uint64_t kLargestSkinFile = 4 * 1024 * 1024;
    // Deeper nesting is refused rather than parsed on an ever deeper stack.
    static constexpr int kDeepestNesting = 256;

    CSkinMarkup() = default;
    CSkinMarkup(const CSkinMarkup&) = delete;
    CSkinMarkup& operator=(const CSkinMarkup&) = delete;

    // Each load releases the previous document; on failure nothing is kept but the error texts.
    bool ParseText(const wchar_t* text);
    bool ParseBytes(const void* bytes, size_t size, SkinTextEncoding encoding);
    // A skin file from where the resource settings say skin files come from.
    bool ParseSkinFile(const std::wstring& fileName, SkinTextEncoding encoding);

    void Clear();
    bool IsValid() const { return !elements_.empty(); }
    // The first element of the document, or an invalid node when it holds none.
    CSkinMarkupNode Root() const;

    const wchar_t* ErrorMessage() const { return errorMessage_; }
    const wchar_t* ErrorLocation() const { return errorLocation_; }

    // When false, a blank inside text content or an attribute value swallows the blanks after it.
    void SetPreserveWhitespace(bool preserve) { preserveWhitespace_ = preserve; }
    bool PreservesWhitespace() const { return preserveWhitespace_; }

    uint32_t ElementCount() const { return elementCount_; }
    uint32_t ElementCapacity() const { return elementCapacity_; }

  private:
    friend class CSkinMarkupNode;
    template <typename Unit>
    friend class SkinMarkupScanner;

    // Parses `length` units of `source` into text_, which has room for length + 1 characters (it may
    // be the source itself: the text never grows as it is parsed).
    template <typename Unit>
    bool ParseUnits(const Unit* source, size_t length);
    uint32_t AppendElement();
    bool Fail(const wchar_t* message, const wchar_t* location);
    bool FailLoad(const wchar_t* message);

    const SkinMarkupElement& Element(uint32_t index) const { return elements_[index]; }
    const wchar_t* TextAt(uint32_t offset) const { return text_.get() + offset; }

    std::unique_ptr<wchar_t[]> text_;
    std::vector<SkinMarkupElement> elements_;
    uint32_t elementCount_ = 0;
    uint32_t elementCapacity_ = 0;
    wchar_t errorMessage_[kErrorMessageSize] = {};
    wchar_t errorLocation_[kErrorLocationSize] = {};
    bool preserveWhitespace_ = true;
};

}  // namespace SkinUI
