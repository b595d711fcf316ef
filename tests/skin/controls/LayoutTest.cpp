// Containers and layouts: how space is shared out along an axis, where floating children land, what
// a mouse point hits, how children are painted and clipped, and who owns a container's children.
#include <gtest/gtest.h>

#include "skin/controls/ContainerUI.h"
#include "skin/controls/ControlSearch.h"
#include "skin/controls/HorizontalLayoutUI.h"
#include "skin/controls/VerticalLayoutUI.h"
#include "tests/skin/controls/SkinTreeHelpers.h"
#include "tests/support/skin/RecordingCanvas.h"

namespace SkinUI {
namespace {

using skintest::BuildAttached;
using skintest::ChildAt;
using testsupport::CanvasOp;
using testsupport::RecordingCanvas;
using testsupport::TestControlHost;

SkinRect RectOf(CControlUI* root, int index) {
    CControlUI* child = ChildAt(root, index);
    return child != nullptr ? child->ItemRect() : SkinRect{-1, -1, -1, -1};
}

struct LayoutCase {
    const char* what;
    const wchar_t* markup;  // the window's root, built into a window of the given size
    SkinRect area;
    std::vector<SkinRect> children;
};

// Fixed widths, limits, insets and child padding in rows are also checked by the shipped skins' layout.
TEST(Layout, SharesSpaceAlongTheAxis) {
    const LayoutCase cases[] = {
        {"stretchable children share, the last takes the remainder",
         L"<VerticalLayout><Control/><Control/></VerticalLayout>",
         {0, 0, 40, 101},
         {{0, 0, 40, 50}, {0, 50, 40, 101}}},
        {"a minimum above the share is kept and pushes later children",
         L"<VerticalLayout><Control minheight=\"60\"/><Control/><Control/></VerticalLayout>",
         {0, 0, 40, 100},
         {{0, 0, 40, 60}, {0, 60, 40, 93}, {0, 93, 40, 100}}},
        {"padding top 5 and bottom 3 on a fixed 20; the last stretchable child reaches the bottom",
         L"<VerticalLayout childpadding=\"10\"><Control height=\"20\" padding=\"0,5,0,3\"/><Control/>"
         L"<Control/></VerticalLayout>",
         {0, 0, 40, 120},
         {{0, 5, 40, 28}, {0, 38, 40, 74}, {0, 84, 40, 120}}},
        {"a container stacks every child over its content area within limits",
         L"<Container inset=\"1,2,3,4\"><Control/><Control maxwidth=\"10\" minheight=\"500\"/></Container>",
         {0, 0, 100, 100},
         {{1, 2, 97, 96}, {1, 2, 11, 502}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        TestControlHost host;
        CControlUI* root = BuildAttached(host, std::wstring(L"<Window>") + c.markup + L"</Window>", c.area);
        for (size_t i = 0; i < c.children.size(); ++i) {
            EXPECT_EQ(RectOf(root, static_cast<int>(i)), c.children[i]) << "child " << i;
        }
    }
}

TEST(FloatingChild, LandsAtItsPositionAndAnchorsRelativeToTheParent) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><VerticalLayout><Control height=\"100\"/>"
                                     L"<HorizontalLayout inset=\"9,9,9,9\">"
                                     L"<Button float=\"true\" pos=\"466,176,556,207\"/>"
                                     L"<Control float=\"0.5,0,0.5,1\" pos=\"-10,0,10,0\"/>"
                                     L"</HorizontalLayout></VerticalLayout></Window>",
                                     SkinRect{0, 0, 1000, 400});
    CControlUI* row = ChildAt(root, 1);
    ASSERT_EQ(row->ItemRect(), (SkinRect{0, 100, 1000, 400}));
    // Relative to the parent's corner, not to its content area.
    EXPECT_EQ(RectOf(row, 0), (SkinRect{466, 276, 556, 307}));
    // Centred horizontally, from the top to the bottom.
    EXPECT_EQ(RectOf(row, 1), (SkinRect{490, 100, 510, 400}));
    // Placing keeps the fixed position and size, so the next layout lands at the same place.
    host.Layout(SkinRect{0, 0, 1000, 400});
    EXPECT_EQ(RectOf(row, 1), (SkinRect{490, 100, 510, 400}));
}

TEST(HitTest, FloatingChildIsFoundOutsideTheContentAreaOthersAreNot) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><HorizontalLayout inset=\"0,10,0,0\">"
                                     L"<Control padding=\"0,-10,0,0\"/>"
                                     L"<Button name=\"b\" float=\"true\" pos=\"105,2,125,8\"/>"
                                     L"</HorizontalLayout></Window>",
                                     SkinRect{0, 0, 200, 40});
    CControlUI* plain = ChildAt(root, 0);
    ASSERT_EQ(plain->ItemRect(), (SkinRect{0, 0, 200, 40}));  // reaches into the inset
    EXPECT_EQ(FindControlAt(*root, SkinPoint{110, 5}), host.Find(L"b"));
    // In the inset the plain child is not hit though it lies there: the layout is.
    EXPECT_EQ(FindControlAt(*root, SkinPoint{50, 5}), root);
    EXPECT_EQ(FindControlAt(*root, SkinPoint{50, 20}), plain);
    EXPECT_EQ(FindControlAt(*root, SkinPoint{500, 20}), nullptr);
}

TEST(ContainerPaint, ChildrenAreClippedToTheContentAreaFloatingOnesToTheItem) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><HorizontalLayout inset=\"5,5,5,5\" bkcolor=\"#ff000001\">"
                                     L"<Control bkcolor=\"#ff000002\"/>"
                                     L"<Control float=\"true\" pos=\"0,0,10,10\" bkcolor=\"#ff000003\"/>"
                                     L"<Control float=\"true\" pos=\"300,0,310,10\" bkcolor=\"#ff000004\"/>"
                                     L"</HorizontalLayout></Window>",
                                     SkinRect{0, 0, 100, 50});
    RecordingCanvas canvas;
    host.Paint(canvas, SkinRect{0, 0, 1000, 1000});
    std::vector<SkinColor> filled;
    for (const auto& call : canvas.Only(CanvasOp::FillSolid)) {
        filled.push_back(call.color);
    }
    // The container first, then its children in order; the one outside the container is not painted.
    EXPECT_EQ(filled, (std::vector<SkinColor>{0xff000001, 0xff000002, 0xff000003}));
    const auto clips = canvas.Only(CanvasOp::IntersectClip);
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_EQ(clips[0].rect, (SkinRect{0, 0, 100, 50}));  // the container's item
    EXPECT_EQ(clips[1].rect, (SkinRect{5, 5, 95, 45}));   // the non-floating child's content area
    EXPECT_EQ(canvas.OpenClips(), 0);
    RecordingCanvas outside;
    root->Paint(outside, SkinRect{200, 200, 300, 300});
    EXPECT_TRUE(outside.calls.empty());
}

TEST(ChildList, AContainerThatDoesNotOwnItsChildrenLetsThemGo) {
    // The test added them, so the test owns them; the sanitizers tell a destroyed child.
    CControlUI* a = new CControlUI;
    CControlUI* b = new CControlUI;
    auto container = std::make_unique<CVerticalLayoutUI>();
    container->SetOwnsChildren(false);
    container->Add(std::unique_ptr<CControlUI>(a));
    std::unique_ptr<CControlUI> back = container->RemoveAt(0);  // asked for, a child is handed back
    EXPECT_EQ(back.get(), a);
    EXPECT_EQ(a->Parent(), nullptr);
    container->Add(std::move(back));
    container->RemoveAll();
    EXPECT_EQ(container->Count(), 0);
    container->Add(std::unique_ptr<CControlUI>(a));
    container->Add(std::unique_ptr<CControlUI>(b));
    container.reset();
    for (CControlUI* child : {a, b}) {
        EXPECT_EQ(child->Parent(), nullptr);
        child->SetVisible(false);  // reaches no parent
        delete child;
    }
}

TEST(ChildList, HidingAContainerHidesItsChildrenAndTakesTheirFocus) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><VerticalLayout><HorizontalLayout><Button "
                                     L"name=\"b\"/></HorizontalLayout></VerticalLayout></Window>",
                                     SkinRect{0, 0, 100, 100});
    CControlUI* row = ChildAt(root, 0);
    CControlUI* button = host.Find(L"b");
    button->SetFocus();
    ASSERT_EQ(host.FocusControl(), button);
    row->SetVisible(false);
    EXPECT_FALSE(button->IsVisible());
    EXPECT_EQ(host.FocusControl(), nullptr);
}

}  // namespace
}  // namespace SkinUI
