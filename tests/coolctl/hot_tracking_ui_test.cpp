// Hot tracking of the cool controls on the window system, on the virtual clock: the mouse
// entering (noticed at the control's own mouse message) and leaving (noticed by the
// 150 ms poll, which runs only while the mouse is over), the focus arriving and leaving,
// an edit and its attached spin button acting as one, the radio button rule, the cool
// state switch, the tooltip, and re-initialisation after the window is destroyed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/afx/tooltipctrl.h"
#include "platform/comctl/updown.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/coolctl/cool_ui_support.h"
#include "toolkit/menus/cool_button.h"
#include "toolkit/menus/cool_ctrl.h"
#include "toolkit/menus/cool_spin.h"

namespace cooltest {
namespace {

using CCoolEdit = COXCoolCtrl<CEdit>;

// A cool edit that shows its tooltip control and the messages reaching its default
// procedure.
class CProbeEdit : public COXCoolCtrl<CEdit> {
public:
    CToolTipCtrl& Tip() { return m_ttc; }
    std::vector<WPARAM> defaultTimers;
    BOOL vetoTooltips = FALSE;
    BOOL OnChangeTooltipText(const CString&) override { return !vetoTooltips; }
    BOOL HandleKey(UINT nChar) override { return nChar == VK_F2; }

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER)
            defaultTimers.push_back(wParam);
        return COXCoolCtrl<CEdit>::DefWindowProc(message, wParam, lParam);
    }
};

// A window that notes every private message (WM_USER and up) it is sent.
class CListener : public CWnd {
public:
    std::vector<UINT> privateMessages;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < 0x8000)
            privateMessages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A plain (not cool) edit object that notes the poll timer's message if anyone sends it.
class CWatchedEdit : public CEdit {
public:
    int polls = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == 210)
            ++polls;
        return CEdit::WindowProc(message, wParam, lParam);
    }
};

class HotTrackingTest : public CoolUiTest {
protected:
    // A bordered edit at (20, 20)-(120, 42) of the parent.
    template <class TEdit>
    void MakeEdit(TEdit& edit, UINT id = 1, const CRect& r = CRect(20, 20, 120, 42))
    {
        ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
            r, &parent, id));
    }
    // A spin attached to the right of the edit, its buddy.
    void MakeSpin(CSpinButtonCtrl& spin, CWnd& buddy, UINT id = 2)
    {
        ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, CRect(0, 0, 0, 0), &parent, id));
        spin.SetBuddy(&buddy);
    }
    static CPoint Centre(const CWnd& w)
    {
        CRect r;
        w.GetWindowRect(&r);
        return r.CenterPoint();
    }
};

// ---- mouse ------------------------------------------------------------------------------------------------------

TEST_F(HotTrackingTest, MouseEntersAndLeavesOnThePoll)
{
    CCoolEdit edit;
    MakeEdit(edit);
    EXPECT_FALSE(edit.IsInHotState());
    EXPECT_FALSE(edit.IsMouseOver());

    MouseTo(60, 30);
    EXPECT_TRUE(edit.IsMouseOver());
    EXPECT_TRUE(edit.IsInHotState());

    // Moving within changes nothing; the poll keeps finding the mouse there.
    MouseTo(70, 31);
    Wait(150);
    Wait(150);
    EXPECT_TRUE(edit.IsInHotState());
    EXPECT_EQ(PollCount(edit.m_hWnd), 2);

    // Leaving is not noticed until the next poll.
    MouseTo(200, 200);
    EXPECT_TRUE(edit.IsInHotState());
    Wait(149);
    EXPECT_TRUE(edit.IsInHotState());
    Wait(1);
    EXPECT_FALSE(edit.IsMouseOver());
    EXPECT_FALSE(edit.IsInHotState());

    // The poll stopped with the leave.
    const int polls = PollCount(edit.m_hWnd);
    Wait(1000);
    EXPECT_EQ(PollCount(edit.m_hWnd), polls);
    EXPECT_FALSE(::KillTimer(edit.m_hWnd, 210)) << "the poll timer still runs";
    edit.DestroyWindow();
}

TEST_F(HotTrackingTest, PollTimerNeverReachesTheDefaultProcedureAndKeysCanBeTaken)
{
    CProbeEdit edit;
    MakeEdit(edit);
    edit.SendMessage(WM_TIMER, 210, 0);
    edit.SendMessage(WM_TIMER, 7, 0);
    edit.SetCoolState(FALSE);
    edit.SendMessage(WM_TIMER, 210, 0);
    EXPECT_EQ(edit.defaultTimers, (std::vector<WPARAM>{7}));

    // Keys a derived class takes are eaten before translation; others go on.
    MSG f2{edit.m_hWnd, WM_KEYDOWN, VK_F2, 0, 0, POINT{0, 0}};
    MSG f3{edit.m_hWnd, WM_KEYDOWN, VK_F3, 0, 0, POINT{0, 0}};
    EXPECT_TRUE(edit.PreTranslateMessage(&f2));
    EXPECT_FALSE(edit.PreTranslateMessage(&f3));
    edit.DestroyWindow();
}

TEST_F(HotTrackingTest, DestroyingWhileHoveredStopsThePollAndAllowsANewWindow)
{
    CProbeEdit edit;
    MakeEdit(edit);
    MouseTo(60, 30);
    ASSERT_TRUE(edit.IsInHotState());
    const HWND first = edit.m_hWnd;
    edit.DestroyWindow();
    EXPECT_FALSE(edit.IsMouseOver());
    EXPECT_FALSE(edit.IsInHotState());
    Wait(600);
    EXPECT_EQ(PollCount(first), 0);

    // The same object takes a new window and is initialised again (its tooltip exists).
    MakeEdit(edit, 3, CRect(20, 100, 120, 122));
    CString text;
    EXPECT_TRUE(edit.GetTooltipText(text));
    EXPECT_TRUE(edit.SetTooltipText(L"again"));
    EXPECT_FALSE(edit.IsInHotState());
    edit.DestroyWindow();
}

// ---- focus --------------------------------------------------------------------------------------------------------

TEST_F(HotTrackingTest, FocusKeepsAControlHotAfterTheMouseLeaves)
{
    CCoolEdit first;
    CCoolEdit second;
    MakeEdit(first, 1);
    MakeEdit(second, 2, CRect(20, 60, 120, 82));

    // The focus coming from the parent window itself makes the control hot.
    parent.SetFocus();
    first.SetFocus();
    EXPECT_TRUE(first.IsInHotState());

    MouseTo(60, 30);
    MouseTo(300, 250);
    Wait(150);
    EXPECT_FALSE(first.IsMouseOver());
    EXPECT_TRUE(first.IsInHotState()) << "a focused control stays hot";

    second.SetFocus();
    EXPECT_FALSE(first.IsInHotState());
    EXPECT_TRUE(second.IsInHotState());

    // The focus leaving while the mouse is over the control keeps it hot.
    MouseTo(60, 70);
    parent.SetFocus();
    EXPECT_TRUE(second.IsInHotState());
    MouseTo(300, 250);
    Wait(150);
    EXPECT_FALSE(second.IsInHotState());
    first.DestroyWindow();
    second.DestroyWindow();
}

TEST_F(HotTrackingTest, CoolStateOffStopsTrackingAndOnLooksAtOnce)
{
    CCoolEdit edit;
    MakeEdit(edit);
    edit.SetCoolState(FALSE);
    MouseTo(60, 30);
    EXPECT_FALSE(edit.IsMouseOver());
    EXPECT_FALSE(edit.IsInHotState());
    edit.SetFocus();
    EXPECT_FALSE(edit.IsInHotState()) << "no focus tracking outside the cool state";

    edit.SetCoolState(TRUE);
    EXPECT_TRUE(edit.IsMouseOver());
    EXPECT_TRUE(edit.IsInHotState());
    EXPECT_TRUE(edit.IsInCoolState());

    // Hot by the focus, then the focus leaves while nothing is tracked: turning the cool
    // state back on finds the control cold.
    MouseTo(300, 250);
    Wait(150);
    ASSERT_TRUE(edit.IsInHotState());
    edit.SetCoolState(FALSE);
    parent.SetFocus();
    EXPECT_TRUE(edit.IsInHotState());
    edit.SetCoolState(TRUE);
    EXPECT_FALSE(edit.IsInHotState());
    edit.DestroyWindow();
}

// ---- edit and spin --------------------------------------------------------------------------------------------------

TEST_F(HotTrackingTest, EditAndAttachedSpinAreHotTogether)
{
    CCoolEdit edit;
    COXCoolSpinButtonCtrl spin;
    MakeEdit(edit);
    MakeSpin(spin, edit);
    ASSERT_EQ(CCoolEdit::FindAttachedSpinButton(edit.m_hWnd), spin.m_hWnd);
    ASSERT_TRUE(spin.IsAttached());

    // Entering the spin first makes the edit hot at once.
    const CPoint spinCentre = Centre(spin);
    MouseToScreen(spinCentre.x, spinCentre.y);
    EXPECT_TRUE(spin.IsInHotState());
    EXPECT_TRUE(edit.IsInHotState());
    EXPECT_TRUE(edit.IsMouseOver());

    // Straight from the spin onto the edit: the edit stays hot, the spin cools.
    const CPoint editCentre = Centre(edit);
    MouseToScreen(editCentre.x, editCentre.y);
    Wait(150);
    EXPECT_TRUE(edit.IsInHotState());
    EXPECT_FALSE(spin.IsInHotState());

    // Back onto the spin and away: both cool at the next polls.
    MouseToScreen(spinCentre.x, spinCentre.y);
    EXPECT_TRUE(spin.IsInHotState());
    MouseTo(300, 250);
    Wait(150);
    EXPECT_FALSE(spin.IsInHotState());
    EXPECT_FALSE(edit.IsInHotState());
    spin.DestroyWindow();
    edit.DestroyWindow();
}

TEST_F(HotTrackingTest, FocusMovingFromEditToItsSpinKeepsTheEditHot)
{
    CCoolEdit edit;
    COXCoolSpinButtonCtrl spin;
    CCoolEdit other;
    MakeEdit(edit);
    MakeSpin(spin, edit);
    MakeEdit(other, 3, CRect(20, 60, 120, 82));
    edit.SetFocus();
    ASSERT_TRUE(edit.IsInHotState());
    spin.SetFocus();
    EXPECT_TRUE(edit.IsInHotState());
    other.SetFocus();
    EXPECT_TRUE(other.IsInHotState());
    edit.SetFocus();
    other.SetFocus();
    EXPECT_FALSE(edit.IsInHotState()) << "the focus went to a window that is neither its spin nor inside it";
    other.DestroyWindow();
    spin.DestroyWindow();
    edit.DestroyWindow();
}

TEST_F(HotTrackingTest, SpinTellsOnlyItsOwnCoolBuddy)
{
    // A spin whose buddy is a plain edit object, and a window beside them that notes
    // private messages: the spin under the mouse and then leaving it asks nobody else for
    // a buddy and sends the plain edit no poll.
    CWatchedEdit plain;
    ASSERT_TRUE(plain.CreateEx(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 42), &parent, 1));
    COXCoolSpinButtonCtrl spin;
    MakeSpin(spin, plain);
    CListener listener;
    ASSERT_TRUE(listener.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(200, 20, 300, 120),
        &parent, 9));

    const CPoint spinCentre = Centre(spin);
    MouseToScreen(spinCentre.x, spinCentre.y);
    EXPECT_TRUE(spin.IsInHotState());
    MouseTo(250, 70);
    Wait(150);
    Wait(150);
    EXPECT_FALSE(spin.IsInHotState());
    EXPECT_TRUE(listener.privateMessages.empty()) << "a window under the mouse was asked for a buddy";
    EXPECT_EQ(plain.polls, 0) << "a plain edit was sent the poll";
    listener.DestroyWindow();
    spin.DestroyWindow();
    plain.DestroyWindow();
}

// ---- buttons -------------------------------------------------------------------------------------------------------

TEST_F(HotTrackingTest, RadioButtonIsHotExactlyWhileTheMouseIsOverIt)
{
    COXCoolButton radio;
    COXCoolButton push;
    ASSERT_TRUE(radio.Create(L"", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(20, 20, 120, 40), &parent, 1));
    ASSERT_TRUE(push.Create(L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 60, 120, 84), &parent, 2));

    radio.SetFocus();
    EXPECT_FALSE(radio.IsInHotState()) << "focus alone never makes a radio button hot";
    push.SetFocus();
    EXPECT_TRUE(push.IsInHotState()) << "other buttons follow the focus";

    MouseTo(60, 30);
    EXPECT_TRUE(radio.IsInHotState());
    radio.SetFocus();
    MouseTo(300, 250);
    Wait(150);
    EXPECT_FALSE(radio.IsInHotState()) << "the focus does not keep a radio button hot";

    MouseTo(60, 30);
    push.SetFocus();
    EXPECT_TRUE(radio.IsInHotState()) << "losing the focus under the mouse does not cool it";
    push.DestroyWindow();
    radio.DestroyWindow();
}

TEST_F(HotTrackingTest, NoHookAndNoTimerOutliveTheControls)
{
    // Tracking uses no hook at all; a control whose object goes while the mouse is over
    // it leaves no timer (the fixture checks windows, hooks and GDI objects at the end).
    const size_t hooks = zyn::user::LiveHookCount();
    {
        CCoolEdit a, b;
        MakeEdit(a, 1);
        MakeEdit(b, 2, CRect(20, 60, 120, 82));
        MouseTo(60, 30);
        MouseTo(60, 70);
        EXPECT_EQ(zyn::user::LiveHookCount(), hooks);
        a.DestroyWindow();
    }
    Wait(1000);
}

// ---- tooltip -------------------------------------------------------------------------------------------------------

TEST_F(HotTrackingTest, TooltipTextIsOneToolOverTheClientArea)
{
    CProbeEdit edit;
    CString text;
    EXPECT_FALSE(edit.SetTooltipText(L"early")) << "no window, no tooltip";
    EXPECT_FALSE(edit.GetTooltipText(text));

    MakeEdit(edit);
    EXPECT_TRUE(edit.GetTooltipText(text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(edit.Tip().GetToolCount(), 0);

    ASSERT_TRUE(edit.SetTooltipText(L"Name"));
    ASSERT_TRUE(edit.GetTooltipText(text));
    EXPECT_EQ(text, CString(L"Name"));
    EXPECT_EQ(edit.Tip().GetToolCount(), 1);

    // The same text again does not register the tool anew (its rectangle, moved by hand,
    // stays where it was put).
    const CRect odd(1, 2, 3, 4);
    edit.Tip().SetToolRect(&edit, 1000, &odd);
    EXPECT_TRUE(edit.SetTooltipText(L"Name"));
    CToolInfo info;
    ASSERT_TRUE(edit.Tip().GetToolInfo(info, &edit, 1000));
    EXPECT_EQ(CRect(info.rect), odd);

    // A new size puts the tool back over the new client area, text unchanged.
    edit.SetWindowPos(nullptr, 0, 0, 150, 30, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(edit.Tip().GetToolInfo(info, &edit, 1000));
    CRect client;
    edit.GetClientRect(&client);
    EXPECT_EQ(CRect(info.rect), client);
    ASSERT_TRUE(edit.GetTooltipText(text));
    EXPECT_EQ(text, CString(L"Name"));

    // A veto keeps the old text; an empty text removes the tool.
    edit.vetoTooltips = TRUE;
    EXPECT_FALSE(edit.SetTooltipText(L"Other"));
    ASSERT_TRUE(edit.GetTooltipText(text));
    EXPECT_EQ(text, CString(L"Name"));
    edit.vetoTooltips = FALSE;
    EXPECT_TRUE(edit.SetTooltipText(L""));
    EXPECT_EQ(edit.Tip().GetToolCount(), 0);
    ASSERT_TRUE(edit.GetTooltipText(text));
    EXPECT_TRUE(text.IsEmpty());

    // Resizing without a tool does not make one.
    edit.SetWindowPos(nullptr, 0, 0, 120, 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(edit.Tip().GetToolCount(), 0);
    edit.DestroyWindow();
}

// ---- window questions ------------------------------------------------------------------------------------------

TEST_F(HotTrackingTest, DescendantsFollowOwnersAndEndOnACycle)
{
    CWnd a, b;
    ASSERT_TRUE(a.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 1));
    ASSERT_TRUE(b.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &a, 2));
    EXPECT_TRUE(CCoolEdit::IsDescendant(&parent, &b));
    EXPECT_TRUE(CCoolEdit::IsDescendant(&b, &b));
    EXPECT_FALSE(CCoolEdit::IsDescendant(&b, &parent));
    EXPECT_FALSE(CCoolEdit::IsDescendant(&parent, nullptr));

    // An owner set by the application takes precedence over the parent...
    b.SetOwner(&parent);
    EXPECT_FALSE(CCoolEdit::IsDescendant(&a, &b));
    // ...and an owner cycle ends as "not inside" instead of hanging.
    a.SetOwner(&b);
    b.SetOwner(&a);
    EXPECT_FALSE(CCoolEdit::IsDescendant(&parent, &a));
    b.DestroyWindow();
    a.DestroyWindow();
}

} // namespace
} // namespace cooltest
