// The size dock bar's row layout and sizing passes. Every expected number is worked by
// hand from the layout rules: rows start at (-2, -2), each bar ends 2 pixels back over the
// next, an 8-pixel splitter lies between two sizeable bars and beside each row holding
// one, and a row's sizeable bars share (length - fixed + 2 per bar) in proportion to
// their lengths, truncated.
#include "tests/docking/size_dock_test_support.h"
#include "toolkit/docking/size_tool_bar.h"

namespace zyn::test {
namespace {

using LayoutTest = SizeDockBarTest;

void SetLength(CControlBar* bar, int length, int width)
{
    bar->SetWindowPos(nullptr, 0, 0, length, width, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(LayoutTest, TheFrameHasTheClientAreaTheTestsWorkWith)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(604, 416));
    for (UINT id : {kTop, kBottom, kLeft, kRight})
        EXPECT_NE(Dock(id), nullptr) << std::hex << id;
}

// Each sizeable bar of the row gets (its length × available) / sizeable length, where
// available = row length - fixed length + 2 per bar counted.
TEST_F(LayoutTest, RowLengthIsSharedInProportionAndTruncationIsNotHandedOut)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    struct Case {
        const char* name;
        std::vector<int> lengths;   // negative: a plain bar of that length
        int rowLength;
        std::vector<int> expected;  // the sizeable bars, in order
    };
    const Case cases[] = {
        // 204 - 8 (splitter) + 4 = 200 shared by 100 and 300.
        {"100 and 300 in 200", {100, 300}, 204, {50, 150}},
        // 100·200/300 = 66.6 and 200·200/300 = 133.3: one pixel lost.
        {"100 and 200 in 200", {100, 200}, 204, {66, 133}},
        // A plain bar between them: no splitter, its 40 pixels fixed; 234 - 40 + 6 = 200.
        {"a plain bar between", {100, -40, 300}, 234, {50, 150}},
        // Fixed bars needing more than the row leave the sizeable ones nothing, never less.
        {"no room", {100, -300, 300}, 100, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COXSizeDockBar* dock = Dock(kTop);
        std::vector<CControlBar*> bars;
        std::vector<COXSizeControlBar*> sizeBars;
        for (int length : c.lengths) {
            if (length > 0) {
                COXSizeControlBar* bar = MakeSizeBar(CSize(length, 40 + 10 * static_cast<int>(bars.size())));
                bars.push_back(bar);
                sizeBars.push_back(bar);
            } else {
                bars.push_back(MakePlainBar(CSize(-length, 30)));
            }
        }
        for (CControlBar* bar : bars)
            dock->DockControlBar(bar);
        dock->m_arrBars.RemoveAll();
        dock->m_arrBars.Add(nullptr);
        for (CControlBar* bar : bars)
            dock->m_arrBars.Add(bar);
        dock->m_arrBars.Add(nullptr);
        // The windows as the case gives them (the layout is not run).
        for (size_t i = 0; i < bars.size(); ++i)
            SetLength(bars[i], std::abs(c.lengths[i]), 40 + 10 * static_cast<int>(i));
        const int widest = 40 + 10 * static_cast<int>(bars.size() - 1);

        EXPECT_TRUE(dock->AdjustRowSizes(1, c.rowLength, dock->m_arrBars));
        for (size_t i = 0; i < sizeBars.size(); ++i) {
            EXPECT_EQ(sizeBars[i]->m_sizeHorzDock, CSize(c.expected[i], widest)) << "bar " << i;
            // Not a query: the window takes the size at once.
            EXPECT_EQ(CSize(ScreenRect(*sizeBars[i]).Size()), CSize(c.expected[i], widest)) << "bar " << i;
        }
        // Out of the way of the next case.
        for (CControlBar* bar : bars) {
            dock->RemoveControlBar(bar);
            bar->ShowWindow(SW_HIDE);
        }
    }
}

TEST_F(LayoutTest, ARowWithoutSizeBarIsLeftAlone)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    CTestBar* plain = MakePlainBar(CSize(100, 30));
    Arrange(Dock(kTop), {{plain}});
    EXPECT_FALSE(Dock(kTop)->AdjustRowSizes(1, 50, Dock(kTop)->m_arrBars));
    EXPECT_EQ(ScreenRect(*plain).Size(), CSize(100, 30));
    EXPECT_EQ(Dock(kTop)->GetSplitterCount(), 0);
}

TEST_F(LayoutTest, AnEmptyDockBarAnswersThePlainBarSizeAndHasNoSplitters)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    ASSERT_EQ(dock->m_arrBars.GetSize(), 1);
    EXPECT_EQ(dock->CalcFixedLayout(TRUE, TRUE), CSize(32767, 0));
    EXPECT_EQ(dock->CalcFixedLayout(FALSE, TRUE), CSize(0, 0));
    EXPECT_EQ(dock->GetSplitterCount(), 0);
    EXPECT_EQ(ScreenRect(*dock).Height(), 0);
}

// Two size bars of 100 and 150 in a 604-pixel top row share 604 - 8 + 4 = 600: 240 and
// 360. A from -2 to 238; the splitter from 236 (238 - 2) to 244; B from 244 to 604. The
// row ends at 46 (-2 + 50 - 2); the row splitter after it runs from 46 to 54 across the
// whole side, so the layout is 54 high where a plain one would be 46; the side's own
// border (CBRS_BORDER_BOTTOM, 2 pixels) makes the dock bar 52.
TEST_F(LayoutTest, TwoSizeBarsInATopRowGetABarSplitterBetweenAndARowSplitterAfter)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(150, 50));
    Arrange(dock, {{a, b}});

    EXPECT_EQ(a->m_sizeHorzDock, CSize(240, 50));
    EXPECT_EQ(b->m_sizeHorzDock, CSize(360, 50));
    EXPECT_EQ(InDock(a), CRect(-2, -2, 238, 48));
    EXPECT_EQ(InDock(b), CRect(244, -2, 604, 48));
    ASSERT_EQ(dock->GetSplitterCount(), 2);
    EXPECT_EQ(dock->GetSplitter(0)->m_nType, COXSplitterRect::typeVertical);
    EXPECT_EQ(dock->GetSplitter(0)->m_rect, CRect(236, -2, 244, 46));
    EXPECT_EQ(dock->GetSplitter(0)->m_nIndex, dock->FindBar(b));
    EXPECT_EQ(dock->GetSplitter(1)->m_nType, COXSplitterRect::typeHorizontal);
    EXPECT_EQ(dock->GetSplitter(1)->m_rect, CRect(-2, 46, 32767, 54));
    EXPECT_EQ(dock->GetSplitter(1)->m_nIndex, 3);   // the row end after the row
    EXPECT_EQ(ScreenRect(*dock).Height(), 54 - 2);
    for (int bad : {2, -1}) {
        try {
            dock->GetSplitter(bad);
            ADD_FAILURE() << "no exception for " << bad;
        } catch (CInvalidArgException* e) {
            e->Delete();
        }
    }
}

// A size tool bar is laid out like a plain toolbar: no bar splitter beside a size bar, and
// a row holding only size tool bars gets no row splitter (the row is 46 high with the
// dock bar's bottom border of 2 off: 44).
TEST_F(LayoutTest, ASizeToolBarGetsNoSplitters)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    auto* tool = MakeSizeBar<COXSizeToolBar>(CSize(200, 50));
    Arrange(dock, {{tool}});
    EXPECT_EQ(dock->GetSplitterCount(), 0);
    EXPECT_EQ(ScreenRect(*dock).Height(), 44);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    Arrange(dock, {{a, tool}});
    ASSERT_EQ(dock->GetSplitterCount(), 1) << "only the row splitter";
    EXPECT_EQ(dock->GetSplitter(0)->m_nType, COXSplitterRect::typeHorizontal);
    EXPECT_TRUE(dock->IsRowSizeable(1)) << "the row queries count every size bar";
    EXPECT_TRUE(COXSizeDockBar::IsSizeable(tool));
}

// One size bar 50 high (80 wide on a vertical side). Top: its row ends at 46, the row
// splitter after it makes 54. Bottom: the splitter stands before the row (-2..6), the bar
// from 6, the row ends at 54. Left: the column ends at 76 and the trailing splitter adds
// 7 (83). Right: the splitter before the column, the bar from 6, the column ends at 84.
// Each side's border toward the view (2 pixels) comes off: 52, 52, 81, 82.
TEST_F(LayoutTest, EachSideGrowsByItsRowSplitter)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    struct Case {
        UINT side;
        CSize bar;
        int thickness;
        CRect splitter;
        CPoint barAt;
    };
    const Case cases[] = {
        {kTop, CSize(100, 50), 54 - 2, CRect(-2, 46, 32767, 54), CPoint(-2, -2)},
        {kBottom, CSize(100, 50), 54 - 2, CRect(-2, -2, 32767, 6), CPoint(-2, 6)},
        {kLeft, CSize(80, 100), 83 - 2, CRect(76, -2, 84, 32767), CPoint(-2, -2)},
        {kRight, CSize(80, 100), 84 - 2, CRect(-2, -2, 6, 32767), CPoint(6, -2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.side);
        COXSizeDockBar* dock = Dock(c.side);
        CTestSizeBar* bar = MakeSizeBar(c.bar);
        Arrange(dock, {{bar}});
        const bool horz = c.side == kTop || c.side == kBottom;
        const CRect rect = ScreenRect(*dock);
        EXPECT_EQ(horz ? rect.Height() : rect.Width(), c.thickness);
        ASSERT_EQ(dock->GetSplitterCount(), 1);
        EXPECT_EQ(dock->GetSplitter(0)->m_rect, c.splitter);
        EXPECT_EQ(InDock(bar).TopLeft(), c.barAt);
        // Gone again for the next side.
        sizeFrame->ShowControlBar(bar, FALSE, FALSE);
        dock->RemoveControlBar(bar);
        Layout();
    }
}

TEST_F(LayoutTest, ATabStripAddsItsHeightOnEverySide)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    for (UINT side : {kTop, kLeft}) {
        SCOPED_TRACE(testing::Message() << std::hex << side);
        COXSizeDockBar* dock = Dock(side);
        const BOOL horz = side == kTop;
        Arrange(dock, {{MakeSizeBar(horz ? CSize(100, 50) : CSize(80, 100))}});
        dock->m_bLayoutQuery = TRUE;
        const CSize before = dock->CalcFixedLayout(FALSE, horz);
        EXPECT_EQ(dock->GetTabHeight(), 0);
        ASSERT_GE(dock->m_wndDockTabCtrl.InsertItem(0, L"Tab"), 0);
        EXPECT_EQ(dock->GetTabHeight(), 28);
        const CSize after = dock->CalcFixedLayout(FALSE, horz);
        dock->m_bLayoutQuery = FALSE;
        EXPECT_EQ(after, CSize(before.cx, before.cy + 28));
        // The strip lies along the dock bar's bottom edge, 28 high.
        Layout();
        dock->SendMessage(WM_SIZE, 0, 0);
        CRect client;
        dock->GetClientRect(&client);
        EXPECT_EQ(RectIn(*dock, dock->m_wndDockTabCtrl),
            CRect(client.left, client.bottom - 28, client.right, client.bottom));
        dock->m_wndDockTabCtrl.DeleteAllItems();
        EXPECT_EQ(dock->GetTabHeight(), 0);
    }
}

// A bar that would start past the row's end wraps: a row end goes before it, and the bar
// alone takes the side's length plus its border (302 of 300).
TEST_F(LayoutTest, ASizeBarPastTheRowsEndStartsANewRow)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(100, 50));
    Arrange(dock, {{a, b}});
    a->m_sizeHorzDock = CSize(400, 50);
    a->SetWindowPos(nullptr, -2, -2, 400, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    b->m_sizeHorzDock = CSize(100, 50);

    dock->m_rectLayout = CRect(0, 0, 300, 200);
    dock->m_bLayoutQuery = TRUE;
    dock->CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(Rows(dock), (std::vector<std::vector<CControlBar*>>{{a}, {b}}));
    EXPECT_EQ(b->m_sizeHorzDock, CSize(302, 50));
    // The next pass finds it in a row of its own.
    dock->CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(Rows(dock), (std::vector<std::vector<CControlBar*>>{{a}, {b}}));
    dock->m_bLayoutQuery = FALSE;
    dock->m_rectLayout.SetRectEmpty();
}

// A plain bar that would run past the side even packed against the bars before it wraps
// into a row of its own at once, at that row's start wherever its window stood, below the
// row it leaves (30 - 2 - 2 = 26 further across):
// a bar of length n after one ending at e starts at e and fits while e + n <= L + 2. On the
// top side L = 604; on the left 416.
TEST_F(LayoutTest, APlainBarRunningPastTheSideStartsANewRow)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    const struct {
        const char* name;
        UINT side;
        std::vector<int> lengths;
        std::vector<CPoint> starts; // along, across: where each bar ends up
    } rows[] = {
        {"top: 300 then 310 ends at 606", kTop, {300, 310}, {{-2, -2}, {296, -2}}},
        {"top: 300 then 311 runs past", kTop, {300, 311}, {{-2, -2}, {-2, 26}}},
        {"top: the third of 250 runs past", kTop, {250, 250, 250}, {{-2, -2}, {246, -2}, {-2, 26}}},
        {"left: 200 then 222 ends at 418", kLeft, {200, 222}, {{-2, -2}, {196, -2}}},
        {"left: 200 then 223 runs past", kLeft, {200, 223}, {{-2, -2}, {-2, 26}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        COXSizeDockBar* dock = Dock(row.side);
        const bool horz = row.side == kTop;
        std::vector<CControlBar*> bars;
        for (int length : row.lengths)
            bars.push_back(MakePlainBar(CSize(length, 30))); // turned on the left side
        for (CControlBar* bar : bars)
            dock->DockControlBar(bar);
        dock->m_arrBars.RemoveAll(); // one row
        dock->m_arrBars.Add(nullptr);
        for (CControlBar* bar : bars)
            dock->m_arrBars.Add(bar);
        dock->m_arrBars.Add(nullptr);
        // Each window where a longer side had it: packed along the one row.
        int along = -2;
        for (size_t i = 0; i < bars.size(); ++i) {
            const CPoint at = horz ? CPoint(along, -2) : CPoint(-2, along);
            bars[i]->SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            along += row.lengths[i] - 2;
        }
        Layout();
        std::vector<std::vector<CControlBar*>> expectedRows(1);
        for (size_t i = 0; i < bars.size(); ++i) {
            if (i > 0 && row.starts[i].y != row.starts[i - 1].y)
                expectedRows.emplace_back();
            expectedRows.back().push_back(bars[i]);
        }
        EXPECT_EQ(Rows(dock), expectedRows);
        for (size_t i = 0; i < bars.size(); ++i) {
            const CPoint start = horz ? row.starts[i] : CPoint(row.starts[i].y, row.starts[i].x);
            EXPECT_EQ(InDock(bars[i]).TopLeft(), start) << "bar " << i;
        }
        for (CControlBar* bar : bars)
            bar->DestroyWindow();
    }
}

// A bar at its row's start whose window has no length yet closes its row after it: both
// rows are shared out again (606 = 604 + 2 each). Alone in its row it adds no row end,
// however often the layout runs.
TEST_F(LayoutTest, ABarWithoutLengthAtItsRowStartClosesItsRow)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(100, 50));
    Arrange(dock, {{a, b}});
    a->SetWindowPos(nullptr, -2, -2, 0, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    dock->m_rectLayout = CRect(0, 0, 604, 200);
    dock->m_bLayoutQuery = TRUE;
    dock->CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(Rows(dock), (std::vector<std::vector<CControlBar*>>{{a}, {b}}));
    EXPECT_EQ(a->m_sizeHorzDock.cx, 606);
    EXPECT_EQ(b->m_sizeHorzDock.cx, 606);

    dock->m_arrBars.RemoveAll();
    dock->m_arrBars.Add(nullptr);
    dock->m_arrBars.Add(a);
    dock->m_arrBars.Add(nullptr);
    for (int pass = 0; pass < 3; ++pass)
        dock->CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(dock->m_arrBars.GetSize(), 3);
    dock->m_bLayoutQuery = FALSE;
    dock->m_rectLayout.SetRectEmpty();
    dock->m_arrBars.Add(b);
    dock->m_arrBars.Add(nullptr);
}

// Three bars of 200 in 604: 604 - 16 + 6 = 594, 198 each. Hidden, C leaves 604 - 8 + 4 =
// 600 to A and B (300 each). Shown again, A and B first give up C's 198 in proportion (the
// row's 608 less 198 is 410, 406 to share: 203 each); then the row is shared out as a
// whole: 594 in proportion to 203, 203 and 198 gives 199, 199 and 194.
TEST_F(LayoutTest, ABarShownAgainTakesItsRoomBackFromItsRow)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(200, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(200, 50));
    CTestSizeBar* c = MakeSizeBar(CSize(200, 50));
    Arrange(dock, {{a, b, c}});
    EXPECT_EQ(a->m_sizeHorzDock.cx, 198);
    EXPECT_EQ(b->m_sizeHorzDock.cx, 198);
    EXPECT_EQ(c->m_sizeHorzDock.cx, 198);

    sizeFrame->ShowControlBar(c, FALSE, FALSE);
    Layout();
    EXPECT_TRUE(dock->WasBarHidden(c));
    EXPECT_EQ(a->m_sizeHorzDock.cx, 300);
    EXPECT_EQ(b->m_sizeHorzDock.cx, 300);
    EXPECT_EQ(ScreenRect(*c).Width(), 198);

    sizeFrame->ShowControlBar(c, TRUE, FALSE);
    Layout();
    EXPECT_FALSE(dock->WasBarHidden(c));
    EXPECT_EQ(a->m_sizeHorzDock.cx, 199);
    EXPECT_EQ(b->m_sizeHorzDock.cx, 199);
    EXPECT_EQ(c->m_sizeHorzDock.cx, 194);
    EXPECT_EQ(InDock(c).right, 199 - 2 - 2 + 8 + 199 - 2 + 8 + 194);
}

// A delayed hide of a docked bar reaches its window in the next layout pass.
TEST_F(LayoutTest, ADelayedHideIsAppliedByTheLayout)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    CTestSizeBar* a = MakeSizeBar(CSize(200, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(200, 50));
    Arrange(Dock(kTop), {{a, b}});
    sizeFrame->ShowControlBar(b, FALSE, TRUE);
    EXPECT_FALSE(b->IsVisible());
    EXPECT_TRUE(b->IsWindowVisible());
    Layout();
    EXPECT_FALSE(b->IsWindowVisible());
    EXPECT_EQ(a->m_sizeHorzDock.cx, 604 - 0 + 2);
}

// sum: a row end doubles it, a visible bar adds 1 and a size bar also its position;
// result sum × 256 + visible bars.
TEST_F(LayoutTest, TheChecksumTellsWhereSizeBarsSitAndHowManyShow)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(100, 50));
    CTestBar* p = MakePlainBar(CSize(100, 30));

    Arrange(dock, {{a, b}});
    EXPECT_EQ(dock->CheckSumBars(), ((1 + 1) + (1 + 2)) * 2 * 256 + 2);   // 2562
    Arrange(dock, {{a}, {b}});
    EXPECT_EQ(dock->CheckSumBars(), (((1 + 1) * 2) + (1 + 3)) * 2 * 256 + 2);   // 4098
    Arrange(dock, {{a, p}});
    EXPECT_EQ(dock->CheckSumBars(), ((1 + 1) + 1) * 2 * 256 + 2);   // 1538
    Arrange(dock, {{a, b}});
    sizeFrame->ShowControlBar(b, FALSE, FALSE);
    EXPECT_EQ(dock->CheckSumBars(), (1 + 1) * 2 * 256 + 1);   // 1025
    // Many rows double the sum far past an int without harm.
    sizeFrame->ShowControlBar(b, TRUE, FALSE);
    for (int i = 0; i < 40; ++i)
        dock->m_arrBars.InsertAt(1, static_cast<void*>(nullptr));
    EXPECT_NE(dock->CheckSumBars(), 0);
    dock->m_arrBars.RemoveAt(1, 40);
}

// Tiling shares the last layout's length less the fixed bars equally; the last bar takes
// the remainder. 605 - 16 = 589: 196, 196, 197. 605 - 40 = 565: 282, 283.
TEST_F(LayoutTest, TilingSharesARowEquallyWithoutMovingWindows)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(150, 60));
    CTestSizeBar* c = MakeSizeBar(CSize(50, 40));
    CTestSizeBar* d = MakeSizeBar(CSize(80, 50));
    CTestSizeBar* e = MakeSizeBar(CSize(90, 50));
    CTestBar* p = MakePlainBar(CSize(40, 70));
    Arrange(dock, {{a, b, c}, {d, p, e}});
    for (CControlBar* bar : std::initializer_list<CControlBar*>{a, b, c})
        SetLength(bar, 100, 50 + (bar == b ? 10 : 0));
    const CRect before = ScreenRect(*a);
    dock->m_nLastWidth = 605;
    dock->TileDockedBars();
    EXPECT_EQ(a->m_sizeHorzDock, CSize(196, 60));
    EXPECT_EQ(b->m_sizeHorzDock, CSize(196, 60));
    EXPECT_EQ(c->m_sizeHorzDock, CSize(197, 60));
    EXPECT_EQ(d->m_sizeHorzDock, CSize(282, 70));
    EXPECT_EQ(e->m_sizeHorzDock, CSize(283, 70));
    EXPECT_EQ(ScreenRect(*a), before);
}

// Row [A, B, P, C, H (hidden), placeholder]: sizeable 100 + 120 + 80; fixed: the splitter
// between A and B and P's 40; widest 60, widest plain bar 30; the largest minimum track
// sizes the bars answer.
TEST_F(LayoutTest, RowSizeInfoCountsVisibleBarsOnly)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CTestSizeBar* b = MakeSizeBar(CSize(120, 60));
    CTestBar* p = MakePlainBar(CSize(40, 30));
    CTestSizeBar* c = MakeSizeBar(CSize(80, 50));
    CTestSizeBar* h = MakeSizeBar(CSize(500, 90));
    a->minTrack = CPoint(90, 70);
    b->minTrack = CPoint(30, 75);
    Arrange(dock, {{a, b, p, c, h}});
    sizeFrame->ShowControlBar(h, FALSE, FALSE);
    dock->m_arrBars.InsertAt(dock->FindBar(h) + 1, reinterpret_cast<void*>(static_cast<UINT_PTR>(0x1234)));
    SetLength(a, 100, 50);
    SetLength(b, 120, 60);
    SetLength(p, 40, 30);
    SetLength(c, 80, 50);

    OXROWSIZEINFO info;
    dock->GetRowSizeInfo(1, &info, dock->m_arrBars);
    EXPECT_EQ(info.nSizeableLength, 300);
    EXPECT_EQ(info.nFixedLength, 48);
    EXPECT_EQ(info.nMaxWidth, 60);
    EXPECT_EQ(info.nMaxFixedWidth, 30);
    EXPECT_EQ(info.nSizeableCount, 3);
    EXPECT_EQ(info.nBarCount, 4);
    EXPECT_EQ(info.nTotalLength, 348);
    EXPECT_EQ(info.nMaxMinTrackHeight, 75);
    EXPECT_EQ(info.nMaxMinTrackWidth, 90);
    dock->m_arrBars.RemoveAt(dock->FindBar(h) + 1);
}

// A bar just docked into a row of two 300-pixel size bars (608 with their splitter) takes
// its length, plus a splitter when it is a size bar, from them in proportion.
TEST_F(LayoutTest, ANewBarTakesItsRoomFromTheOthersOfItsRow)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    COXSizeDockBar* dock = Dock(kTop);
    struct Case {
        bool sizeable;
        int expected;   // 608 - 108 = 500: 496 shared; 608 - 100 = 508: 504 shared
    };
    for (const Case& c : {Case{true, 248}, Case{false, 252}}) {
        SCOPED_TRACE(c.sizeable ? "size bar" : "plain bar");
        CTestSizeBar* a = MakeSizeBar(CSize(300, 50));
        CTestSizeBar* b = MakeSizeBar(CSize(300, 50));
        CControlBar* n = c.sizeable ? static_cast<CControlBar*>(MakeSizeBar(CSize(100, 50)))
                                    : MakePlainBar(CSize(100, 30));
        Arrange(dock, {{a, b, n}});
        SetLength(a, 300, 50);
        SetLength(b, 300, 50);
        SetLength(n, 100, 50);
        dock->AdjustForNewBar(n);
        EXPECT_EQ(a->m_sizeHorzDock.cx, c.expected);
        EXPECT_EQ(b->m_sizeHorzDock.cx, c.expected);
        EXPECT_EQ(ScreenRect(*n).Width(), 100);
        for (CControlBar* bar : std::initializer_list<CControlBar*>{a, b, n}) {
            sizeFrame->ShowControlBar(bar, FALSE, FALSE);
            dock->RemoveControlBar(bar);
        }
    }
}

TEST_F(LayoutTest, TheFirstBarOfAnyDockBarIsAtPositionOne)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    CTestSizeBar* a = MakeSizeBar(CSize(100, 50));
    CDockBar plain;
    EXPECT_EQ(COXSizeDockBar::GetFirstControlBar(nullptr), nullptr);
    EXPECT_EQ(COXSizeDockBar::GetFirstControlBar(&plain), nullptr);   // the leading null only
    plain.m_arrBars.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(0x2345)));
    EXPECT_EQ(COXSizeDockBar::GetFirstControlBar(&plain), nullptr);   // a placeholder
    plain.m_arrBars.SetAt(1, nullptr);
    EXPECT_EQ(COXSizeDockBar::GetFirstControlBar(&plain), nullptr);   // a row end
    plain.m_arrBars.SetAt(1, a);
    EXPECT_EQ(COXSizeDockBar::GetFirstControlBar(&plain), a);
    plain.m_arrBars.RemoveAll();
}

} // namespace
} // namespace zyn::test
