// The window DCs on real windows, and the tooltip hooks of CWnd.
#include "platform/afx/window_dc.h"
#include "platform/base/exception.h"
#include "platform/gdi/wingdi.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

class CPainted : public CWnd {
public:
    RECT painted{};
    int paints = 0;
    CWnd* dcWindow = nullptr;
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ++paints;
        painted = dc.m_ps.rcPaint;
        dcWindow = dc.GetWindow();
        dc.FillSolidRect(&dc.m_ps.rcPaint, RGB(0, 0x80, 0));
    }
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPainted, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COLORREF ScreenPixel(int x, int y)
{
    const HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

using WindowDcTest = AfxTest;

TEST_F(WindowDcTest, PaintDcPaintsTheUpdateRegionAndValidatesIt)
{
    CPainted wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 10, 10, 100, 80, nullptr, nullptr));
    wnd.UpdateWindow();
    const int first = wnd.paints;
    EXPECT_GE(first, 1);
    EXPECT_EQ(wnd.dcWindow, &wnd) << "the DC knows its window";
    EXPECT_EQ(ScreenPixel(50, 50), RGB(0, 0x80, 0));
    CRect part(5, 6, 25, 16);
    wnd.InvalidateRect(&part, FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, first + 1);
    EXPECT_EQ(CRect(wnd.painted), part);
    CRect left;
    EXPECT_FALSE(wnd.GetUpdateRect(&left)) << "EndPaint validated it";
    wnd.DestroyWindow();
}

TEST_F(WindowDcTest, ClientAndWindowDcsDrawOnTheScreen)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 100, 60, 40,
        nullptr, nullptr));
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(0, 0, 10, 10, RGB(0xFF, 0, 0));
    }
    CRect client;
    wnd.GetClientRect(&client);
    wnd.ClientToScreen(&client);
    EXPECT_EQ(ScreenPixel(client.left + 1, client.top + 1), RGB(0xFF, 0, 0));
    {
        CWindowDC dc(&wnd);
        dc.FillSolidRect(0, 0, 1, 1, RGB(0, 0, 0xFF)); // the frame's corner
    }
    EXPECT_EQ(ScreenPixel(100, 100), RGB(0, 0, 0xFF));
    const HWND gone = wnd.m_hWnd;
    wnd.DestroyWindow();
    // A window that is gone has no DC.
    for (int kind = 0; kind < 3; ++kind) {
        CResourceException* caught = nullptr;
        try {
            if (kind == 0)
                CClientDC dc(gone);
            else if (kind == 1)
                CWindowDC dc(gone);
            else
                CPaintDC dc(gone);
        } catch (CResourceException* e) {
            caught = e;
        }
        ASSERT_NE(caught, nullptr) << kind;
        caught->Delete();
        EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE) << kind;
    }
}

// ---- tooltip hooks -----------------------------------------------------------------------------------------------

struct ToolTipRecord {
    static int filtered;
    static HWND filledChild;
    static int cancelled;
};
int ToolTipRecord::filtered = 0;
HWND ToolTipRecord::filledChild = nullptr;
int ToolTipRecord::cancelled = 0;

TEST_F(WindowDcTest, ToolTipHooksSeeTheMessagesOfWindowsThatAskForTips)
{
    const afx::ToolTipHooks saved = afx::GetToolTipHooks();
    afx::ToolTipHooks hooks;
    hooks.filterMessage = [](MSG*, CWnd*) { ++ToolTipRecord::filtered; };
    hooks.fillChildTool = [](TOOLINFO*, const CWnd*, HWND child) { ToolTipRecord::filledChild = child; };
    hooks.cancel = [](BOOL) { ++ToolTipRecord::cancelled; };
    afx::SetToolTipHooks(hooks);
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    const HWND child = MakePlain(WS_CHILD | WS_VISIBLE, wnd.m_hWnd, 33);
    MoveWindow(child, 10, 10, 20, 20, FALSE);
    MSG msg{wnd.m_hWnd, WM_MOUSEMOVE, 0, 0, 0, POINT{0, 0}};
    wnd.PreTranslateMessage(&msg);
    EXPECT_EQ(ToolTipRecord::filtered, 0) << "no tips asked for";
    wnd.EnableToolTips(TRUE);
    wnd.PreTranslateMessage(&msg);
    EXPECT_EQ(ToolTipRecord::filtered, 1);
    // The tool under a point is the child there, by its control ID.
    EXPECT_EQ(wnd.OnToolHitTest(CPoint(15, 15), nullptr), 33);
    EXPECT_EQ(wnd.OnToolHitTest(CPoint(80, 80), nullptr), -1);
    wnd.OnToolHitTest(CPoint(15, 15), reinterpret_cast<TOOLINFO*>(&msg)); // any non-null record
    EXPECT_EQ(ToolTipRecord::filledChild, child);
    wnd.EnableToolTips(FALSE);
    EXPECT_EQ(ToolTipRecord::cancelled, 1);
    wnd.DestroyWindow();
    afx::SetToolTipHooks(saved);
}

} // namespace
} // namespace zyn::test
