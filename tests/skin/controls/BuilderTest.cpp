// The builder: element names and the factory, unknown elements, the order of children, defaults and own
// attributes, includes, the resource and window elements, and failures.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "skin/controls/Builder.h"
#include "skin/controls/ButtonUI.h"
#include "skin/controls/ControlFactory.h"
#include "skin/controls/ExtraControls.h"
#include "skin/controls/IDialogBuilderCallback.h"
#include "skin/controls/VerticalLayoutUI.h"
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

TEST_F(Building, ElementNamesInAnyCaseAttributeNamesExactly) {
    auto root = Build(
        L"<Window><verticallayout><BUTTON name=\"b\" Width=\"40\" width=\"30\"/>"
        L"<hOrIzOnTaLlAyOuT/></verticallayout></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->ClassName(), L"VerticalLayoutUI");
    ASSERT_NE(ChildAt(root.get(), 0), nullptr);
    EXPECT_STREQ(ChildAt(root.get(), 0)->ClassName(), L"ButtonUI");
    EXPECT_EQ(ChildAt(root.get(), 0)->FixedWidth(), 30);
    EXPECT_STREQ(ChildAt(root.get(), 1)->ClassName(), L"HorizontalLayoutUI");
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
    EXPECT_EQ(CreateControlByName(L""), nullptr);
    // Derived from their nearest relative: an option is a button, a list a vertical layout.
    auto option = CreateControlByName(L"checkbox");
    EXPECT_NE(option->FindInterface(L"Button"), nullptr);
    EXPECT_NE(option->FindInterface(L"Option"), nullptr);
    EXPECT_NE(CreateControlByName(L"List")->FindInterface(L"IContainer"), nullptr);
    EXPECT_EQ(CreateControlByName(L"Edit")->FindInterface(L"IContainer"), nullptr);
}

TEST_F(Building, UnknownElementIsSkippedWithItsSubtreeItsSiblingsAreBuilt) {
    auto root = Build(
        L"<Window><VerticalLayout><Gadget><Button name=\"inner\"/></Gadget>"
        L"<Button name=\"after\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    auto& children = *static_cast<IContainerUI*>(root->FindInterface(L"IContainer"));
    ASSERT_EQ(children.Count(), 1);
    EXPECT_EQ(children.ItemAt(0)->Name(), L"after");
}

class Gadget : public CControlUI {
  public:
    const wchar_t* ClassName() const override { return L"GadgetUI"; }
};

class GadgetCallback : public IDialogBuilderCallback {
  public:
    std::unique_ptr<CControlUI> MakeCustomControl(const wchar_t* name) override {
        asked.push_back(name);
        return std::wcscmp(name, L"Gadget") == 0 ? std::make_unique<Gadget>() : nullptr;
    }
    std::vector<std::wstring> asked;
};

std::unique_ptr<CControlUI> MakeWidget(const wchar_t* name) {
    return std::wcscmp(name, L"Widget") == 0 ? std::make_unique<CLabelUI>() : nullptr;
}

TEST_F(Building, ExtensionsThenTheCallbackMakeElementsTheEngineDoesNotKnow) {
    GadgetCallback callback;
    AddControlExtension(MakeWidget);
    auto root = Build(
        L"<Window><HorizontalLayout><Widget name=\"w\"/><Gadget name=\"g\" width=\"5\"/>"
        L"<Button/></HorizontalLayout></Window>",
        &callback);
    EXPECT_TRUE(RemoveControlExtension(MakeWidget));
    EXPECT_FALSE(RemoveControlExtension(MakeWidget));
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(ChildAt(root.get(), 0)->ClassName(), L"LabelUI");
    EXPECT_STREQ(ChildAt(root.get(), 1)->ClassName(), L"GadgetUI");
    EXPECT_EQ(ChildAt(root.get(), 1)->FixedWidth(), 5);
    EXPECT_EQ(callback.asked, (std::vector<std::wstring>{L"Gadget"}));
}

// A layout that notes how many children it has when each attribute arrives.
class ChildCountingLayout : public CVerticalLayoutUI {
  public:
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override {
        countsAtAttributes.push_back(Count());
        CVerticalLayoutUI::ApplyAttribute(name, value);
    }
    std::vector<int> countsAtAttributes;
};

class CountingCallback : public IDialogBuilderCallback {
  public:
    std::unique_ptr<CControlUI> MakeCustomControl(const wchar_t*) override {
        auto layout = std::make_unique<ChildCountingLayout>();
        made = layout.get();
        return layout;
    }
    ChildCountingLayout* made = nullptr;
};

TEST_F(Building, ChildrenComeBeforeTheParentsOwnAttributes) {
    CountingCallback callback;
    auto root =
        Build(L"<Window><Counting inset=\"1,1,1,1\"><Control/><Control/></Counting></Window>", &callback);
    ASSERT_NE(callback.made, nullptr);
    EXPECT_EQ(callback.made->countsAtAttributes, (std::vector<int>{2}));
}

TEST_F(Building, DefaultListsComeBeforeOwnAttributes) {
    auto root = Build(
        L"<Window><Default name=\"Button\" value=\"width=&quot;10&quot; height=&quot;20&quot; "
        L"text=&quot;default&quot;\"/><HorizontalLayout><button text=\"own\"/><Button/>"
        L"</HorizontalLayout></Window>");
    ASSERT_NE(root, nullptr);
    CControlUI* own = ChildAt(root.get(), 0);
    EXPECT_EQ(own->Text(), L"own");
    EXPECT_EQ(own->FixedWidth(), 10);
    EXPECT_EQ(own->FixedHeight(), 20);
    EXPECT_EQ(ChildAt(root.get(), 1)->Text(), L"default");
    ASSERT_NE(host.defaultAttributes.Find(L"BUTTON"), nullptr);
    EXPECT_EQ(host.shared.defaultAttributes.Size(), 0u);
}

TEST_F(Building, AttributeListGrammarStopsAtTheFirstFault) {
    CControlUI control;
    control.ApplyAttributeList(L"name=\"a\" width=\"5\"  height=\"6\"");
    EXPECT_EQ(control.Name(), L"a");
    EXPECT_EQ(control.FixedWidth(), 5);
    EXPECT_EQ(control.FixedHeight(), 0);  // two blanks: the second starts an unknown name
    control.ApplyAttributeList(L"width=7 height=\"8\"");
    EXPECT_EQ(control.FixedWidth(), 5);
    control.ApplyAttributeList(L"width=\"9");
    EXPECT_EQ(control.FixedWidth(), 5);
    control.ApplyAttributeList(L"width=\"9\",height=\"3\"");
    EXPECT_EQ(control.FixedWidth(), 9);
    EXPECT_EQ(control.FixedHeight(), 0);
}

TEST_F(Building, IncludeWithCountInsertsTheIncludedControlsThatManyTimes) {
    auto root = Build(
        L"<Window><VerticalLayout><Label name=\"first\"/>"
        L"<Include source=\"&lt;Window&gt;&lt;Button/&gt;&lt;Label/&gt;&lt;/Window&gt;\" count=\"3\"/>"
        L"<Label name=\"last\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    auto& children = *static_cast<IContainerUI*>(root->FindInterface(L"IContainer"));
    ASSERT_EQ(children.Count(), 8);
    EXPECT_EQ(children.ItemAt(0)->Name(), L"first");
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(children.ItemAt(1 + 2 * i)->ClassName(), L"ButtonUI");
        EXPECT_STREQ(children.ItemAt(2 + 2 * i)->ClassName(), L"LabelUI");
        EXPECT_EQ(children.ItemAt(1 + 2 * i)->Parent(), root.get());
    }
    EXPECT_EQ(children.ItemAt(7)->Name(), L"last");
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
    EXPECT_EQ(host.window.sizeBox, (SkinRect{4, 0, 4, 4}));
    EXPECT_EQ(host.window.caption, (SkinRect{0, 0, 0, 23}));
    EXPECT_EQ(host.window.maxInfo, (SkinSize{300, 400}));
    EXPECT_EQ(host.window.opacity, 255);
    EXPECT_TRUE(window.transparent);
    const SkinDefaultColors& colors = host.resources.DefaultColors();
    EXPECT_EQ(colors.text, 0xff111111u);
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

TEST_F(Building, LanguageStringsAndImagesGoToTheirTables) {
    skintest::SkinTestFolder folder(L"images");
    SetSkinPath(folder.WithSeparator());
    Build(
        L"<Window><MultiLanguage id=\"7\" value=\"seven\"/><MultiLanguage value=\"none\"/>"
        L"<Image name=\"missing.png\"/><Image/><Control/></Window>");
    ASSERT_EQ(host.shared.languageStrings.size(), 1u);
    EXPECT_EQ(host.shared.languageStrings[7], L"seven");
    EXPECT_EQ(host.resources.FindImage(L"missing.png"), nullptr);
}

TEST_F(Building, ControlsAreLeftDetachedButForTheWindow) {
    auto root = Build(L"<Window><VerticalLayout><Button name=\"b\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    CControlUI* button = ChildAt(root.get(), 0);
    EXPECT_EQ(root->Manager(), nullptr);
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

TEST_F(Building, FirstTopLevelControlIsTheResult) {
    auto root = Build(L"<Window><Label name=\"one\"/><Label name=\"two\"/></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name(), L"one");
}

TEST_F(Building, BuildIntoAddsToTheGivenParent) {
    CVerticalLayoutUI parent;
    CSkinBuilder builder;
    ASSERT_TRUE(builder.LoadMarkup(L"<Window><Label name=\"a\"/><Label name=\"b\"/></Window>"));
    CControlUI* first = builder.BuildInto(parent, nullptr, &host, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name(), L"a");
    EXPECT_EQ(parent.Count(), 2);
    EXPECT_EQ(first->Parent(), &parent);
    CLabelUI label;
    CSkinBuilder again;
    ASSERT_TRUE(again.LoadMarkup(L"<Window><Label/></Window>"));
    EXPECT_EQ(again.BuildInto(label, nullptr, &host, nullptr), nullptr);
}

}  // namespace
}  // namespace SkinUI
