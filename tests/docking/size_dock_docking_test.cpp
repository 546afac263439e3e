// Docking into a size dock bar: where a bar is inserted and placed, which dock bar takes
// a bar dragged live, the row queries, and the menu bar and cool toolbar rules (the menu
// bar known by name, here through a stand-in). Positions are worked by hand from the
// layout rules (see size_dock_layout_test.cpp).
#include "platform/user/driver.h"
#include "tests/docking/size_dock_test_support.h"

namespace zyn::test {
namespace {

using DockingTest = SizeDockBarTest;
using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;
using Rows_t = std::vector<std::vector<CControlBar*>>;

// A screen rectangle of a size whose top-left corner is a client point of `wnd`.
CRect ScreenRectAt(CWnd* wnd, CPoint clientTopLeft, CSize size)
{
    CPoint pt = clientTopLeft;
    wnd->ClientToScreen(&pt);
    return CRect(pt, size);
}

// Rows [A, B] (y -2..48) and [C] (54..104, after the row splitter): a row's far edge for
// insertion is 46, then 94.
TEST_F(DockingTest, InsertPositionsAndBarsSharingARow)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* c = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* n = MakeSizeBar(CSize(100, 40));
    Arrange(dock, {{a, b}, {c}});
    ASSERT_EQ(InDock(c).top, 54);
    struct Case {
        int centreY;
        CControlBar* bar;
        int position;
        int sharing;
    };
    const Case cases[] = {
        {20, n, 3, 2},    // row 1: after B
        {20, a, 3, 1},    // A itself is not counted
        {70, n, 5, 1},    // row 2: after C
        {150, n, 6, 0},   // past every row: a new one
        {-10, n, 0, 0},   // above the first row's start
    };
    for (const Case& k : cases) {
        const CRect rect = ScreenRectAt(dock, CPoint(300, k.centreY - 20), CSize(100, 40));
        EXPECT_EQ(dock->TestInsertPosition(k.bar, rect), k.position) << "centre " << k.centreY;
        EXPECT_EQ(dock->BarsOnThisRow(k.bar, rect), k.sharing) << "centre " << k.centreY;
    }
}

// A left column [A] (80 wide). A bar dropped with its left edge 6 pixels left of the side
// up to 2 right of it is inserted as if at the side's edge - 2 and joins A's column; 7
// pixels left it starts a column of its own before A.
TEST_F(DockingTest, ABarDroppedNearTheSidesEdgeSnapsToIt)
{
    struct Case {
        int offset;
        bool joins;
    };
    for (const Case& c : {Case{-7, false}, Case{-6, true}, Case{0, true}, Case{2, true}}) {
        SCOPED_TRACE(c.offset);
        ASSERT_NE(MakeSizeFrame(), nullptr);
        COXSizeDockBar* dock = Dock(kLeft);
        CTestSizeBar* a = MakeSizeBar(CSize(80, 100));
        CTestSizeBar* b = MakeSizeBar(CSize(80, 100));
        Arrange(dock, {{a}});
        CRect rect = ScreenRectAt(dock, CPoint(0, 100), CSize(80, 100));
        rect.OffsetRect(c.offset, 0);
        dock->DockControlBar(b, &rect);
        EXPECT_EQ(Rows(dock), (c.joins ? Rows_t{{a, b}} : Rows_t{{b}, {a}}));
        EXPECT_EQ(b->m_pDockBar, dock);
        EXPECT_EQ(b->GetParent(), dock);
        EXPECT_EQ(b->GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING),
            CBRS_ALIGN_LEFT | CBRS_BORDER_ANY);
        DestroyFrame();
    }
}

// A menu bar keeps a row of its own: a bar aimed at its row lands in a new row just past
// it (the menu bar from -2 to 22 across; the insertion point moves to 24, past the row's
// far edge of 20).
TEST_F(DockingTest, TheMenuBarKeepsARowOfItsOwn)
{
    if (!standin::Active())
        GTEST_SKIP() << "the menu bar class is linked in; the stand-in does not apply";
    struct Case {
        const char* name;
        UINT side;
        bool rowHoldsMenuBar;
        bool droppedIsMenuBar;
        bool newRow;
    };
    const Case cases[] = {
        {"top, into the menu bar's row", kTop, true, false, true},
        {"top, into a plain row", kTop, false, false, false},
        {"top, a menu bar into a plain row", kTop, false, true, true},
        {"left, into the menu bar's column", kLeft, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(MakeSizeFrame(), nullptr);
        const bool horz = c.side == kTop;
        COXSizeDockBar* dock = Dock(c.side);
        const CSize barSize = horz ? CSize(300, 24) : CSize(24, 300);
        CControlBar* first = c.rowHoldsMenuBar ? static_cast<CControlBar*>(MakeCoolBar<standin::COXMenuBar>(CSize(300, 24)))
                                               : MakePlainBar(CSize(300, 24));
        first->SetWindowPos(nullptr, 0, 0, barSize.cx, barSize.cy, SWP_NOMOVE | SWP_NOZORDER);
        CControlBar* dropped = c.droppedIsMenuBar ? static_cast<CControlBar*>(MakeCoolBar<standin::COXMenuBar>(CSize(100, 24)))
                                                  : MakePlainBar(CSize(100, 24));
        dropped->SetWindowPos(nullptr, 0, 0, horz ? 100 : 24, horz ? 24 : 100, SWP_NOMOVE | SWP_NOZORDER);
        Arrange(dock, {{first}});
        const CRect rect = ScreenRectAt(dock, horz ? CPoint(350, 5) : CPoint(5, 350), horz ? CSize(100, 24) : CSize(24, 100));
        dock->DockControlBar(dropped, &rect);
        EXPECT_EQ(Rows(dock), (c.newRow ? Rows_t{{first}, {dropped}} : Rows_t{{first, dropped}}));
        DestroyFrame();
    }
}

// Row [A (size), P (plain)] in 604: A takes 604 - 100 + 4 = 508 (-2..506), P 504..604. A
// size bar lands 8 pixels (a splitter) further on than a plain one; a point before every
// bar, or a line no bar starts on, gives the side's start.
TEST_F(DockingTest, PlacesAlongARowLeaveRoomForTheSplitterBetweenSizeBars)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* top = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(200, 50));
    CTestBar* p = MakePlainBar(CSize(100, 30));
    CTestSizeBar* n = MakeSizeBar(CSize(100, 50));
    CTestBar* q = MakePlainBar(CSize(100, 30));
    Arrange(top, {{a, p}});
    ASSERT_EQ(InDock(a), CRect(-2, -2, 506, 48));
    ASSERT_EQ(InDock(p).left, 504);
    struct Case {
        CControlBar* bar;
        int y, x;
        int expected;
    };
    const Case cases[] = {
        {n, -2, 300, 506 + 8 - 2},
        {n, -2, 550, 604 - 2},
        {q, -2, 300, 506 - 2},
        {n, -2, -5, -2},
        {n, 10, 300, -2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(top->GetXCoord(c.bar, c.y, c.x), c.expected) << "x " << c.x << " y " << c.y;

    // Down a left side the same, from 0: [A (size), P (plain)] in what the top row (52)
    // leaves of 416, A 364 - 100 + 4 = 268 long.
    COXSizeDockBar* left = Dock(kLeft);
    CTestSizeBar* la = MakeSizeBar(CSize(80, 200));
    CTestBar* lp = MakePlainBar(CSize(100, 30));
    lp->SetWindowPos(nullptr, 0, 0, 30, 100, SWP_NOMOVE | SWP_NOZORDER);
    Arrange(left, {{la, lp}});
    ASSERT_EQ(InDock(la), CRect(-2, -2, 78, 266));
    EXPECT_EQ(left->GetYCoord(n, -2, 100), 266 + 8 - 2);
    EXPECT_EQ(left->GetYCoord(q, -2, 100), 266 - 2);
    EXPECT_EQ(left->GetYCoord(n, -2, -5), 0);

    // A size bar docked at a point along a row is placed there at once: past the plain
    // bar it ends at, 2 back over it.
    CRect rect = ScreenRectAt(top, CPoint(200, 60), CSize(100, 50));
    top->DockControlBar(n, &rect);
    EXPECT_EQ(Rows(top), (Rows_t{{a, p}, {n}}));
    rect = ScreenRectAt(top, CPoint(300, 0), CSize(100, 50));
    top->DockControlBar(n, &rect);
    EXPECT_EQ(Rows(top), (Rows_t{{a, n, p}}));
    Layout();
    rect = ScreenRectAt(top, CPoint(InDock(p).left + 50, 0), CSize(100, 50));
    top->DockControlBar(n, &rect);
    EXPECT_EQ(Rows(top), (Rows_t{{a, p, n}}));
    EXPECT_EQ(InDock(n).left, InDock(p).right - 2);
}

TEST_F(DockingTest, DockingWithoutAPlaceAddsARowAndCopiesTheWholeText)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kBottom);
    const CString longTitle(L'x', 300);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50), longTitle);
    CTestSizeBar* b = MakeSizeBar(CSize(100, 50), L"B");
    dock->m_arrBars.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(a->GetDlgCtrlID())));   // a's old place
    dock->m_arrBars.Add(nullptr);
    dock->DockControlBar(a);
    EXPECT_EQ(dock->FindBar(reinterpret_cast<CControlBar*>(static_cast<UINT_PTR>(a->GetDlgCtrlID()))), -1);
    CString text;
    dock->GetWindowText(text);
    EXPECT_EQ(text.GetLength(), 300);
    dock->DockControlBar(b);
    EXPECT_EQ(Rows(dock), (Rows_t{{a}, {b}}));
    EXPECT_EQ(InDock(b).TopLeft(), CPoint(-2, -2));
    const INT_PTR entries = dock->m_arrBars.GetSize();
    dock->DockControlBar(b);   // already there and no place asked for
    EXPECT_EQ(dock->m_arrBars.GetSize(), entries);
    EXPECT_EQ(b->GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY), CBRS_ALIGN_BOTTOM | CBRS_BORDER_ANY);
}

// A bar docked from another side leaves it (no placeholder: neither floats); a bar docked
// from a floating frame leaves the frame, which goes with its last bar.
TEST_F(DockingTest, ABarLeavesTheDockBarItCameFrom)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    Arrange(Dock(kTop), {{a}});
    CRect rect = ScreenRectAt(Dock(kLeft), CPoint(0, 50), CSize(60, 100));
    Dock(kLeft)->DockControlBar(a, &rect);
    EXPECT_EQ(Dock(kTop)->m_arrBars.GetSize(), 1);
    EXPECT_EQ(Rows(Dock(kLeft)), (Rows_t{{a}}));
    Layout();

    sizeFrame->FloatControlBar(a, CPoint(300, 300), CBRS_ALIGN_TOP);
    ASSERT_NE(a->m_pDockBar, nullptr);
    ASSERT_TRUE(a->m_pDockBar->m_bFloating);
    const HWND floating = a->m_pDockBar->GetParent()->m_hWnd;
    EXPECT_TRUE(Dock(kLeft)->FindBar(reinterpret_cast<CControlBar*>(static_cast<UINT_PTR>(a->GetDlgCtrlID()))) > 0)
        << "the left side keeps a's place";
    rect = ScreenRectAt(Dock(kRight), CPoint(0, 50), CSize(60, 100));
    Dock(kRight)->DockControlBar(a, &rect);
    EXPECT_EQ(a->m_pDockBar, Dock(kRight));
    EXPECT_FALSE(::IsWindow(floating));
    EXPECT_TRUE(a->IsWindowVisible());
    Layout();
}

// Which dock bar takes a dragged bar at a point: left, right, top, bottom by their
// windows, then by the windows grown 20 pixels (the left and right ones kept 28 pixels
// off the bottom); never a side the bar may not use.
TEST_F(DockingTest, TheDockBarUnderTheCursorTakesADraggedBar)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* n = MakeSizeBar(CSize(100, 50));
    Arrange(Dock(kTop), {{a}});
    const CRect client = Client();
    const CRect top = ScreenRect(*Dock(kTop));
    struct Case {
        const char* name;
        CPoint point;
        DWORD dockStyle;
        UINT expected;   // 0: none
    };
    const Case cases[] = {
        {"over the top side", CPoint(client.left + 300, top.top + 10), CBRS_ALIGN_ANY, kTop},
        {"the top side not allowed", CPoint(client.left + 300, top.top + 10), CBRS_ALIGN_LEFT, 0},
        {"near the empty left side", CPoint(client.left + 10, client.top + 200), CBRS_ALIGN_ANY, kLeft},
        {"left not allowed", CPoint(client.left + 10, client.top + 200), CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM, 0},
        {"near the empty right side", CPoint(client.right - 15, client.top + 200), CBRS_ALIGN_ANY, kRight},
        // The left side's grown window stops 8 pixels above the client's bottom.
        {"near the left side's bottom", CPoint(client.left + 10, client.bottom - 9), CBRS_ALIGN_ANY, kLeft},
        {"in the bottom-left corner: the bottom side", CPoint(client.left + 10, client.bottom - 8), CBRS_ALIGN_ANY,
            kBottom},
        {"mid-client", CPoint(client.left + 300, client.top + 200), CBRS_ALIGN_ANY, 0},
    };
    for (const Case& c : cases) {
        n->EnableDocking(c.dockStyle);
        COXSizeDockBar* found = COXSizeDockBar::GetAppropriateDockBar(c.point, n);
        EXPECT_EQ(found, c.expected ? Dock(c.expected) : nullptr) << c.name;
    }
    // Without a main frame there is nothing to dock into.
    n->EnableDocking(CBRS_ALIGN_ANY);
    app.m_pMainWnd = nullptr;
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(CPoint(client.left + 300, top.top + 10), n), nullptr);
    app.m_pMainWnd = sizeFrame;
}

// A frame without size dock bars on some sides: those sides are passed over.
TEST_F(DockingTest, AMissingSideIsPassedOver)
{
    ASSERT_NE(MakeSizeFrame(CSize(604, 416), CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM), nullptr);
    ASSERT_EQ(Dock(kLeft), nullptr);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* n = MakeSizeBar(CSize(100, 50));
    Arrange(Dock(kTop), {{a}});
    const CRect client = Client();
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(CPoint(client.left + 5, client.top + 200), n), nullptr);
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(CPoint(client.left + 5, client.top + 10), n), Dock(kTop));
}

// Size bars and cool toolbars never share a dock bar while dragged live.
TEST_F(DockingTest, ACoolToolbarNeverDocksLiveBesideSizeBars)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    CFixedCoolBar* cool = MakeCoolBar(CSize(200, 24));
    CFixedCoolBar* cool2 = MakeCoolBar(CSize(200, 24));
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* n = MakeSizeBar(CSize(100, 50));
    CTestBar* plain = MakePlainBar(CSize(100, 24));
    Arrange(Dock(kTop), {{cool}});
    Arrange(Dock(kBottom), {{a}});
    const CRect top = ScreenRect(*Dock(kTop));
    const CRect bottom = ScreenRect(*Dock(kBottom));
    const CPoint overTop(top.left + 300, top.top + 10);
    const CPoint overBottom(bottom.left + 300, bottom.bottom - 10);
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(overTop, n), nullptr);
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(overBottom, n), Dock(kBottom));
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(overBottom, cool2), nullptr);
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(overTop, cool2), Dock(kTop));
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(overBottom, plain), Dock(kBottom));
    EXPECT_EQ(Dock(kTop)->GetFirstDockedCoolToolBar(nullptr), cool);
    EXPECT_EQ(Dock(kTop)->GetFirstDockedCoolToolBar(cool), nullptr);
    EXPECT_EQ(Dock(kBottom)->GetFirstDockedCoolToolBar(nullptr), nullptr);
}

// The same rule on a real drag, snapping on: the cool toolbar's own bar drag asks the size
// dock bars where it goes. One drag, each step a mouse move: over the side holding a size
// bar the bar floats, over an empty side or one holding another cool toolbar it docks
// there, and Ctrl floats it anywhere. The release ends the drag.
TEST_F(DockingTest, ACoolToolbarDraggedLiveDocksOnlyWhereNoSizeBarIs)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    sizeFrame->m_bSnapping = TRUE;
    CFixedCoolBar* cool = MakeCoolBar(CSize(200, 24));
    CFixedCoolBar* other = MakeCoolBar(CSize(120, 24));
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    Arrange(Dock(kTop), {{cool}});
    Arrange(Dock(kBottom), {{a}});
    Arrange(Dock(kRight), {{other}});
    const CRect client = Client();
    const CPoint midBottom(client.CenterPoint().x, ScreenRect(*Dock(kBottom)).CenterPoint().y);
    const CPoint nearLeft(client.left + 10, client.top + 150);
    const CPoint overRight = ScreenRect(*Dock(kRight)).CenterPoint();
    struct Step {
        const char* name;
        CPoint to;
        bool ctrl;
        UINT side;   // 0: floating
    };
    const Step steps[] = {
        {"over the side holding a size bar", midBottom, false, 0},
        {"near the empty left side", nearLeft, false, kLeft},
        {"over the side holding another cool toolbar", overRight, false, kRight},
        {"the size bar's side again", midBottom, false, 0},
        {"Ctrl near the left side", nearLeft, true, 0},
        {"Ctrl let go", nearLeft + CSize(0, 10), false, kLeft},
    };
    const CPoint press = ScreenRect(*cool).CenterPoint();
    InjectMouseMove(press.x, press.y);
    InjectMouseButton(MouseButton::Left, true);
    Pump();
    ASSERT_TRUE(cool->IsBarDragging()) << "a press on no tool starts the bar drag";
    for (const Step& step : steps) {
        if (step.ctrl)
            user::InjectKey(VK_CONTROL, true);
        InjectMouseMove(step.to.x, step.to.y);
        Pump();
        if (step.ctrl)
            user::InjectKey(VK_CONTROL, false);
        Layout();
        CDockBar* dock = cool->m_pDockBar;
        EXPECT_EQ(cool->IsFloating() ? 0u : (dock ? dock->GetDlgCtrlID() : 1u), step.side) << step.name;
        EXPECT_EQ(GetCapture(), cool->m_hWnd) << step.name << ": the drag keeps the mouse";
    }
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    EXPECT_FALSE(cool->IsBarDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(a->m_pDockBar, Dock(kBottom)) << "the size bar stays alone on its side";
    EXPECT_EQ(Rows(Dock(kRight)), (std::vector<std::vector<CControlBar*>>{{other}}));
}

TEST_F(DockingTest, SizeBarsOfADockBarAndThoseStackedAtOnePlace)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    CTestBar* p = MakePlainBar(CSize(100, 30));
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(100, 50));
    COXSizeDockBar* top = Dock(kTop);
    Arrange(top, {{p, a, b}});
    EXPECT_EQ(top->GetSizeControlBarCount(nullptr), 2);
    EXPECT_EQ(top->GetSizeControlBarCount(a), 1);
    EXPECT_EQ(top->GetFirstDockedSizeControlBar(nullptr), a);
    EXPECT_EQ(top->GetFirstDockedSizeControlBar(a), b);
    // Side by side in a row: not stacked. In two rows at the same left edge: stacked.
    EXPECT_EQ(top->GetVisibleSizeControlBarCount(a), 1);
    Arrange(top, {{a}, {b}});
    EXPECT_EQ(top->GetVisibleSizeControlBarCount(a), 2);
    sizeFrame->ShowControlBar(b, FALSE, FALSE);
    EXPECT_EQ(top->GetVisibleSizeControlBarCount(a), 1);

    // Down a side, bars of one column share their left edge.
    CTestSizeBar* c = MakeSizeBar(CSize(80, 100));
    CTestSizeBar* d = MakeSizeBar(CSize(80, 100));
    Arrange(Dock(kLeft), {{c, d}});
    EXPECT_EQ(Dock(kLeft)->GetVisibleSizeControlBarCount(c), 2);
}

} // namespace
} // namespace zyn::test
