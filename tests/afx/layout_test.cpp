// The layout pass (RepositionBars with WM_SIZEPARENT), messages to descendants, and the
// modal loop of a window.
#include "platform/afx/afxres.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

// A control bar: takes `size` pixels from one edge of the layout rectangle.
class CBarLike : public CWnd {
public:
    int size = 0;
    bool bottom = false;
    int passes = 0;
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        ++passes;
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect r(layout->rect);
        if (bottom) {
            r.top = r.bottom - size;
            layout->rect.bottom -= size;
        } else {
            r.bottom = r.top + size;
            layout->rect.top += size;
        }
        layout->sizeTotal.cy += size;
        layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, r.Width());
        AfxRepositionWindow(layout, m_hWnd, &r);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarLike, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CBarLike::OnSizeParent)
END_MESSAGE_MAP()

CRect RectIn(const CWnd& parent, HWND child)
{
    CRect r;
    ::GetWindowRect(child, &r);
    parent.ScreenToClient(&r);
    return r;
}

class LayoutTest : public AfxTest {
protected:
    void SetUp() override
    {
        AfxTest::SetUp();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
        top.size = 20;
        status.size = 15;
        status.bottom = true;
        ASSERT_TRUE(top.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &frame, AFX_IDW_TOOLBAR));
        ASSERT_TRUE(status.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &frame, AFX_IDW_STATUS_BAR));
        ASSERT_TRUE(pane.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &frame, AFX_IDW_PANE_FIRST));
    }
    void TearDown() override
    {
        frame.DestroyWindow();
        AfxTest::TearDown();
    }
    CWnd frame;
    CBarLike top, status;
    CWnd pane;
};

TEST_F(LayoutTest, BarsTakeTheirEdgesAndTheLeftOverPaneGetsTheRest)
{
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    EXPECT_EQ(RectIn(frame, top.m_hWnd), CRect(0, 0, 300, 20));
    EXPECT_EQ(RectIn(frame, status.m_hWnd), CRect(0, 185, 300, 200));
    EXPECT_EQ(RectIn(frame, pane.m_hWnd), CRect(0, 20, 300, 185));
    // Nothing moves a second time.
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    EXPECT_EQ(RectIn(frame, pane.m_hWnd), CRect(0, 20, 300, 185));
}

TEST_F(LayoutTest, AQueryMeasuresWithoutMoving)
{
    CRect room;
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &room);
    EXPECT_EQ(room, CRect(0, 20, 300, 185));
    EXPECT_EQ(RectIn(frame, top.m_hWnd), CRect(0, 0, 1, 1)) << "a query moves nothing";
    CRect total;
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &total, nullptr, FALSE);
    EXPECT_EQ(total, CRect(0, 0, 300, 35)) << "without stretching: the bars' total size";
    // A query from another starting rectangle.
    CRect client(0, 0, 100, 100);
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &room, &client);
    EXPECT_EQ(room, CRect(0, 20, 100, 85));
    // A query without a place for its answer is refused.
    SetLastError(0);
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(LayoutTest, ExtraMarginsAndIdRanges)
{
    CRect margins(5, 6, 7, 8);
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposExtra, &margins);
    EXPECT_EQ(RectIn(frame, pane.m_hWnd), CRect(5, 26, 293, 177));
    // Only the bars in the ID range take part.
    top.passes = status.passes = 0;
    frame.RepositionBars(AFX_IDW_STATUS_BAR, AFX_IDW_STATUS_BAR, AFX_IDW_PANE_FIRST);
    EXPECT_EQ(top.passes, 0);
    EXPECT_EQ(status.passes, 1);
    EXPECT_EQ(RectIn(frame, pane.m_hWnd), CRect(0, 0, 300, 185));
    // reposNoPosLeftOver lays out the bars only.
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposNoPosLeftOver);
    EXPECT_EQ(RectIn(frame, pane.m_hWnd), CRect(0, 0, 300, 185));
}

// ---- messages to descendants -------------------------------------------------------------------------------------

class CCountingChild : public CWnd {
public:
    int count = 0;
    CWnd* destroyOnMessage = nullptr;
    afx_msg LRESULT OnPing(WPARAM, LPARAM)
    {
        ++count;
        if (destroyOnMessage)
            destroyOnMessage->DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingChild, CWnd)
    ON_MESSAGE(WM_USER + 50, &CCountingChild::OnPing)
END_MESSAGE_MAP()

TEST_F(LayoutTest, DescendantsAllGetTheMessageEvenWhenOneIsDestroyedOnTheWay)
{
    CCountingChild a, b, grandchild;
    ASSERT_TRUE(a.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 1, 1), &pane, 1));
    ASSERT_TRUE(b.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 1, 1), &pane, 2));
    ASSERT_TRUE(grandchild.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 1, 1), &b, 3));
    const HWND plain = MakePlain(WS_CHILD, pane.m_hWnd, 4);
    (void)plain;
    // The first child destroys the second while the walk is on: the walk goes on safely.
    a.destroyOnMessage = &b;
    pane.SendMessageToDescendants(WM_USER + 50, 0, 0, TRUE, TRUE);
    EXPECT_EQ(a.count, 1);
    EXPECT_EQ(b.count, 0) << "destroyed before its turn";
    EXPECT_EQ(b.m_hWnd, nullptr);
    a.destroyOnMessage = nullptr;
    // Not deep: only the children.
    CCountingChild c, d;
    ASSERT_TRUE(c.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 1, 1), &pane, 5));
    ASSERT_TRUE(d.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 1, 1), &c, 6));
    pane.SendMessageToDescendants(WM_USER + 50, 0, 0, FALSE, FALSE);
    EXPECT_EQ(c.count, 1);
    EXPECT_EQ(d.count, 0);
    pane.SendMessageToDescendants(WM_USER + 50, 0, 0, TRUE, FALSE);
    EXPECT_EQ(d.count, 1);
}

// ---- the modal loop ----------------------------------------------------------------------------------------------

class CModal : public CWnd {
public:
    int kicks = 0;
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM lCount)
    {
        ++kicks;
        if (lCount == 2)
            EndModalLoop(IDOK);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModal, CWnd)
    ON_MESSAGE(WM_KICKIDLE, &CModal::OnKickIdle)
END_MESSAGE_MAP()

TEST_F(LayoutTest, TheModalLoopRunsUntilEndModalLoop)
{
    user::SetScriptedMode(true);
    CModal modal;
    ASSERT_TRUE(modal.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 50, 50, frame.m_hWnd, nullptr));
    EXPECT_EQ(modal.RunModalLoop(MLF_SHOWONIDLE), IDOK);
    EXPECT_EQ(modal.kicks, 3);
    EXPECT_TRUE(modal.IsWindowVisible()) << "shown when the loop first idled";
    // Scripted and nothing ends it: the loop ends as a cancel.
    CWnd idle;
    ASSERT_TRUE(idle.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 50, 50, frame.m_hWnd, nullptr));
    EXPECT_EQ(idle.RunModalLoop(MLF_NOKICKIDLE), IDCANCEL);
    EXPECT_FALSE(idle.ContinueModal());
    idle.DestroyWindow();
    modal.DestroyWindow();
    user::SetScriptedMode(false);
}

} // namespace
} // namespace zyn::test
