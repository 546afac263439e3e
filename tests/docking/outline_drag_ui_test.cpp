// The outline drag of a size bar (snapping off), with scripted input on the virtual clock:
// floating mid-client (the notice and the frame's drag mark), Ctrl, cancelling, a click,
// the double-click toggle, docking on each side, the one-third outlines, a bar floating as
// an MDI child left alone, and the endings that must give everything back (the capture
// already taken, a WM_QUIT during the loop).
//
// The bar is 200 x 100 in all three places and starts docked at the top, alone in its row,
// which it fills. The press is 100 pixels in from its left edge and 50 down: the centre of
// its 200 x 100 outlines, which start at the bar's corner.
#include "platform/afx/afxres.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "tests/docking/docking_test_support.h"
#include "tests/support/golden.h"

namespace zyn::test {
namespace {

using user::InjectKey;
using user::InjectKeyPress;
using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

constexpr UINT ID_BAR = 0xE850;
const std::vector<WPARAM> kPromptAndIdle{26430, AFX_IDS_IDLEMESSAGE};

class OutlineDragTest : public SizeDockTest {
protected:
    void SetUp() override
    {
        SizeDockTest::SetUp();
        ASSERT_TRUE(MakeSizeFrame());
        ASSERT_TRUE(bar.Make(frame, ID_BAR, CRect(0, 0, 200, 100)));
        frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
        frame->RecalcLayout();
        Pump();
        sizeFrame()->prompts.clear();
    }
    CPoint Centre() const { return ScreenRect(bar).TopLeft() + CSize(100, 50); }
    // The frame's client area less the docked top row: the room a docked outline spans.
    CRect Room() const
    {
        CRect room = Client();
        room.top = ScreenRect(*sizeFrame()->Side(AFX_IDW_DOCKBAR_TOP)).bottom;
        return room;
    }
    COXDragDockContext* Context() const { return dynamic_cast<COXDragDockContext*>(bar.m_pDockContext); }
    // Where the floating frame of a bar whose window starts at `corner` stands: the bar's
    // floating size as a client area of the sizable floating frame's styles.
    CRect FrameOutline(CPoint corner) const
    {
        CRect r(corner, bar.m_sizeFloat);
        ::AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, FALSE, WS_EX_TOOLWINDOW);
        return r;
    }
    // A point that moves the press to where neither strip meets a side: the horizontal
    // strip 120 pixels under the top row, the vertical one 150 pixels in from the left.
    CPoint MidClient() const
    {
        const CRect b = ScreenRect(bar), room = Room();
        return Centre() + CSize(room.left + 150 - b.left, room.top + 120 - b.top);
    }

    CCountingSizeBar& bar{NewBar()};
};

TEST_F(OutlineDragTest, DroppedMidClientTheBarFloatsMarkedAndTold)
{
    const CRect before = ScreenRect(bar);
    const CPoint from = Centre(), to = MidClient();
    DragPath(from, {CPoint(from.x + 5, from.y + 5), to});

    COXSizableMiniDockFrameWnd* mini = FloatingFrame(bar);
    ASSERT_NE(mini, nullptr) << "floats in the sizable floating frame";
    const CPoint expected = FrameOutline(before.TopLeft()).TopLeft() + (to - from);
    EXPECT_EQ(ScreenRect(*mini).TopLeft(), expected) << "where the floating outline was dropped";
    EXPECT_EQ(bar.m_pDockContext->m_ptMRUFloatPos, expected);
    EXPECT_EQ(bar.floatedNotices, 1) << "WM_OX_BARFLOATED once";
    EXPECT_TRUE(mini->GetStyle() & OX_FLOATED_BY_DRAG) << "the frame carries the drag's mark";
    EXPECT_EQ(sizeFrame()->prompts, kPromptAndIdle);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(LockWindowUpdate(GetDesktopWindow())) << "the desktop is unlocked";
    LockWindowUpdate(nullptr);
}

TEST_F(OutlineDragTest, ACtrlDropFloatsWhereTheBarWouldDock)
{
    // Onto the left side: the horizontal strip 150 pixels under the top row, the
    // vertical one straddling the left edge.
    const CRect b = ScreenRect(bar), room = Room();
    const CPoint from = Centre();
    const CPoint left = from + CSize(room.left - 50 - b.left, room.top + 150 - b.top);
    for (const bool ctrl : {true, false}) {
        SCOPED_TRACE(ctrl ? "with Ctrl" : "without Ctrl");
        base::Clock::Advance(1000);   // no double click between the rows
        const CPoint start = Centre();
        InjectMouseMove(start.x, start.y);
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseMove(start.x + 5, start.y + 5);
        if (ctrl)
            InjectKey(VK_CONTROL, true);
        InjectMouseMove(left.x, left.y);
        InjectMouseButton(MouseButton::Left, false);
        if (ctrl)
            InjectKey(VK_CONTROL, false);
        Pump();
        if (ctrl) {
            EXPECT_NE(FloatingFrame(bar), nullptr);
            EXPECT_EQ(bar.floatedNotices, 1);
            // Docked back for the second row.
            bar.m_pDockContext->ToggleDocking();
            Pump();
            ASSERT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
        } else {
            EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
            EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, CBRS_ALIGN_LEFT);
            // The side's strip was as wide as the bar docked vertically: that width is kept.
            EXPECT_EQ(bar.m_sizeVertDock.cx, 200);
            EXPECT_EQ(bar.floatedNotices, 1) << "docking sends no floated notice";
        }
    }
}

// Each drag starts where the previous one left the bar, pressed 100 pixels in and 50
// down, so its outlines stand where the bar's corner is taken. A vertical side's strip
// (and outline) is as wide as the bar docked vertically (200), a horizontal side's as high
// as the bar docked horizontally (100): those thicknesses are the bar's on the new side.
TEST_F(OutlineDragTest, DropsDockTheBarOnEachSide)
{
    const CRect c = Client();
    struct Row {
        const char* name;
        CPoint corner;   // where the drag takes the bar's corner
        UINT side;
        DWORD align;
    };
    // Left and right: the horizontal strip (130..230 down) meets neither the top row nor
    // the bottom; the vertical one straddles the side. Bottom and top: the horizontal
    // strip straddles the side.
    const Row rows[] = {
        {"right", CPoint(c.right - 150, c.top + 130), AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
        {"bottom", CPoint(c.left + 200, c.bottom - 50), AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
        {"left", CPoint(c.left - 50, c.top + 130), AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
        {"top", CPoint(c.left + 200, c.top - 50), AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        base::Clock::Advance(1000);   // no double click between the rows
        const CRect b = ScreenRect(bar);
        const CPoint from = Centre();
        DragPath(from, {from + CSize(5, 5), from + (row.corner - b.TopLeft())});
        EXPECT_EQ(SideOf(bar), row.side);
        EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, row.align);
        if (row.align & CBRS_ORIENT_HORZ)
            EXPECT_EQ(bar.m_sizeHorzDock.cy, 100);
        else
            EXPECT_EQ(bar.m_sizeVertDock.cx, 200);
        EXPECT_EQ(bar.floatedNotices, 0) << "docking sends no floated notice";
        EXPECT_EQ(FloatingFrame(bar), nullptr);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(OutlineDragTest, EscapeAndTheRightButtonCancelEraseAndPrompt)
{
    struct Row {
        const char* name;
        void (*cancel)();
        void (*after)();
    };
    const Row rows[] = {
        {"escape", [] { InjectKeyPress(VK_ESCAPE); }, [] { InjectMouseButton(MouseButton::Left, false); }},
        {"right button", [] { InjectMouseButton(MouseButton::Right, true); },
            [] {
                InjectMouseButton(MouseButton::Left, false);
                InjectMouseButton(MouseButton::Right, false);
            }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        base::Clock::Advance(1000);
        Pump();
        sizeFrame()->prompts.clear();
        CRect area = ScreenRect(*frame);
        area.InflateRect(40, 40);
        const std::vector<COLORREF> before = ScreenPixels(area);
        const CRect barBefore = ScreenRect(bar);
        const CPoint from = Centre(), to = MidClient();
        std::vector<COLORREF> during;
        InjectMouseMove(from.x, from.y);
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseMove(to.x, to.y);
        user::QueueIdleAction([&] {
            during = ScreenPixels(area);
            row.cancel();
        });
        Pump();
        row.after();
        Pump();
        EXPECT_NE(during, before) << "the outline was drawn";
        EXPECT_TRUE(ScreenPixels(area) == before) << "the outline is erased";
        EXPECT_EQ(ScreenRect(bar), barBefore);
        EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
        EXPECT_EQ(bar.floatedNotices, 0);
        EXPECT_EQ(sizeFrame()->prompts, kPromptAndIdle);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

// The outline shows over any background: each pixel of its rows is black or white, a
// pixel's neighbour along the row the other (the halftone pattern), whatever it covers;
// 1 pixel wide when docking, the sizing border less one when floating.
TEST_F(OutlineDragTest, TheOutlineShowsOverAnyBackground)
{
    const auto halftoneRow = [](const CRect& row) {
        const std::vector<COLORREF> px = ScreenPixels(row);
        for (size_t i = 0; i < px.size(); ++i)
            if ((px[i] != RGB(0, 0, 0) && px[i] != RGB(255, 255, 255)) || (i > 0 && px[i] == px[i - 1]))
                return false;
        return !px.empty();
    };
    const CRect b = ScreenRect(bar), room = Room();
    const CPoint from = Centre();
    const struct {
        const char* name;
        CPoint to;
        bool docking;
    } rows[] = {
        {"floating mid-client", MidClient(), false},
        {"docking on the left", from + CSize(room.left - 50 - b.left, room.top + 150 - b.top), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        base::Clock::Advance(1000);
        Pump();
        CRect outline;
        bool topShows = false, belowTop = true;
        user::QueueIdleAction([&] {
            if (COXDragDockContext* c = Context()) {
                outline = c->m_rectLast;
                const int width = row.docking ? 1 : ::GetSystemMetrics(SM_CYFRAME) - 1;
                topShows = true;
                for (int y = 0; y < width; ++y)
                    topShows = topShows && halftoneRow(CRect(outline.left, outline.top + y, outline.right, outline.top + y + 1));
                // Inside the frame's width, the covered screen is untouched.
                belowTop = !halftoneRow(CRect(outline.left + width + 2, outline.top + width, outline.right - width - 2,
                    outline.top + width + 1));
                if (!row.docking) {
                    EXPECT_TRUE(MatchesGoldenScreen("docking", "drag_outline_floating",
                        CRect(outline.left - 4, outline.top - 4, outline.left + 60, outline.top + 24)));
                }
            }
            InjectKeyPress(VK_ESCAPE);
        });
        DragPath(from, {from + CSize(5, 5), row.to}, false);
        InjectMouseButton(MouseButton::Left, false);
        Pump();
        EXPECT_FALSE(outline.IsRectEmpty());
        EXPECT_TRUE(topShows) << "the outline's top rows are the halftone pattern";
        EXPECT_TRUE(belowTop) << "the outline is no wider than its width";
    }
}

// Dropped past the bottom-right corner of the screen, the bar floats wholly on it.
TEST_F(OutlineDragTest, TheFloatingOutlineStaysOnTheScreen)
{
    const CPoint corner(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    // Injected once the bar holds the mouse, as a person's moves come.
    user::QueueIdleAction([&] {
        InjectMouseMove(corner.x, corner.y);
        InjectMouseButton(MouseButton::Left, false);
    });
    DragPath(Centre(), {Centre() + CSize(5, 5)}, false);
    COXSizableMiniDockFrameWnd* mini = FloatingFrame(bar);
    ASSERT_NE(mini, nullptr);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const CRect floating = ScreenRect(*mini);
    CRect onScreen;
    EXPECT_TRUE(onScreen.IntersectRect(&work, &floating) && onScreen == floating)
        << "the floating frame lies within the work area";
    EXPECT_GT(floating.left, (work.left + work.right) / 2) << "still by the corner it was dropped at";
}

TEST_F(OutlineDragTest, AClickChangesAndSendsNothing)
{
    const CRect before = ScreenRect(bar);
    DragPath(Centre(), {});
    EXPECT_EQ(ScreenRect(bar), before);
    EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(bar.floatedNotices, 0) << "a click is not a drag";
    EXPECT_EQ(sizeFrame()->prompts, kPromptAndIdle) << "the prompt comes and goes all the same";
}

TEST_F(OutlineDragTest, DoubleClicksDockBackAtTheLastPlaceAndFloatAtTheLastPoint)
{
    CDockBar* top = sizeFrame()->Side(AFX_IDW_DOCKBAR_TOP);
    const CRect docked = RectIn(*top, bar);
    const CPoint from = Centre(), to = MidClient();
    DragPath(from, {CPoint(from.x + 5, from.y + 5), to});
    COXSizableMiniDockFrameWnd* mini = FloatingFrame(bar);
    ASSERT_NE(mini, nullptr);
    const CPoint floatedAt = ScreenRect(*mini).TopLeft();
    const HWND hMini = mini->m_hWnd;

    // A double click on the floating frame's caption docks the bar where it was.
    base::Clock::Advance(1000);
    const CRect r = ScreenRect(*mini);
    const CPoint caption = FindHit(*mini, HTCAPTION, CPoint(r.left + 20, r.top + 1), CSize(0, 1));
    InjectMouseMove(caption.x, caption.y);
    for (int i = 0; i < 2; ++i) {
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseButton(MouseButton::Left, false);
    }
    Pump();
    EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(RectIn(*top, bar), docked);
    EXPECT_FALSE(::IsWindow(hMini)) << "the emptied floating frame went";

    // A double click on the docked bar floats it where it floated last.
    base::Clock::Advance(1000);
    const CPoint centre = Centre();
    InjectMouseMove(centre.x, centre.y);
    for (int i = 0; i < 2; ++i) {
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseButton(MouseButton::Left, false);
    }
    Pump();
    mini = FloatingFrame(bar);
    ASSERT_NE(mini, nullptr);
    EXPECT_EQ(ScreenRect(*mini).TopLeft(), floatedAt);
}

TEST_F(OutlineDragTest, DockedOutlinesWithin16PixelsOfTheRoomShowAThirdOfIt)
{
    const CRect room = Room();
    const int cw = room.Width(), ch = room.Height();
    struct Row {
        int horzWidth, vertHeight;   // the bar's docked lengths
        int outlineWidth, outlineHeight;
    };
    const Row rows[] = {
        {cw - 17, ch - 17, cw - 17, ch - 17},
        {cw - 16, ch - 16, cw / 3, ch / 3},
        {cw + 50, ch + 50, cw / 3, ch / 3},
        {40, 30, 40, 30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "lengths " << row.horzWidth << " x " << row.vertHeight);
        base::Clock::Advance(1000);
        Pump();
        bar.m_sizeHorzDock = CSize(row.horzWidth, 100);
        bar.m_sizeVertDock = CSize(200, row.vertHeight);
        CRect dragHorz, dragVert, stripHorz, stripVert;
        const CPoint from = Centre();
        InjectMouseMove(from.x, from.y);
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseMove(from.x + 5, from.y + 5);
        user::QueueIdleAction([&] {
            if (COXDragDockContext* c = Context()) {
                dragHorz = c->m_rectDragHorz;
                dragVert = c->m_rectDragVert;
                stripHorz = c->m_rectHorzStrip;
                stripVert = c->m_rectVertStrip;
            }
            InjectKeyPress(VK_ESCAPE);
        });
        Pump();
        InjectMouseButton(MouseButton::Left, false);
        Pump();
        EXPECT_EQ(dragHorz.Size(), CSize(row.outlineWidth, 100));
        EXPECT_EQ(dragVert.Size(), CSize(200, row.outlineHeight));
        // The strips span the room across and follow the bar's docked thickness.
        EXPECT_EQ(stripHorz.Size(), CSize(cw, 100));
        EXPECT_EQ(stripVert.Size(), CSize(200, ch));
        EXPECT_EQ(stripVert.top, room.top) << "the vertical strip follows the mouse sideways only";
        EXPECT_EQ(stripHorz.left, room.left) << "the horizontal strip follows it up and down only";
    }
}

TEST_F(OutlineDragTest, ADropBesideTwoBarsOfARowDocksAThirdOfTheStrip)
{
    // Two more bars share the top row; a bar dragged over that row shares it three ways.
    CCountingSizeBar& second = NewBar();
    CCountingSizeBar& third = NewBar();
    ASSERT_TRUE(second.Make(frame, ID_BAR + 1, CRect(0, 0, 150, 100)));
    ASSERT_TRUE(third.Make(frame, ID_BAR + 2, CRect(0, 0, 150, 100)));
    auto* top = static_cast<COXSizeDockBar*>(sizeFrame()->Side(AFX_IDW_DOCKBAR_TOP));
    CRect onRow = ScreenRect(bar);
    onRow.OffsetRect(210, 0);
    top->DockControlBar(&second, &onRow);
    onRow.OffsetRect(160, 0);
    top->DockControlBar(&third, &onRow);
    frame->FloatControlBar(&bar, CPoint(300, 450));
    frame->RecalcLayout();
    Pump();
    CRect strip(Room().left, ScreenRect(second).top, Room().right, ScreenRect(second).top + 100);
    ASSERT_EQ(top->BarsOnThisRow(&bar, strip), 2) << "the two bars share the row";
    const CRect rowBars = ScreenRect(second);
    const CPoint from = ScreenRect(bar).CenterPoint();
    CRect dock;
    InjectMouseMove(from.x, from.y);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseMove(rowBars.left + 20, rowBars.top + 30);
    user::QueueIdleAction([&] {
        if (COXDragDockContext* c = Context())
            dock = c->m_rectDock;
        InjectKeyPress(VK_ESCAPE);
    });
    Pump();
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    EXPECT_EQ(dock.Width(), Room().Width() / 3);
}

// A frame the seam calls an MDI float window: it moves like any MDI child, so the bar's
// context neither drags nor toggles it (no prompt, no capture, the bar stays afloat).
// Without the seam's word the same frame toggles.
class SeamFloatingAsMDI : public COXDockingSeam {
public:
    CWnd* floatWnd = nullptr;
    COXMDIFloatWnd* AsMDIFloatWnd(CWnd* pWnd) override
    {
        return pWnd && pWnd == floatWnd ? reinterpret_cast<COXMDIFloatWnd*>(pWnd) : nullptr;
    }
};

TEST_F(OutlineDragTest, ABarFloatingAsAnMDIChildIsNeitherDraggedNorToggled)
{
    frame->FloatControlBar(&bar, CPoint(300, 300));
    Pump();
    COXSizableMiniDockFrameWnd* mini = FloatingFrame(bar);
    ASSERT_NE(mini, nullptr);
    SeamFloatingAsMDI seam;
    seam.floatWnd = mini;
    {
        ScopedSeam scoped(&seam);
        sizeFrame()->prompts.clear();
        bar.m_pDockContext->StartDrag(ScreenRect(bar).CenterPoint());
        EXPECT_TRUE(sizeFrame()->prompts.empty()) << "no drag prompt";
        EXPECT_EQ(GetCapture(), nullptr);
        bar.m_pDockContext->ToggleDocking();
        Pump();
        EXPECT_EQ(FloatingFrame(bar), mini) << "still in the same frame";
    }
    bar.m_pDockContext->ToggleDocking();
    Pump();
    EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP)) << "an ordinary floating frame toggles";
}

// Two bars sharing the top as tabs; the one shown leaves: docked on the left, floated
// mid-client, or toggled by a double click. The strip must let it go, or the bar left
// behind stays hidden behind a tab nobody can see.
struct TabLeaving {
    const char* name;
    bool toggle;   // a double click instead of a drag
    UINT side;     // where the bar that left ends: a side, 0 floating
};
const TabLeaving kTabLeavings[] = {{"DockedOnTheLeft", false, AFX_IDW_DOCKBAR_LEFT}, {"Floated", false, 0},
    {"ToggledByADoubleClick", true, 0}};

void PrintTo(const TabLeaving& row, std::ostream* os) { *os << row.name; }

class OutlineTabDragTest : public OutlineDragTest, public ::testing::WithParamInterface<TabLeaving> {};

TEST_P(OutlineTabDragTest, ATabbedBarLeavingLeavesItsTabStripAndTheOtherBarShows)
{
    const TabLeaving& row = GetParam();
    CCountingSizeBar& other = NewBar();
    ASSERT_TRUE(other.Make(frame, ID_BAR + 1, CRect(0, 0, 200, 100), L"Other"));
    frame->DockControlBar(&other, AFX_IDW_DOCKBAR_TOP);
    frame->RecalcLayout();
    auto* top = dynamic_cast<COXSizeDockBar*>(sizeFrame()->Side(AFX_IDW_DOCKBAR_TOP));
    ASSERT_NE(top, nullptr);
    top->TabAllDockedControlBars(&bar);
    frame->RecalcLayout();
    Pump();
    ASSERT_NE(bar.GetDockTabCtrl(), nullptr);
    ASSERT_NE(other.GetDockTabCtrl(), nullptr);
    CCountingSizeBar& moved = bar.IsWindowVisible() ? bar : other;
    CCountingSizeBar& left = &moved == &bar ? other : bar;
    const CPoint from = ScreenRect(moved).TopLeft() + CSize(100, 50);
    if (row.toggle) {
        InjectMouseMove(from.x, from.y);
        for (int i = 0; i < 2; ++i) {
            InjectMouseButton(MouseButton::Left, true);
            InjectMouseButton(MouseButton::Left, false);
        }
        Pump();
    } else {
        // The left side: the corner 50 pixels over the edge, 130 under the top; mid-client:
        // 150 in and 120 under the top row, where neither strip meets a side.
        const CRect c = Client();
        const CPoint corner = row.side ? CPoint(c.left - 50, c.top + 130) : CPoint(c.left + 150, Room().top + 120);
        DragPath(from, {from + CSize(5, 5), from + (corner - ScreenRect(moved).TopLeft())});
    }
    frame->RecalcLayout();   // the idle pass's layout shows what the strip showed
    Pump();
    EXPECT_EQ(SideOf(moved), row.side);
    EXPECT_EQ(moved.GetDockTabCtrl(), nullptr) << "out of the strip";
    EXPECT_EQ(left.GetDockTabCtrl(), nullptr) << "the last bar shows without a tab";
    EXPECT_TRUE(left.IsWindowVisible());
    EXPECT_TRUE(moved.IsWindowVisible());
    EXPECT_EQ(SideOf(left), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
}

INSTANTIATE_TEST_SUITE_P(Leavings, OutlineTabDragTest, ::testing::ValuesIn(kTabLeavings),
    [](const ::testing::TestParamInfo<TabLeaving>& info) { return std::string(info.param.name); });

// A bar dropped on a side that holds another size bar: released in the bottom 48 pixels
// of that side's dock bar it shares the place with the other as a tab, shown and the other
// hidden behind its own tab; released above that band it docks beside the other, untabbed.
struct TabDrop {
    const char* name;
    int aboveBottom;  // the release point, this far above the dock bar's bottom
    bool tabbed;
};
const TabDrop kTabDrops[] = {{"InTheBand", 20, true}, {"AtTheBandsTop", 47, true}, {"AboveTheBand", 120, false}};

void PrintTo(const TabDrop& row, std::ostream* os) { *os << row.name; }

class OutlineTabDropTest : public OutlineDragTest, public ::testing::WithParamInterface<TabDrop> {};

TEST_P(OutlineTabDropTest, ADropOnTheBandOfASideHoldingABarMakesTabs)
{
    const TabDrop& row = GetParam();
    CCountingSizeBar& other = NewBar();
    ASSERT_TRUE(other.Make(frame, ID_BAR + 1, CRect(0, 0, 200, 100), L"Other"));
    frame->DockControlBar(&other, AFX_IDW_DOCKBAR_LEFT);
    frame->RecalcLayout();
    Pump();
    const CRect side = ScreenRect(*sizeFrame()->Side(AFX_IDW_DOCKBAR_LEFT));
    const CPoint from = Centre();
    const CPoint to(side.CenterPoint().x, side.bottom - row.aboveBottom);
    DragPath(from, {from + CSize(5, 5), to});
    frame->RecalcLayout();
    Pump();
    EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(SideOf(other), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(bar.GetDockTabCtrl() != nullptr, row.tabbed);
    EXPECT_EQ(other.GetDockTabCtrl() != nullptr, row.tabbed);
    EXPECT_TRUE(bar.IsWindowVisible()) << "the bar dropped shows";
    EXPECT_EQ(other.IsWindowVisible() != FALSE, !row.tabbed) << "the other shows only untabbed";
}

INSTANTIATE_TEST_SUITE_P(Drops, OutlineTabDropTest, ::testing::ValuesIn(kTabDrops),
    [](const ::testing::TestParamInfo<TabDrop>& info) { return std::string(info.param.name); });

TEST_F(OutlineDragTest, TrackFindingTheCaptureTakenGivesEverythingBack)
{
    const HWND other = MakePlain(WS_POPUP | WS_VISIBLE);
    Pump();
    ::SetCapture(other);
    CRect area = ScreenRect(*frame);
    area.InflateRect(40, 40);
    const std::vector<COLORREF> before = ScreenPixels(area);
    bar.m_pDockContext->StartDrag(Centre());
    EXPECT_EQ(GetCapture(), other) << "the other window keeps its capture";
    EXPECT_TRUE(LockWindowUpdate(GetDesktopWindow())) << "the desktop lock was given back";
    LockWindowUpdate(nullptr);
    EXPECT_TRUE(ScreenPixels(area) == before) << "the first outline is erased";
    EXPECT_EQ(sizeFrame()->prompts, kPromptAndIdle) << "the message line is idle again";
    EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
    ::ReleaseCapture();
    ::DestroyWindow(other);
}

TEST_F(OutlineDragTest, AQuitDuringTheDragCancelsItAndStaysQueued)
{
    const CRect before = ScreenRect(bar);
    const CPoint from = Centre(), to = MidClient();
    InjectMouseMove(from.x, from.y);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseMove(to.x, to.y);
    user::QueueIdleAction([] { ::PostQuitMessage(5); });
    Pump();
    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is kept for the application";
    EXPECT_EQ(quit.wParam, 5u);
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    EXPECT_EQ(ScreenRect(bar), before);
    EXPECT_EQ(bar.floatedNotices, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(sizeFrame()->prompts, kPromptAndIdle);
}

} // namespace
} // namespace zyn::test
