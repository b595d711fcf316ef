#include "skin/markup/Markup.h"
#include "skin/markup/AsciiText.h"

#include <cstring>
#include <cwctype>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "skin/markup/FileRead.h"
#include "skin/markup/TextCodec.h"
#include "skin/markup/TextCodecUtf8.h"
#include "skin/markup/Utf16Text.h"

namespace SkinUI {
namespace {

// Letters, digits, "_" and ":" of the ASCII range, looked up rather than compared.
struct NameCharTable {
    bool isName[128] = {};
    constexpr NameCharTable() {
        for (int c = 0; c < 128; ++c) {
            isName[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '_' || c == ':';
        }
    }
};
constexpr NameCharTable kNameChars;

bool IsNameChar(wchar_t c) {
    const auto code = static_cast<uint32_t>(c);
    if (code < 128) {
        return kNameChars.isName[code];
    }
    return std::iswalnum(static_cast<wint_t>(c)) != 0;
}

// Copies at most capacity - 1 characters of `text` and terminates.
void CopyCut(wchar_t* buffer, size_t capacity, const wchar_t* text) {
    size_t i = 0;
    for (; i + 1 < capacity && text[i] != 0; ++i) {
        buffer[i] = text[i];
    }
    buffer[i] = 0;
}

// Terminators after a copied source, for reads of up to sixteen bytes from any position up to its end.
constexpr size_t kSourcePadding = 16;

struct Entity {
    const char* name;  // after "&", with ";"
    size_t length;
    wchar_t character;
};

constexpr Entity kEntities[] = {
    {"amp;", 4, L'&'}, {"lt;", 3, L'<'}, {"gt;", 3, L'>'}, {"quot;", 5, L'"'}, {"apos;", 5, L'\''},
};

std::wstring Utf16BytesToWide(const uint8_t* bytes, size_t size, bool& converted) {
    converted = false;
    if (size < 2) {
        return std::wstring();
    }
    const bool littleEndian = bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool bigEndian = bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (!littleEndian && !bigEndian) {
        return std::wstring();
    }
    converted = true;
    const size_t count = size / 2 - 1;
    std::u16string units(count, u'\0');
    const uint8_t* p = bytes + 2;
    for (size_t i = 0; i < count; ++i, p += 2) {
        units[i] = littleEndian ? static_cast<char16_t>(p[0] | (p[1] << 8))
                                : static_cast<char16_t>((p[0] << 8) | p[1]);
    }
    return Utf16ToWide(units.data(), units.size());
}

const wchar_t* MessageFor(SkinFileStatus status) {
    switch (status) {
        case SkinFileStatus::OpenFailed:
            return L"Error opening file";
        case SkinFileStatus::Empty:
            return L"File is empty";
        case SkinFileStatus::TooLarge:
            return L"File too large";
        case SkinFileStatus::ShortRead:
            return L"Could not read file";
        case SkinFileStatus::ArchiveOpenFailed:
            return L"Error opening zip file";
        case SkinFileStatus::EntryMissing:
            return L"Could not find ziped file";
        case SkinFileStatus::ExtractFailed:
            return L"Could not unzip file";
        case SkinFileStatus::Loaded:
            break;
    }
    return L"";
}

}  // namespace

// One pass over the source: every character read is written to the text buffer (converted from
// UTF-8 where the source is bytes), terminators replace the characters that end names, values and
// contents, entities are replaced by their characters. The buffer position never runs ahead of the
// source position, so the source may be the buffer itself, and a place once written and passed is
// not written again except by the terminators set behind it.
template <typename Unit>
class SkinMarkupScanner {
  public:
    SkinMarkupScanner(CSkinMarkup& markup, const Unit* source, size_t length)
        : markup_(markup), s_(source), end_(source + length), text_(markup.text_.get()), o_(text_) {}

    bool Run() {
        const bool parsed = ParseElementList(0, 0);
        *o_ = 0;
        return parsed;
    }

  private:
    static constexpr bool kBytes = sizeof(Unit) == 1;

    // The unit `k` places ahead. The source ends with a terminator (a NUL inside it ends it as well),
    // and nothing looks past it.
    uint32_t Peek(size_t k = 0) const { return static_cast<uint32_t>(s_[k]); }
    uint32_t Offset() const { return static_cast<uint32_t>(o_ - text_); }
    // Copies the unit at the source position, which is neither the end nor part of a multi-byte form.
    void CopyUnit() { *o_++ = static_cast<wchar_t>(*s_++); }
    // Copies the character at the source position, which is not the end.
    void CopyCharacter() {
        if constexpr (kBytes) {
            if (*s_ >= 0x80) {
                s_ = reinterpret_cast<const Unit*>(DecodeUtf8Character(s_, end_, o_));
                return;
            }
        }
        CopyUnit();
    }
    void Put(wchar_t c) {
        *o_++ = c;
        ++s_;
    }

    // The scanning loops work on local copies of the two positions, which the compiler keeps in
    // registers: the writes through the text pointer would otherwise make it reload them.
    //
    // Blanks between the parts of the markup are never read from the text, so they are passed over
    // without being copied.
    void SkipBlanks() {
        const Unit* s = s_;
        while (IsMarkupBlank(static_cast<uint32_t>(*s))) {
            ++s;
        }
        s_ = s;
    }

    void SkipName() {
        const Unit* s = s_;
        wchar_t* o = o_;
#if defined(__SSE2__)
        if constexpr (kBytes) {
            // Letters (either case folded onto the small ones), digits with ":" just above them, and "_";
            // bytes of multi-byte forms are negative as signed bytes and fall outside every range.
            const __m128i zero = _mm_setzero_si128();
            for (;;) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
                const __m128i folded = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
                const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(folded, _mm_set1_epi8('a' - 1)),
                                                     _mm_cmpgt_epi8(_mm_set1_epi8('z' + 1), folded));
                const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                                    _mm_cmpgt_epi8(_mm_set1_epi8(':' + 1), bytes));
                const __m128i name =
                    _mm_or_si128(_mm_or_si128(letter, digit), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('_')));
                const auto other = ~static_cast<uint32_t>(_mm_movemask_epi8(name)) & 0xFFFF;
                WidenSixteen(bytes, zero, o);
                const uint32_t run = other != 0 ? static_cast<uint32_t>(__builtin_ctz(other)) : 16;
                s += run;
                o += run;
                if (run < 16) {
                    if (*s < 0x80) {
                        s_ = s;
                        o_ = o;
                        return;
                    }
                    break;  // a multi-byte form: the loop below decides
                }
            }
        }
#endif
        for (;;) {
            const auto c = static_cast<uint32_t>(*s);
            if (c < 128) {
                if (!kNameChars.isName[c]) {
                    break;
                }
                *o++ = static_cast<wchar_t>(c);
                ++s;
                continue;
            }
            if constexpr (kBytes) {
                // Decoded aside first: a character that ends the name is left for the caller to copy.
                wchar_t decoded[2];
                wchar_t* at = decoded;
                const uint8_t* after = DecodeUtf8Character(s, end_, at);
                if (!IsNameChar(decoded[0])) {
                    break;
                }
                for (const wchar_t* d = decoded; d < at; ++d) {
                    *o++ = *d;
                }
                s = after;
            } else {
                if (!IsNameChar(static_cast<wchar_t>(c))) {
                    break;
                }
                *o++ = static_cast<wchar_t>(*s++);
            }
        }
        s_ = s;
        o_ = o;
    }

    // Steps over "<!...->" or "<?...?>" from the character after "<"; to the end when it never closes.
    // Nothing inside is ever read again, so it is not copied.
    void SkipDeclaration() {
        const uint32_t closing = Peek() == '!' ? '-' : '?';
        ++s_;
        for (;;) {
            const uint32_t c = Peek();
            if (c == 0) {
                return;
            }
            ++s_;
            if (c == closing && Peek() == '>') {
                ++s_;
                return;
            }
        }
    }

    // The entity after the "&" at the source position, or null.
    const Entity* EntityAt() const {
        for (const Entity& entity : kEntities) {
            size_t i = 0;
            while (i < entity.length && Peek(i + 1) == static_cast<uint32_t>(entity.name[i])) {
                ++i;
            }
            if (i == entity.length) {
                return &entity;
            }
        }
        return nullptr;
    }

    // Copies characters up to the terminator, "&" or `end`.
    void CopyRun(uint32_t end) {
        const uint64_t stops = (1ull << 0) | (1ull << '&') | (1ull << end);
        const Unit* s = s_;
        wchar_t* o = o_;
        const Unit* const last = end_;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i ampersand = _mm_set1_epi8('&');
        const __m128i closing = _mm_set1_epi8(static_cast<char>(end));
#endif
        for (;;) {
            if constexpr (kBytes) {
                // Whole blocks of ASCII bytes without a stop, several at a time.
#if defined(__SSE2__)
                for (;;) {
                    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
                    const __m128i hits = _mm_or_si128(
                        _mm_or_si128(_mm_cmpeq_epi8(bytes, zero), _mm_cmpeq_epi8(bytes, ampersand)),
                        _mm_cmpeq_epi8(bytes, closing));
                    const auto flagged = static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(hits, bytes)));
                    // All sixteen are widened; those past the first flagged byte are written over later.
                    WidenSixteen(bytes, zero, o);
                    const uint32_t run = flagged != 0 ? static_cast<uint32_t>(__builtin_ctz(flagged)) : 16;
                    s += run;
                    o += run;
                    if (run < 16) {
                        break;
                    }
                }
#else
                constexpr uint64_t kOnes = 0x0101010101010101ull;
                constexpr uint64_t kHighs = 0x8080808080808080ull;
                const auto zeroByteIn = [](uint64_t v) { return (v - kOnes) & ~v & kHighs; };
                for (;;) {
                    uint64_t eight;
                    std::memcpy(&eight, s, 8);
                    const uint64_t flagged = (eight & kHighs) | zeroByteIn(eight) |
                                             zeroByteIn(eight ^ (kOnes * '&')) |
                                             zeroByteIn(eight ^ (kOnes * end));
                    // Only the lowest flagged byte is exact: a borrow may flag the bytes above it.
                    const size_t run = flagged != 0 ? static_cast<size_t>(__builtin_ctzll(flagged)) / 8 : 8;
                    for (size_t k = 0; k < run; ++k) {
                        o[k] = static_cast<wchar_t>((eight >> (8 * k)) & 0xFF);  // little-endian order
                    }
                    s += run;
                    o += run;
                    if (run < 8) {
                        break;
                    }
                }
#endif
            }
            const auto c = static_cast<uint32_t>(*s);
            if (c < 64 && ((stops >> c) & 1) != 0) {
                break;
            }
            if constexpr (kBytes) {
                if (c >= 0x80) {
                    s = DecodeUtf8Character(s, last, o);
                    continue;
                }
            }
            *o++ = static_cast<wchar_t>(c);
            ++s;
        }
        s_ = s;
        o_ = o;
    }

    // Reads text up to `end` (or the end of the text), replacing entities. Returns where the text's
    // terminator belongs.
    wchar_t* ReadText(uint32_t end) {
        const bool preserve = markup_.preserveWhitespace_;
        for (;;) {
            if (preserve) {
                CopyRun(end);
            }
            const uint32_t c = Peek();
            if (c == 0 || c == end) {
                return o_;
            }
            if (c == '&') {
                if (const Entity* entity = EntityAt()) {
                    *o_++ = entity->character;
                    s_ += entity->length + 1;
                    continue;
                }
            }
            if (!preserve && IsMarkupBlank(c)) {
                CopyUnit();
                while (IsMarkupBlank(Peek())) {
                    ++s_;
                }
                continue;
            }
            CopyCharacter();
        }
    }

    bool Fail(const wchar_t* message) {
        // Where parsing stopped: the source from there on, as text (a character of two units may
        // overrun the kept length by one; the copy cuts it as it cuts any text).
        wchar_t location[CSkinMarkup::kErrorLocationSize + 1];
        wchar_t* out = location;
        wchar_t* const last = location + CSkinMarkup::kErrorLocationSize - 1;
        for (const Unit* p = s_; *p != 0 && out < last;) {
            if constexpr (kBytes) {
                if (*p >= 0x80) {
                    p = reinterpret_cast<const Unit*>(DecodeUtf8Character(p, end_, out));
                    continue;
                }
            }
            *out++ = static_cast<wchar_t>(*p++);
        }
        *out = 0;
        return markup_.Fail(message, location);
    }

    // One list of sibling elements under `parent`, up to its parent's end tag (left for the caller)
    // or the end of the text. The end of the text closes the top-level elements and the children of
    // the first element; anything left open deeper is an error.
    bool ParseElementList(uint32_t parent, int depth) {
        if (depth > CSkinMarkup::kDeepestNesting) {
            return Fail(L"Elements nested too deeply");
        }
        const bool endCloses = parent <= 1;
        uint32_t previous = 0;
        for (;;) {
            SkipBlanks();
            if (Peek() == 0 && endCloses) {
                return true;
            }
            if (Peek() != '<') {
                return Fail(L"Expected start tag");
            }
            if (Peek(1) == '/') {
                return true;
            }
            CopyUnit();
            SkipBlanks();
            if (Peek() == '!' || Peek() == '?') {
                SkipDeclaration();
                continue;
            }
            const uint32_t index = markup_.AppendElement();
            std::vector<SkinMarkupElement>& elements = markup_.elements_;
            elements[index].namePosition = Offset();
            elements[index].parent = parent;
            if (previous != 0) {
                elements[previous].nextSibling = index;
            } else if (parent != 0) {
                elements[parent].firstChild = index;
            }
            previous = index;

            const Unit* const nameSource = s_;
            SkipName();
            const Unit* const nameSourceEnd = s_;
            wchar_t* const nameEnd = o_;
            if (Peek() == 0) {
                return Fail(L"Error parsing element name");
            }
            if (!ParseAttributes()) {
                return false;
            }
            SkipBlanks();
            if (Peek() == '/' && Peek(1) == '>') {
                elements[index].dataPosition = Offset();
                Put(0);
                CopyUnit();
                *nameEnd = 0;
                continue;
            }
            if (Peek() != '>') {
                return Fail(L"Expected start-tag closing");
            }
            CopyUnit();
            elements[index].dataPosition = Offset();
            wchar_t* const contentEnd = ReadText('<');  // stops at "<" or the end of the text
            if (Peek() == '<' && Peek(1) != '/') {
                if (!ParseElementList(index, depth + 1)) {
                    return false;
                }
            }
            if (Peek() == 0) {
                if (!endCloses) {
                    return Fail(L"Expected end-tag start");
                }
                // The end of the text closes this element as its end tag would.
                *contentEnd = 0;
                *nameEnd = 0;
                return true;
            }
            // At "</": copied before the terminator goes behind it, so that nothing writes over it.
            CopyUnit();
            CopyUnit();
            *contentEnd = 0;
            SkipBlanks();
            if (!SkipClosingName(text_ + elements[index].namePosition, nameEnd, nameSource, nameSourceEnd)) {
                return Fail(L"Unmatched closing tag");
            }
            SkipBlanks();
            if (Peek() != '>') {
                return Fail(L"Unmatched closing tag");
            }
            ++s_;
            *nameEnd = 0;
        }
    }

    // Steps over the name of an end tag when it is the start tag's, which the text holds from `name`
    // to `nameEnd` and the source from `source` to `sourceEnd`; leaves the source position where it
    // was when not. The end tag is never read from the text, so it is not copied.
    bool SkipClosingName(const wchar_t* name, const wchar_t* nameEnd, const Unit* source,
                         const Unit* sourceEnd) {
        const Unit* p = s_;
        if constexpr (kBytes) {
            // Bytes compare as the characters they decode to (a name holds no ill-formed part, which
            // alone could decode like other bytes), and they were not written over, unlike the source
            // of a text parsed in place.
            for (const Unit* n = source; n < sourceEnd; ++n, ++p) {
                if (*p != *n) {
                    return false;
                }
            }
        } else {
            for (const wchar_t* n = name; n < nameEnd; ++n, ++p) {
                if (*p != *n) {
                    return false;
                }
            }
        }
        s_ = p;
        return true;
    }

    // The attributes of a start tag, from the character after the element's name. Names and values
    // are terminated; the "=" and a closing quote that is not itself a terminator become blanks.
    bool ParseAttributes() {
        // "/" stays for the empty-element check; the name is terminated there with the element.
        if (Peek() == '>' || Peek() == '/') {
            return true;
        }
        Put(0);
        SkipBlanks();
        while (Peek() != 0 && Peek() != '>' && Peek() != '/') {
            SkipName();
            wchar_t* const nameEnd = o_;
            SkipBlanks();
            if (Peek() != '=') {
                return Fail(L"Error while parsing attributes");
            }
            Put(L' ');
            *nameEnd = 0;
            SkipBlanks();
            const uint32_t quote = Peek();
            if (quote != 0) {
                CopyCharacter();
            }
            if (quote != '"') {
                return Fail(L"Expected attribute value");
            }
            wchar_t* const valueEnd = ReadText('"');
            if (Peek() == 0) {
                return Fail(L"Error while parsing attribute string");
            }
            Put(L' ');
            *valueEnd = 0;
            SkipBlanks();
        }
        return true;
    }

    CSkinMarkup& markup_;
    const Unit* s_;
    const Unit* const end_;
    wchar_t* const text_;
    wchar_t* o_;
};

bool CSkinMarkup::ParseText(const wchar_t* text) {
    Clear();
    if (text == nullptr) {
        return FailLoad(L"No text to parse");
    }
    const size_t length = std::wcslen(text);
    if (length >= std::numeric_limits<uint32_t>::max()) {
        return FailLoad(L"Text too long");
    }
    text_.reset(new wchar_t[length + 1]);
    std::memcpy(text_.get(), text, (length + 1) * sizeof(wchar_t));
    return ParseUnits(text_.get(), length);
}

bool CSkinMarkup::ParseBytes(const void* bytes, size_t size, SkinTextEncoding encoding) {
    Clear();
    if (bytes == nullptr && size > 0) {
        return FailLoad(L"No text to parse");
    }
    const auto* data = static_cast<const uint8_t*>(bytes);
    switch (encoding) {
        case SkinTextEncoding::Utf8: {
            const bool marked = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
            const size_t skip = marked ? 3 : 0;
            if (size - skip >= std::numeric_limits<uint32_t>::max()) {
                return FailLoad(L"Text too long");
            }
            // The bytes are scanned sixteen at a time: a copy of them padded with terminators lets every
            // read stay inside it without a bounds check. It sits behind the text in the same block. The
            // text needs no more characters than there are bytes, plus room for sixteen written at once.
            const size_t length = size - skip;
            const size_t textUnits = length + kSourcePadding;
            const size_t copyUnits = (length + kSourcePadding + sizeof(wchar_t) - 1) / sizeof(wchar_t);
            text_.reset(new wchar_t[textUnits + copyUnits]);
            auto* copy = reinterpret_cast<uint8_t*>(text_.get() + textUnits);
            std::memcpy(copy, data + skip, length);
            std::memset(copy + length, 0, kSourcePadding);
            return ParseUnits(static_cast<const uint8_t*>(copy), length);
        }
        case SkinTextEncoding::Ansi: {
            if (size >= std::numeric_limits<uint32_t>::max()) {
                return FailLoad(L"Text too long");
            }
            text_.reset(new wchar_t[size + 1]);
            const size_t length = AnsiToWide(static_cast<const char*>(bytes), size, text_.get());
            text_[length] = 0;
            return ParseUnits(text_.get(), length);
        }
        case SkinTextEncoding::Utf16: {
            bool converted = false;
            const std::wstring converted16 = Utf16BytesToWide(data, size, converted);
            if (!converted) {
                return FailLoad(L"Text without byte-order mark");
            }
            if (converted16.size() >= std::numeric_limits<uint32_t>::max()) {
                return FailLoad(L"Text too long");
            }
            text_.reset(new wchar_t[converted16.size() + 1]);
            std::memcpy(text_.get(), converted16.c_str(), (converted16.size() + 1) * sizeof(wchar_t));
            return ParseUnits(text_.get(), converted16.size());
        }
    }
    return FailLoad(L"Unknown text encoding");
}

bool CSkinMarkup::ParseSkinFile(const std::wstring& fileName, SkinTextEncoding encoding) {
    Clear();
    std::vector<uint8_t> bytes;
    const SkinFileStatus status = ReadSkinFile(fileName, kLargestSkinFile, bytes);
    if (status != SkinFileStatus::Loaded) {
        return FailLoad(MessageFor(status));
    }
    return ParseBytes(bytes.data(), bytes.size(), encoding);
}

void CSkinMarkup::Clear() {
    text_.reset();
    elements_ = std::vector<SkinMarkupElement>();
    elementCount_ = 0;
    elementCapacity_ = 0;
}

CSkinMarkupNode CSkinMarkup::Root() const {
    return elementCount_ > 1 ? CSkinMarkupNode(this, 1) : CSkinMarkupNode();
}

template <typename Unit>
bool CSkinMarkup::ParseUnits(const Unit* source, size_t length) {
    errorMessage_[0] = 0;
    errorLocation_[0] = 0;
    AppendElement();  // element 0 stands for the document
    if (!SkinMarkupScanner<Unit>(*this, source, length).Run()) {
        Clear();
        return false;
    }
    return true;
}

uint32_t CSkinMarkup::AppendElement() {
    if (elementCount_ == 0) {
        elementCapacity_ = 0;
        elements_ = std::vector<SkinMarkupElement>();
    }
    if (elementCount_ >= elementCapacity_) {
        elementCapacity_ += elementCapacity_ / 2 + 500;
        elements_.reserve(elementCapacity_);
    }
    elements_.emplace_back();
    return elementCount_++;
}

bool CSkinMarkup::Fail(const wchar_t* message, const wchar_t* location) {
    CopyCut(errorMessage_, kErrorMessageSize, message);
    CopyCut(errorLocation_, kErrorLocationSize, location);
    return false;
}

bool CSkinMarkup::FailLoad(const wchar_t* message) {
    Clear();
    return Fail(message, L"");
}

}  // namespace SkinUI
