// The two skins the program ships: they must parse, and every attribute must be one the engine knows,
// spelled as the engine spells it (attribute names are case-sensitive and unknown ones are ignored
// silently, so a typo would only show as a wrong-looking window).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
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

const wchar_t kWindowAttributes[] =
    L"size sizebox caption roundcorner mininfo maxinfo showdirty alpha bktrans disabledfontcolor "
    L"defaultfontcolor linkfontcolor linkhoverfontcolor selectedcolor";
const wchar_t kFontAttributes[] = L"id name size bold underline italic default shared";
const wchar_t kControlAttributes[] =
    L"pos padding bkcolor bkcolor1 bkcolor2 bkcolor3 bordercolor focusbordercolor colorhsl bordersize "
    L"leftbordersize topbordersize rightbordersize bottombordersize borderstyle borderround bkimage width "
    L"height minwidth minheight maxwidth maxheight name text tooltip userdata enabled mouse keyboard visible "
    L"float shortcut menu virtualwnd";
const wchar_t kLayoutAttributes[] =
    L"inset mousechild vscrollbar hscrollbar vscrollbarstyle hscrollbarstyle childpadding sepheight sepwidth "
    L"sepimm";
// autocalcwidth is written in the game window's title; the engine ignores it.
const wchar_t kButtonAttributes[] =
    L"align valign endellipsis font textcolor disabledtextcolor textpadding showhtml normalimage hotimage "
    L"pushedimage focusedimage disabledimage foreimage hotforeimage hotbkcolor hottextcolor pushedtextcolor "
    L"focusedtextcolor autocalcwidth";

bool Listed(const wchar_t* list, const std::wstring& name) {
    return (L" " + std::wstring(list) + L" ").find(L" " + name + L" ") != std::wstring::npos;
}

bool Known(const std::wstring& element, const std::wstring& attribute) {
    if (element == L"Window" || element == L"Font") {
        return Listed(element == L"Window" ? kWindowAttributes : kFontAttributes, attribute);
    }
    return Listed(kControlAttributes, attribute) ||
           (element.find(L"Layout") != std::wstring::npos && Listed(kLayoutAttributes, attribute)) ||
           (element == L"Button" && Listed(kButtonAttributes, attribute));
}

using Attributes = std::map<std::wstring, std::wstring>;

// Checks every attribute below `first` and gathers the attributes of each element that has a name
// (and of each font, under "Font" and its size).
void Walk(const CSkinMarkupNode& first, std::map<std::wstring, Attributes>& named) {
    for (CSkinMarkupNode n = first; n.IsValid(); n = n.NextSibling()) {
        const std::wstring element = n.Name();
        const wchar_t* name = n.FindAttribute(element == L"Font" ? L"size" : L"name");
        for (int i = 0; i < n.AttributeCount(); ++i) {
            EXPECT_TRUE(Known(element, n.AttributeName(i))) << element << L" " << n.AttributeName(i);
            if (name != nullptr) {
                named[(element == L"Font" ? L"Font" : L"") + std::wstring(name)][n.AttributeName(i)] =
                    n.AttributeValue(i);
            }
        }
        Walk(n.FirstChild(), named);
    }
}

std::map<std::wstring, Attributes> ParseShipped(const char* file, CSkinMarkup& markup) {
    const std::string bytes = ReadSkinSource(file);
    EXPECT_TRUE(markup.ParseBytes(bytes.data(), bytes.size(), SkinTextEncoding::Utf8))
        << markup.ErrorMessage();
    EXPECT_STREQ(markup.Root().Name(), L"Window");
    std::map<std::wstring, Attributes> named;
    Walk(markup.Root(), named);
    return named;
}

const std::wstring kFontFace = L"\u5fae\u8f6f\u96c5\u9ed1";

TEST(ShippedSkins, LauncherSkin) {
    CSkinMarkup markup;
    auto named = ParseShipped("main.xml", markup);
    EXPECT_STREQ(markup.Root().FindAttribute(L"caption"), L"0,0,0,768");
    EXPECT_STREQ(markup.Root().FindAttribute(L"maxinfo"), L"1280,768");
    EXPECT_STREQ(markup.Root().FindAttribute(L"bktrans"), L"true");
    for (const wchar_t* size : {L"12", L"14", L"16"}) {
        EXPECT_EQ(
            named[std::wstring(L"Font") + size],
            (Attributes{{L"name", kFontFace}, {L"size", size}, {L"bold", L"false"}, {L"italic", L"false"}}));
    }
    EXPECT_EQ(named[L"minibtn"], (Attributes{{L"name", L"minibtn"},
                                             {L"float", L"true"},
                                             {L"pos", L"1072,132,1102,167"},
                                             {L"width", L"35"},
                                             {L"height", L"35"},
                                             {L"normalimage", L"mini.png"},
                                             {L"hotimage", L"mini.png"},
                                             {L"pushedimage", L"mini.png"}}));
    EXPECT_EQ(named[L"cusbtn"][L"pushedimage"], L"custom_click.png");
    EXPECT_EQ(named[L"bbsbtn"][L"pos"], L"906,176,996,207");
}

TEST(ShippedSkins, GameSkin) {
    CSkinMarkup markup;
    auto named = ParseShipped("game.xml", markup);
    EXPECT_STREQ(markup.Root().FindAttribute(L"sizebox"), L"4,0,4,4");
    EXPECT_EQ(markup.Root().FindAttribute(L"maxinfo"), nullptr);
    EXPECT_EQ(named[L"Font10"][L"name"], kFontFace);
    EXPECT_EQ(named[L"gamename"][L"text"], L" Tolvane-Runecourt");
    EXPECT_EQ(named[L"gamename"][L"mouse"], L"false");
    EXPECT_EQ(named[L"charge"][L"text"], L"\u5145\u503c");
    EXPECT_EQ(named[L"charge"][L"visible"], L"false");
    EXPECT_EQ(named[L"clearcachebtn"][L"text"], L"\u6e05\u7a7a\u7f13\u5b58");
    EXPECT_EQ(named[L"refreshbtn"][L"textcolor"], L"#ffffff");
    EXPECT_EQ(named[L"maxbtn"][L"pushedimage"], L"normal2max-press.png");
    EXPECT_EQ(named[L"closebtn"][L"pos"], L"189,3,216,26");
}

}  // namespace
}  // namespace SkinUI
