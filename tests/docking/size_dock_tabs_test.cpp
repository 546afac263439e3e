// Bars sharing one place behind the size dock bar's tab strip, and bars dragged live into
// a dock bar, with snapping on. A live drag docks the bar at every mouse move into the
// dock bar under the cursor, at a rectangle of its size whose corner is the cursor; the
// first steps here make those calls themselves, the last ones press and move the mouse.
// The tab strip and the size bar's own mouse handling are separate units: where they are
// not there (yet), these cases say so and skip.
#include "platform/user/driver.h"
#include "tests/docking/size_dock_test_support.h"

namespace zyn::test {
namespace {

using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

class TabsTest : public SizeDockBarTest {
protected:
    // The tab strip answers a point in the dock bar's bottom 48 pixels.
    static bool TabStripWorks(COXSizeDockBar* dock, CControlBar* bar)
    {
        const CRect r = ScreenRect(*dock);
        return r.Height() > 0 && dock->m_wndDockTabCtrl.HitTestTabControl(CPoint(r.left + 5, r.bottom - 5), bar) != -1;
    }
    // A docked bar works out where its floating frame would hang (10 pixels down).
    static bool LiveDragWorks(COXSizeControlBar* docked)
    {
        const CPoint saved = docked->m_ptFloatMouseOffset;
        docked->SaveMouseOffset(CPoint(10, 10));
        const bool works = docked->m_ptFloatMouseOffset.y == 10;
        docked->m_ptFloatMouseOffset = saved;
        return works;
    }
    // One step of a live drag, as the bar takes it at a mouse move.
    void DockLive(COXSizeControlBar* bar, CPoint ptScreen)
    {
        COXSizeDockBar* target = COXSizeDockBar::GetAppropriateDockBar(ptScreen, bar);
        ASSERT_NE(target, nullptr);
        const CRect rect(ptScreen, ScreenRect(*bar).Size());
        target->DockControlBar(bar, &rect);
        Layout();
    }

    // A left column [A], a bar B in the top row, and (withHidden) a bar C in the column
    // but hidden.
    void SetUpColumn(bool withHidden = true)
    {
        ASSERT_NE(MakeSizeFrame(), nullptr);
        sizeFrame->m_bSnapping = TRUE;
        a = MakeSizeBar(CSize(80, 100), L"A");
        b = MakeSizeBar(CSize(80, 100), L"B");
        c = MakeSizeBar(CSize(80, 100), L"C");
        Arrange(Dock(kTop), {{b}});
        if (withHidden) {
            Arrange(Dock(kLeft), {{a, c}});
            sizeFrame->ShowControlBar(c, FALSE, FALSE);
        } else {
            Arrange(Dock(kLeft), {{a}});
            Arrange(Dock(kBottom), {{c}});
        }
        left = Dock(kLeft);
    }
    // B is dragged into A's column, then into the column's bottom band: both get a tab.
    void TabIntoColumn()
    {
        const CRect side = ScreenRect(*left);
        DockLive(b, CPoint(side.left, side.top + 150));
        ASSERT_EQ(Rows(left).size(), 1u);
        ASSERT_EQ(InDock(b).left, InDock(a).left);   // stacked at A's place
        ASSERT_EQ(left->GetTabHeight(), 0);
        DockLive(b, CPoint(side.left + 10, side.bottom - 20));
    }

    CTestSizeBar* a = nullptr;
    CTestSizeBar* b = nullptr;
    CTestSizeBar* c = nullptr;
    COXSizeDockBar* left = nullptr;
};

TEST_F(TabsTest, ABarDraggedIntoTheBottomBandOverAStackedBarMakesATabStrip)
{
    SetUpColumn();
    if (!TabStripWorks(left, b))
        GTEST_SKIP() << "the dock tab control is not in this build";
    TabIntoColumn();
    EXPECT_EQ(left->GetTabHeight(), 28);
    EXPECT_EQ(left->m_wndDockTabCtrl.GetItemCount(), 2);
    EXPECT_NE(left->m_wndDockTabCtrl.FindTab(a), -1);
    EXPECT_NE(left->m_wndDockTabCtrl.FindTab(b), -1);
    EXPECT_EQ(left->m_wndDockTabCtrl.FindTab(c), -1) << "a hidden bar gets no tab";
    EXPECT_TRUE(b->IsVisible());
    EXPECT_FALSE(a->IsVisible());
    CRect client;
    left->GetClientRect(&client);
    EXPECT_EQ(RectIn(*left, left->m_wndDockTabCtrl), CRect(client.left, client.bottom - 28, client.right, client.bottom));
}

TEST_F(TabsTest, ClickingTheOtherTabSwapsTheBars)
{
    SetUpColumn();
    if (!TabStripWorks(left, b))
        GTEST_SKIP() << "the dock tab control is not in this build";
    TabIntoColumn();
    ASSERT_EQ(left->GetTabHeight(), 28);
    CRect tab;
    ASSERT_TRUE(left->m_wndDockTabCtrl.GetItemRect(left->m_wndDockTabCtrl.FindTab(a), &tab));
    left->m_wndDockTabCtrl.ClientToScreen(&tab);
    Drag(tab.CenterPoint(), {});
    Layout();
    EXPECT_TRUE(a->IsVisible());
    EXPECT_FALSE(b->IsVisible());
}

// Dragged out to another side, the second-to-last bar takes the last one's tab with it:
// the strip goes and the bar left shows alone. (That counts every size bar of the dock
// bar, hidden ones too: with a hidden bar in the column the last tab would stay.)
TEST_F(TabsTest, TheSecondToLastBarLeavingEndsTheStrip)
{
    SetUpColumn(false);
    if (!TabStripWorks(left, b))
        GTEST_SKIP() << "the dock tab control is not in this build";
    TabIntoColumn();
    ASSERT_EQ(left->GetTabHeight(), 28);
    const CRect right = ScreenRect(*Dock(kRight));
    DockLive(b, CPoint(right.left - 10, right.top + 100));
    EXPECT_EQ(b->m_pDockBar, Dock(kRight));
    EXPECT_EQ(left->m_wndDockTabCtrl.GetItemCount(), 0);
    EXPECT_EQ(left->GetTabHeight(), 0);
    EXPECT_TRUE(a->IsVisible());
}

// Over a dock bar showing tabs, only its bottom 48 pixels take a dragged bar.
TEST_F(TabsTest, OverAStripOnlyItsBandTakesTheBar)
{
    SetUpColumn();
    CTestSizeBar* n = MakeSizeBar(CSize(80, 100), L"N");
    Arrange(Dock(kBottom), {{n}});
    ASSERT_GE(left->m_wndDockTabCtrl.InsertItem(0, L"Tab"), 0);   // the strip shows
    Layout();
    const CRect side = ScreenRect(*left);
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(CPoint(side.left + 10, side.top + 100), n), nullptr);
    if (!TabStripWorks(left, n))
        GTEST_SKIP() << "the dock tab control is not in this build";
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(CPoint(side.left + 10, side.bottom - 47), n), left);
    EXPECT_EQ(COXSizeDockBar::GetAppropriateDockBar(CPoint(side.left + 10, side.bottom - 49), n), nullptr);
    left->m_wndDockTabCtrl.DeleteAllItems();
}

// Pressing on a tab and moving 3 pixels leaves the bar where it is; at 4 the bar takes
// the mouse and follows it out of the strip.
TEST_F(TabsTest, ATabDraggedFourPixelsLeavesWithItsBar)
{
    SetUpColumn(false);
    if (!TabStripWorks(left, b) || !LiveDragWorks(a))
        GTEST_SKIP() << "the dock tab control or the size bar's live drag is not in this build";
    TabIntoColumn();
    ASSERT_EQ(left->GetTabHeight(), 28);
    CRect tab;
    ASSERT_TRUE(left->m_wndDockTabCtrl.GetItemRect(left->m_wndDockTabCtrl.FindTab(b), &tab));
    left->m_wndDockTabCtrl.ClientToScreen(&tab);
    const CPoint press = tab.CenterPoint();
    InjectMouseMove(press.x, press.y);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseMove(press.x + 3, press.y - 3);
    Pump();
    EXPECT_FALSE(b->m_bDragging);
    EXPECT_EQ(GetCapture(), nullptr);
    InjectMouseMove(press.x + 4, press.y);
    Pump();
    EXPECT_TRUE(b->m_bDragging);
    EXPECT_EQ(GetCapture(), b->m_hWnd);
    const CRect right = ScreenRect(*Dock(kRight));
    InjectMouseMove(right.left - 10, right.top + 100);
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    Layout();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(b->m_pDockBar, Dock(kRight));
    EXPECT_EQ(left->GetTabHeight(), 0);
    EXPECT_TRUE(a->IsVisible());
}

// A docked bar pressed and moved 4 pixels follows the mouse into another dock bar.
TEST_F(TabsTest, ABarDraggedLiveDocksWhereTheMouseIs)
{
    ASSERT_NE(MakeSizeFrame(), nullptr);
    sizeFrame->m_bSnapping = TRUE;
    CTestSizeBar* x = MakeSizeBar(CSize(200, 50), L"X");
    CTestSizeBar* y = MakeSizeBar(CSize(200, 50), L"Y");
    Arrange(Dock(kTop), {{x, y}});
    if (!LiveDragWorks(y))
        GTEST_SKIP() << "the size bar's live drag is not in this build";
    CRect inside;
    y->GetClientRect(&inside);
    CPoint press = inside.CenterPoint();
    y->ClientToScreen(&press);
    const CRect bottom = ScreenRect(*Dock(kBottom));
    // Each step pumped: moves queued together reach the window under the last one only.
    InjectMouseMove(press.x, press.y);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseMove(press.x + 4, press.y);
    Pump();
    InjectMouseMove(bottom.left + 100, bottom.top - 5);
    Pump();
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    Layout();
    EXPECT_EQ(y->m_pDockBar, Dock(kBottom));
    EXPECT_EQ(Rows(Dock(kTop)), (std::vector<std::vector<CControlBar*>>{{x}}));
    EXPECT_EQ(GetCapture(), nullptr);
}

} // namespace
} // namespace zyn::test
