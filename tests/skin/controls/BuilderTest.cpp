// The builder (element names, unknown elements, includes, fonts, the window element, failures) and the
// program's two skins built from an archive in memory and laid out at the windows' sizes.
#include <gtest/gtest.h>

#include <string>

#include <algorithm>
#include <vector>
#include "skin/controls/Builder.h"
#include "skin/controls/ButtonUI.h"
#include "skin/controls/ControlSearch.h"
#include "skin/controls/LabelUI.h"
#include "skin/resources/Resources.h"
#include "tests/skin/controls/SkinTreeHelpers.h"
#include "tests/skin/resources/SkinTestFolder.h"
#include "tests/skin/resources/TestArchiveBuilder.h"
#include "tests/support/skin/RecordingCanvas.h"
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
    EXPECT_EQ(host.window.maxInfo, (SkinSize{300, 400}));
    EXPECT_EQ(host.window.opacity, 255);
    EXPECT_TRUE(window.transparent);
    EXPECT_EQ(host.resources.DefaultColors().disabledText, 0xff222222u);

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

using testsupport::CanvasOp;
using testsupport::RecordingCanvas;

std::string SkinSourceFolder() {
#ifdef _WIN32
    return std::string("Z:") + TOLVANE_SKIN_SOURCE_DIR;
#else
    return TOLVANE_SKIN_SOURCE_DIR;
#endif
}

class ShippedSkin : public ::testing::Test {
  protected:
    void SetUp() override {
        // The engine keeps the memory archive for the life of the process.
        static const std::vector<uint8_t> archive = skintest::ArchiveOfFolder(SkinSourceFolder());
        ASSERT_FALSE(archive.empty());
        ResetResourceSettings();
        UseArchiveMemory(archive.data(), archive.size());
    }
    void TearDown() override { ResetResourceSettings(); }

    void Build(const wchar_t* skin) {
        CSkinBuilder builder;
        ASSERT_TRUE(builder.LoadMarkup(skin)) << builder.Markup().ErrorMessage();
        ASSERT_NE(host.Attach(builder.BuildTree(nullptr, &host, &window), &window), nullptr);
    }
    SkinRect RectOf(const wchar_t* name) const {
        const CControlUI* control = host.Find(name);
        return control != nullptr ? control->ItemRect() : SkinRect{-1, -1, -1, -1};
    }
    bool MadeAFontOfTheSkin() const {
        return std::any_of(host.fonts.madeFonts.begin(), host.fonts.madeFonts.end(),
                           [](const auto& font) { return font.faceName == L"\u5FAE\u8F6F\u96C5\u9ED1"; });
    }

    TestControlHost host;
    TestWindowObject window;
};

TEST_F(ShippedSkin, LauncherWindow) {
    Build(L"main.xml");
    EXPECT_EQ(host.window.initialSize, (SkinSize{1280, 768}));
    EXPECT_EQ(host.window.caption, (SkinRect{0, 0, 0, 768}));
    EXPECT_EQ(host.window.maxInfo, (SkinSize{1280, 768}));
    EXPECT_TRUE(window.transparent);
    EXPECT_FALSE(MadeAFontOfTheSkin());  // its fonts have no id

    host.Layout(SkinRect{0, 0, 1280, 768});
    CControlUI* root = host.Root();
    EXPECT_EQ(root->ItemRect(), (SkinRect{0, 0, 1280, 768}));
    EXPECT_EQ(ChildAt(root, 0)->ItemRect(), (SkinRect{0, 0, 1280, 221}));
    EXPECT_EQ(ChildAt(root, 1)->ItemRect(), (SkinRect{0, 221, 1280, 647}));
    EXPECT_EQ(RectOf(L"minibtn"), (SkinRect{1072, 132, 1107, 167}));
    EXPECT_EQ(RectOf(L"closebtn"), (SkinRect{1107, 132, 1142, 167}));
    EXPECT_EQ(RectOf(L"homebtn"), (SkinRect{466, 176, 556, 207}));
    EXPECT_EQ(RectOf(L"bbsbtn"), (SkinRect{906, 176, 996, 207}));
    EXPECT_EQ(ChildAt(ChildAt(root, 1), 0)->ItemRect(), (SkinRect{0, 221, 386, 647}));
    EXPECT_EQ(ChildAt(ChildAt(root, 1), 1)->ItemRect(), (SkinRect{386, 221, 554, 647}));
}

TEST_F(ShippedSkin, LauncherPaintsItsBackgroundAndButtonImages) {
    Build(L"main.xml");
    host.Layout(SkinRect{0, 0, 1280, 768});
    host.MouseMove(SkinPoint{500, 190});  // over the home button
    RecordingCanvas canvas;
    host.Paint(canvas, SkinRect{0, 0, 1280, 768});
    const auto blits = canvas.Only(CanvasOp::CopyImage);
    const auto drawn = [&](const wchar_t* image, const SkinRect& where) {
        const SkinImageInfo* wanted = host.resources.FindImage(image).get();
        return wanted != nullptr && std::any_of(blits.begin(), blits.end(), [&](const auto& blit) {
                   return blit.image == wanted && blit.rect == where;
               });
    };
    EXPECT_TRUE(drawn(L"bg.png", SkinRect{0, 0, 1280, 768}));
    EXPECT_TRUE(drawn(L"mini.png", RectOf(L"minibtn")));
    EXPECT_TRUE(drawn(L"home_hover.png", RectOf(L"homebtn")));
    EXPECT_FALSE(drawn(L"home.png", RectOf(L"homebtn")));
    EXPECT_EQ(canvas.OpenClips(), 0);
    host.Click(SkinPoint{1120, 150});
    ASSERT_EQ(host.NotificationsOf(L"click").size(), 1u);
    EXPECT_EQ(host.NotificationsOf(L"click")[0].sender, host.Find(L"closebtn"));
}

void ExpectGameTitleRow(const TestControlHost& host, int32_t width, int32_t height) {
    SCOPED_TRACE(width);
    CControlUI* root = host.Root();
    const int32_t share = (width - 219) / 2;
    const int32_t right = width - 219;
    EXPECT_EQ(root->ItemRect(), (SkinRect{0, 0, width, height}));
    CControlUI* row = ChildAt(root, 0);
    EXPECT_EQ(row->ItemRect(), (SkinRect{0, 0, width, 30}));
    EXPECT_EQ(ChildAt(row, 0)->ItemRect(), (SkinRect{0, 0, share, 30}));
    EXPECT_EQ(ChildAt(row, 1)->ItemRect(), (SkinRect{share, 0, right, 30}));
    EXPECT_EQ(ChildAt(row, 2)->ItemRect(), (SkinRect{right, 0, width, 30}));
    EXPECT_EQ(host.Find(L"gamename")->ItemRect(), (SkinRect{3, 5, 103, 27}));  // inset, then at most 100 wide
    EXPECT_FALSE(host.Find(L"charge")->IsVisible());
    EXPECT_EQ(host.Find(L"charge")->ItemRect(), (SkinRect{}));  // hidden: never placed
    EXPECT_EQ(host.Find(L"clearcachebtn")->ItemRect(), (SkinRect{right + 33, 3, right + 93, 26}));
    EXPECT_EQ(host.Find(L"refreshbtn")->ItemRect(), (SkinRect{right + 96, 3, right + 126, 26}));
    EXPECT_EQ(host.Find(L"minbtn")->ItemRect(), (SkinRect{right + 129, 3, right + 156, 26}));
    EXPECT_EQ(host.Find(L"maxbtn")->ItemRect(), (SkinRect{right + 159, 3, right + 186, 26}));
    EXPECT_EQ(host.Find(L"closebtn")->ItemRect(), (SkinRect{right + 189, 3, right + 216, 26}));
}

TEST_F(ShippedSkin, GameWindowTitleRowAtItsSizeAndMaximised) {
    Build(L"game.xml");
    EXPECT_EQ(host.window.initialSize, (SkinSize{1000, 700}));
    EXPECT_EQ(host.window.sizeBox, (SkinRect{4, 0, 4, 4}));
    EXPECT_EQ(std::count(host.window.calls.begin(), host.window.calls.end(), L"maxinfo"), 0);
    EXPECT_FALSE(window.transparent);
    EXPECT_EQ(window.transparencyCalls, 1);
    EXPECT_FALSE(MadeAFontOfTheSkin());

    host.Layout(SkinRect{0, 0, 1000, 700});
    ExpectGameTitleRow(host, 1000, 700);
    host.Layout(SkinRect{0, 0, 1920, 1040});
    ExpectGameTitleRow(host, 1920, 1040);
    host.Layout(SkinRect{0, 0, 1000, 700});
    ExpectGameTitleRow(host, 1000, 700);
}

TEST_F(ShippedSkin, GameTitleTextIsWhiteInTheDefaultFontAndLetsTheMouseThrough) {
    Build(L"game.xml");
    host.Layout(SkinRect{0, 0, 1000, 700});
    RecordingCanvas canvas;
    host.Paint(canvas, SkinRect{0, 0, 1000, 700});
    const auto texts = canvas.Only(CanvasOp::PaintText);
    ASSERT_EQ(texts.size(), 3u);  // the title and two text buttons; the hidden third is not painted
    EXPECT_EQ(texts[0].text, L" Tolvane-Runecourt");
    EXPECT_EQ(texts[0].color & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(texts[0].font, host.resources.BaseFontRecord()->Handle());
    EXPECT_EQ(texts[1].text, L"\u6E05\u7A7A\u7F13\u5B58");
    // The title passes the mouse to its layout, which is no button: the window can be dragged there.
    EXPECT_STREQ(FindControlAt(*host.Root(), SkinPoint{50, 15})->ClassName(), L"HorizontalLayoutUI");
    EXPECT_EQ(FindControlAt(*host.Root(), SkinPoint{820, 15}), host.Find(L"clearcachebtn"));
}

}  // namespace
}  // namespace SkinUI
