// The program's two skins, built from an archive in memory as the windows build them, laid out at the
// windows' sizes: every control must land where the launcher and game windows expect it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/Builder.h"
#include "skin/controls/ControlSearch.h"
#include "skin/controls/LabelUI.h"
#include "skin/resources/Resources.h"
#include "tests/skin/controls/SkinTreeHelpers.h"
#include "tests/skin/resources/ShippedSkinArchive.h"
#include "tests/support/skin/RecordingCanvas.h"
#include "tests/support/skin/TestWindowObject.h"

namespace SkinUI {
namespace {

using skintest::ChildAt;
using testsupport::CanvasOp;
using testsupport::RecordingCanvas;
using testsupport::TestControlHost;
using testsupport::TestWindowObject;

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
        for (const auto& font : host.fonts.madeFonts) {
            if (font.faceName == L"\u5FAE\u8F6F\u96C5\u9ED1") {
                return true;
            }
        }
        return false;
    }

    TestControlHost host;
    TestWindowObject window;
};

TEST_F(ShippedSkin, LauncherWindow) {
    Build(L"main.xml");
    EXPECT_EQ(host.window.initialSize, (SkinSize{1280, 768}));
    EXPECT_EQ(host.window.sizeBox, (SkinRect{}));
    EXPECT_EQ(host.window.caption, (SkinRect{0, 0, 0, 768}));
    EXPECT_EQ(host.window.roundCorner, (SkinSize{}));
    EXPECT_EQ(host.window.minInfo, (SkinSize{1280, 768}));
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
    EXPECT_EQ(RectOf(L"chargebtn"), (SkinRect{616, 176, 706, 207}));
    EXPECT_EQ(RectOf(L"cusbtn"), (SkinRect{756, 176, 846, 207}));
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
    const auto blits = canvas.ImageBlits();
    const auto drawn = [&](const wchar_t* image, const SkinRect& where) {
        const SkinImageInfo* wanted = host.resources.FindImage(image).get();
        for (const auto& blit : blits) {
            if (blit.image == wanted && wanted != nullptr && blit.rect == where) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(drawn(L"bg.png", SkinRect{0, 0, 1280, 768}));
    EXPECT_TRUE(drawn(L"mini.png", RectOf(L"minibtn")));
    EXPECT_TRUE(drawn(L"home_hover.png", RectOf(L"homebtn")));
    EXPECT_TRUE(drawn(L"bbs.png", RectOf(L"bbsbtn")));
    EXPECT_FALSE(drawn(L"home.png", RectOf(L"homebtn")));
    EXPECT_EQ(canvas.OpenClips(), 0);

    host.Click(SkinPoint{1120, 150});
    const auto clicks = host.NotificationsOf(L"click");
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].sender, host.Find(L"closebtn"));
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
    EXPECT_EQ(host.window.minInfo, (SkinSize{1000, 700}));
    EXPECT_EQ(host.window.sizeBox, (SkinRect{4, 0, 4, 4}));
    EXPECT_EQ(host.window.caption, (SkinRect{0, 0, 0, 23}));
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
    EXPECT_EQ(texts[0].rect, (SkinRect{3, 5, 103, 27}));
    EXPECT_EQ(texts[0].color & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(texts[0].font, host.resources.BaseFontRecord()->Handle());
    EXPECT_EQ(texts[1].text, L"\u6E05\u7A7A\u7F13\u5B58");
    // The title passes the mouse to its layout, which is no button: the window can be dragged there.
    CControlUI* hit = FindControlAt(*host.Root(), SkinPoint{50, 15});
    ASSERT_NE(hit, nullptr);
    EXPECT_STREQ(hit->ClassName(), L"HorizontalLayoutUI");
    EXPECT_EQ(FindControlAt(*host.Root(), SkinPoint{820, 15}), host.Find(L"clearcachebtn"));
}

}  // namespace
}  // namespace SkinUI
