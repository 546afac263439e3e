// The thunks of the window-message entries: each converts the stored member pointer
// back to its exact type, cracks wParam/lParam the way the message defines them and
// sets the message's answer.
#include "platform/afx/msgmap_wnd.h"

#include "platform/afx/gdi/dc.h"
#include "platform/afx/menu.h"
#include "platform/afx/scrollbar.h"
#include "platform/afx/wnd.h"
#include "platform/user/messages.h"

namespace zyn::afx::wm {

namespace {

template <class Pmf>
Pmf As(AFX_PMSG pfn)
{
    return FromPmsg<Pmf>(pfn);
}

CWnd* W(CCmdTarget* t) { return static_cast<CWnd*>(t); }
CWnd* Wnd(uintptr_t h) { return CWnd::FromHandle(reinterpret_cast<HWND>(h)); }
CWnd* WndL(LPARAM h) { return CWnd::FromHandle(reinterpret_cast<HWND>(h)); }
CDC* Dc(uintptr_t h) { return CDC::FromHandle(reinterpret_cast<HDC>(h)); }
CMenu* Menu(uintptr_t h) { return CMenu::FromHandle(reinterpret_cast<HMENU>(h)); }
CPoint Pt(LPARAM l) { return CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l)); }
UINT Lo(uintptr_t v) { return LOWORD(v); }
UINT Hi(uintptr_t v) { return HIWORD(v); }
template <class T>
T* Ptr(LPARAM l)
{
    return reinterpret_cast<T*>(l);
}

} // namespace

BOOL V_V(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_v>(p))();
    c.lResult = 0;
    return TRUE;
}

BOOL B_V(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_b_v>(p))();
    return TRUE;
}

BOOL U_V(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = static_cast<LRESULT>((W(t)->*As<P_u_v>(p))());
    return TRUE;
}

BOOL L_V(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_l_v>(p))();
    return TRUE;
}

BOOL H_V(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = reinterpret_cast<LRESULT>((W(t)->*As<P_h_v>(p))());
    return TRUE;
}

BOOL I_CS(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_i_cs>(p))(Ptr<CREATESTRUCTW>(c.lParam));
    return TRUE;
}

BOOL V_Move(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_ii>(p))(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_Size(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_uii>(p))(static_cast<UINT>(c.wParam), static_cast<int>(Lo(static_cast<uintptr_t>(c.lParam))),
        static_cast<int>(Hi(static_cast<uintptr_t>(c.lParam))));
    c.lResult = 0;
    return TRUE;
}

BOOL V_URectTrue(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_ur>(p))(static_cast<UINT>(c.wParam), Ptr<RECT>(c.lParam));
    c.lResult = TRUE;
    return TRUE;
}

BOOL V_Activate(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_uWb>(p))(Lo(c.wParam), WndL(c.lParam), static_cast<BOOL>(Hi(c.wParam)));
    c.lResult = 0;
    return TRUE;
}

BOOL V_BDw(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_bdw>(p))(static_cast<BOOL>(c.wParam), static_cast<DWORD>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_WndW(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_W>(p))(Wnd(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_WndL(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_W>(p))(WndL(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_B(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_b>(p))(static_cast<BOOL>(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL B_B(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_b_b>(p))(static_cast<BOOL>(c.wParam));
    return TRUE;
}

BOOL B_DcW(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_b_D>(p))(Dc(c.wParam));
    return TRUE;
}

BOOL V_DcW(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_D>(p))(Dc(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_BU(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_bu>(p))(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL Hbr_CtlColor(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    // lParam: the AFX_CTLCOLOR the window built from WM_CTLCOLOR*.
    const auto* ctl = Ptr<AFX_CTLCOLOR>(c.lParam);
    if (!ctl)
        return FALSE;
    c.lResult = reinterpret_cast<LRESULT>(
        (W(t)->*As<P_hbr_DWu>(p))(Dc(reinterpret_cast<uintptr_t>(ctl->hDC)), CWnd::FromHandle(ctl->hWnd), ctl->nCtlType));
    return TRUE;
}

BOOL Hbr_CtlColorReflect(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    const auto* ctl = Ptr<AFX_CTLCOLOR>(c.lParam);
    if (!ctl)
        return FALSE;
    c.lResult = reinterpret_cast<LRESULT>(
        (W(t)->*As<P_hbr_Du>(p))(Dc(reinterpret_cast<uintptr_t>(ctl->hDC)), ctl->nCtlType));
    return TRUE;
}

BOOL V_USetting(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_us>(p))(static_cast<UINT>(c.wParam), Ptr<const wchar_t>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_SL(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_s>(p))(Ptr<const wchar_t>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_WsL(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_ws>(p))(Ptr<wchar_t>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL I_WndHitMsg(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    // The hit-test code is signed (HTERROR is -2).
    const auto hit = static_cast<UINT>(static_cast<int>(static_cast<short>(Lo(static_cast<uintptr_t>(c.lParam)))));
    c.lResult = (W(t)->*As<P_i_Wuu>(p))(Wnd(c.wParam), hit, Hi(static_cast<uintptr_t>(c.lParam)));
    return TRUE;
}

BOOL V_Mmi(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_mmi>(p))(Ptr<MINMAXINFO>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_DrawItem(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_iDIS>(p))(static_cast<int>(c.wParam), Ptr<DRAWITEMSTRUCT>(c.lParam));
    c.lResult = TRUE;
    return TRUE;
}

BOOL V_MeasureItem(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_iMIS>(p))(static_cast<int>(c.wParam), Ptr<MEASUREITEMSTRUCT>(c.lParam));
    c.lResult = TRUE;
    return TRUE;
}

BOOL V_DeleteItem(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_iDLS>(p))(static_cast<int>(c.wParam), Ptr<DELETEITEMSTRUCT>(c.lParam));
    c.lResult = TRUE;
    return TRUE;
}

BOOL I_CompareItem(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_i_iCIS>(p))(static_cast<int>(c.wParam), Ptr<COMPAREITEMSTRUCT>(c.lParam));
    return TRUE;
}

BOOL V_DrawItemReflect(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_DIS>(p))(Ptr<DRAWITEMSTRUCT>(c.lParam));
    c.lResult = TRUE;
    return TRUE;
}

BOOL V_MeasureItemReflect(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_MIS>(p))(Ptr<MEASUREITEMSTRUCT>(c.lParam));
    c.lResult = TRUE;
    return TRUE;
}

BOOL V_DeleteItemReflect(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_DLS>(p))(Ptr<DELETEITEMSTRUCT>(c.lParam));
    c.lResult = TRUE;
    return TRUE;
}

BOOL I_CompareItemReflect(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_i_CIS>(p))(Ptr<COMPAREITEMSTRUCT>(c.lParam));
    return TRUE;
}

BOOL V_WindowPos(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_wp>(p))(Ptr<WINDOWPOS>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_IStyle(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_iss>(p))(static_cast<int>(c.wParam), Ptr<STYLESTRUCT>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL B_CopyData(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_b_Wcds>(p))(Wnd(c.wParam), Ptr<COPYDATASTRUCT>(c.lParam));
    return TRUE;
}

BOOL B_HelpInfo(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_b_help>(p))(Ptr<HELPINFO>(c.lParam));
    return TRUE;
}

BOOL U_NotifyFormat(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = static_cast<LRESULT>((W(t)->*As<P_u_Wu>(p))(Wnd(c.wParam), static_cast<UINT>(c.lParam)));
    return TRUE;
}

BOOL V_ContextMenu(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_Wpt>(p))(Wnd(c.wParam), Pt(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_NcCalcSize(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    // With wParam FALSE lParam is a RECT, the first member of NCCALCSIZE_PARAMS.
    (W(t)->*As<P_v_bncs>(p))(static_cast<BOOL>(c.wParam), Ptr<NCCALCSIZE_PARAMS>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL L_NcHitTest(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_l_pt>(p))(Pt(c.lParam));
    return TRUE;
}

BOOL V_UPoint(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_upt>(p))(static_cast<UINT>(c.wParam), Pt(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_Key(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_uuu>(p))(static_cast<UINT>(c.wParam), Lo(static_cast<uintptr_t>(c.lParam)),
        Hi(static_cast<uintptr_t>(c.lParam)));
    c.lResult = 0;
    return TRUE;
}

BOOL V_UL(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_ul>(p))(static_cast<UINT>(c.wParam), c.lParam);
    c.lResult = 0;
    return TRUE;
}

BOOL V_Timer(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_up>(p))(static_cast<UINT_PTR>(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_Scroll(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    // The position is a signed 16-bit value; lParam is the scroll-bar control (null for
    // the window's own bar).
    const auto nPos = static_cast<UINT>(static_cast<int>(static_cast<short>(Hi(c.wParam))));
    const auto hWndBar = reinterpret_cast<HWND>(c.lParam);
    CScrollBar* pBar = nullptr;
    CScrollBar wrapper; // for a bar with no CScrollBar of its own, valid during the call
    if (hWndBar) {
        pBar = zyn::afx::ScrollBarFromPermanent(hWndBar);
        if (!pBar) {
            wrapper.m_hWnd = hWndBar;
            pBar = &wrapper;
        }
    }
    (W(t)->*As<P_v_uuSB>(p))(Lo(c.wParam), nPos, pBar);
    wrapper.m_hWnd = nullptr;
    c.lResult = 0;
    return TRUE;
}

BOOL V_ScrollReflect(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    const auto nPos = static_cast<UINT>(static_cast<int>(static_cast<short>(Hi(c.wParam))));
    (W(t)->*As<P_v_uu>(p))(Lo(c.wParam), nPos);
    c.lResult = 0;
    return TRUE;
}

BOOL V_LoHiW(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_uu>(p))(Lo(c.wParam), Hi(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL I_LoHiW(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_i_uu>(p))(Lo(c.wParam), Hi(c.wParam));
    return TRUE;
}

BOOL V_InitMenu(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_M>(p))(Menu(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_InitMenuPopup(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_Mub>(p))(Menu(c.wParam), Lo(static_cast<uintptr_t>(c.lParam)),
        static_cast<BOOL>(Hi(static_cast<uintptr_t>(c.lParam))));
    c.lResult = 0;
    return TRUE;
}

BOOL V_UnInitMenuPopup(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_Mu>(p))(Menu(c.wParam), Hi(static_cast<uintptr_t>(c.lParam)));
    c.lResult = 0;
    return TRUE;
}

BOOL V_MenuSelect(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_uuhm>(p))(Lo(c.wParam), Hi(c.wParam), reinterpret_cast<HMENU>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL L_MenuChar(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_l_uuM>(p))(Lo(c.wParam), Hi(c.wParam), Menu(static_cast<uintptr_t>(c.lParam)));
    return TRUE;
}

BOOL V_EnterIdle(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_uW>(p))(static_cast<UINT>(c.wParam), WndL(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_XButton(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_uupt>(p))(Lo(c.wParam), Hi(c.wParam), Pt(c.lParam));
    c.lResult = TRUE;
    return TRUE;
}

BOOL B_MouseWheel(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_b_uspt>(p))(Lo(c.wParam), static_cast<short>(Hi(c.wParam)), Pt(c.lParam));
    return TRUE;
}

BOOL V_MouseHWheel(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_uspt>(p))(Lo(c.wParam), static_cast<short>(Hi(c.wParam)), Pt(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_MdiActivate(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    // To a child: wParam the child losing activation, lParam the one gaining it.
    CWnd* self = W(t);
    const auto hActivate = reinterpret_cast<HWND>(c.lParam);
    (self->*As<P_v_bWW>(p))(self->m_hWnd == hActivate, CWnd::FromHandle(hActivate), Wnd(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_DropFiles(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_hdrop>(p))(reinterpret_cast<HDROP>(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_Print(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_Du>(p))(Dc(c.wParam), static_cast<UINT>(c.lParam));
    c.lResult = 0;
    return TRUE;
}

BOOL V_U(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    (W(t)->*As<P_v_u>(p))(static_cast<UINT>(c.wParam));
    c.lResult = 0;
    return TRUE;
}

BOOL L_Message(CCmdTarget* t, AFX_PMSG p, MsgCall& c)
{
    c.lResult = (W(t)->*As<P_l_wl>(p))(c.wParam, c.lParam);
    return TRUE;
}

} // namespace zyn::afx::wm
