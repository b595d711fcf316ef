// The builder: element names and the factory, unknown elements, the order of children, defaults and own
// attributes, includes, the resource and window elements, and failures.
#include <gtest/gtest.h>

#include <string>

#include "skin/controls/Builder.h"
#include "skin/controls/ButtonUI.h"
#include "skin/controls/ControlFactory.h"
#include "skin/controls/ExtraControls.h"
#include "skin/resources/Resources.h"
#include "tests/skin/controls/SkinTreeHelpers.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/support/skin/TestWindowObject.h"

namespace SkinUI {
namespace {

using skintest::ChildAt;
using testsupport::TestControlHost;
using testsupport::TestWindowObject;

class Building : public ::testing::Test {
  protected:
    void SetUp() override { ResetResourceSettings(); }
    void TearDown() override { ResetResourceSettings(); }

    std::unique_ptr<CControlUI> Build(const std::wstring& markup,
                                      IDialogBuilderCallback* callback = nullptr) {
        CSkinBuilder builder;
        EXPECT_TRUE(builder.LoadMarkup(markup)) << builder.Markup().ErrorMessage();
        return builder.BuildTree(callback, &host, &window);
    }

    TestControlHost host;
    TestWindowObject window;
};

TEST_F(Building, ElementNamesInAnyCaseUnknownOnesSkippedWithTheirSubtreeTheFirstTopLevelControlTheResult) {
    auto root = Build(
        L"<Window><verticallayout><BUTTON name=\"b\" Width=\"40\" width=\"30\"/><Gadget><Button/></Gadget>"
        L"<hOrIzOnTaLlAyOuT/></verticallayout><Label/></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->ClassName(), L"VerticalLayoutUI");
    ASSERT_NE(ChildAt(root.get(), 0), nullptr);
    EXPECT_STREQ(ChildAt(root.get(), 0)->ClassName(), L"ButtonUI");
    EXPECT_EQ(ChildAt(root.get(), 0)->FixedWidth(), 30);
    EXPECT_STREQ(ChildAt(root.get(), 1)->ClassName(), L"HorizontalLayoutUI");
    EXPECT_EQ(ChildAt(root.get(), 2), nullptr);
}

TEST_F(Building, FactoryNamesMakeTheirOwnClass) {
    // Representatives of each family: plain, layout, label, button, list, the hosted controls.
    const wchar_t* const names[] = {L"Control",  L"TileLayout", L"Text",     L"Option",
                                    L"TreeNode", L"ScrollBar",  L"DateTime", L"WebBrowser"};
    for (const wchar_t* name : names) {
        auto control = CreateControlByName(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(std::wstring(control->ClassName()), std::wstring(name) + L"UI");
        EXPECT_EQ(control->FindInterface(name), control.get()) << name;
        EXPECT_EQ(control->FindInterface(L"Control"), control.get()) << name;
    }
    EXPECT_EQ(CreateControlByName(L"Buttons"), nullptr);
    // Derived from their nearest relative: an option is a button, a list a vertical layout.
    auto option = CreateControlByName(L"checkbox");
    EXPECT_NE(option->FindInterface(L"Button"), nullptr);
    EXPECT_NE(option->FindInterface(L"Option"), nullptr);
    EXPECT_NE(CreateControlByName(L"List")->FindInterface(L"IContainer"), nullptr);
    EXPECT_EQ(CreateControlByName(L"Edit")->FindInterface(L"IContainer"), nullptr);
}

TEST_F(Building, IncludesOfSkinFilesNestAndASkinIncludingItselfEnds) {
    skintest::SkinTestFolder folder(L"include");
    SetSkinPath(folder.WithSeparator());
    folder.Write(L"row.xml", std::string("<Window><Button name=\"from-file\"/></Window>"));
    folder.Write(L"self.xml", std::string("<Window><Control/><Include source=\"self.xml\"/></Window>"));
    auto root = Build(
        L"<Window><VerticalLayout><Include source=\"row.xml\"/><Include source=\"missing.xml\"/>"
        L"<VerticalLayout><Include source=\"self.xml\"/></VerticalLayout></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildAt(root.get(), 0)->Name(), L"from-file");
    auto& nested = *static_cast<IContainerUI*>(ChildAt(root.get(), 1)->FindInterface(L"IContainer"));
    EXPECT_EQ(nested.Count(), CSkinBuilder::kDeepestInclude);
}

TEST_F(Building, FontsWithoutIdAreRegisteredNowhere) {
    auto root = Build(
        L"<Window><Font name=\"Face\" size=\"14\" default=\"true\"/>"
        L"<Font id=\"3\" name=\"\" size=\"15\"/>"
        L"<FONT ID=\"4\" Name=\"Other\" SIZE=\"16\" size=\"17\" bold=\"true\" DEFAULT=\"true\"/>"
        L"<Label font=\"0\"/></Window>");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(host.fonts.madeFonts.size(), 2u);  // font 4, then the same as the window's default
    EXPECT_EQ(host.fonts.madeFonts[0].faceName, L"Other");
    EXPECT_EQ(host.fonts.madeFonts[0].height, -17);  // the later attribute wins, letter case aside
    EXPECT_EQ(host.fonts.madeFonts[0].weight, 400 + 700);
    EXPECT_EQ(host.resources.FontRecordById(4)->faceName, L"Other");
    EXPECT_EQ(host.resources.BaseFontRecord()->faceName, L"Other");
    EXPECT_EQ(host.resources.FontRecordById(3), host.resources.BaseFontRecord());
}

TEST_F(Building, WindowElementGoesToTheWindowSettingsAndTheWindowObject) {
    auto root = Build(
        L"<Window size=\"1280,768\" sizebox=\"4,0,4,4\" caption=\"0,0,0,23\" roundcorner=\"3,3\" "
        L"mininfo=\"100,200\" maxinfo=\"300,400\" showdirty=\"true\" alpha=\"300\" bktrans=\"true\" "
        L"defaultfontcolor=\"#ff111111\" disabledfontcolor=\"ff222222\" linkfontcolor=\"#ff333333\" "
        L"linkhoverfontcolor=\"#ff444444\" selectedcolor=\"#ff555555\" Size=\"1,1\">"
        L"<Control/></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(host.window.calls, (std::vector<std::wstring>{L"size", L"sizebox", L"caption", L"roundcorner",
                                                            L"mininfo", L"maxinfo", L"showdirty", L"alpha"}));
    EXPECT_EQ(host.window.initialSize, (SkinSize{1280, 768}));
    EXPECT_EQ(host.window.maxInfo, (SkinSize{300, 400}));
    EXPECT_EQ(host.window.opacity, 255);
    EXPECT_TRUE(window.transparent);
    const SkinDefaultColors& colors = host.resources.DefaultColors();
    EXPECT_EQ(colors.disabledText, 0xff222222u);
    EXPECT_EQ(colors.selectedBackground, 0xff555555u);

    host.window.calls.clear();
    Build(L"<Window alpha=\"-4\"><Control/></Window>");
    EXPECT_EQ(host.window.opacity, 0);
    host.servesWindow = false;
    host.window.calls.clear();
    Build(L"<Window size=\"5,5\"><Control/></Window>");
    EXPECT_TRUE(host.window.calls.empty());
}

TEST_F(Building, ControlsAreLeftDetachedButForTheWindow) {
    auto root = Build(L"<Window><VerticalLayout><Button name=\"b\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    CControlUI* button = ChildAt(root.get(), 0);
    EXPECT_EQ(button->Manager(), nullptr);
    EXPECT_EQ(button->Parent(), root.get());
    EXPECT_EQ(button->Association(), &window);
    host.Attach(std::move(root), &window);
    EXPECT_EQ(button->Manager(), &host);
}

TEST_F(Building, NonContainerParentGivesNull) {
    EXPECT_EQ(Build(L"<Window><VerticalLayout><Button><Label/></Button></VerticalLayout></Window>"), nullptr);
    EXPECT_EQ(Build(L"<Window/>"), nullptr);
    CSkinBuilder unloaded;
    EXPECT_EQ(unloaded.BuildTree(nullptr, &host, nullptr), nullptr);
    CSkinBuilder broken;
    EXPECT_FALSE(broken.LoadMarkup(L"<Window><Control></Window>"));
    EXPECT_EQ(broken.BuildTree(nullptr, &host, nullptr), nullptr);
    EXPECT_FALSE(broken.LoadResource(113, L"ZIPRES"));  // no module resources here
}

}  // namespace
}  // namespace SkinUI
