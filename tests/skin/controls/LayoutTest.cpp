// Containers and layouts: how space is shared out along an axis, where floating children land, what
// a mouse point hits, how children are painted and clipped, and separator dragging.
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

TEST(Layout, SharesSpaceAlongTheAxis) {
    const LayoutCase cases[] = {
        {"fixed children keep their heights, 121 pixels stay empty below",
         L"<VerticalLayout><HorizontalLayout height=\"221\"/><HorizontalLayout "
         L"height=\"426\"/></VerticalLayout>",
         {0, 0, 1280, 768},
         {{0, 0, 1280, 221}, {0, 221, 1280, 647}}},
        {"stretchable children share, the last takes the remainder",
         L"<VerticalLayout><Control/><Control/></VerticalLayout>",
         {0, 0, 40, 101},
         {{0, 0, 40, 50}, {0, 50, 40, 101}}},
        {"a minimum above the share is kept and pushes later children",
         L"<VerticalLayout><Control minheight=\"60\"/><Control/><Control/></VerticalLayout>",
         {0, 0, 40, 100},
         {{0, 0, 40, 60}, {0, 60, 40, 93}, {0, 93, 40, 100}}},
        {"padding lies inside the slot, child padding between",
         L"<VerticalLayout childpadding=\"4\"><Control height=\"20\" padding=\"2,5,1,3\"/>"
         L"<Control height=\"10\"/></VerticalLayout>",
         {0, 0, 40, 100},
         {{2, 5, 39, 28}, {0, 32, 40, 42}}},
        {"padding top 5 and bottom 3 on a fixed 20; the last stretchable child reaches the bottom",
         L"<VerticalLayout childpadding=\"10\"><Control height=\"20\" padding=\"0,5,0,3\"/><Control/>"
         L"<Control/></VerticalLayout>",
         {0, 0, 40, 120},
         {{0, 5, 40, 28}, {0, 38, 40, 74}, {0, 84, 40, 120}}},
        {"width is the fixed width or the content width within limits",
         L"<VerticalLayout><Control width=\"30\" height=\"5\"/><Control height=\"5\" maxwidth=\"50\"/>"
         L"<Control height=\"5\" padding=\"7,0,3,0\"/></VerticalLayout>",
         {10, 20, 110, 120},
         {{10, 20, 40, 25}, {10, 25, 60, 30}, {17, 30, 107, 35}}},
        {"inset 3,5,0,3 with child padding 2",
         L"<HorizontalLayout inset=\"3,5,0,3\" childpadding=\"2\"><Control width=\"10\"/>"
         L"<Control width=\"20\"/></HorizontalLayout>",
         {0, 0, 100, 30},
         {{3, 5, 13, 27}, {15, 5, 35, 27}}},
        {"a control without size takes what its fixed siblings leave",
         L"<HorizontalLayout><Control width=\"100\"/><Control/><Control width=\"219\"/></HorizontalLayout>",
         {0, 0, 1000, 30},
         {{0, 0, 100, 30}, {100, 0, 781, 30}, {781, 0, 1000, 30}}},
        {"right padding lies inside the rectangle",
         L"<HorizontalLayout><Control width=\"10\" padding=\"4,2,6,1\"/><Control "
         L"width=\"5\"/></HorizontalLayout>",
         {0, 0, 100, 30},
         {{4, 2, 20, 29}, {20, 0, 25, 30}}},
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
    EXPECT_EQ(ChildAt(row, 0)->FloatOffset(), (SkinSize{466, 176}));
    EXPECT_EQ(ChildAt(row, 0)->FixedWidth(), 90);
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

TEST(HitTest, LaterChildrenAreFoundFirstAndHiddenOnesNever) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><Container><Control name=\"under\"/><Control name=\"over\"/>"
                                     L"<Control name=\"hidden\" visible=\"false\"/></Container></Window>",
                                     SkinRect{0, 0, 50, 50});
    EXPECT_EQ(FindControlAt(*root, SkinPoint{5, 5}), host.Find(L"over"));
    host.Find(L"over")->SetMouseEnabled(false);
    EXPECT_EQ(FindControlAt(*root, SkinPoint{5, 5}), host.Find(L"under"));
}

TEST(HitTest, WithoutMouseChildrenClicksReachTheLayout) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><HorizontalLayout mousechild=\"false\">"
                                     L"<Button name=\"b\" width=\"50\"/></HorizontalLayout></Window>",
                                     SkinRect{0, 0, 200, 40});
    int pressesOnLayout = 0;
    root->OnEvent().Add([&](SkinEvent& event) {
        pressesOnLayout += event.type == SkinEventType::kButtonDown ? 1 : 0;
        return true;
    });
    EXPECT_EQ(FindControlAt(*root, SkinPoint{10, 10}), root);
    host.Click(SkinPoint{10, 10});
    EXPECT_EQ(pressesOnLayout, 1);
    EXPECT_TRUE(host.NotificationsOf(L"click").empty());
}

CControlUI* AcceptNamed(CControlUI* control, void* name) {
    return control->Name() == static_cast<const wchar_t*>(name) ? control : nullptr;
}

TEST(Search, FlagsChooseOrderAndFilters) {
    TestControlHost host;
    CControlUI* root = BuildAttached(host,
                                     L"<Window><VerticalLayout name=\"x\"><Control name=\"x\"/>"
                                     L"<Control name=\"y\" enabled=\"false\"/></VerticalLayout></Window>",
                                     SkinRect{0, 0, 10, 10});
    wchar_t x[] = L"x";
    wchar_t y[] = L"y";
    EXPECT_EQ(root->SearchControls(AcceptNamed, x, 0), ChildAt(root, 0));  // children first
    EXPECT_EQ(root->SearchControls(AcceptNamed, x, SkinSearchFlags::kMeFirst), root);
    EXPECT_EQ(root->SearchControls(AcceptNamed, y, 0), ChildAt(root, 1));
    EXPECT_EQ(root->SearchControls(AcceptNamed, y, SkinSearchFlags::kEnabled), nullptr);
    // The update test passes over what the test accepts.
    EXPECT_EQ(ChildAt(root, 0)->SearchControls(AcceptNamed, x, SkinSearchFlags::kUpdateTest), nullptr);
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
    EXPECT_EQ(root->ItemRect(), (SkinRect{0, 0, 100, 50}));
}

TEST(ContainerPaint, NothingOutsideThePaintRectangle) {
    TestControlHost host;
    CControlUI* root =
        BuildAttached(host,
                      L"<Window><VerticalLayout><Control height=\"10\" bkcolor=\"#ff0000ff\"/>"
                      L"<Control height=\"10\" bkcolor=\"#ff00ff00\"/></VerticalLayout></Window>",
                      SkinRect{0, 0, 100, 100});
    RecordingCanvas canvas;
    root->Paint(canvas, SkinRect{0, 12, 100, 15});
    const auto fills = canvas.Only(CanvasOp::FillSolid);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, 0xff00ff00u);
    EXPECT_EQ(fills[0].rect, (SkinRect{0, 12, 100, 15}));
    RecordingCanvas outside;
    root->Paint(outside, SkinRect{200, 200, 300, 300});
    EXPECT_TRUE(outside.calls.empty());
}

TEST(ChildList, AddRemoveAndDelayedDestruction) {
    TestControlHost host;
    CControlUI* root =
        BuildAttached(host, L"<Window><VerticalLayout><Control name=\"a\"/></VerticalLayout></Window>",
                      SkinRect{0, 0, 100, 100});
    auto& children = *static_cast<IContainerUI*>(root->FindInterface(L"IContainer"));
    int initialised = 0;
    auto added = std::make_unique<CControlUI>();
    added->OnInit().Add([&](CControlUI&) { ++initialised; });
    CControlUI* b = added.get();
    EXPECT_TRUE(children.AddAt(std::move(added), 0));
    EXPECT_EQ(initialised, 1);  // joined a live tree
    EXPECT_EQ(b->Parent(), root);
    EXPECT_EQ(b->Manager(), &host);
    EXPECT_TRUE(root->NeedsUpdate());
    EXPECT_FALSE(children.AddAt(std::make_unique<CControlUI>(), 5));
    EXPECT_EQ(children.IndexOf(host.Find(L"a")), 1);

    // Removed children are destroyed after the message being handled.
    EXPECT_EQ(children.Remove(b), nullptr);
    ASSERT_EQ(host.destroyLater.size(), 1u);
    EXPECT_EQ(host.destroyLater[0].get(), b);
    auto& container = *static_cast<CContainerUI*>(root);
    container.SetDefersChildDeletion(false);
    CControlUI* a = host.Find(L"a");
    children.RemoveAt(0);
    EXPECT_EQ(host.forgotten.back(), a);  // at once
    EXPECT_EQ(children.Count(), 0);
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
    row->SetVisible(true);
    EXPECT_TRUE(button->IsVisible());
}

TEST(ScrollBars, ContentNarrowsAndScrollingMovesTheChildren) {
    TestControlHost host;
    CControlUI* root =
        BuildAttached(host,
                      L"<Window><VerticalLayout vscrollbar=\"true\" vscrollbarstyle=\"width=&quot;10&quot;\">"
                      L"<Control height=\"120\"/><Control height=\"180\"/></VerticalLayout></Window>",
                      SkinRect{0, 0, 100, 100});
    auto& layout = *static_cast<CContainerUI*>(root);
    ASSERT_NE(layout.VerticalScrollBar(), nullptr);
    EXPECT_EQ(layout.ContentArea(), (SkinRect{0, 0, 90, 100}));
    EXPECT_EQ(layout.VerticalScrollBar()->ItemRect(), (SkinRect{90, 0, 100, 100}));
    EXPECT_EQ(layout.ScrollRange(), (SkinSize{0, 200}));
    EXPECT_EQ(RectOf(root, 1), (SkinRect{0, 120, 90, 300}));

    host.Send(layout, SkinEventType::kScrollWheel);  // wParam 0: a line up, already at the top
    EXPECT_EQ(layout.ScrollPos(), (SkinSize{0, 0}));
    SkinEvent down;
    down.type = SkinEventType::kScrollWheel;
    down.wParam = kScrollLineDown;
    layout.Event(down);
    EXPECT_EQ(layout.ScrollPos(), (SkinSize{0, CScrollBarUI::kDefaultLineSize}));
    layout.EndDown();
    EXPECT_EQ(RectOf(root, 1), (SkinRect{0, -80, 90, 100}));
    host.Layout(SkinRect{0, 0, 100, 100});  // a new layout keeps the view where it is
    EXPECT_EQ(RectOf(root, 1), (SkinRect{0, -80, 90, 100}));
    layout.PageUp();
    EXPECT_EQ(layout.ScrollPos(), (SkinSize{0, 100}));
    layout.ApplyAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(layout.VerticalScrollBar(), nullptr);
    EXPECT_EQ(layout.ScrollPos(), (SkinSize{0, 0}));
}

class SeparatorDrag : public ::testing::Test {
  protected:
    CControlUI* Build(const wchar_t* separator) {
        return BuildAttached(
            host,
            std::wstring(L"<Window><VerticalLayout><VerticalLayout name=\"top\" height=\"100\" ") +
                separator + L"/><Control/></VerticalLayout></Window>",
            SkinRect{0, 0, 200, 300});
    }
    CLinearLayoutUI& Top() { return *static_cast<CLinearLayoutUI*>(host.Find(L"top")); }

    TestControlHost host;
};

TEST_F(SeparatorDrag, ShowsATranslucentLineWhileDraggingAndResizesOnRelease) {
    Build(L"sepheight=\"4\"");
    EXPECT_EQ(Top().SeparatorStrip(), (SkinRect{0, 96, 200, 100}));
    EXPECT_EQ(Top().ControlFlags(), SkinControlFlags::kSetCursor);
    host.Send(Top(), SkinEventType::kSetCursor, SkinPoint{50, 98});
    EXPECT_EQ(host.cursor, SkinCursor::SizeNorthSouth);

    host.MouseDown(SkinPoint{50, 98});
    host.MouseMove(SkinPoint{50, 128});
    EXPECT_EQ(Top().FixedHeight(), 100);  // not yet
    RecordingCanvas canvas;
    host.Paint(canvas, SkinRect{0, 0, 200, 300});
    const auto blends = canvas.Only(CanvasOp::BlendImage);
    ASSERT_FALSE(blends.empty());
    EXPECT_EQ(blends.back().rect, (SkinRect{0, 126, 200, 130}));  // the line at the dragged edge

    host.MouseUp(SkinPoint{50, 128});
    EXPECT_EQ(Top().FixedHeight(), 130);
    EXPECT_TRUE(host.postPaint.empty());
    host.Layout(SkinRect{0, 0, 200, 300});
    EXPECT_EQ(Top().ItemRect(), (SkinRect{0, 0, 200, 130}));
}

TEST_F(SeparatorDrag, ImmediateResizesAtEveryMoveWithinTheParent) {
    Build(L"sepheight=\"4\" sepimm=\"true\" minheight=\"20\"");
    host.MouseDown(SkinPoint{50, 97});
    host.MouseMove(SkinPoint{50, 117});
    EXPECT_EQ(Top().FixedHeight(), 120);
    EXPECT_TRUE(host.postPaint.empty());
    host.MouseMove(SkinPoint{50, 900});
    EXPECT_EQ(Top().FixedHeight(), 300);  // the parent's bottom
    host.MouseMove(SkinPoint{50, -500});
    EXPECT_EQ(Top().FixedHeight(), 20);  // the minimum
    host.MouseUp(SkinPoint{50, -500});
}

TEST_F(SeparatorDrag, PressesOutsideTheStripAreOrdinary) {
    Build(L"sepheight=\"-4\"");
    EXPECT_EQ(Top().SeparatorStrip(), (SkinRect{0, 0, 200, 4}));
    host.MouseDown(SkinPoint{50, 50});
    EXPECT_FALSE(Top().IsDraggingSeparator());
    host.MouseUp(SkinPoint{50, 50});
    host.MouseDown(SkinPoint{50, 2});
    EXPECT_TRUE(Top().IsDraggingSeparator());
}

}  // namespace
}  // namespace SkinUI
