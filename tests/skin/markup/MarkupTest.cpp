#include <gtest/gtest.h>

#include <string>

#include "skin/markup/Markup.h"
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
    const std::string ansi = "<Window name=\"x\"><Control /></Window>";
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseBytes(ansi.data(), ansi.size(), SkinTextEncoding::Ansi));
    EXPECT_EQ(Dump(markup.Root()), L"Window{name=x;}[](Control{}[])");

    // UTF-16 without a byte-order mark is a failed load.
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
        {L"<a/><b/>", L"a{}[]b{}[]"},
        // Text is only what comes before the first child.
        {L"<a>x<!-- note --><b/></a>", L"a{}[x](b{}[])"},
        {L"<a v=\"a&amp;b&lt;c&#65;\">&gt;&quot;&apos;&amp;amp; & x</a>", L"a{v=a&b<c&#65;;}[>\"'&amp; & x]"},
        // A value that shrank keeps the rest of the start tag readable.
        {L"<a v=\"&lt;&lt;&lt;\" w=\"2\"/>", L"a{v=<<<;w=2;}[]"},
        {L"<a x = \"1\"\ty=\"2\"><b/><c/></a>", L"a{x=1;y=2;}[](b{}[]c{}[])"},
        {L"<a x=\"1\">\"quoted\"</a>", L"a{x=1;}[\"quoted\"]"},
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
    EXPECT_STREQ(node.FindAttribute(L"Width"), L"99");
    EXPECT_EQ(node.FindAttribute(L"width"), nullptr);
    EXPECT_EQ(node.FindAttribute(L"a"), nullptr);

    wchar_t buffer[3] = {L'#', L'#', L'#'};
    EXPECT_TRUE(node.AttributeValue(L"Width", buffer, 2));
    EXPECT_STREQ(buffer, L"9");
    EXPECT_FALSE(node.AttributeValue(L"WIDTH", buffer, 3));

    // A copied node keeps its own attribute table.
    ASSERT_TRUE(markup.ParseText(L"<a x=\"1\"><b y=\"2\"/></a>"));
    node = markup.Root();
    const CSkinMarkupNode kept = node;
    node = node.FirstChild();
    EXPECT_STREQ(kept.AttributeValue(0), L"1");
    EXPECT_STREQ(node.FindAttribute(L"y"), L"2");

    ASSERT_TRUE(markup.ParseText(L"  <!-- nothing -->  "));
    EXPECT_FALSE(markup.Root().IsValid());
    EXPECT_EQ(markup.Root().Name(), nullptr);
    EXPECT_EQ(markup.Root().FindAttribute(L"x"), nullptr);
    EXPECT_FALSE(markup.Root().FirstChild().IsValid());
}

TEST(SkinMarkup, EachErrorGivesItsMessageAndWhereParsingStopped) {
    struct ErrorCase {
        const wchar_t* text;
        const wchar_t* message;
        const wchar_t* location;
    };
    const ErrorCase cases[] = {
        {L"x<a/>", L"Expected start tag", L"x<a/>"},
        {L"<a></a> trailing", L"Expected start tag", L"trailing"},
        {L"<a><b/>tail</a>", L"Expected start tag", L"tail</a>"},
        {L"<Window><Layout><Control />", L"Expected start tag", L""},
        {L"<Window", L"Error parsing element name", L""},
        {L"<a x>", L"Error while parsing attributes", L">"},
        {L"<a x=\"1\"?>", L"Error while parsing attributes", L"?>"},
        {L"<a x='1'/>", L"Expected attribute value", L"1'/>"},
        {L"<a x=", L"Expected attribute value", L""},
        {L"<a x=\"1/>", L"Error while parsing attribute string", L""},
        {L"<a /x>", L"Expected start-tag closing", L"/x>"},
        {L"<a><b><c>text", L"Expected end-tag start", L""},
        {L"<a></b>", L"Unmatched closing tag", L"b>"},
        {L"<ab></a>", L"Unmatched closing tag", L"a>"},
        {L"<a></ab>", L"Unmatched closing tag", L"b>"},
        {L"<a></a x>", L"Unmatched closing tag", L"x>"},
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
    EXPECT_TRUE(markup.ParseText(L"<a/>"));
    EXPECT_STREQ(markup.ErrorLocation(), L"");
    markup.Clear();
    EXPECT_FALSE(markup.IsValid());
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

TEST(SkinMarkup, WithoutPreservedWhitespaceABlankSwallowsTheBlanksAfterIt) {
    CSkinMarkup markup;
    markup.SetPreserveWhitespace(false);
    ASSERT_TRUE(markup.ParseText(L"<a v=\"x  \t y\">p  &amp;  q</a>"));
    EXPECT_STREQ(markup.Root().FindAttribute(L"v"), L"x y");
    EXPECT_STREQ(markup.Root().Text(), L"p & q");
}

}  // namespace
}  // namespace SkinUI
