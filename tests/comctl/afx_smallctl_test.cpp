// The class library's wrappers of the trackbar, progress and status-bar controls: the
// two-message forms (range, selection), values the wrappers unpack, scroll codes reaching
// a parent's message map, owner-drawn parts reflected to DrawItem, and texts read whole.
#include <string>

#include "platform/afx/progressctrl.h"
#include "platform/afx/scrollbar.h"
#include "platform/afx/sliderctrl.h"
#include "platform/afx/statusbarctrl.h"
#include "platform/afx/tooltipctrl.h"
#include "platform/base/cstring.h"
#include "platform/gdi/icon.h"
#include "tests/comctl/smallctl_support.h"

namespace zyn::test {
namespace {

class CScrollHost : public CWnd {
public:
    std::vector<std::pair<UINT, HWND>> scrolls;
    afx_msg void OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
    {
        scrolls.emplace_back(nSBCode, pScrollBar ? pScrollBar->m_hWnd : nullptr);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScrollHost, CWnd)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

class COwnerBar : public CStatusBarCtrl {
public:
    std::vector<std::pair<UINT, ULONG_PTR>> drawn;
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.emplace_back(dis->itemID, dis->itemData); }
};

class AfxSmallCtl : public SmallCtlTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(afx::PermanentWindowCount(), 0u) << "window objects left attached";
        SmallCtlTest::TearDown();
    }
    static BOOL MakeHost(CWnd& host)
    {
        return host.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
            nullptr);
    }
};

TEST_F(AfxSmallCtl, SliderRangesSelectionTicsAndBuddiesRoundTrip)
{
    CScrollHost host;
    ASSERT_TRUE(MakeHost(host));
    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS, CRect(20, 20, 220, 50), &host, 5));
    EXPECT_TRUE(slider.IsKindOf(RUNTIME_CLASS(CSliderCtrl)));
    slider.SetRange(-5, 300000, TRUE); // beyond 16 bits: the wrapper sends the two halves apart
    int lo = 0, hi = 0;
    slider.GetRange(lo, hi);
    EXPECT_EQ(lo, -5);
    EXPECT_EQ(hi, 300000);
    slider.SetPos(400000);
    EXPECT_EQ(slider.GetPos(), 300000);
    slider.SetRange(-5, 300);
    slider.VerifyPos();
    EXPECT_EQ(slider.GetPos(), 300);
    slider.SetSelection(10, 20);
    slider.GetSelection(lo, hi);
    EXPECT_EQ(lo, 10);
    EXPECT_EQ(hi, 20);
    slider.SetTicFreq(100); // -5 + 100 = 95, 195, 295
    EXPECT_EQ(slider.GetNumTics(), 5u);
    ASSERT_NE(slider.GetTicArray(), nullptr);
    EXPECT_EQ(slider.GetTicArray()[0], 95u);
    EXPECT_EQ(slider.GetTic(2), 295);
    EXPECT_EQ(slider.SetPageSize(9), 61) << "a fifth of 305";
    EXPECT_EQ(slider.GetPageSize(), 9);
    EXPECT_EQ(slider.SetLineSize(2), 1);

    CWnd buddy;
    ASSERT_TRUE(buddy.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 30, 10), &host, 6));
    EXPECT_EQ(slider.SetBuddy(&buddy, FALSE), nullptr);
    EXPECT_EQ(slider.GetBuddy(FALSE), &buddy) << "the permanent object comes back";
    CRect where;
    buddy.GetWindowRect(&where);
    host.ScreenToClient(&where);
    EXPECT_EQ(where, CRect(220, 30, 250, 40));

    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&host, TTS_ALWAYSTIP));
    EXPECT_EQ(slider.GetToolTips(), nullptr);
    slider.SetToolTips(&tip);
    EXPECT_EQ(slider.GetToolTips(), &tip);
    EXPECT_EQ(slider.SetTipSide(TBTS_BOTTOM), TBTS_TOP);

    // A key reaches the parent's ON_WM_HSCROLL with the control named.
    Focus(host.m_hWnd, slider.m_hWnd);
    slider.SetPos(0);
    Key(VK_RIGHT);
    EXPECT_EQ(slider.GetPos(), 2);
    ASSERT_EQ(host.scrolls.size(), 2u);
    EXPECT_EQ(host.scrolls[0], (std::pair<UINT, HWND>{TB_LINEDOWN, slider.m_hWnd}));
    EXPECT_EQ(host.scrolls[1].first, static_cast<UINT>(TB_ENDTRACK));
    host.DestroyWindow();
}

TEST_F(AfxSmallCtl, ProgressWrapperAnswersPreviousValues)
{
    CWnd host;
    ASSERT_TRUE(MakeHost(host));
    CProgressCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, CRect(10, 10, 110, 30), &host, 3));
    bar.SetRange(0, 200);
    int lo = -1, hi = -1;
    bar.GetRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 200);
    // The short form's halves are unsigned to the control: -1 is 65535, above the maximum.
    bar.SetRange(-1, 10);
    bar.GetRange(lo, hi);
    EXPECT_EQ(hi, 200) << "refused, unchanged";
    bar.SetRange32(-1000, 100000);
    bar.GetRange(lo, hi);
    EXPECT_EQ(lo, -1000);
    EXPECT_EQ(hi, 100000);
    EXPECT_EQ(bar.SetPos(500), 0);
    EXPECT_EQ(bar.OffsetPos(-2000), 500);
    EXPECT_EQ(bar.GetPos(), -1000);
    EXPECT_EQ(bar.SetStep(250), 10);
    EXPECT_EQ(bar.StepIt(), -1000);
    EXPECT_EQ(bar.GetPos(), -750);
    EXPECT_EQ(bar.SetBarColor(RGB(9, 9, 9)), CLR_DEFAULT);
    EXPECT_EQ(bar.GetBarColor(), RGB(9, 9, 9));
    EXPECT_EQ(bar.SetBkColor(RGB(8, 8, 8)), CLR_DEFAULT);
    EXPECT_EQ(bar.SetState(PBST_PAUSED), PBST_NORMAL);
    EXPECT_EQ(bar.GetState(), PBST_PAUSED);
    host.DestroyWindow();
}

TEST_F(AfxSmallCtl, StatusBarTextsPartsAndReflectedOwnerDrawing)
{
    CWnd host;
    ASSERT_TRUE(MakeHost(host));
    COwnerBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &host, 9));
    int edges[] = {120, 240, -1};
    EXPECT_TRUE(bar.SetParts(3, edges));
    EXPECT_FALSE(bar.SetParts(0, edges));
    int got[3] = {};
    EXPECT_EQ(bar.GetParts(3, got), 3);
    EXPECT_EQ(got[1], 240);
    EXPECT_TRUE(bar.SetText(L"Ready", 0, SBT_POPOUT));
    int type = 0;
    EXPECT_EQ(bar.GetText(0, &type), CString(L"Ready"));
    EXPECT_EQ(type, static_cast<int>(SBT_POPOUT));
    EXPECT_EQ(bar.GetTextLength(0), 5);
    wchar_t buf[8] = {};
    EXPECT_EQ(bar.GetText(buf, 0), 5);
    EXPECT_STREQ(buf, L"Ready");
    int h = 0, v = 0, s = 0;
    EXPECT_TRUE(bar.GetBorders(h, v, s));
    EXPECT_EQ(h, 0);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(s, 2);
    CRect part;
    EXPECT_TRUE(bar.GetRect(1, &part));
    EXPECT_EQ(part.left, 122);
    EXPECT_EQ(part.right, 240);
    // Tips are read whole, past any first buffer.
    const std::wstring longTip(300, L't');
    bar.SetTipText(longTip.c_str(), 2);
    EXPECT_EQ(bar.GetTipText(2), CString(longTip.c_str()));
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_TRUE(bar.SetIcon(1, icon));
    EXPECT_EQ(bar.GetIcon(1), icon);
    EXPECT_EQ(bar.SetBkColor(RGB(1, 2, 3)), CLR_DEFAULT);
    EXPECT_TRUE(bar.SetSimple(TRUE));
    EXPECT_TRUE(bar.IsSimple());
    bar.SetSimple(FALSE);

    // An owner-drawn part comes back to the bar's own DrawItem through the parent.
    EXPECT_TRUE(bar.SetText(reinterpret_cast<LPCTSTR>(static_cast<uintptr_t>(0x5151)), 2, SBT_OWNERDRAW));
    bar.drawn.clear();
    bar.Invalidate();
    bar.UpdateWindow();
    ASSERT_EQ(bar.drawn.size(), 1u);
    EXPECT_EQ(bar.drawn[0], (std::pair<UINT, ULONG_PTR>{2, 0x5151}));
    host.DestroyWindow();
}

} // namespace
} // namespace zyn::test
