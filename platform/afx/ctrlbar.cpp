// CControlBar: creation and the frame's bar list, the WM_SIZEPARENT layout, delayed
// showing, mouse handling for docking, fly-by help, command updates and bar records.
// Painting lives in ctrlbar_paint.cpp.
#include "platform/afx/ctrlbar.h"

#include <algorithm>
#include <cstdlib>

#include "platform/afx/afxres.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/dockstate.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/base/lasterror.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_TIMER()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
    ON_MESSAGE(WM_HELPHITTEST, &CControlBar::OnHelpHitTest)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

// The frame object of a window, when it has one on this thread.
CFrameWnd* FrameOf(HWND hWnd)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    return pWnd && pWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(pWnd) : nullptr;
}

} // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    // A bar deleting itself after its window is gone has run PostNcDestroy already; one
    // deleted with its window still there must not delete itself a second time.
    m_bAutoDelete = FALSE;
    if (m_hWnd)
        DestroyWindow();
    delete m_pDockContext;
    m_pDockContext = nullptr;
    std::free(m_pData);
    m_pData = nullptr;
}

BOOL CControlBar::AllocElements(int nElements, int cbElement)
{
    if (nElements < 0 || cbElement <= 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    void* pData = nullptr;
    if (nElements > 0) {
        pData = std::calloc(static_cast<size_t>(nElements), static_cast<size_t>(cbElement));
        if (!pData) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
    }
    std::free(m_pData);
    m_pData = pData;
    m_nCount = nElements;
    return TRUE;
}

// ---- attributes ------------------------------------------------------------------------------------------------

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    dwStyle &= CBRS_ALL;
    if (m_dwStyle == dwStyle)
        return;
    const DWORD dwOld = m_dwStyle;
    m_dwStyle = dwStyle;
    OnBarStyleChange(dwOld, dwStyle);
}

void CControlBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    if (!m_hWnd)
        return;
    if ((dwOldStyle ^ dwNewStyle) & CBRS_TOOLTIPS)
        EnableToolTips((dwNewStyle & CBRS_TOOLTIPS) != 0);
    if (((dwOldStyle ^ dwNewStyle) & CBRS_FLYBY) && !(dwNewStyle & CBRS_FLYBY))
        ResetFlyBy();
    // Borders and gripper may have moved: the non-client area and the picture change.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = std::max(0, cxLeft);
    m_cyTopBorder = std::max(0, cyTop);
    m_cxRightBorder = std::max(0, cxRight);
    m_cyBottomBorder = std::max(0, cyBottom);
}

void CControlBar::SetBorders(LPCRECT lpRect)
{
    if (lpRect)
        SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (CFrameWnd* pFrame = GetParentFrame())
        return pFrame;
    return m_pDockSite;
}

BOOL CControlBar::IsFloating() const
{
    if (IsDockBar())
        return static_cast<const CDockBar*>(this)->m_bFloating;
    return m_pDockBar && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    if (m_nStateFlags & delayShow)
        return TRUE;
    return m_hWnd && (GetStyle() & WS_VISIBLE) != 0;
}

BOOL CControlBar::IsDockBar() const { return FALSE; }

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
    if (!m_pDockContext)
        m_pDockContext = new CDockContext(this);
    if (m_hWnd && !m_hWndOwner)
        m_hWndOwner = ::GetParent(m_hWnd);
}

// ---- creation and the bar list ------------------------------------------------------------------------------------

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) {
        if (!AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG))
            return FALSE;
        cs.lpszClass = _afxWndControlBar;
    }
    // The bar's own bits never reach the window: CBRS_GRIPPER shares its bit with
    // WS_DLGFRAME and the low word belongs to the window's class.
    m_dwStyle |= static_cast<DWORD>(cs.style) & CBRS_ALL;
    cs.style = (static_cast<DWORD>(cs.style) & ~CBRS_ALL) | WS_CLIPSIBLINGS;
    return TRUE;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (m_dwStyle & CBRS_TOOLTIPS)
        EnableToolTips(TRUE);
    if (CFrameWnd* pFrame = FrameOf(::GetParent(m_hWnd))) {
        m_pDockSite = pFrame;
        pFrame->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    ResetFlyBy();
    if (m_pDockBar) {
        // The array must not keep a pointer to a bar that may be deleted next.
        CDockBar* pDockBar = m_pDockBar;
        m_pDockBar = nullptr;
        if (::IsWindow(pDockBar->m_hWnd) && !pDockBar->m_bDestroying) {
            pDockBar->ForgetBar(this);
            if (CFrameWnd* pFrame = pDockBar->GetDockingFrame()) {
                if (pDockBar->m_bFloating && pDockBar->GetDockedVisibleCount() == 0)
                    pFrame->ShowWindow(SW_HIDE);
                else
                    pFrame->DelayRecalcLayout();
            }
        } else {
            pDockBar->ForgetBar(this);
        }
    }
    if (m_pDockSite) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // What the bar's controls tell their parent is the owner's business (commands
        // reach the frame and its routing) unless the bar handles it itself.
        LRESULT lResult = 0;
        if (OnWndMsg(message, wParam, lParam, &lResult))
            return lResult;
        CWnd* pOwner = GetOwner();
        if (pOwner && pOwner->m_hWnd && pOwner->m_hWnd != m_hWnd)
            return pOwner->SendMessage(message, wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

// ---- layout ------------------------------------------------------------------------------------------------------------

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int /*nLength*/, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    const DWORD dwStyle = m_dwStyle;
    if (dwStyle & CBRS_BORDER_LEFT)
        rect.left += AFX_CX_BORDER2;
    if (dwStyle & CBRS_BORDER_TOP)
        rect.top += AFX_CY_BORDER2;
    if (dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= AFX_CX_BORDER2;
    if (dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= AFX_CY_BORDER2;
    const bool gripper = (dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
        if (gripper)
            rect.left += AFX_CX_BORDER_GRIPPER + AFX_CX_GRIPPER + AFX_CX_BORDER_GRIPPER;
    } else {
        // Along a vertical bar the margins turn with it.
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
        if (gripper)
            rect.top += AFX_CY_BORDER_GRIPPER + AFX_CY_GRIPPER + AFX_CY_BORDER_GRIPPER;
    }
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
    const BOOL bVisible = m_hWnd && (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    DWORD dwStyle = (m_dwStyle & CBRS_ALL) | (GetStyle() & WS_VISIBLE);
    if (!(m_nStateFlags & (delayHide | delayShow)))
        return dwStyle;
    const BOOL bVisible = (dwStyle & WS_VISIBLE) != 0;
    UINT swpFlags = 0;
    if ((m_nStateFlags & delayHide) && bVisible)
        swpFlags = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !bVisible)
        swpFlags = SWP_SHOWWINDOW;
    if (swpFlags == SWP_SHOWWINDOW)
        dwStyle |= WS_VISIBLE;
    else if (swpFlags == SWP_HIDEWINDOW)
        dwStyle &= ~WS_VISIBLE;
    if (lpLayout && !lpLayout->hDWP)
        return dwStyle;   // a query measures the bars as they will be and changes nothing
    m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
    if (swpFlags) {
        const UINT flags = swpFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
        HDWP hDWP = lpLayout ? ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0, flags) : nullptr;
        if (hDWP)
            lpLayout->hDWP = hDWP;
        else
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, flags);
    }
    return dwStyle;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!lpLayout)
        return 0;
    const DWORD dwStyle = RecalcDelayShow(lpLayout);
    if (!(dwStyle & WS_VISIBLE) || !(dwStyle & CBRS_ALIGN_ANY))
        return 0;
    CRect rect(lpLayout->rect);
    const CSize sizeAvail = rect.Size();
    DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        dwMode |= LM_HORZ | LM_MRUWIDTH;
    else if (dwStyle & CBRS_ORIENT_HORZ)
        dwMode |= LM_HORZ | LM_HORZDOCK;
    else
        dwMode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, dwMode);
    size.cx = std::max(0, std::min(size.cx, sizeAvail.cx));
    size.cy = std::max(0, std::min(size.cy, sizeAvail.cy));
    if (dwStyle & CBRS_ORIENT_HORZ) {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
        if (dwStyle & CBRS_ALIGN_TOP) {
            lpLayout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            lpLayout->rect.bottom -= size.cy;
        }
    } else {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
        if (dwStyle & CBRS_ALIGN_LEFT) {
            lpLayout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            lpLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (lpLayout->hDWP)
        AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    return 0;
}

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    CWnd::OnWindowPosChanging(lpWndPos);
    if (!lpWndPos)
        return;
    const BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    const bool showing = (lpWndPos->flags & SWP_SHOWWINDOW) && !bVisible;
    const bool hiding = (lpWndPos->flags & SWP_HIDEWINDOW) && bVisible;
    if (!showing && !hiding)
        return;
    // The frame lays out again once the change is done, unless this is its layout.
    if (CFrameWnd* pFrame = GetDockingFrame(); pFrame && !pFrame->m_bInRecalcLayout)
        pFrame->DelayRecalcLayout();
}

// ---- mouse -----------------------------------------------------------------------------------------------------------------

int CControlBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    if (!IsFloating())
        return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    // A click on a floating bar brings its frame's application forward without taking
    // the activation from the frame the user works in.
    ActivateTopParent();
    return MA_NOACTIVATE;
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Only empty bar space starts a drag: a tool under the point keeps its click.
    if (m_pDockBar && m_pDockContext && OnToolHitTest(point, nullptr) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pDockBar && m_pDockContext && OnToolHitTest(point, nullptr) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

namespace {

// The frame whose message line shows a bar's fly-by prompts: the top frame of the owner.
CFrameWnd* MessageFrameOf(const CControlBar* pBar)
{
    CWnd* pOwner = pBar->GetOwner();
    if (pOwner && pOwner->IsFrameWnd()) {
        CFrameWnd* pTop = pOwner->GetTopLevelFrame();
        return pTop ? pTop : static_cast<CFrameWnd*>(pOwner);
    }
    return pBar->GetTopLevelFrame();
}

} // namespace

void CControlBar::UpdateFlyBy(CPoint ptClient)
{
    const int nHit = OnToolHitTest(ptClient, nullptr);
    if (nHit <= 0) {
        ResetFlyBy();
        return;
    }
    if ((m_nStateFlags & statusSet) && m_nFlyByID == static_cast<UINT>(nHit))
        return;
    CFrameWnd* pFrame = MessageFrameOf(this);
    if (!pFrame || !pFrame->m_hWnd)
        return;
    pFrame->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit), 0);
    m_nFlyByID = static_cast<UINT>(nHit);
    m_nStateFlags |= statusSet;
    // Looked at now and then, so the prompt does not outlive the pointing when the mouse
    // leaves the bar for another window (a leave notice would come as soon as it entered
    // one of the bar's own tools).
    SetTimer(kFlyByTimer, kFlyByCheckMs);
}

void CControlBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kFlyByTimer) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    CPoint pt;
    ::GetCursorPos(&pt);
    const HWND hUnder = ::WindowFromPoint(pt);
    if (hUnder != m_hWnd && !::IsChild(m_hWnd, hUnder))
        ResetFlyBy();
}

void CControlBar::ResetFlyBy()
{
    if (!(m_nStateFlags & statusSet))
        return;
    m_nStateFlags &= ~static_cast<UINT>(statusSet);
    m_nFlyByID = 0;
    if (m_hWnd)
        KillTimer(kFlyByTimer);
    if (CFrameWnd* pFrame = MessageFrameOf(this); pFrame && pFrame->m_hWnd)
        pFrame->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;   // the tooltip layer's filter ran there
    if (!pMsg || !m_hWnd)
        return FALSE;
    if ((m_dwStyle & CBRS_FLYBY) && pMsg->message == WM_MOUSEMOVE && !::GetCapture() &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        CPoint pt(pMsg->pt);
        ScreenToClient(&pt);
        UpdateFlyBy(pt);
    }
    // Keys go to the frames' accelerators before a bar's controls see them.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        for (CWnd* pOwner = GetOwner(); pOwner && pOwner->IsFrameWnd();) {
            auto* pFrame = static_cast<CFrameWnd*>(pOwner);
            if (pFrame->PreTranslateMessage(pMsg))
                return TRUE;
            pOwner = pFrame->GetParentFrame();
        }
    }
    return FALSE;
}

LRESULT CControlBar::OnHelpHitTest(WPARAM, LPARAM lParam)
{
    const CPoint pt(static_cast<short>(LOWORD(static_cast<DWORD>(lParam))),
        static_cast<short>(HIWORD(static_cast<DWORD>(lParam))));
    const int nID = OnToolHitTest(pt, nullptr);
    if (nID != -1)
        return HID_BASE_COMMAND + nID;
    const int nBarID = GetDlgCtrlID();
    return nBarID != 0 ? HID_BASE_CONTROL + nBarID : 0;
}

// ---- the idle pass ----------------------------------------------------------------------------------------------------

void CControlBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) {}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // A delayed show or hide that no layout pass took (a bar no frame lays out now).
    if (m_nStateFlags & (delayHide | delayShow))
        RecalcDelayShow(nullptr);
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    CFrameWnd* pTarget = nullptr;
    if (CWnd* pOwner = GetOwner(); pOwner && pOwner->IsFrameWnd())
        pTarget = static_cast<CFrameWnd*>(pOwner);
    else
        pTarget = GetParentFrame();
    if (pTarget)
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}

// ---- records -------------------------------------------------------------------------------------------------------------

void CControlBar::GetBarInfo(CControlBarInfo* pInfo)
{
    if (!pInfo)
        return;
    pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
    pInfo->m_pBar = this;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    pInfo->m_bDockBar = FALSE;
    pInfo->m_bFloating = FALSE;
    CRect rect;
    GetWindowRect(&rect);
    if (m_pDockBar && m_pDockBar->m_hWnd)
        m_pDockBar->ScreenToClient(&rect);
    pInfo->m_pointPos = rect.TopLeft();
    pInfo->m_bDocking = m_pDockContext != nullptr;
    if (m_pDockContext) {
        pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* /*pFrameWnd*/)
{
    if (!pInfo || !m_hWnd)
        return;
    m_nMRUWidth = pInfo->m_nMRUWidth;
    CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    if (pInfo->m_bDocking && m_pDockContext) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    }
    UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (!m_pDockBar)
        flags |= SWP_NOMOVE;   // only a docked bar's place is its own to keep
    flags |= pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
    SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, flags);
}
