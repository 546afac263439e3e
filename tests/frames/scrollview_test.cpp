// CScrollView: sizes and the window's scroll bars, scrolling by bar codes and by amounts,
// the DC origin, and the pixels moved on screen.
#include "platform/afx/afxres.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/scrollview.h"
#include "platform/afx/window_dc.h"
#include "platform/base/exception.h"
#include "platform/gdi/wingdi.h"
#include "tests/frames/frames_test_support.h"

namespace zyn::test {
namespace {

constexpr COLORREF kRed = 0x000000FF, kWhite = 0x00FFFFFF;
constexpr int kBandTop = 300, kBandHeight = 10;

// A page of 1000 x 2000 pixels, white with a red band across at y 300..309.
class TestScrollView : public CScrollView {
    DECLARE_DYNCREATE(TestScrollView)
public:
    void OnDraw(CDC* pDC) override
    {
        ++m_draws;
        pDC->FillSolidRect(0, 0, 1000, 2000, kWhite);
        pDC->FillSolidRect(0, kBandTop, 1000, kBandHeight, kRed);
    }
    int m_draws = 0;
};
IMPLEMENT_DYNCREATE(TestScrollView, CScrollView)

class ScrollViewTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        CCreateContext ctx;
        ctx.m_pNewViewClass = RUNTIME_CLASS(TestScrollView);
        m_frame = new CFrameWnd;   // deletes itself with its window
        ASSERT_TRUE(m_frame->Create(nullptr, L"Scroll", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300),
            nullptr, nullptr, 0, &ctx));
        CWnd* pWnd = m_frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        ASSERT_NE(pWnd, nullptr);
        ASSERT_TRUE(pWnd->IsKindOf(RUNTIME_CLASS(TestScrollView)));
        m_view = static_cast<TestScrollView*>(pWnd);
        m_view->SetScrollSizes(MM_TEXT, CSize(1000, 2000), CSize(100, 150), CSize(10, 20));
        CRect rc;
        m_view->GetClientRect(&rc);
        m_cx = rc.Width();
        m_cy = rc.Height();
    }
    void TearDown() override
    {
        if (m_frame && ::IsWindow(m_frame->m_hWnd))
            m_frame->DestroyWindow();
        FramesTest::TearDown();
    }
    COLORREF ScreenPixelInView(int x, int y)
    {
        POINT pt{x, y};
        ::ClientToScreen(m_view->m_hWnd, &pt);
        const HDC hdc = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(hdc, pt.x, pt.y);
        ::ReleaseDC(nullptr, hdc);
        return c;
    }
    CPoint Pos() const { return m_view->GetDeviceScrollPosition(); }

    CFrameWnd* m_frame = nullptr;
    TestScrollView* m_view = nullptr;
    int m_cx = 0, m_cy = 0;
};

TEST_F(ScrollViewTest, BarsShowTheRangeAndThePage)
{
    EXPECT_TRUE(m_view->GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(m_view->GetStyle() & WS_HSCROLL);
    ASSERT_GT(m_cx, 0);
    ASSERT_GT(m_cy, 0);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(m_view->m_hWnd, SB_VERT, &si));
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 1999);
    EXPECT_EQ(si.nPage, static_cast<UINT>(m_cy));
    EXPECT_EQ(si.nPos, 0);
    ASSERT_TRUE(::GetScrollInfo(m_view->m_hWnd, SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 999);
    EXPECT_EQ(si.nPage, static_cast<UINT>(m_cx));
    EXPECT_EQ(m_view->GetTotalSize(), CSize(1000, 2000));

    // A page that fits hides the bars and scrolls back to the origin.
    m_view->ScrollToPosition(CPoint(30, 40));
    m_view->SetScrollSizes(MM_TEXT, CSize(50, 50));
    EXPECT_FALSE(m_view->GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(m_view->GetStyle() & WS_HSCROLL);
    EXPECT_EQ(Pos(), CPoint(0, 0));
}

TEST_F(ScrollViewTest, ScrollCodesMoveByLinePageThumbAndEnds)
{
    m_view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(Pos(), CPoint(0, 20));
    m_view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(Pos(), CPoint(0, 170));
    m_view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), 0);
    EXPECT_EQ(Pos(), CPoint(0, 500));
    m_view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(Pos(), CPoint(0, 2000 - m_cy));
    // At the end nothing moves.
    EXPECT_FALSE(m_view->OnScroll(MAKEWORD(0xFF, SB_LINEDOWN), 0));
    m_view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    EXPECT_EQ(Pos(), CPoint(10, 2000 - m_cy));
    m_view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    m_view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), 0);
    EXPECT_EQ(Pos(), CPoint(0, 0));
    m_view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), 0);
    EXPECT_EQ(Pos(), CPoint(0, 0)) << "no scrolling before the start";

    // Positions and amounts are clamped to the page.
    m_view->ScrollToPosition(CPoint(5000, -40));
    EXPECT_EQ(Pos(), CPoint(1000 - m_cx, 0));
    EXPECT_TRUE(m_view->OnScrollBy(CSize(-10000, 10000)));
    EXPECT_EQ(Pos(), CPoint(0, 2000 - m_cy));
    EXPECT_EQ(m_view->GetScrollPosition(), Pos());
}

TEST_F(ScrollViewTest, PrepareDCMovesTheViewportOrigin)
{
    m_view->ScrollToPosition(CPoint(30, 250));
    CClientDC dc(m_view);
    m_view->OnPrepareDC(&dc);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(-30, -250));
    // Printing draws the page from its origin.
    CClientDC dc2(m_view);
    CPrintInfo info;
    m_view->OnPrepareDC(&dc2, &info);
    EXPECT_EQ(dc2.GetViewportOrg(), CPoint(0, 0));
}

TEST_F(ScrollViewTest, ScrollingMovesThePixels)
{
    m_view->UpdateWindow();
    EXPECT_EQ(ScreenPixelInView(5, 5), kWhite);
    m_view->ScrollToPosition(CPoint(0, 250));
    m_view->UpdateWindow();
    EXPECT_EQ(ScreenPixelInView(5, kBandTop - 250), kRed);
    EXPECT_EQ(ScreenPixelInView(5, kBandTop - 250 - 1), kWhite);
    EXPECT_EQ(ScreenPixelInView(5, kBandTop - 250 + kBandHeight), kWhite);
    // A line down moves the band up by 20 pixels; only the strip scrolled in is redrawn.
    const int drawsBefore = m_view->m_draws;
    m_view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    CRect rcUpdate;
    EXPECT_TRUE(m_view->GetUpdateRect(&rcUpdate));
    EXPECT_EQ(rcUpdate.top, m_cy - 20);
    m_view->UpdateWindow();
    EXPECT_EQ(m_view->m_draws, drawsBefore + 1);
    EXPECT_EQ(ScreenPixelInView(5, kBandTop - 270), kRed);
    EXPECT_EQ(ScreenPixelInView(5, kBandTop - 270 + kBandHeight - 1), kRed);
    EXPECT_EQ(ScreenPixelInView(5, kBandTop - 270 + kBandHeight), kWhite);
}

TEST_F(ScrollViewTest, BadSizesAreRefused)
{
    bool thrown = false;
    try {
        m_view->SetScrollSizes(MM_LOENGLISH, CSize(100, 100));
    } catch (CNotSupportedException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    thrown = false;
    try {
        m_view->SetScrollSizes(MM_TEXT, CSize(-1, 100));
    } catch (CInvalidArgException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    // The sizes in force are kept.
    EXPECT_EQ(m_view->GetTotalSize(), CSize(1000, 2000));
}

} // namespace
} // namespace zyn::test
