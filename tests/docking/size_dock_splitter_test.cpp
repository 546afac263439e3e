// Dragging the size dock bar's splitters with the tracker, and maximising a bar in its
// row. Positions are worked by hand from the layout rules (see size_dock_layout_test.cpp);
// the tracker rectangle is the splitter less 2 pixels across it, and a move keeps its
// left edge within the limit's left and right and its top within the limit's top and
// bottom - 10.
#include "platform/afx/afxres.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "tests/docking/size_dock_test_support.h"

namespace zyn::test {
namespace {

using SplitterTest = SizeDockBarTest;

int HorzLength(const COXSizeControlBar* bar) { return bar->m_sizeHorzDock.cx; }

TEST_F(SplitterTest, RowPositionsAndSizeableRows)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* c = MakeSizeBar(CSize(100, 50));
    CTestBar* p = MakePlainBar(CSize(100, 30));
    Arrange(dock, {{a, b}, {p}, {c}});   // [0, A, B, 0, P, 0, C, 0]
    ASSERT_EQ(dock->m_arrBars.GetSize(), 8);
    struct Case {
        int pos, rowStart, previousRowStart;
    };
    const Case cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 1, 1}, {4, 4, 1}, {5, 4, 4}, {6, 6, 4}, {7, 6, 6}};
    for (const Case& k : cases) {
        EXPECT_EQ(dock->StartPosOfRow(k.pos), k.rowStart) << "position " << k.pos;
        EXPECT_EQ(dock->StartPosOfPreviousRow(k.pos), k.previousRowStart) << "position " << k.pos;
    }
    EXPECT_TRUE(dock->IsRowSizeable(1));
    EXPECT_FALSE(dock->IsRowSizeable(4));
    EXPECT_TRUE(dock->IsRowSizeable(6));
    sizeFrame->ShowControlBar(c, FALSE, FALSE);
    EXPECT_FALSE(dock->IsRowSizeable(6));   // hidden bars do not count
}

// A row of A and B (100 and 150 in 604: 240 and 360): the bar splitter lies from 236 to
// 244, the row splitter from 46 to 54. The last splitter wins where they would meet.
TEST_F(SplitterTest, HitTestAndCursors)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    Arrange(dock, {{MakeSizeBar(CSize(100, 50)), MakeSizeBar(CSize(150, 50))}});
    ASSERT_EQ(dock->GetSplitterCount(), 2);
    EXPECT_EQ(dock->HitTest(CPoint(240, 10)), dock->GetSplitter(0));
    EXPECT_EQ(dock->HitTest(CPoint(236, -2)), dock->GetSplitter(0));
    EXPECT_EQ(dock->HitTest(CPoint(244, 10)), nullptr);
    EXPECT_EQ(dock->HitTest(CPoint(300, 50)), dock->GetSplitter(1));
    EXPECT_EQ(dock->HitTest(CPoint(100, 10)), nullptr);
    dock->AddSplitterRect(COXSplitterRect::typeHorizontal, 230, 0, 250, 20, 1);
    EXPECT_EQ(dock->HitTest(CPoint(240, 10)), dock->GetSplitter(2));

    // The splitter cursors of the resources, the arrow off the splitters.
    const auto resourceCursor = [](UINT id) {
        const LPCWSTR name = MAKEINTRESOURCEW(static_cast<WORD>(id));
        return ::LoadCursorW(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
    };
    struct Case {
        CPoint point;
        HCURSOR cursor;
    };
    const Case cases[] = {{CPoint(240, 30), resourceCursor(AFX_IDC_HSPLITBAR)},
        {CPoint(300, 50), resourceCursor(AFX_IDC_VSPLITBAR)}, {CPoint(100, 10), ::LoadCursorW(nullptr, IDC_ARROW)}};
    for (const Case& c : cases) {
        ASSERT_NE(c.cursor, nullptr);
        dock->SetHitCursor(c.point);
        EXPECT_EQ(::GetCursor(), c.cursor) << c.point.x << "," << c.point.y;
    }
    EXPECT_TRUE(dock->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dock->m_hWnd), MAKELPARAM(HTCLIENT, 0)));
}

// Bars of 200 and 100 whose row ends at the side's end (a frame 304 wide: 304 - 4 = 300
// shared) or 30 pixels before it (334 wide, sizes kept). The splitter's tracker starts at
// 198; it may go right by what lies behind it (B, then the row's free space) and left by
// what lies before it, but not out of the frame's client area.
TEST_F(SplitterTest, ABarSplitterMovesOnlyAsFarAsTheBarsBesideItAllow)
{
    struct Case {
        const char* name;
        int clientWidth;
        int dx;
        int expectedA;
        int expectedB;   // -1: not looked at (a bar left without length wraps at the next pass)
    };
    const Case cases[] = {
        {"150 right, nothing free: 100", 304, 150, 300, -1},
        {"150 right, 30 free: 130", 334, 150, 330, -1},
        {"100 right, 30 free: B alone gives", 334, 100, 300, -1},
        {"150 left", 304, -150, 50, 250},
        {"250 left stops at the frame's edge", 304, -250, 2, 298},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(MakeSizeFrame(CSize(c.clientWidth, 300)), nullptr);
        COXSizeDockBar* dock = Dock(kTop);
        CTestSizeBar* a = MakeSizeBar(CSize(200, 50));
        CTestSizeBar* b = MakeSizeBar(CSize(100, 50));
        Arrange(dock, {{a, b}});
        a->m_sizeHorzDock.cx = 200;
        b->m_sizeHorzDock.cx = 100;
        Layout();
        ASSERT_EQ(InDock(b).right, 304);
        ASSERT_EQ(dock->GetSplitter(0)->m_rect, CRect(196, -2, 204, 46));

        DragBy(dock, CPoint(200, 20), c.dx, 0);
        EXPECT_EQ(HorzLength(a), c.expectedA);
        if (c.expectedB >= 0) {
            EXPECT_EQ(HorzLength(b), c.expectedB);
        }
        EXPECT_EQ(GetCapture(), nullptr);
        DestroyFrame();
    }
}

// The measuring and applying steps themselves: a bar left of the splitter grows by what
// the right side gave, the last bar ending at 0 when the free space is taken too.
TEST_F(SplitterTest, ShrinkingTakesTheFreeSpaceAfterTheLastBar)
{
    ASSERT_NE(MakeSizeFrame(CSize(334, 300)), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(200, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(100, 50));
    Arrange(dock, {{a, b}});
    a->m_sizeHorzDock.cx = 200;
    b->m_sizeHorzDock.cx = 100;
    Layout();
    const int posB = dock->FindBar(b);
    int bars = -1;
    EXPECT_EQ(dock->ShrinkRowToRight(posB, 16000, FALSE, &bars), 130);
    EXPECT_EQ(bars, 1);
    EXPECT_EQ(dock->ShrinkRowToLeft(posB - 1, 16000, FALSE, &bars), 200);
    EXPECT_EQ(bars, 1);
    EXPECT_EQ(HorzLength(b), 100);   // measuring changes nothing
    EXPECT_EQ(dock->ShrinkRowToRight(posB, 130, TRUE), 130);
    EXPECT_EQ(HorzLength(b), 0);
    EXPECT_EQ(dock->ShrinkRowToLeft(posB - 1, -130, TRUE), -130);
    EXPECT_EQ(HorzLength(a), 330);
}

// Four bars of 100 (a side 416 long: 416 - 24 + 8 = 400 shared). Dragging the splitter
// between B and C by 150 empties the nearest bar before touching the next one; the bar on
// the other side grows by exactly what was taken.
TEST_F(SplitterTest, TheNearestBarsShrinkFirstOnBothSidesAndBothOrientations)
{
    struct Case {
        const char* name;
        UINT side;
        int delta;
        int expected[4];
    };
    const Case cases[] = {
        {"top, right", kTop, 150, {100, 250, 0, 50}},
        {"top, left", kTop, -150, {50, 0, 250, 100}},
        {"left side, down", kLeft, 150, {100, 250, 0, 50}},
        {"left side, up", kLeft, -150, {50, 0, 250, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(MakeSizeFrame(CSize(416, 416)), nullptr);
        const bool horz = c.side == kTop;
        COXSizeDockBar* dock = Dock(c.side);
        CTestSizeBar* bars[4];
        for (auto& bar : bars)
            bar = MakeSizeBar(horz ? CSize(100, 50) : CSize(60, 100));
        Arrange(dock, {{bars[0], bars[1], bars[2], bars[3]}});
        // A from -2, B from 104, C from 210, D from 316 to 416; the splitter between B and C
        // from 202 to 210.
        ASSERT_EQ(horz ? InDock(bars[2]).left : InDock(bars[2]).top, 210);
        ASSERT_EQ(horz ? InDock(bars[3]).right : InDock(bars[3]).bottom, 416);

        DragBy(dock, horz ? CPoint(206, 20) : CPoint(20, 206), horz ? c.delta : 0, horz ? 0 : c.delta);
        for (int i = 0; i < 4; ++i) {
            const int length = horz ? bars[i]->m_sizeHorzDock.cx : bars[i]->m_sizeVertDock.cy;
            EXPECT_EQ(length, c.expected[i]) << "bar " << i;
        }
        DestroyFrame();
    }
}

// A splitter with fewer than two size bars on its sides together has nowhere to go.
TEST_F(SplitterTest, ASplitterBesideFewerThanTwoSizeBarsCannotMove)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestBar* p = MakePlainBar(CSize(100, 30));
    CTestSizeBar* a = MakeSizeBar(CSize(200, 50));
    Arrange(dock, {{p, a}});
    const int length = HorzLength(a);   // 604 - 100 + 4
    ASSERT_EQ(length, 508);
    int right = -1, left = -1;
    EXPECT_EQ(dock->ShrinkRowToRight(dock->FindBar(a), 16000, FALSE, &right), 508);
    EXPECT_EQ(dock->ShrinkRowToLeft(dock->FindBar(p), 16000, FALSE, &left), 0);
    EXPECT_EQ(right + left, 1);
    // A bar splitter laid there by hand, below the bars where the dock bar takes the press.
    dock->AddSplitterRect(COXSplitterRect::typeVertical, 300, 46, 308, 54, dock->FindBar(a));
    DragBy(dock, CPoint(304, 50), -120, 0);
    EXPECT_EQ(HorzLength(a), 508);
    DragBy(dock, CPoint(304, 50), 120, 0);
    EXPECT_EQ(HorzLength(a), 508);
}

// A size bar 100 across and a plain bar 40 across share a row; the row splitter is dragged
// 200 pixels to narrow the row. Top (splitter after the row, tracker at 98): the limit is
// 98 - 60, width 40; with a minimum track of 70, 98 + 70 - 100, width 70. Bottom (second
// row, splitter before it, tracker at 66): the limit's bottom 66 + 60 holds the tracker's
// top at 116 (width 50); with the minimum, 66 + 100 - 70 + 10 holds it at 96 (width 70).
// Left and right the same across, without the 10-pixel margin of vertical moves.
TEST_F(SplitterTest, NoRowGetsNarrowerThanItsWidestFixedBarOrItsBarsMinimum)
{
    struct Case {
        UINT side;
        bool minimum;
        int expectedWidth;
    };
    const Case cases[] = {
        {kTop, false, 40},
        {kTop, true, 70},
        {kBottom, false, 50},
        {kBottom, true, 70},
        {kLeft, false, 40},
        {kLeft, true, 70},
        {kRight, false, 40},
        {kRight, true, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.side << (c.minimum ? " with a minimum" : ""));
        ASSERT_NE(MakeSizeFrame(CSize(604, 416)), nullptr);
        const bool horz = c.side == kTop || c.side == kBottom;
        auto turned = [&](int length, int width) { return horz ? CSize(length, width) : CSize(width, length); };
        COXSizeDockBar* dock = Dock(c.side);
        CTestSizeBar* a = MakeSizeBar(turned(300, 100));
        CTestBar* p = MakePlainBar(CSize(100, 40));
        p->SetWindowPos(nullptr, 0, 0, turned(100, 40).cx, turned(100, 40).cy, SWP_NOMOVE | SWP_NOZORDER);
        if (c.minimum)
            a->minTrack = horz ? CPoint(0, 70) : CPoint(70, 0);
        CPoint press;
        int delta;
        if (c.side == kTop || c.side == kLeft) {
            Arrange(dock, {{a, p}});
            press = horz ? CPoint(300, 100) : CPoint(100, 200);   // the trailing splitter, 96..104
            delta = -200;
        } else {
            Arrange(dock, {{MakeSizeBar(turned(300, 60))}, {a, p}});
            press = horz ? CPoint(300, 68) : CPoint(68, 200);   // the second row's splitter, 64..72
            delta = 200;
        }
        ASSERT_EQ(horz ? a->m_sizeHorzDock.cy : a->m_sizeVertDock.cx, 100);
        DragBy(dock, press, horz ? 0 : delta, horz ? delta : 0);
        EXPECT_EQ(horz ? a->m_sizeHorzDock.cy : a->m_sizeVertDock.cx, c.expectedWidth);
        DestroyFrame();
    }
}

// Three bars of 198 (604: 594 shared). Maximising one leaves the others 21 and gives it
// what they lost (594 - 42); maximising another meanwhile keeps the first saved sizes;
// restoring puts all three back. On the left side the column of 416 shares 406: 135 each,
// 135 + 2 × 114 for the maximised one.
TEST_F(SplitterTest, MaximisingLeavesTheOthers21PixelsAndRestoringPutsBackTheirSizes)
{
    for (UINT side : {kTop, kLeft}) {
        SCOPED_TRACE(testing::Message() << std::hex << side);
        ASSERT_NE(MakeSizeFrame(), nullptr);
        const bool horz = side == kTop;
        COXSizeDockBar* dock = Dock(side);
        CTestSizeBar* bars[3];
        for (auto& bar : bars)
            bar = MakeSizeBar(horz ? CSize(200, 50) : CSize(60, 200));
        Arrange(dock, {{bars[0], bars[1], bars[2]}});
        auto lengths = [&]() {
            std::vector<int> v;
            for (auto* bar : bars)
                v.push_back(horz ? bar->m_sizeHorzDock.cx : bar->m_sizeVertDock.cy);
            return v;
        };
        const int each = horz ? 198 : 135;
        const int big = each + 2 * (each - 21);
        ASSERT_EQ(lengths(), (std::vector<int>{each, each, each}));

        dock->ResizeBar(bars[1], TRUE);
        EXPECT_EQ(lengths(), (std::vector<int>{21, big, 21}));
        EXPECT_TRUE(bars[1]->IsMaximized());
        EXPECT_EQ(horz ? InDock(bars[2]).right : InDock(bars[2]).bottom, horz ? 604 : 415);   // 406 - 3 × 135 lost

        dock->ResizeBar(bars[0], TRUE);
        EXPECT_EQ(lengths(), (std::vector<int>{big, 21, 21}));
        EXPECT_TRUE(bars[0]->IsMaximized());
        EXPECT_FALSE(bars[1]->IsMaximized());

        dock->ResizeBar(bars[0], FALSE);
        EXPECT_EQ(lengths(), (std::vector<int>{each, each, each}));
        EXPECT_FALSE(bars[0]->IsMaximized());
        DestroyFrame();
    }
}

} // namespace
} // namespace zyn::test
