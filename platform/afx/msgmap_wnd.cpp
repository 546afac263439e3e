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

LRESULT V_V(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_v>(p))();
    return 0;
}

LRESULT B_V(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_b_v>(p))();
}

LRESULT U_V(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return static_cast<LRESULT>((W(t)->*As<P_u_v>(p))());
}

LRESULT L_V(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_l_v>(p))();
}

LRESULT H_V(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return reinterpret_cast<LRESULT>((W(t)->*As<P_h_v>(p))());
}

LRESULT I_CS(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_i_cs>(p))(Ptr<CREATESTRUCTW>(lParam));
}

LRESULT V_Move(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_ii>(p))(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return 0;
}

LRESULT V_Size(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_uii>(p))(static_cast<UINT>(wParam), static_cast<int>(Lo(static_cast<uintptr_t>(lParam))),
        static_cast<int>(Hi(static_cast<uintptr_t>(lParam))));
    return 0;
}

LRESULT V_URectTrue(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_ur>(p))(static_cast<UINT>(wParam), Ptr<RECT>(lParam));
    return TRUE;
}

LRESULT V_Activate(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_uWb>(p))(Lo(wParam), WndL(lParam), static_cast<BOOL>(Hi(wParam)));
    return 0;
}

LRESULT V_BDw(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_bdw>(p))(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));
    return 0;
}

LRESULT V_WndW(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_W>(p))(Wnd(wParam));
    return 0;
}

LRESULT V_WndL(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_W>(p))(WndL(lParam));
    return 0;
}

LRESULT V_B(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_b>(p))(static_cast<BOOL>(wParam));
    return 0;
}

LRESULT B_B(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_b_b>(p))(static_cast<BOOL>(wParam));
}

LRESULT B_DcW(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_b_D>(p))(Dc(wParam));
}

LRESULT V_DcW(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_D>(p))(Dc(wParam));
    return 0;
}

LRESULT V_BU(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_bu>(p))(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
    return 0;
}

LRESULT Hbr_CtlColor(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    // lParam: the AFX_CTLCOLOR the window built from WM_CTLCOLOR*.
    const auto* ctl = Ptr<AFX_CTLCOLOR>(lParam);
    if (!ctl)
        return 0;
    return reinterpret_cast<LRESULT>(
        (W(t)->*As<P_hbr_DWu>(p))(Dc(reinterpret_cast<uintptr_t>(ctl->hDC)), CWnd::FromHandle(ctl->hWnd), ctl->nCtlType));
}

LRESULT Hbr_CtlColorReflect(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* ctl = Ptr<AFX_CTLCOLOR>(lParam);
    if (!ctl)
        return 0;
    return reinterpret_cast<LRESULT>(
        (W(t)->*As<P_hbr_Du>(p))(Dc(reinterpret_cast<uintptr_t>(ctl->hDC)), ctl->nCtlType));
}

LRESULT V_USetting(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_us>(p))(static_cast<UINT>(wParam), Ptr<const wchar_t>(lParam));
    return 0;
}

LRESULT V_SL(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_s>(p))(Ptr<const wchar_t>(lParam));
    return 0;
}

LRESULT V_WsL(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_ws>(p))(Ptr<wchar_t>(lParam));
    return 0;
}

LRESULT I_WndHitMsg(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The hit-test code is signed (HTERROR is -2).
    const auto hit = static_cast<UINT>(static_cast<int>(static_cast<short>(Lo(static_cast<uintptr_t>(lParam)))));
    return (W(t)->*As<P_i_Wuu>(p))(Wnd(wParam), hit, Hi(static_cast<uintptr_t>(lParam)));
}

LRESULT V_Mmi(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_mmi>(p))(Ptr<MINMAXINFO>(lParam));
    return 0;
}

LRESULT V_DrawItem(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_iDIS>(p))(static_cast<int>(wParam), Ptr<DRAWITEMSTRUCT>(lParam));
    return TRUE;
}

LRESULT V_MeasureItem(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_iMIS>(p))(static_cast<int>(wParam), Ptr<MEASUREITEMSTRUCT>(lParam));
    return TRUE;
}

LRESULT V_DeleteItem(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_iDLS>(p))(static_cast<int>(wParam), Ptr<DELETEITEMSTRUCT>(lParam));
    return TRUE;
}

LRESULT I_CompareItem(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_i_iCIS>(p))(static_cast<int>(wParam), Ptr<COMPAREITEMSTRUCT>(lParam));
}

LRESULT V_DrawItemReflect(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_DIS>(p))(Ptr<DRAWITEMSTRUCT>(lParam));
    return TRUE;
}

LRESULT V_MeasureItemReflect(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_MIS>(p))(Ptr<MEASUREITEMSTRUCT>(lParam));
    return TRUE;
}

LRESULT V_DeleteItemReflect(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_DLS>(p))(Ptr<DELETEITEMSTRUCT>(lParam));
    return TRUE;
}

LRESULT I_CompareItemReflect(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_i_CIS>(p))(Ptr<COMPAREITEMSTRUCT>(lParam));
}

LRESULT V_WindowPos(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_wp>(p))(Ptr<WINDOWPOS>(lParam));
    return 0;
}

LRESULT V_IStyle(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_iss>(p))(static_cast<int>(wParam), Ptr<STYLESTRUCT>(lParam));
    return 0;
}

LRESULT B_CopyData(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_b_Wcds>(p))(Wnd(wParam), Ptr<COPYDATASTRUCT>(lParam));
}

LRESULT B_HelpInfo(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_b_help>(p))(Ptr<HELPINFO>(lParam));
}

LRESULT U_NotifyFormat(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return static_cast<LRESULT>((W(t)->*As<P_u_Wu>(p))(Wnd(wParam), static_cast<UINT>(lParam)));
}

LRESULT V_ContextMenu(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_Wpt>(p))(Wnd(wParam), Pt(lParam));
    return 0;
}

LRESULT V_NcCalcSize(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    // With wParam FALSE lParam is a RECT, the first member of NCCALCSIZE_PARAMS.
    (W(t)->*As<P_v_bncs>(p))(static_cast<BOOL>(wParam), Ptr<NCCALCSIZE_PARAMS>(lParam));
    return 0;
}

LRESULT L_NcHitTest(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_l_pt>(p))(Pt(lParam));
}

LRESULT V_UPoint(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_upt>(p))(static_cast<UINT>(wParam), Pt(lParam));
    return 0;
}

LRESULT V_Key(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_uuu>(p))(static_cast<UINT>(wParam), Lo(static_cast<uintptr_t>(lParam)),
        Hi(static_cast<uintptr_t>(lParam)));
    return 0;
}

LRESULT V_UL(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_ul>(p))(static_cast<UINT>(wParam), lParam);
    return 0;
}

LRESULT V_Timer(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_up>(p))(static_cast<UINT_PTR>(wParam));
    return 0;
}

LRESULT V_Scroll(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The position is a signed 16-bit value; lParam is the scroll-bar control (null for
    // the window's own bar).
    const auto nPos = static_cast<UINT>(static_cast<int>(static_cast<short>(Hi(wParam))));
    const auto hWndBar = reinterpret_cast<HWND>(lParam);
    CScrollBar* pBar = nullptr;
    CScrollBar wrapper; // for a bar with no CScrollBar of its own, valid during the call
    if (hWndBar) {
        pBar = zyn::afx::ScrollBarFromPermanent(hWndBar);
        if (!pBar) {
            wrapper.m_hWnd = hWndBar;
            pBar = &wrapper;
        }
    }
    (W(t)->*As<P_v_uuSB>(p))(Lo(wParam), nPos, pBar);
    wrapper.m_hWnd = nullptr;
    return 0;
}

LRESULT V_ScrollReflect(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto nPos = static_cast<UINT>(static_cast<int>(static_cast<short>(Hi(wParam))));
    (W(t)->*As<P_v_uu>(p))(Lo(wParam), nPos);
    return 0;
}

LRESULT V_LoHiW(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_uu>(p))(Lo(wParam), Hi(wParam));
    return 0;
}

LRESULT I_LoHiW(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_i_uu>(p))(Lo(wParam), Hi(wParam));
}

LRESULT V_InitMenu(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_M>(p))(Menu(wParam));
    return 0;
}

LRESULT V_InitMenuPopup(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_Mub>(p))(Menu(wParam), Lo(static_cast<uintptr_t>(lParam)),
        static_cast<BOOL>(Hi(static_cast<uintptr_t>(lParam))));
    return 0;
}

LRESULT V_UnInitMenuPopup(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_Mu>(p))(Menu(wParam), Hi(static_cast<uintptr_t>(lParam)));
    return 0;
}

LRESULT V_MenuSelect(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_uuhm>(p))(Lo(wParam), Hi(wParam), reinterpret_cast<HMENU>(lParam));
    return 0;
}

LRESULT L_MenuChar(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_l_uuM>(p))(Lo(wParam), Hi(wParam), Menu(static_cast<uintptr_t>(lParam)));
}

LRESULT V_EnterIdle(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_uW>(p))(static_cast<UINT>(wParam), WndL(lParam));
    return 0;
}

LRESULT V_XButton(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_uupt>(p))(Lo(wParam), Hi(wParam), Pt(lParam));
    return TRUE;
}

LRESULT B_MouseWheel(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_b_uspt>(p))(Lo(wParam), static_cast<short>(Hi(wParam)), Pt(lParam));
}

LRESULT V_MouseHWheel(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_uspt>(p))(Lo(wParam), static_cast<short>(Hi(wParam)), Pt(lParam));
    return 0;
}

LRESULT V_MdiActivate(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    // To a child: wParam the child losing activation, lParam the one gaining it.
    CWnd* self = W(t);
    const auto hActivate = reinterpret_cast<HWND>(lParam);
    (self->*As<P_v_bWW>(p))(self->m_hWnd == hActivate, CWnd::FromHandle(hActivate), Wnd(wParam));
    return 0;
}

LRESULT V_DropFiles(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_hdrop>(p))(reinterpret_cast<HDROP>(wParam));
    return 0;
}

LRESULT V_Print(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_Du>(p))(Dc(wParam), static_cast<UINT>(lParam));
    return 0;
}

LRESULT V_U(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    (W(t)->*As<P_v_u>(p))(static_cast<UINT>(wParam));
    return 0;
}

LRESULT L_Message(CCmdTarget* t, AFX_PMSG p, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (W(t)->*As<P_l_wl>(p))(wParam, lParam);
}

} // namespace zyn::afx::wm
