// The two skins the program ships: they must parse, and every attribute must be one the engine knows,
// spelled as the engine spells it (attribute names are case-sensitive, unknown ones are ignored
// silently, so a typo would only show as a wrong-looking window).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "skin/SkinMarkup.h"

namespace SkinUI {
namespace {

std::string ReadSkinSource(const char* name) {
#ifdef _WIN32
    const std::string folder = std::string("Z:") + TOLVANE_SKIN_SOURCE_DIR;
#else
    const std::string folder = TOLVANE_SKIN_SOURCE_DIR;
#endif
    std::ifstream file(folder + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const std::set<std::wstring> kWindowAttributes = {
    L"size",   L"sizebox", L"caption",          L"roundcorner",      L"mininfo",      L"maxinfo",
    L"showdirty", L"alpha", L"bktrans",         L"disabledfontcolor", L"defaultfontcolor", L"linkfontcolor",
    L"linkhoverfontcolor", L"selectedcolor"};
const std::set<std::wstring> kFontAttributes = {L"id",     L"name",    L"size",   L"bold",
                                                L"underline", L"italic", L"default", L"shared"};
const std::set<std::wstring> kControlAttributes = {
    L"pos",         L"padding",        L"bkcolor",         L"bkcolor1",         L"bkcolor2",      L"bkcolor3",
    L"bordercolor", L"focusbordercolor", L"colorhsl",      L"bordersize",       L"leftbordersize", L"topbordersize",
    L"rightbordersize", L"bottombordersize", L"borderstyle", L"borderround",   L"bkimage",       L"width",
    L"height",      L"minwidth",       L"minheight",       L"maxwidth",         L"maxheight",     L"name",
    L"text",        L"tooltip",        L"userdata",        L"enabled",          L"mouse",         L"keyboard",
    L"visible",     L"float",          L"shortcut",        L"menu",             L"virtualwnd"};
const std::set<std::wstring> kLayoutAttributes = {L"inset",     L"mousechild",     L"vscrollbar", L"hscrollbar",
                                                  L"vscrollbarstyle", L"hscrollbarstyle", L"childpadding",
                                                  L"sepheight", L"sepwidth",       L"sepimm"};
const std::set<std::wstring> kButtonAttributes = {
    L"align",       L"valign",        L"endellipsis", L"font",         L"textcolor",     L"disabledtextcolor",
    L"textpadding", L"showhtml",      L"normalimage", L"hotimage",     L"pushedimage",   L"focusedimage",
    L"disabledimage", L"foreimage",   L"hotforeimage", L"hotbkcolor",  L"hottextcolor",  L"pushedtextcolor",
    L"focusedtextcolor",
    L"autocalcwidth",  // written in the game window's title; the engine ignores it
};

bool Known(const std::wstring& element, const std::wstring& attribute) {
    if (element == L"Window") {
        return kWindowAttributes.count(attribute) != 0;
    }
    if (element == L"Font") {
        return kFontAttributes.count(attribute) != 0;
    }
    if (kControlAttributes.count(attribute) != 0) {
        return element != L"Window" && element != L"Font";
    }
    if (element == L"VerticalLayout" || element == L"HorizontalLayout") {
        return kLayoutAttributes.count(attribute) != 0;
    }
    return element == L"Button" && kButtonAttributes.count(attribute) != 0;
}

void ExpectKnownAttributes(const CSkinMarkupNode& first) {
    for (CSkinMarkupNode n = first; n.IsValid(); n = n.NextSibling()) {
        for (int i = 0; i < n.AttributeCount(); ++i) {
            EXPECT_TRUE(Known(n.Name(), n.AttributeName(i))) << n.Name() << L" " << n.AttributeName(i);
        }
        ExpectKnownAttributes(n.FirstChild());
    }
}

// name -> "pos|normal|hot|pushed|text|other attributes" of every button below `first`.
void CollectButtons(const CSkinMarkupNode& first, std::map<std::wstring, std::map<std::wstring, std::wstring>>& out) {
    for (CSkinMarkupNode n = first; n.IsValid(); n = n.NextSibling()) {
        if (std::wstring(n.Name()) == L"Button") {
            auto& attributes = out[n.FindAttribute(L"name")];
            for (int i = 0; i < n.AttributeCount(); ++i) {
                attributes[n.AttributeName(i)] = n.AttributeValue(i);
            }
        }
        CollectButtons(n.FirstChild(), out);
    }
}

void ExpectFonts(const CSkinMarkupNode& window, const std::set<std::wstring>& sizes) {
    std::set<std::wstring> seen;
    for (CSkinMarkupNode n = window.FirstChild(); n.IsValid(); n = n.NextSibling()) {
        if (std::wstring(n.Name()) == L"Font") {
            EXPECT_STREQ(n.FindAttribute(L"name"), L"\u5fae\u8f6f\u96c5\u9ed1");
            EXPECT_EQ(n.FindAttribute(L"id"), nullptr);
            seen.insert(n.FindAttribute(L"size"));
        }
    }
    EXPECT_EQ(seen, sizes);
}

TEST(ShippedSkins, LauncherSkin) {
    const std::string bytes = ReadSkinSource("main.xml");
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseBytes(bytes.data(), bytes.size(), SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    const CSkinMarkupNode window = markup.Root();
    ASSERT_STREQ(window.Name(), L"Window");
    EXPECT_STREQ(window.FindAttribute(L"size"), L"1280,768");
    EXPECT_STREQ(window.FindAttribute(L"caption"), L"0,0,0,768");
    EXPECT_STREQ(window.FindAttribute(L"mininfo"), L"1280,768");
    EXPECT_STREQ(window.FindAttribute(L"maxinfo"), L"1280,768");
    EXPECT_STREQ(window.FindAttribute(L"bktrans"), L"true");
    ExpectKnownAttributes(window);
    ExpectFonts(window, {L"12", L"14", L"16"});

    std::map<std::wstring, std::map<std::wstring, std::wstring>> buttons;
    CollectButtons(window, buttons);
    ASSERT_EQ(buttons.size(), 6u);
    EXPECT_EQ(buttons[L"minibtn"][L"pos"], L"1072,132,1102,167");
    EXPECT_EQ(buttons[L"minibtn"][L"width"], L"35");
    EXPECT_EQ(buttons[L"closebtn"][L"pushedimage"], L"close.png");
    EXPECT_EQ(buttons[L"homebtn"][L"hotimage"], L"home_hover.png");
    EXPECT_EQ(buttons[L"cusbtn"][L"normalimage"], L"custom.png");
    EXPECT_EQ(buttons[L"bbsbtn"][L"pos"], L"906,176,996,207");
    for (auto& [name, attributes] : buttons) {
        EXPECT_EQ(attributes[L"float"], L"true") << name;
    }
}

TEST(ShippedSkins, GameSkin) {
    const std::string bytes = ReadSkinSource("game.xml");
    CSkinMarkup markup;
    ASSERT_TRUE(markup.ParseBytes(bytes.data(), bytes.size(), SkinTextEncoding::Utf8)) << markup.ErrorMessage();
    const CSkinMarkupNode window = markup.Root();
    ASSERT_STREQ(window.Name(), L"Window");
    EXPECT_STREQ(window.FindAttribute(L"sizebox"), L"4,0,4,4");
    EXPECT_STREQ(window.FindAttribute(L"caption"), L"0,0,0,23");
    EXPECT_EQ(window.FindAttribute(L"maxinfo"), nullptr);
    ExpectKnownAttributes(window);
    ExpectFonts(window, {L"10", L"12", L"14"});

    std::map<std::wstring, std::map<std::wstring, std::wstring>> buttons;
    CollectButtons(window, buttons);
    ASSERT_EQ(buttons.size(), 7u);
    EXPECT_EQ(buttons[L"gamename"][L"text"], L" Tolvane-Runecourt");
    EXPECT_EQ(buttons[L"gamename"][L"mouse"], L"false");
    EXPECT_EQ(buttons[L"charge"][L"text"], L"\u5145\u503c");
    EXPECT_EQ(buttons[L"charge"][L"visible"], L"false");
    EXPECT_EQ(buttons[L"clearcachebtn"][L"text"], L"\u6e05\u7a7a\u7f13\u5b58");
    EXPECT_EQ(buttons[L"refreshbtn"][L"text"], L"\u5237\u65b0");
    EXPECT_EQ(buttons[L"maxbtn"][L"pushedimage"], L"normal2max-press.png");
    EXPECT_EQ(buttons[L"closebtn"][L"pos"], L"189,3,216,26");
}

}  // namespace
}  // namespace SkinUI
