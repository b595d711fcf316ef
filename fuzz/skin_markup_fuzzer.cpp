// Skin markup from outside the program: the first byte picks the encoding, the rest is the document.
// Every node of a parsed tree is visited the way the builder visits it.
#include <cstddef>
#include <cstdint>
#include <cwchar>

#include "skin/markup/Markup.h"

namespace {

void Visit(const SkinUI::CSkinMarkupNode& first, int depth) {
    for (SkinUI::CSkinMarkupNode node = first; node.IsValid(); node = node.NextSibling()) {
        if (node.Name() == nullptr || node.Text() == nullptr) {
            __builtin_trap();
        }
        const int count = node.AttributeCount();
        if (count < 0 || count > SkinUI::CSkinMarkupNode::kMaxAttributes) {
            __builtin_trap();
        }
        for (int i = 0; i < count; ++i) {
            const wchar_t* value = node.FindAttribute(node.AttributeName(i));
            if (value == nullptr) {
                __builtin_trap();
            }
            wchar_t buffer[8];
            node.AttributeValue(node.AttributeName(i), buffer, 8);
            if (std::wcslen(buffer) > 7 || std::wcslen(node.AttributeValue(i)) > 4 * 1024 * 1024) {
                __builtin_trap();
            }
        }
        if (node.HasChild() != node.FirstChild().IsValid() ||
            depth > SkinUI::CSkinMarkup::kDeepestNesting + 1) {
            __builtin_trap();
        }
        Visit(node.FirstChild(), depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto encoding = static_cast<SkinUI::SkinTextEncoding>(data[0] % 3);
    SkinUI::CSkinMarkup markup;
    if (markup.ParseBytes(data + 1, size - 1, encoding)) {
        Visit(markup.Root(), 0);
    } else if (markup.IsValid() || std::wcslen(markup.ErrorMessage()) == 0 ||
               std::wcslen(markup.ErrorLocation()) >= SkinUI::CSkinMarkup::kErrorLocationSize) {
        __builtin_trap();
    }
    return 0;
}
