// The class library's tooltips: the CToolTipCtrl wrapper, EnableToolTips on a frame
// with child controls, text requests through message maps in both forms, tracking tips,
// the modal-loop filter, and the thread's tooltip going with its thread.
#include <thread>

#include "platform/afx/afxstate.h"
#include "platform/afx/frame.h"
#include "platform/afx/msgmap.h"
#include "platform/afx/tooltip_thread.h"
#include "platform/afx/tooltipctrl.h"
#include "platform/afx/winthread.h"
#include "platform/base/cstring.h"
#include "platform/base/resource.h"
#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {
namespace {

class AfxTips : public ComctlTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(afx::PermanentWindowCount(), afx::GetThreadToolTip() && afx::GetThreadToolTip()->m_hWnd ? 1u : 0u)
            << "window objects left attached";
        ComctlTest::TearDown();
        EXPECT_EQ(afx::GetThreadToolTip(), nullptr);
    }
    static HWND Child(CWnd* parent, UINT id, RECT r, DWORD extra = 0)
    {
        return CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | extra, r.left, r.top, r.right - r.left,
            r.bottom - r.top, parent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr,
            nullptr);
    }
    // The screen point at a client point of a window.
    static POINT At(HWND h, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(h, &p);
        return p;
    }
    static void Go(POINT p) { MoveTo(p.x, p.y); }
    static CString TipTextOf(CToolTipCtrl* tip)
    {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        CString s;
        if (!tip->GetCurrentTool(&ti))
            return s;
        std::vector<wchar_t> buf(256, L'\0');
        ti.lpszText = buf.data();
        tip->SendMessage(TTM_GETTEXTW, buf.size(), reinterpret_cast<LPARAM>(&ti));
        s = buf.data();
        return s;
    }
};

TEST_F(AfxTips, TheWrapperAddsFindsAndDescribesTools)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
        nullptr));
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(200, 100, 260, 140),
        &host, 101));
    ASSERT_TRUE(base::AddStringTable(nullptr, {{9001, L"Tip from the string table"}}));
    CToolTipCtrl tt;
    ASSERT_TRUE(tt.Create(&host, TTS_ALWAYSTIP));
    EXPECT_TRUE(tt.GetExStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(tt.m_hWnd, GW_OWNER), host.m_hWnd);

    const CRect r(10, 10, 50, 50);
    EXPECT_TRUE(tt.AddTool(&host, L"Rect tool", &r, 7));
    EXPECT_FALSE(tt.AddTool(&host, L"Again", &r, 7)) << "same window and ID";
    EXPECT_FALSE(tt.AddTool(static_cast<CWnd*>(nullptr), L"x"));
    const std::wstring longText(1000, L'z');
    EXPECT_TRUE(tt.AddTool(&host, longText.c_str(), CRect(60, 10, 90, 50), 8));
    EXPECT_TRUE(tt.AddTool(&host, 9001U, CRect(100, 10, 150, 50), 9));
    EXPECT_TRUE(tt.AddTool(&child, L"Whole child")) << "ID 0: the window itself";
    EXPECT_EQ(tt.GetToolCount(), 4);

    CString s;
    tt.GetText(s, &host, 8);
    EXPECT_EQ(std::wstring(s.GetString()), longText) << "the whole text, however long";
    tt.GetText(s, &host, 9);
    EXPECT_EQ(std::wstring(s.GetString()), L"Tip from the string table");

    CToolInfo info;
    ASSERT_TRUE(tt.GetToolInfo(info, &host, 7));
    EXPECT_STREQ(info.szText, L"Rect tool");
    EXPECT_EQ(info.rect.right, 50);
    ASSERT_TRUE(tt.GetToolInfo(info, &child));
    EXPECT_EQ(info.uFlags & TTF_IDISHWND, TTF_IDISHWND);
    EXPECT_EQ(info.hwnd, host.m_hWnd) << "a window tool notifies the window's parent";

    TOOLINFOW hit{};
    EXPECT_TRUE(tt.HitTest(&host, CPoint(20, 20), &hit));
    EXPECT_EQ(hit.uId, 7u);
    tt.DelTool(&host, 7);
    tt.DelTool(&child);
    EXPECT_EQ(tt.GetToolCount(), 2);
    tt.DestroyWindow();
    child.DestroyWindow();
    host.DestroyWindow();
}

// The frame's default tip texts come from the string table: "prompt\ntip".
class FrameTips : public AfxTips {
protected:
    void SetUp() override
    {
        AfxTips::SetUp();
        static bool strings = base::AddStringTable(nullptr,
            {{201, L"Opens a door\nOpen door"}, {202, L"Locks it\nLock (unavailable)"}, {203, L"No tip here"}});
        ASSERT_TRUE(strings);
        frame = new CFrameWnd; // frames delete themselves
        ASSERT_TRUE(frame->Create(nullptr, L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 600, 500)));
        SetActiveWindow(frame->m_hWnd);
        open = Child(frame, 201, RECT{20, 20, 120, 60});
        lock = Child(frame, 202, RECT{140, 20, 240, 60}, WS_DISABLED);
        frame->EnableToolTips(TRUE);
        Pump();
    }
    void TearDown() override
    {
        if (IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        AfxTips::TearDown();
    }
    CFrameWnd* frame = nullptr;
    HWND open = nullptr;
    HWND lock = nullptr;
};

TEST_F(FrameTips, ChildControlsShowTheTipLineOfTheirCommandString)
{
    Go(At(open, 50, 20));
    CToolTipCtrl* tip = afx::GetThreadToolTip();
    ASSERT_NE(tip, nullptr) << "made on the first mouse move";
    EXPECT_EQ(GetWindow(tip->m_hWnd, GW_OWNER), frame->m_hWnd);
    EXPECT_EQ(tip->GetToolCount(), 1);
    Advance(499);
    EXPECT_FALSE(tip->IsWindowVisible());
    Advance(1);
    ASSERT_TRUE(tip->IsWindowVisible());
    EXPECT_EQ(std::wstring(TipTextOf(tip).GetString()), L"Open door");
    CRect r;
    tip->GetWindowRect(&r);
    EXPECT_EQ(r.Width(), StatusFontExtent(L"Open door").cx + 6);

    // A disabled control's mouse goes to the frame, and it still gets its tip; only the
    // tool under the mouse is kept in the control.
    Go(At(lock, 50, 20));
    EXPECT_FALSE(tip->IsWindowVisible());
    EXPECT_EQ(tip->GetToolCount(), 1);
    Advance(100);
    ASSERT_TRUE(tip->IsWindowVisible());
    EXPECT_EQ(std::wstring(TipTextOf(tip).GetString()), L"Lock (unavailable)");

    // The frame's own client area has no tool.
    Go(At(frame->m_hWnd, 300, 200));
    EXPECT_FALSE(tip->IsWindowVisible());
    EXPECT_EQ(tip->GetToolCount(), 0);
}

TEST_F(FrameTips, KeysCancelAndTurningTipsOffForgetsTheTool)
{
    frame->SetFocus();
    Go(At(open, 50, 20));
    Advance(500);
    CToolTipCtrl* tip = afx::GetThreadToolTip();
    ASSERT_TRUE(tip && tip->IsWindowVisible());
    user::InjectKeyPress(0x41); // 'A'
    Pump();
    EXPECT_FALSE(tip->IsWindowVisible()) << "a key hides the tip";
    EXPECT_EQ(AfxGetThreadState()->m_pLastHit, nullptr);
    Go(At(open, 52, 20));
    Advance(500);
    EXPECT_TRUE(tip->IsWindowVisible()) << "the mouse moving on brings it back";
    frame->EnableToolTips(FALSE);
    EXPECT_FALSE(tip->IsWindowVisible());
    EXPECT_EQ(tip->GetToolCount(), 0);
    Go(At(open, 54, 20));
    Advance(1000);
    EXPECT_FALSE(tip->IsWindowVisible());
}

TEST_F(FrameTips, DestroyingTheFrameTakesTheTooltipWindowAndANewFrameGetsAnother)
{
    Go(At(open, 50, 20));
    Advance(500);
    CToolTipCtrl* tip = afx::GetThreadToolTip();
    ASSERT_TRUE(tip && tip->IsWindowVisible());
    frame->DestroyWindow();
    EXPECT_EQ(tip->m_hWnd, nullptr) << "owned by the frame: destroyed with it";
    EXPECT_EQ(AfxGetThreadState()->m_pLastHit, nullptr);
    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"Second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 600, 500)));
    SetActiveWindow(frame->m_hWnd);
    open = Child(frame, 201, RECT{20, 20, 120, 60});
    frame->EnableToolTips(TRUE);
    Go(At(open, 60, 30));
    Advance(500);
    ASSERT_EQ(afx::GetThreadToolTip(), tip) << "the same object, a new window";
    EXPECT_TRUE(tip->IsWindowVisible());
}

// A window answering the text requests itself, for a tool of its own (as a toolbar does).
class SelfTipWnd : public CWnd {
public:
    static inline bool ansi = false;
    static inline UINT seenCode = 0;
    static inline UINT_PTR seenId = 0;

    int OnToolHitTest(CPoint point, TOOLINFO* pTI) const override
    {
        const CRect button(10, 10, 60, 40);
        if (!button.PtInRect(point))
            return -1;
        if (pTI) {
            pTI->hwnd = m_hWnd;
            pTI->uId = 55;
            pTI->rect = button;
            pTI->lpszText = LPSTR_TEXTCALLBACK;
        }
        return 55;
    }

protected:
    afx_msg UINT OnNotifyFormat(CWnd*, UINT) { return ansi ? NFR_ANSI : NFR_UNICODE; }
    afx_msg BOOL OnNeedText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
    {
        seenCode = pNMHDR->code;
        seenId = pNMHDR->idFrom;
        if (pNMHDR->code == TTN_NEEDTEXTA)
            strcpy(reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->szText, "Narrow \xE9");
        else
            wcscpy(reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->szText, L"Wide \u00E9");
        *pResult = 0;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SelfTipWnd, CWnd)
    ON_WM_NOTIFYFORMAT()
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &SelfTipWnd::OnNeedText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &SelfTipWnd::OnNeedText)
END_MESSAGE_MAP()

TEST_F(AfxTips, MessageMapsAnswerTheWideAndTheNarrowRequest)
{
    struct Row {
        const char* name;
        bool ansi;
        UINT code;
        const wchar_t* text;
    };
    const Row rows[] = {{"wide", false, TTN_NEEDTEXTW, L"Wide \u00E9"}, {"narrow", true, TTN_NEEDTEXTA, L"Narrow \u00E9"}};
    for (const Row& row : rows) {
        SelfTipWnd::ansi = row.ansi;
        SelfTipWnd::seenCode = 0;
        SelfTipWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
            nullptr));
        SetActiveWindow(wnd.m_hWnd);
        wnd.EnableToolTips(TRUE);
        Go(At(wnd.m_hWnd, 20, 20));
        Advance(500);
        CToolTipCtrl* tip = afx::GetThreadToolTip();
        ASSERT_TRUE(tip && tip->IsWindowVisible()) << row.name;
        EXPECT_EQ(SelfTipWnd::seenCode, row.code) << row.name;
        EXPECT_EQ(SelfTipWnd::seenId, 55u) << row.name;
        CRect r;
        tip->GetWindowRect(&r);
        EXPECT_EQ(r.Width(), StatusFontExtent(row.text).cx + 6) << row.name;
        wnd.DestroyWindow();
        afx::DestroyThreadToolTip();
    }
}

TEST_F(AfxTips, TrackingTipsFollowTheMouseWithoutDelay)
{
    SelfTipWnd::ansi = false;
    SelfTipWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
        nullptr));
    SetActiveWindow(wnd.m_hWnd);
    wnd.EnableToolTips(TRUE);
    wnd.EnableTrackingToolTips(TRUE);
    Go(At(wnd.m_hWnd, 20, 20));
    CToolTipCtrl* tip = afx::GetThreadToolTip();
    ASSERT_TRUE(tip && tip->IsWindowVisible()) << "shown at once";
    CRect r;
    tip->GetWindowRect(&r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 120 + 20);
    Go(At(wnd.m_hWnd, 30, 25));
    tip->GetWindowRect(&r);
    EXPECT_EQ(r.left, 130);
    EXPECT_EQ(r.top, 125 + 20);
    Go(At(wnd.m_hWnd, 200, 150));
    EXPECT_FALSE(tip->IsWindowVisible()) << "off the tool";
    wnd.DestroyWindow();
}

TEST_F(AfxTips, DialogLoopsOfferTheirMessagesToTheTipsOfTheWindowsOnThePath)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
        nullptr));
    const HWND child = Child(&host, 301, RECT{10, 10, 60, 40});
    MSG msg{child, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, POINT{115, 115}};
    CWinThread thread;
    EXPECT_FALSE(thread.ProcessMessageFilter(MSGF_DIALOGBOX, &msg));
    EXPECT_EQ(afx::GetThreadToolTip(), nullptr) << "no window on the path shows tips";
    host.EnableToolTips(TRUE);
    EXPECT_FALSE(thread.ProcessMessageFilter(MSGF_MENU, &msg));
    EXPECT_EQ(afx::GetThreadToolTip(), nullptr) << "menus are not dialogs";
    EXPECT_FALSE(thread.ProcessMessageFilter(MSGF_DIALOGBOX, &msg)) << "the filter never takes the message";
    ASSERT_NE(afx::GetThreadToolTip(), nullptr);
    EXPECT_EQ(afx::GetThreadToolTip()->GetToolCount(), 1);
    host.DestroyWindow();
}

TEST_F(AfxTips, AThreadsTooltipGoesWithTheThread)
{
    std::thread worker([] {
        CWnd host;
        if (!host.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 700, 100, 300, 200, nullptr,
                nullptr))
            return;
        const HWND child = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, host.m_hWnd,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(5)), nullptr, nullptr);
        host.EnableToolTips(TRUE);
        MSG msg{child, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, POINT{715, 115}};
        afx::FilterToolTipMessage(&msg, &host);
        if (afx::GetThreadToolTip())
            afx::GetThreadToolTip()->ShowWindow(SW_SHOWNA);
        // Ends with the tooltip alive; its window is the first to go, then the object.
        host.Detach();
    });
    worker.join();
    EXPECT_EQ(comctl::LiveToolTipCount(), 0u);
    EXPECT_EQ(user::LiveWindowCount(), 0u);
}

} // namespace
} // namespace zyn::test
