// The hot-tracking template's bodies and its seven instantiations.
#include "toolkit/menus/cool_ctrl.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/cool_draw.h"
#include "toolkit/menus/cool_geometry.h"
#include "toolkit/menus/cool_windows.h"
#include "toolkit/skins/dc_guard.h"

namespace cool = zyn::toolkit::cool;

namespace {

constexpr UINT kRedrawFrame = RDW_INVALIDATE | RDW_FRAME;                                   // 0x0401
constexpr UINT kRedrawFrameNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME;   // 0x0505

bool SameFlag(BOOL a, BOOL b) { return (a != FALSE) == (b != FALSE); }

bool IsClientMouseMessage(UINT message) { return message >= 0x0200 && message <= 0x020D; }
bool IsNonClientMouseMessage(UINT message) { return message >= 0x00A0 && message <= 0x00A9; }

} // namespace

// ---- state --------------------------------------------------------------------------------------------------

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::SetCoolState(BOOL bInCoolState)
{
    if (SameFlag(bInCoolState, m_bInCoolState))
        return;
    m_bInCoolState = bInCoolState ? TRUE : FALSE;
    if (!this->m_hWnd)
        return;
    if (m_bInCoolState) {
        CheckMousePos(TRUE);
        if (!m_bInHotState && cool::IsFocusInside(this->m_hWnd))
            OnChangeHotState(TRUE);
        // The focus may have left while nothing was tracked: a control neither under the
        // mouse nor holding the focus is cold again.
        else if (m_bInHotState && !m_bMouseIsOver && !cool::IsFocusInside(this->m_hWnd))
            OnChangeHotState(FALSE);
    }
    if (::IsWindow(this->m_hWnd))
        this->RedrawWindow(nullptr, nullptr, kRedrawFrameNow);
}

// ---- tooltip ---------------------------------------------------------------------------------------------------

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::SetTooltipText(const CString& sText)
{
    if (!m_ttc.GetSafeHwnd() || !OnChangeTooltipText(sText))
        return FALSE;
    if (sText.IsEmpty()) {
        m_ttc.DelTool(this, kTooltipID);
        return TRUE;
    }
    CString sCurrent;
    if (GetTooltipText(sCurrent) && sCurrent.Collate(sText) == 0)
        return TRUE;
    m_ttc.DelTool(this, kTooltipID);
    CRect rect;
    this->GetClientRect(&rect);
    return m_ttc.AddTool(this, sText, &rect, kTooltipID);
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::GetTooltipText(CString& sText) const
{
    if (!m_ttc.GetSafeHwnd())
        return FALSE;
    auto* self = const_cast<COXCoolCtrl*>(this);
    CToolInfo info;
    if (m_ttc.GetToolInfo(info, self, kTooltipID))
        m_ttc.GetText(sText, self, kTooltipID);
    else
        sText.Empty();
    return TRUE;
}

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::RefreshTooltipRect()
{
    CToolInfo info;
    if (!m_ttc.GetSafeHwnd() || !m_ttc.GetToolInfo(info, this, kTooltipID))
        return;
    CString sText;
    m_ttc.GetText(sText, this, kTooltipID);
    m_ttc.DelTool(this, kTooltipID);
    CRect rect;
    this->GetClientRect(&rect);
    m_ttc.AddTool(this, sText, &rect, kTooltipID);
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::OnChangeTooltipText(const CString&)
{
    return TRUE;
}

// ---- hot tracking --------------------------------------------------------------------------------------------------

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::CheckMousePos(BOOL bCheckDescendants)
{
    const HWND hWnd = this->m_hWnd;
    if (!hWnd)
        return;
    CPoint pt;
    ::GetCursorPos(&pt);
    const HWND hUnder = ::WindowFromPoint(pt);
    BOOL bOver = hUnder == hWnd || (bCheckDescendants && cool::IsWindowInside(hWnd, hUnder));
    // An edit and the spin button attached to it are one control for the mouse.
    if (!bOver && cool::IsEditWindow(hWnd) && cool::IsSpinButtonWindow(hUnder) && cool::SpinBuddyOf(hUnder) == hWnd)
        bOver = TRUE;
    // A spin button makes its own buddy look at once, so the edit turns hot together
    // with it. Only that buddy is told, and only when it is a cool edit: the timer ID
    // means nothing to any other window.
    if (cool::IsSpinButtonWindow(hWnd)) {
        const HWND hBuddy = cool::SpinBuddyOf(hWnd);
        if (hBuddy && cool::IsEditWindow(hBuddy) && dynamic_cast<COXCoolCtrl<CEdit>*>(CWnd::FromHandlePermanent(hBuddy)))
            ::SendMessageW(hBuddy, WM_TIMER, kCheckMouseTimerID, 0);
    }
    if (SameFlag(bOver, m_bMouseIsOver))
        return;
    m_bMouseIsOver = bOver ? TRUE : FALSE;
    if (m_bMouseIsOver)
        OnMouseEnter(pt);
    else
        OnMouseLeave(pt);
    if (!::IsWindow(hWnd) || this->m_hWnd != hWnd)
        return; // a handler destroyed the window
    if (m_bMouseIsOver && !m_nCheckMouseTimerID) {
        m_nCheckMouseTimerID = this->SetTimer(kCheckMouseTimerID, kCheckMouseInterval, nullptr);
    } else if (!m_bMouseIsOver && m_nCheckMouseTimerID) {
        this->KillTimer(m_nCheckMouseTimerID);
        m_nCheckMouseTimerID = 0;
    }
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::InitializeCoolCtrl()
{
    OnChangeHotState(cool::IsFocusInside(this->m_hWnd));
    if (!m_ttc.GetSafeHwnd() && !m_ttc.Create(this, 0))
        return FALSE;
    m_ttc.Activate(TRUE);
    return TRUE;
}

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::OnChangeHotState(BOOL bInHotState)
{
    // Hot means "mouse over or focus inside": while either holds, the control stays hot.
    if (!bInHotState && (m_bMouseIsOver || cool::IsFocusInside(this->m_hWnd)))
        return;
    if (SameFlag(bInHotState, m_bInHotState))
        return;
    m_bInHotState = bInHotState ? TRUE : FALSE;
    if (!this->m_hWnd)
        return;
    this->RedrawWindow(nullptr, nullptr, kRedrawFrame);
    RedrawAttachedSpin();
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::FocusChangeFlipsHotState(CWnd* pWndGainFocus, CWnd* pWndLooseFocus) const
{
    const HWND hGain = zyn::afx::SafeHwndOf(pWndGainFocus);
    const HWND hLose = zyn::afx::SafeHwndOf(pWndLooseFocus);
    const HWND hWnd = this->m_hWnd;
    const bool comesHere = hWnd && hGain == hWnd && !m_bInHotState;
    const bool leavesHere = hWnd && hLose == hWnd && m_bInHotState;
    if (!comesHere && !leavesHere)
        return FALSE;
    if (hGain && hLose) {
        // An edit and its attached spin button share one hot state.
        if (cool::FindAttachedSpin(hLose) == hGain)
            return FALSE;
        // The focus going into one of the control's own windows keeps it hot. (The focus
        // coming to the control from a window that contains it, a dialog or a frame, is
        // an ordinary arrival.)
        if (leavesHere && cool::IsWindowInside(hLose, hGain))
            return FALSE;
    }
    return TRUE;
}

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::OnFocusChange(CWnd* pWndGainFocus, CWnd* pWndLooseFocus)
{
    if (FocusChangeFlipsHotState(pWndGainFocus, pWndLooseFocus))
        OnChangeHotState(m_bInHotState ? FALSE : TRUE);
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::HandleKey(UINT)
{
    return FALSE;
}

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::OnMouseEnter(const CPoint&)
{
    if (!m_bInHotState)
        OnChangeHotState(TRUE);
}

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::OnMouseLeave(const CPoint&)
{
    if (m_bInHotState)
        OnChangeHotState(FALSE);
}

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::RedrawAttachedSpin() const
{
    if (const HWND hSpin = cool::FindAttachedSpin(this->m_hWnd))
        ::RedrawWindow(hSpin, nullptr, nullptr, kRedrawFrameNow);
}

// ---- window questions ------------------------------------------------------------------------------------------

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::IsEditControl(HWND hWnd)
{
    return cool::IsEditWindow(hWnd);
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::IsComboBox(HWND hWnd)
{
    return cool::IsComboBoxWindow(hWnd);
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::IsListBox(HWND hWnd)
{
    return cool::IsListBoxWindow(hWnd);
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::IsSpinButtonControl(HWND hWnd)
{
    return cool::IsSpinButtonWindow(hWnd);
}

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::IsDescendant(CWnd* pWndParent, CWnd* pWndChild)
{
    if (!pWndChild)
        return FALSE;
    return cool::IsWindowInside(zyn::afx::SafeHwndOf(pWndParent), pWndChild->m_hWnd);
}

template <class PARENTWND>
HWND COXCoolCtrl<PARENTWND>::FindAttachedSpinButton(HWND hWnd)
{
    return cool::FindAttachedSpin(hWnd);
}

// ---- messages ------------------------------------------------------------------------------------------------------

template <class PARENTWND>
BOOL COXCoolCtrl<PARENTWND>::PreTranslateMessage(MSG* pMsg)
{
    if (m_ttc.GetSafeHwnd()) {
        m_ttc.Activate(TRUE);
        m_ttc.RelayEvent(pMsg);
    }
    if (pMsg && pMsg->message == WM_KEYDOWN && HandleKey(static_cast<UINT>(pMsg->wParam)))
        return TRUE;
    return PARENTWND::PreTranslateMessage(pMsg);
}

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::PreSubclassWindow()
{
    // An existing window being subclassed (no creation of ours in progress): it will not
    // see WM_CREATE, so it is initialised here.
    if (!m_bInitialized && !AfxGetThreadState()->m_pWndInit) {
        m_bInitialized = TRUE;
        InitializeCoolCtrl();
    }
    PARENTWND::PreSubclassWindow();
}

template <class PARENTWND>
LRESULT COXCoolCtrl<PARENTWND>::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    AFX_MAINTAIN_STATE2 moduleState(AfxGetAppModuleState());
    if (!m_bInitialized && message == WM_CREATE) {
        m_bInitialized = TRUE;
        InitializeCoolCtrl();
    }
    switch (message) {
    case WM_NCPAINT: {
        const LRESULT result = PARENTWND::WindowProc(message, wParam, lParam);
        DrawNcBorders();
        return result;
    }
    case WM_TIMER:
        if (wParam != kCheckMouseTimerID)
            break;
        if (m_bInCoolState)
            CheckMousePos(TRUE);
        return 0;
    case WM_NCDESTROY:
        // Reset before the base runs: its last step may free a self-deleting object.
        m_nCheckMouseTimerID = 0;
        m_bMouseIsOver = FALSE;
        m_bInHotState = FALSE;
        m_bInitialized = FALSE;
        break;
    case WM_SETFOCUS:
        if (m_bInCoolState)
            OnFocusChange(this, CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case WM_KILLFOCUS:
        if (m_bInCoolState)
            OnFocusChange(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), this);
        break;
    case WM_ENABLE:
        if (m_bInCoolState) {
            const LRESULT result = PARENTWND::WindowProc(message, wParam, lParam);
            if (::IsWindow(this->m_hWnd))
                this->RedrawWindow(nullptr, nullptr, kRedrawFrameNow);
            return result;
        }
        break;
    case WM_PAINT: {
        // A control with its own scroll bars updates them as it lays itself out, and the
        // window system then repaints the bars with the whole frame, outside WM_NCPAINT;
        // the flat frame and bars are put back once the control has painted.
        const LRESULT result = PARENTWND::WindowProc(message, wParam, lParam);
        if (m_bInCoolState && ::IsWindow(this->m_hWnd) && (this->GetStyle() & (WS_HSCROLL | WS_VSCROLL)))
            DrawNcBorders();
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = PARENTWND::WindowProc(message, wParam, lParam);
        RefreshTooltipRect();
        return result;
    }
    case WM_DESTROY:
        if (m_nCheckMouseTimerID) {
            this->KillTimer(m_nCheckMouseTimerID);
            m_nCheckMouseTimerID = 0;
        }
        if (m_ttc.GetSafeHwnd())
            m_ttc.DestroyWindow();
        break;
    default:
        if (!m_bMouseIsOver && m_bInCoolState &&
            (IsClientMouseMessage(message) || IsNonClientMouseMessage(message)))
            CheckMousePos(TRUE);
        break;
    }
    return PARENTWND::WindowProc(message, wParam, lParam);
}

// ---- flat painting ------------------------------------------------------------------------------------------------

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::DrawNcBorders()
{
    const HWND hWnd = this->m_hWnd;
    if (!m_bInCoolState || !hWnd || !::IsWindow(hWnd))
        return;
    CRect rcWindow;
    this->GetWindowRect(&rcWindow);
    CRect rcClient;
    this->GetClientRect(&rcClient);
    this->ClientToScreen(&rcClient);
    if (rcClient == rcWindow)
        return; // no border

    // Window-relative coordinates from here on.
    const CPoint origin = rcWindow.TopLeft();
    rcClient.OffsetRect(-origin.x, -origin.y);
    rcWindow.OffsetRect(-origin.x, -origin.y);
    CRect rcSpin(0, 0, 0, 0);
    const HWND hSpin = cool::FindAttachedSpin(hWnd);
    if (hSpin) {
        ::GetWindowRect(hSpin, &rcSpin);
        rcSpin.OffsetRect(-origin.x, -origin.y);
        rcSpin.IntersectRect(&rcSpin, &rcWindow);
    }
    const BOOL bEnabled = this->IsWindowEnabled();
    const bool bLooksHot = m_bInHotState && bEnabled;
    const DWORD style = this->GetStyle();

    CWindowDC dc(this);
    CRect rcHorz(0, 0, 0, 0);
    CRect rcVert(0, 0, 0, 0);
    if (style & WS_HSCROLL) {
        rcHorz.SetRect(rcClient.left, rcClient.bottom, rcClient.right, rcClient.bottom + ::GetSystemMetrics(SM_CYHSCROLL));
        DrawScrollBar(&dc, rcHorz, TRUE);
    }
    if (style & WS_VSCROLL) {
        rcVert.SetRect(rcClient.right, rcClient.top, rcClient.right + ::GetSystemMetrics(SM_CXVSCROLL), rcClient.bottom);
        DrawScrollBar(&dc, rcVert, FALSE);
    }

    dc.ExcludeClipRect(&rcSpin);
    dc.ExcludeClipRect(&rcClient);
    dc.ExcludeClipRect(&rcHorz);
    dc.ExcludeClipRect(&rcVert);
    // The square where both bars meet belongs to the system too; the frame's filled
    // rectangle would otherwise paint it in the brush's white.
    if ((style & WS_HSCROLL) && (style & WS_VSCROLL))
        dc.ExcludeClipRect(rcVert.left, rcHorz.top, rcVert.right, rcHorz.bottom);

    if (!bLooksHot) {
        cool::CSysPen pen(bEnabled ? COLOR_3DHILIGHT : COLOR_3DSHADOW);
        COXSelectGuard<CPen> selectPen(dc, &pen);
        CRect r = rcWindow;
        dc.Rectangle(&r);
        r.DeflateRect(1, 1);
        dc.Rectangle(&r);
    } else {
        cool::DrawSunken3dEdge(dc, rcWindow);
    }
    dc.SelectClipRgn(nullptr);

    if (!bEnabled) {
        cool::CSysPen pen(COLOR_3DHILIGHT);
        COXSelectGuard<CPen> selectPen(dc, &pen);
        CGdiObject* pOldBrush = dc.SelectStockObject(HOLLOW_BRUSH);
        dc.Rectangle(&rcWindow);
        if (pOldBrush)
            dc.SelectObject(pOldBrush);
    }
    if (hSpin)
        ::RedrawWindow(hSpin, nullptr, nullptr, kRedrawFrameNow);
}

template <class PARENTWND>
void COXCoolCtrl<PARENTWND>::DrawScrollBar(CDC* pDC, CRect rect, BOOL bHorz)
{
    if (!pDC || !m_bInCoolState || m_bInHotState || !this->m_hWnd)
        return;
    const int arrow = ::GetSystemMetrics(bHorz ? SM_CXHSCROLL : SM_CYVSCROLL);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    // A scroll-bar control keeps its own range (SB_CTL); any other window's bars are
    // asked by side. The control is recognised by its class: the window system answers
    // SB_HORZ for every window, so a failure cannot tell them apart.
    BOOL bHaveInfo = FALSE;
    if (cool::IsScrollBarWindow(this->m_hWnd))
        bHaveInfo = ::SendMessageW(this->m_hWnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&si)) != 0;
    else
        bHaveInfo = ::GetScrollInfo(this->m_hWnd, bHorz ? SB_HORZ : SB_VERT, &si);
    if (!bHaveInfo)
        si = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0}; // arrows only
    const cool::FlatScrollBarLayout layout = cool::LayoutFlatScrollBar(rect, bHorz != FALSE, arrow, si);
    cool::DrawFlatRaisedEdge(*pDC, layout.firstArrow);
    cool::DrawFlatRaisedEdge(*pDC, layout.secondArrow);
    if (layout.hasThumb)
        cool::DrawFlatRaisedEdge(*pDC, layout.thumb);
}

template class COXCoolCtrl<CButton>;
template class COXCoolCtrl<CScrollBar>;
template class COXCoolCtrl<CSpinButtonCtrl>;
template class COXCoolCtrl<CSliderCtrl>;
template class COXCoolCtrl<CEdit>;
template class COXCoolCtrl<CComboBox>;
template class COXCoolCtrl<CListBox>;
