// The markup parser on every encoding, well-formed and broken text and hostile nesting; the UTF-8
// decoder and the number reader underneath it.
#include <gtest/gtest.h>

#include <string>

#include "skin/markup/Markup.h"
#include "skin/markup/Numbers.h"
#include "skin/markup/TextCodecUtf8.h"
#include "skin/markup/Utf16Text.h"

namespace SkinUI {
namespace {

// The whole tree in one line: name, attributes, text content, children.
std::wstring Dump(const CSkinMarkupNode& node) {
    std::wstring out;
    for (CSkinMarkupNode n = node; n.IsValid(); n = n.NextSibling()) {
        out += n.Name();
        out += L"{";
        for (int i = 0; i < n.AttributeCount(); ++i) {
            out += std::wstring(n.AttributeName(i)) + L"=" + n.AttributeValue(i) + L";";
        }
        out += L"}[" + std::wstring(n.Text()) + L"]";
        if (n.HasChild()) {
            out += L"(" + Dump(n.FirstChild()) + L")";
        }
    }
    return out;
}

// The tree of a text parsed in place, after checking that its UTF-8 form, converted as it is scanned,
// gives the same tree.
std::wstring DumpOf(const wchar_t* text) {
    CSkinMarkup markup;
    EXPECT_TRUE(markup.ParseText(text)) << markup.ErrorMessage() << L" at " << markup.ErrorLocation();
    const std::wstring dump = Dump(markup.Root());
    const std::string utf8 = EncodeUtf8(text);
    EXPECT_TRUE(markup.ParseBytes(utf8.data(), utf8.size(), SkinTextEncoding::Utf8)) << text;
    EXPECT_EQ(Dump(markup.Root()), dump) << text;
    return dump;
}

std::string Utf16Bytes(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE");
    for (char16_t unit : WideToUtf16(text)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

const wchar_t kSample[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    L"<!-- the launcher -->\r\n"
    L"<Window size=\"1280,768\" caption=\"0,0,0,768\">\r\n"
    L"  <Font name=\"\u5fae\u8f6f\u96c5\u9ed1\" size=\"12\" />\r\n"
    L"  <VerticalLayout bkimage=\"bg.png\"><Button name=\"minibtn\" text=\"a&amp;b\"/></VerticalLayout>\r\n"
    L"</Window>\r\n";

TEST(SkinMarkup, EveryEncodingAndByteOrderYieldsTheSameTree) {
    const std::wstring expected = DumpOf(kSample);
    EXPECT_EQ(expected,
              L"Window{size=1280,768;caption=0,0,0,768;}[\r\n  ]("
              L"Font{name=\u5fae\u8f6f\u96c5\u9ed1;size=12;}[]"
              L"VerticalLayout{bkimage=bg.png;}[](Button{name=minibtn;text=a&b;}[])"
              L")");
    const std::string utf8 = EncodeUtf8(kSample);
    const std::string little = Utf16Bytes(kSample, false);
    // An odd last byte of a UTF-16 block is not part of the text.
    for (const auto& [bytes, encoding] :
         {std::pair{utf8, SkinTextEncoding::Utf8}, std::pair{"\xEF\xBB\xBF" + utf8, SkinTextEncoding::Utf8},
          std::pair{little + "<", SkinTextEncoding::Utf16},
          std::pair{Utf16Bytes(kSample, true), SkinTextEncoding::Utf16}}) {
        CSkinMarkup markup;
        ASSERT_TRUE(markup.ParseBytes(bytes.data(), bytes.size(), encoding)) << markup.ErrorMessage();
        EXPECT_EQ(Dump(markup.Root()), expected);
    }
    // UTF-16 without a byte-order mark is a failed load.
    CSkinMarkup markup;
    const char unmarked[] = {'<', 0, 'a', 0, '/', 0, '>', 0};
    EXPECT_FALSE(markup.ParseBytes(unmarked, sizeof unmarked, SkinTextEncoding::Utf16));
    EXPECT_FALSE(markup.IsValid());
    EXPECT_STRNE(markup.ErrorMessage(), L"");
}

TEST(SkinMarkup, WellFormedShapes) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        // The end of the text closes top-level elements and the children of the first.
        {L"<Window><Control />", L"Window{}[](Control{}[])"},
        {L"<Window><Label>hello", L"Window{}[](Label{}[hello])"},
        // Text is only what comes before the first child.
        {L"<a>x<!-- note --><b/></a>", L"a{}[x](b{}[])"},
        {L"<a v=\"a&amp;b&lt;c&#65;\">&gt;&quot;&apos;&amp;amp; & x</a>", L"a{v=a&b<c&#65;;}[>\"'&amp; & x]"},
        // A value that shrank keeps the rest of the start tag readable.
        {L"<a v=\"&lt;&lt;&lt;\" w=\"2\"/>", L"a{v=<<<;w=2;}[]"},
        {L"<a x = \"1\"\ty=\"2\"><b/><c/></a>", L"a{x=1;y=2;}[](b{}[]c{}[])"},
        // Values and texts beyond ASCII, and runs longer than the sixteen bytes scanned at once.
        {L"<Font name=\"\u5fae\u8f6f&amp;\U0001F600\">\u6e05\u7a7a</Font>",
         L"Font{name=\u5fae\u8f6f&\U0001F600;}[\u6e05\u7a7a]"},
        {L"<Button normalimage=\"file='abcdefghijklmnopqrstuvwxyz.png' corner='4,4,4,4'\">"
         L"abcdefghijklmnop&lt;qrstuvwxyz0123456789</Button>",
         L"Button{normalimage=file='abcdefghijklmnopqrstuvwxyz.png' corner='4,4,4,4';}"
         L"[abcdefghijklmnop<qrstuvwxyz0123456789]"},
    };
    for (const auto& [text, dump] : cases) {
        EXPECT_EQ(DumpOf(text), dump) << text;
    }
}

TEST(SkinMarkup, OnlyTheFirst64AttributesAreVisibleAndNamesAreCaseSensitive) {
    std::wstring text = L"<Control Width=\"99\"";
    for (int i = 0; i < 70; ++i) {
        text += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    }
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseText((text + L"/>").c_str()));
    CSkinMarkupNode node = markup.Root();
    EXPECT_EQ(node.AttributeCount(), 64);
    EXPECT_STREQ(node.AttributeValue(63), L"62");
    EXPECT_STREQ(node.AttributeName(64), L"");
    EXPECT_EQ(node.FindAttribute(L"a63"), nullptr);
    EXPECT_EQ(node.FindAttribute(L"width"), nullptr);

    wchar_t buffer[3] = {L'#', L'#', L'#'};
    EXPECT_TRUE(node.AttributeValue(L"Width", buffer, 2));
    EXPECT_STREQ(buffer, L"9");
    ASSERT_TRUE(markup.ParseText(L"  <!-- nothing -->  "));
    EXPECT_EQ(markup.Root().FirstChild().FindAttribute(L"x"), nullptr);
}

TEST(SkinMarkup, EachErrorGivesItsMessageAndWhereParsingStopped) {
    struct ErrorCase {
        const wchar_t* text;
        const wchar_t* message;
        const wchar_t* location;
    };
    const ErrorCase cases[] = {
        {L"<a></a> trailing", L"Expected start tag", L"trailing"},
        {L"<Window><Layout><Control />", L"Expected start tag", L""},
        {L"<Window", L"Error parsing element name", L""},
        {L"<a x>", L"Error while parsing attributes", L">"},
        {L"<a x='1'/>", L"Expected attribute value", L"1'/>"},
        {L"<a x=\"1/>", L"Error while parsing attribute string", L""},
        {L"<a><b><c>text", L"Expected end-tag start", L""},
        {L"<a></ab>", L"Unmatched closing tag", L"b>"},
    };
    for (const ErrorCase& c : cases) {
        CSkinMarkup markup;
        EXPECT_FALSE(markup.ParseText(c.text)) << c.text;
        EXPECT_STREQ(markup.ErrorMessage(), c.message) << c.text;
        EXPECT_STREQ(markup.ErrorLocation(), c.location) << c.text;
        EXPECT_FALSE(markup.Root().IsValid());
        const std::string utf8 = EncodeUtf8(c.text);
        EXPECT_FALSE(markup.ParseBytes(utf8.data(), utf8.size(), SkinTextEncoding::Utf8)) << c.text;
        EXPECT_STREQ(markup.ErrorMessage(), c.message) << c.text;
        EXPECT_STREQ(markup.ErrorLocation(), c.location) << c.text;
    }
    // Bytes that are no UTF-8 become replacement characters, in the tree and where parsing stopped;
    // a NUL byte ends the text.
    CSkinMarkup markup;
    const char broken[] = "<a v=\"\xFF\xE6\xB8\"><b/>\xC3x</a>";
    EXPECT_FALSE(markup.ParseBytes(broken, sizeof broken - 1, SkinTextEncoding::Utf8));
    EXPECT_STREQ(markup.ErrorLocation(), L"\uFFFDx</a>");
    const char cut[] = "<a v=\"\xFF\xE6\xB8\"/>\0<b";
    ASSERT_TRUE(markup.ParseBytes(cut, sizeof cut - 1, SkinTextEncoding::Utf8));
    EXPECT_EQ(Dump(markup.Root()), L"a{v=\uFFFD\uFFFD;}[]");
}

TEST(SkinMarkup, TheErrorLocationHoldsAtMost49CharactersAndStaysUntilTheNextParse) {
    const std::wstring tail(80, L'z');
    CSkinMarkup markup;
    EXPECT_FALSE(markup.ParseText((L"<a><b/>" + tail + L"</a>").c_str()));
    EXPECT_EQ(std::wstring(markup.ErrorLocation()), tail.substr(0, 49));
    markup.Clear();
    EXPECT_STREQ(markup.ErrorMessage(), L"Expected start tag");
    EXPECT_FALSE(markup.ParseText(nullptr));
}

TEST(SkinMarkup, DeepNestingIsRefusedInsteadOfExhaustingTheStack) {
    std::wstring fine;
    for (int i = 0; i < CSkinMarkup::kDeepestNesting; ++i) {
        fine = L"<a>" + fine + L"</a>";
    }
    CSkinMarkup markup;
    EXPECT_TRUE(markup.ParseText(fine.c_str())) << markup.ErrorMessage();
    std::wstring deep;
    for (int i = 0; i < 100000; ++i) {
        deep += L"<a>";
    }
    EXPECT_FALSE(markup.ParseText(deep.c_str()));
    EXPECT_STREQ(markup.ErrorMessage(), L"Elements nested too deeply");
}

std::wstring Decoded(const std::string& bytes) {
    return DecodeUtf8(bytes.data(), bytes.size());
}

std::wstring Replacements(size_t count) {
    return std::wstring(count, static_cast<wchar_t>(0xFFFD));
}
const std::wstring kFffd = Replacements(1);

TEST(TextCodec, Utf8DecodesEveryLengthAndCharactersBeyondTheBasicPlane) {
    EXPECT_EQ(Decoded("A\xC3\xA9\xE5\xBE\xAE"), L"A\u00e9\u5fae");
    const std::wstring clef = Decoded("\xF0\x9D\x84\x9E");
    if (sizeof(wchar_t) == 2) {
        ASSERT_EQ(clef.size(), 2u);
        EXPECT_EQ(static_cast<unsigned>(clef[0]), 0xD834u);
        EXPECT_EQ(static_cast<unsigned>(clef[1]), 0xDD1Eu);
    } else {
        ASSERT_EQ(clef.size(), 1u);
        EXPECT_EQ(static_cast<unsigned>(clef[0]), 0x1D11Eu);
    }
    EXPECT_EQ(Decoded(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(TextCodec, Utf8ReplacesEachIllFormedPartWithOneReplacementCharacter) {
    EXPECT_EQ(Decoded("\x80x"), kFffd + L"x");                // stray continuation byte
    EXPECT_EQ(Decoded("\xE5\xBEx"), kFffd + L"x");            // truncated before another character
    EXPECT_EQ(Decoded("\xC0\x80"), Replacements(2));          // overlong form of NUL
    EXPECT_EQ(Decoded("\xE0\x80\x80"), Replacements(3));      // overlong three-byte form
    EXPECT_EQ(Decoded("\xED\xA0\x80"), Replacements(3));      // an encoded surrogate
    EXPECT_EQ(Decoded("\xF4\x90\x80\x80"), Replacements(4));  // above U+10FFFF
    EXPECT_EQ(Decoded("\xF0\x9D\x84"), kFffd);
}

TEST(TextNumbers, EndPointsAfterTheDigitsOrAtTheStartWhenNoneWereRead) {
    const wchar_t* text = L" 12,34";
    const wchar_t* end = nullptr;
    EXPECT_EQ(ParseInt32(text, &end), 12);
    EXPECT_EQ(end, text + 3);
    const wchar_t* none = L" -x";
    EXPECT_EQ(ParseInt32(none, &end), 0);
    EXPECT_EQ(end, none);
    const wchar_t* hex = L"0xg";
    EXPECT_EQ(ParseUInt32(hex, &end, 16), 0u);  // "0" read, the x is not a prefix without a digit
    EXPECT_EQ(end, hex + 1);
}

TEST(TextNumbers, HexadecimalPrefixUnsignedNegationAndSaturation) {
    EXPECT_EQ(ParseUInt32(L"0xFF00ff00", nullptr, 16), 0xFF00FF00u);
    EXPECT_EQ(ParseUInt32(L"123456789", nullptr, 16), 0xFFFFFFFFu);
    EXPECT_EQ(ParseUInt32(L"-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseInt32(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInt32(L"4294967296"), INT32_MAX);
    EXPECT_EQ(ParseInt32(nullptr), 0);
}

}  // namespace
}  // namespace SkinUI
