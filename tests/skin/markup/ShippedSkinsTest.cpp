// The two skins the program ships: they must parse, and every attribute must be one the engine knows,
// spelled as the engine spells it (attribute names are case-sensitive and unknown ones are ignored
// silently, so a typo would only show as a wrong-looking window).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "skin/markup/Markup.h"

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

// Checks every attribute below `first`; counts the elements.
int CheckAttributes(const CSkinMarkupNode& first) {
    int elements = 0;
    for (CSkinMarkupNode n = first; n.IsValid(); n = n.NextSibling(), ++elements) {
        for (int i = 0; i < n.AttributeCount(); ++i) {
            EXPECT_TRUE(Known(n.Name(), n.AttributeName(i))) << n.Name() << L" " << n.AttributeName(i);
        }
        elements += CheckAttributes(n.FirstChild());
    }
    return elements;
}

TEST(ShippedSkins, BothSkinsParseWithOnlyAttributesTheEngineKnows) {
    for (const char* file : {"main.xml", "game.xml"}) {
        const std::string bytes = ReadSkinSource(file);
        CSkinMarkup markup;
        ASSERT_TRUE(markup.ParseBytes(bytes.data(), bytes.size(), SkinTextEncoding::Utf8))
            << file << ": " << markup.ErrorMessage();
        EXPECT_STREQ(markup.Root().Name(), L"Window");
        EXPECT_GT(CheckAttributes(markup.Root()), 10) << file;
    }
}

}  // namespace
}  // namespace SkinUI
