#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/SkinMarkup.h"
#include "skin/TextCodecUtf8.h"
#include "skin/Utf16Text.h"

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

std::wstring DumpOf(const wchar_t* text) {
    CSkinMarkup markup;
    EXPECT_TRUE(markup.ParseText(text)) << markup.ErrorMessage() << L" at " << markup.ErrorLocation();
    return Dump(markup.Root());
}

std::string Utf8(const std::wstring& text) {
    return EncodeUtf8(text);
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

TEST(SkinMarkup, DeclarationAndCommentAreSkippedAndTheFirstElementIsTheRoot) {
    EXPECT_EQ(DumpOf(kSample),
              L"Window{size=1280,768;caption=0,0,0,768;}[\r\n  ]("
              L"Font{name=\u5fae\u8f6f\u96c5\u9ed1;size=12;}[]"
              L"VerticalLayout{bkimage=bg.png;}[](Button{name=minibtn;text=a&b;}[])"
              L")");
}

TEST(SkinMarkup, EveryEncodingAndByteOrderYieldsTheSameTree) {
    const std::wstring expected = DumpOf(kSample);
    const std::string utf8 = Utf8(kSample);
    const std::string marked = "\xEF\xBB\xBF" + utf8;
    const std::string little = Utf16Bytes(kSample, false);
    const std::string big = Utf16Bytes(kSample, true);
    struct Case {
        const std::string* bytes;
        SkinTextEncoding encoding;
    };
    for (const Case& c : {Case{&utf8, SkinTextEncoding::Utf8}, Case{&marked, SkinTextEncoding::Utf8},
                          Case{&little, SkinTextEncoding::Utf16}, Case{&big, SkinTextEncoding::Utf16}}) {
        CSkinMarkup markup;
        ASSERT_TRUE(markup.ParseBytes(c.bytes->data(), c.bytes->size(), c.encoding)) << markup.ErrorMessage();
        EXPECT_EQ(Dump(markup.Root()), expected);
    }
    // An odd last byte of a UTF-16 block is not part of the text.
    const std::string odd = little + "<";
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseBytes(odd.data(), odd.size(), SkinTextEncoding::Utf16));
    EXPECT_EQ(Dump(markup.Root()), expected);
}

TEST(SkinMarkup, AnsiTextOfPlainCharactersParses) {
    const std::string text = "<Window name=\"x\"><Control /></Window>";
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseBytes(text.data(), text.size(), SkinTextEncoding::Ansi));
    EXPECT_EQ(Dump(markup.Root()), L"Window{name=x;}[](Control{}[])");
}

TEST(SkinMarkup, Utf16WithoutByteOrderMarkIsAFailedLoad) {
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseText(L"<a/>"));
    const char bytes[] = {'<', 0, 'a', 0, '/', 0, '>', 0};
    EXPECT_FALSE(markup.ParseBytes(bytes, sizeof bytes, SkinTextEncoding::Utf16));
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.ParseBytes("\xFF", 1, SkinTextEncoding::Utf16));
    EXPECT_STRNE(markup.ErrorMessage(), L"");
}

TEST(SkinMarkup, TheEndOfTheTextClosesTopLevelElementsAndChildrenOfTheFirst) {
    EXPECT_EQ(DumpOf(L"<Window><Control />"), L"Window{}[](Control{}[])");
    EXPECT_EQ(DumpOf(L"<Window>text"), L"Window{}[text]");
    EXPECT_EQ(DumpOf(L"<Window><Label>hello"), L"Window{}[](Label{}[hello])");
    EXPECT_EQ(DumpOf(L"<a/><b/>"), L"a{}[]b{}[]");

    CSkinMarkup markup;
    EXPECT_FALSE(markup.ParseText(L"<Window><Layout><Control />"));
    EXPECT_STREQ(markup.ErrorMessage(), L"Expected start tag");
    EXPECT_STREQ(markup.ErrorLocation(), L"");
    EXPECT_FALSE(markup.ParseText(L"<Window><Layout><Label>text"));
    EXPECT_STREQ(markup.ErrorMessage(), L"Expected end-tag start");
}

TEST(SkinMarkup, ElementTextIsOnlyWhatComesBeforeTheFirstChild) {
    EXPECT_EQ(DumpOf(L"<a>x<!-- note --><b/></a>"), L"a{}[x](b{}[])");
    CSkinMarkup markup;
    EXPECT_FALSE(markup.ParseText(L"<a><b/>tail</a>"));
    EXPECT_STREQ(markup.ErrorMessage(), L"Expected start tag");
    EXPECT_STREQ(markup.ErrorLocation(), L"tail</a>");
}

TEST(SkinMarkup, EntitiesAreReplacedAndNumericReferencesStayAsWritten) {
    EXPECT_EQ(DumpOf(L"<a v=\"a&amp;b&lt;c&#65;\">&gt;&quot;&apos;&amp;amp; & x</a>"),
              L"a{v=a&b<c&#65;;}[>\"'&amp; & x]");
    // A value that shrank keeps the rest of the start tag readable.
    EXPECT_EQ(DumpOf(L"<a v=\"&lt;&lt;&lt;\" w=\"2\"/>"), L"a{v=<<<;w=2;}[]");
}

TEST(SkinMarkup, ClosingEmptyElementNeedsNoBlankBeforeTheSlash) {
    EXPECT_EQ(DumpOf(L"<a><b/><c/></a>"), L"a{}[](b{}[]c{}[])");
    EXPECT_EQ(DumpOf(L"<a x = \"1\"\ty=\"2\"/>"), L"a{x=1;y=2;}[]");
}

TEST(SkinMarkup, ContentThatStartsWithAQuoteIsNotTakenForAnAttribute) {
    EXPECT_EQ(DumpOf(L"<a x=\"1\">\"quoted\"</a>"), L"a{x=1;}[\"quoted\"]");
}

TEST(SkinMarkup, OnlyTheFirst64AttributesAreVisible) {
    std::wstring text = L"<Control";
    for (int i = 0; i < 70; ++i) {
        text += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    }
    text += L"/>";
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseText(text.c_str()));
    CSkinMarkupNode node = markup.Root();
    EXPECT_EQ(node.AttributeCount(), 64);
    EXPECT_STREQ(node.AttributeName(63), L"a63");
    EXPECT_STREQ(node.AttributeValue(63), L"63");
    EXPECT_STREQ(node.AttributeName(64), L"");
    EXPECT_STREQ(node.AttributeValue(-1), L"");
    EXPECT_EQ(node.FindAttribute(L"a64"), nullptr);
    EXPECT_STREQ(node.FindAttribute(L"a0"), L"0");
}

TEST(SkinMarkup, AttributeLookupByNameIsCaseSensitiveAndCutsToTheBuffer) {
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseText(L"<Button width=\"35\" Width=\"99\" name=\"closebtn\" n=\"\"/>"));
    const CSkinMarkupNode node = markup.Root();
    EXPECT_STREQ(node.FindAttribute(L"width"), L"35");
    EXPECT_STREQ(node.FindAttribute(L"Width"), L"99");
    EXPECT_EQ(node.FindAttribute(L"WIDTH"), nullptr);
    EXPECT_EQ(node.FindAttribute(L"nam"), nullptr);
    EXPECT_STREQ(node.FindAttribute(L"n"), L"");

    wchar_t buffer[6] = {L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_TRUE(node.AttributeValue(L"name", buffer, 6));
    EXPECT_STREQ(buffer, L"close");
    EXPECT_FALSE(node.AttributeValue(L"Name", buffer, 6));
    EXPECT_TRUE(node.HasAnyAttribute());
}

TEST(SkinMarkup, InvalidNodesAnswerEmpty) {
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseText(L"  <!-- nothing -->  "));
    const CSkinMarkupNode root = markup.Root();
    EXPECT_TRUE(markup.IsValid());
    EXPECT_FALSE(root.IsValid());
    EXPECT_EQ(root.Name(), nullptr);
    EXPECT_EQ(root.AttributeName(0), nullptr);
    EXPECT_EQ(root.FindAttribute(L"x"), nullptr);
    EXPECT_FALSE(root.HasChild());
    EXPECT_FALSE(root.FirstChild().IsValid());
    EXPECT_FALSE(root.NextSibling().IsValid());
    EXPECT_EQ(root.AttributeCount(), 0);
}

TEST(SkinMarkup, NodesKeepTheirAttributeTableWhenCopied) {
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseText(L"<a x=\"1\"><b y=\"2\"/></a>"));
    CSkinMarkupNode a = markup.Root();
    ASSERT_EQ(a.AttributeCount(), 1);
    const CSkinMarkupNode copy = a;
    a = a.FirstChild();
    EXPECT_STREQ(copy.AttributeValue(0), L"1");
    EXPECT_STREQ(a.FindAttribute(L"y"), L"2");
}

struct ErrorCase {
    const wchar_t* text;
    const wchar_t* message;
    const wchar_t* location;
};

TEST(SkinMarkup, EachErrorGivesItsMessageAndWhereParsingStopped) {
    const ErrorCase cases[] = {
        {L"x<a/>", L"Expected start tag", L"x<a/>"},
        {L"<a></a> trailing", L"Expected start tag", L"trailing"},
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
        EXPECT_FALSE(markup.IsValid());
        EXPECT_FALSE(markup.Root().IsValid());
    }
}

TEST(SkinMarkup, TheErrorLocationHoldsAtMost49CharactersAndStaysUntilTheNextParse) {
    const std::wstring tail(80, L'z');
    CSkinMarkup markup;
    EXPECT_FALSE(markup.ParseText((L"<a><b/>" + tail + L"</a>").c_str()));
    EXPECT_EQ(std::wstring(markup.ErrorLocation()), tail.substr(0, 49));
    markup.Clear();
    EXPECT_STREQ(markup.ErrorMessage(), L"Expected start tag");
    EXPECT_TRUE(markup.ParseText(L"<a/>"));
    EXPECT_STREQ(markup.ErrorMessage(), L"");
    EXPECT_STREQ(markup.ErrorLocation(), L"");
}

TEST(SkinMarkup, DeepNestingIsRefusedInsteadOfExhaustingTheStack) {
    std::wstring deep;
    for (int i = 0; i < 100000; ++i) {
        deep += L"<a>";
    }
    CSkinMarkup markup;
    EXPECT_FALSE(markup.ParseText(deep.c_str()));
    EXPECT_STREQ(markup.ErrorMessage(), L"Elements nested too deeply");

    std::wstring fine;
    for (int i = 0; i < CSkinMarkup::kDeepestNesting; ++i) {
        fine += L"<a>";
    }
    for (int i = 0; i < CSkinMarkup::kDeepestNesting; ++i) {
        fine += L"</a>";
    }
    EXPECT_TRUE(markup.ParseText(fine.c_str())) << markup.ErrorMessage();
}

TEST(SkinMarkup, ElementRecordsGrowByHalfPlus500) {
    const auto capacityFor = [](int elements) {
        std::wstring text = L"<r>";
        for (int i = 1; i < elements; ++i) {
            text += L"<c/>";
        }
        text += L"</r>";
        CSkinMarkup markup;
        EXPECT_TRUE(markup.ParseText(text.c_str()));
        EXPECT_EQ(markup.ElementCount(), static_cast<uint32_t>(elements + 1));
        return markup.ElementCapacity();
    };
    EXPECT_EQ(capacityFor(499), 500u);  // 500 records with the document's own
    EXPECT_EQ(capacityFor(500), 1250u);
    EXPECT_EQ(capacityFor(1249), 1250u);
    EXPECT_EQ(capacityFor(1250), 2375u);
}

TEST(SkinMarkup, WithoutPreservedWhitespaceABlankSwallowsTheBlanksAfterIt) {
    CSkinMarkup markup;
    markup.SetPreserveWhitespace(false);
    ASSERT_TRUE(markup.ParseText(L"<a v=\"x  \t y\">p  &amp;  q</a>"));
    EXPECT_STREQ(markup.Root().FindAttribute(L"v"), L"x y");
    EXPECT_STREQ(markup.Root().Text(), L"p & q");
}

TEST(SkinMarkup, ClearReleasesTheDocument) {
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseText(L"<a/>"));
    EXPECT_TRUE(markup.IsValid());
    markup.Clear();
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.Root().IsValid());
    EXPECT_FALSE(markup.ParseText(nullptr));
}

}  // namespace
}  // namespace SkinUI
