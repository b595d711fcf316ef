#include "skin/SkinMarkup.h"

#include <cstring>
#include <cwctype>
#include <limits>

#include "skin/SkinFileRead.h"
#include "skin/TextCodec.h"
#include "skin/Utf16Text.h"

namespace SkinUI {
namespace {

bool IsBlank(wchar_t c) {
    return c >= 1 && c <= 32;
}

void SkipBlanks(wchar_t*& p) {
    wchar_t* q = p;  // a local the compiler keeps in a register
    while (IsBlank(*q)) {
        ++q;
    }
    p = q;
}

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

void SkipName(wchar_t*& p) {
    wchar_t* q = p;
    while (IsNameChar(*q)) {
        ++q;
    }
    p = q;
}

// Copies at most capacity - 1 characters of `text` and terminates.
void CopyCut(wchar_t* buffer, size_t capacity, const wchar_t* text) {
    size_t i = 0;
    for (; i + 1 < capacity && text[i] != 0; ++i) {
        buffer[i] = text[i];
    }
    buffer[i] = 0;
}

// Steps over "<!...->" or "<?...?>" from the character after "<"; to the end when it never closes.
void SkipDeclaration(wchar_t*& p) {
    const wchar_t closing = *p == L'!' ? L'-' : L'?';
    ++p;
    while (*p != 0 && !(p[0] == closing && p[1] == L'>')) {
        ++p;
    }
    if (*p != 0) {
        p += 2;
    }
}

struct Entity {
    const wchar_t* name;  // after "&", with ";"
    size_t length;
    wchar_t character;
};

constexpr Entity kEntities[] = {
    {L"amp;", 4, L'&'}, {L"lt;", 3, L'<'}, {L"gt;", 3, L'>'}, {L"quot;", 5, L'"'}, {L"apos;", 5, L'\''},
};

// The entity at `p` (which points after "&"), or null. The text is terminated, so the comparison
// stops at its end.
const Entity* EntityAt(const wchar_t* p) {
    for (const Entity& entity : kEntities) {
        size_t i = 0;
        while (i < entity.length && p[i] == entity.name[i]) {
            ++i;
        }
        if (i == entity.length) {
            return &entity;
        }
    }
    return nullptr;
}

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

bool CSkinMarkup::ParseText(const wchar_t* text) {
    Clear();
    if (text == nullptr) {
        return FailLoad(L"No text to parse");
    }
    const size_t length = std::wcslen(text);
    std::unique_ptr<wchar_t[]> copy(new wchar_t[length + 1]);
    std::memcpy(copy.get(), text, (length + 1) * sizeof(wchar_t));
    return ParseOwnedText(std::move(copy), length);
}

bool CSkinMarkup::ParseBytes(const void* bytes, size_t size, SkinTextEncoding encoding) {
    Clear();
    if (bytes == nullptr && size > 0) {
        return FailLoad(L"No text to parse");
    }
    const auto* data = static_cast<const uint8_t*>(bytes);
    const auto* chars = static_cast<const char*>(bytes);
    switch (encoding) {
        case SkinTextEncoding::Utf8:
        case SkinTextEncoding::Ansi: {
            const bool marked = encoding == SkinTextEncoding::Utf8 && size >= 3 && data[0] == 0xEF &&
                                data[1] == 0xBB && data[2] == 0xBF;
            const size_t skip = marked ? 3 : 0;
            // Never more characters than bytes; the buffer is filled by the conversion.
            std::unique_ptr<wchar_t[]> text(new wchar_t[size - skip + 1]);
            const size_t length = encoding == SkinTextEncoding::Utf8
                                      ? Utf8ToWide(chars + skip, size - skip, text.get())
                                      : AnsiToWide(chars, size, text.get());
            text[length] = 0;
            return ParseOwnedText(std::move(text), length);
        }
        case SkinTextEncoding::Utf16: {
            bool converted = false;
            const std::wstring converted16 = Utf16BytesToWide(data, size, converted);
            if (!converted) {
                return FailLoad(L"Text without byte-order mark");
            }
            std::unique_ptr<wchar_t[]> text(new wchar_t[converted16.size() + 1]);
            std::memcpy(text.get(), converted16.c_str(), (converted16.size() + 1) * sizeof(wchar_t));
            return ParseOwnedText(std::move(text), converted16.size());
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

bool CSkinMarkup::ParseOwnedText(std::unique_ptr<wchar_t[]> text, size_t length) {
    if (length >= std::numeric_limits<uint32_t>::max()) {
        return FailLoad(L"Text too long");
    }
    text_ = std::move(text);
    errorMessage_[0] = 0;
    errorLocation_[0] = 0;
    AppendElement();  // element 0 stands for the document
    wchar_t* p = text_.get();
    if (!ParseElementList(0, p, 0)) {
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

// One list of sibling elements under `parent`, up to its parent's end tag (left for the caller) or
// the end of the text. The end of the text closes the top-level elements and the children of the
// first element; anything left open deeper is an error.
bool CSkinMarkup::ParseElementList(uint32_t parent, wchar_t*& p, int depth) {
    if (depth > kDeepestNesting) {
        return Fail(L"Elements nested too deeply", p);
    }
    const bool endCloses = parent <= 1;
    uint32_t previous = 0;
    for (;;) {
        SkipBlanks(p);
        if (*p == 0 && endCloses) {
            return true;
        }
        if (*p != L'<') {
            return Fail(L"Expected start tag", p);
        }
        if (p[1] == L'/') {
            return true;
        }
        ++p;
        SkipBlanks(p);
        if (*p == L'!' || *p == L'?') {
            SkipDeclaration(p);
            continue;
        }
        const uint32_t index = AppendElement();
        SkinMarkupElement& element = elements_[index];
        element.namePosition = Offset(p);
        element.parent = parent;
        if (previous != 0) {
            elements_[previous].nextSibling = index;
        } else if (parent != 0) {
            elements_[parent].firstChild = index;
        }
        previous = index;

        SkipName(p);
        wchar_t* const nameEnd = p;
        if (*p == 0) {
            return Fail(L"Error parsing element name", p);
        }
        if (!ParseAttributes(p)) {
            return false;
        }
        SkipBlanks(p);
        if (p[0] == L'/' && p[1] == L'>') {
            elements_[index].dataPosition = Offset(p);
            *p = 0;
            p += 2;
            *nameEnd = 0;
            continue;
        }
        if (*p != L'>') {
            return Fail(L"Expected start-tag closing", p);
        }
        ++p;
        elements_[index].dataPosition = Offset(p);
        wchar_t* const contentEnd = ReadText(p, L'<');  // stops at "<" or the end of the text
        if (*p == L'<' && p[1] != L'/') {
            if (!ParseElementList(index, p, depth + 1)) {
                return false;
            }
        }
        if (*p == 0) {
            if (!endCloses) {
                return Fail(L"Expected end-tag start", p);
            }
            // The end of the text closes this element as its end tag would.
            *contentEnd = 0;
            *nameEnd = 0;
            return true;
        }
        // At "</".
        *contentEnd = 0;
        p += 2;
        SkipBlanks(p);
        const wchar_t* name = text_.get() + elements_[index].namePosition;
        const size_t nameLength = static_cast<size_t>(nameEnd - name);
        for (size_t i = 0; i < nameLength; ++i) {
            if (p[i] != name[i]) {
                return Fail(L"Unmatched closing tag", p);
            }
        }
        p += nameLength;
        SkipBlanks(p);
        if (*p != L'>') {
            return Fail(L"Unmatched closing tag", p);
        }
        ++p;
        *nameEnd = 0;
    }
}

// The attributes of a start tag, from the character after the element's name. Names and values are
// terminated in place; the "=" and a closing quote that is not itself a terminator become blanks.
bool CSkinMarkup::ParseAttributes(wchar_t*& p) {
    // "/" stays for the empty-element check; the name is terminated there with the element.
    if (*p == L'>' || *p == L'/') {
        return true;
    }
    *p++ = 0;
    SkipBlanks(p);
    while (*p != 0 && *p != L'>' && *p != L'/') {
        SkipName(p);
        wchar_t* const nameEnd = p;
        SkipBlanks(p);
        if (*p != L'=') {
            return Fail(L"Error while parsing attributes", p);
        }
        *p++ = L' ';
        *nameEnd = 0;
        SkipBlanks(p);
        const wchar_t quote = *p;
        if (quote != 0) {
            ++p;
        }
        if (quote != L'"') {
            return Fail(L"Expected attribute value", p);
        }
        wchar_t* const valueEnd = ReadText(p, L'"');
        if (*p == 0) {
            return Fail(L"Error while parsing attribute string", p);
        }
        if (valueEnd != p) {
            *p = L' ';
        }
        *valueEnd = 0;
        ++p;
        SkipBlanks(p);
    }
    return true;
}

// Reads text up to `end` (or the end of the text), replacing entities in place. The characters
// between the end of what was written and `p` become blanks so that the buffer stays one text.
// Returns where the text's terminator belongs.
wchar_t* CSkinMarkup::ReadText(wchar_t*& position, wchar_t end) const {
    wchar_t* p = position;
    if (preserveWhitespace_) {
        // Most texts hold no entity: nothing moves until the first "&". Every character that can
        // stop the scan ("<", the double quote, "&", the terminator) lies below 64, so one bit test
        // decides for most characters.
        const uint64_t stops = (1ull << 0) | (1ull << L'&') | (1ull << end);
        for (;;) {
            const auto c = static_cast<uint32_t>(*p);
            if (c < 64 && ((stops >> c) & 1) != 0) {
                break;
            }
            ++p;
        }
    }
    wchar_t* out = p;
    while (*p != 0 && *p != end) {
        if (*p == L'&') {
            if (const Entity* entity = EntityAt(p + 1)) {
                *out++ = entity->character;
                p += entity->length + 1;
                continue;
            }
        }
        const wchar_t c = *p++;
        *out++ = c;
        if (!preserveWhitespace_ && IsBlank(c)) {
            SkipBlanks(p);
        }
    }
    for (wchar_t* blank = out; blank < p; ++blank) {
        *blank = L' ';
    }
    position = p;
    return out;
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
