// COXDragDockContext: the outline drag of a size control bar, from the press to the drop.
#include "toolkit/docking/drag_dock_context.h"

#include <algorithm>
#include <memory>

#include "platform/afx/afxres.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/miniframe.h"
#include "platform/afx/winthread.h"
#include "platform/base/exception.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/monitor.h"
#include "platform/user/paint.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/dock_util.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

namespace {

constexpr DWORD kHorzSides = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;   // 0xA000
constexpr DWORD kVertSides = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;   // 0x5000
// A docked outline whose length comes this close to the client area's is cut to a third.
constexpr int kFullLengthMargin = 16;

// Shifts r sideways only, so that x lies between its left and right edges.
void ShiftToHold(CRect& r, int x)
{
    if (x < r.left)
        r.OffsetRect(x - r.left, 0);
    else if (x > r.right)
        r.OffsetRect(x - r.right, 0);
}

// The bar's sizes docked horizontally, vertically and floating.
struct BarSizes {
    CSize horz, vert, floating;
};

BarSizes SizesOf(CControlBar* pBar)
{
    if (pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar))) {
        auto* p = static_cast<COXSizeControlBar*>(pBar);
        return {p->m_sizeHorzDock, p->m_sizeVertDock, p->m_sizeFloat};
    }
    return {pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK), pBar->CalcDynamicLayout(-1, LM_VERTDOCK),
        pBar->CalcFixedLayout(FALSE, TRUE)};
}

void SendPrompt(UINT nID)
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pMain->m_hWnd)
        pMain->SendMessage(WM_SETMESSAGESTRING, nID, 0);
}

BOOL FloatsInMDIWindow(CControlBar* pBar)
{
    if (!pBar->IsFloating())
        return FALSE;
    CFrameWnd* pFrame = pBar->GetParentFrame();
    return pFrame && OXGetDockingSeam().AsMDIFloatWnd(pFrame) != nullptr;
}

} // namespace

COXDragDockContext::COXDragDockContext(CControlBar* pBar) : CDockContext(pBar) {}

COXDragDockContext::~COXDragDockContext()
{
    // A context going away in the middle of a drag gives the desktop back.
    if (m_dcOwner || m_bLocked)
        ReleaseDesktop();
}

CFrameWnd* COXDragDockContext::GetMainFrame() { return OXGetMainFrame(); }

// ---- starting --------------------------------------------------------------------------------------------------------

void COXDragDockContext::StartDrag(CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd)
        return;
    if (m_pBar->m_pDockSite)
        m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite || !m_pDockSite->m_hWnd)
        return;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    if (FloatsInMDIWindow(m_pBar))
        return;   // an MDI child window moves by itself

    if ((m_dwDockStyle & CBRS_ALIGN_ANY) == CBRS_ALIGN_ANY)
        SendPrompt(ID_OX_DRAG_PROMPT);
    if (!OXDispatchPendingPaints()) {
        SendPrompt(AFX_IDS_IDLEMESSAGE);
        return;   // the application is quitting; its WM_QUIT was posted again
    }
    if (!m_pBar->m_hWnd)
        return;

    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bDitherLast = FALSE;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    m_bDragging = TRUE;
    m_ptLast = m_ptStart = pt;

    // The room a docked outline may span: the client area left by the bars, with the
    // side dock bars' widths (a row on the top or bottom spans those too).
    CRect client = ClientAreaOnScreen();
    for (const UINT nID : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
        CControlBar* pSide = m_pDockSite->GetControlBar(nID);
        if (!pSide || !pSide->m_hWnd || !pSide->IsWindowVisible())
            continue;
        CRect side;
        pSide->GetWindowRect(&side);
        if (nID == AFX_IDW_DOCKBAR_LEFT)
            client.left -= side.Width();
        else
            client.right += side.Width();
    }

    CRect rectBar;
    m_pBar->GetWindowRect(&rectBar);
    const BarSizes sizes = SizesOf(m_pBar);
    m_rectHorzStrip = CRect(client.left, rectBar.top, client.left + client.Width(), rectBar.top + sizes.horz.cy);
    m_rectVertStrip = CRect(rectBar.left, client.top, rectBar.left + sizes.vert.cx, client.top + client.Height());
    const int nHorzLength =
        sizes.horz.cx < client.Width() - kFullLengthMargin ? sizes.horz.cx : client.Width() / 3;
    const int nVertLength =
        sizes.vert.cy < client.Height() - kFullLengthMargin ? sizes.vert.cy : client.Height() / 3;
    m_rectDragHorz = CRect(rectBar.TopLeft(), CSize(nHorzLength, sizes.horz.cy));
    m_rectDragVert = CRect(rectBar.TopLeft(), CSize(sizes.vert.cx, nVertLength));
    m_rectFrameDragHorz = CRect(rectBar.TopLeft(), sizes.floating);
    m_rectFrameDragVert = m_rectFrameDragHorz;

    // The floating frame's borders: a frame of the class the bar would float in measures them.
    CMiniDockFrameWnd* pMeasure =
        m_pDockSite->CreateFloatingFrame((m_pBar->m_dwStyle & kHorzSides) ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
    if (!pMeasure) {
        m_bDragging = FALSE;
        SendPrompt(AFX_IDS_IDLEMESSAGE);
        AfxThrowMemoryException();
    }
    pMeasure->CalcWindowRect(&m_rectFrameDragHorz);
    pMeasure->CalcWindowRect(&m_rectFrameDragVert);
    pMeasure->DestroyWindow();   // deletes itself

    for (CRect* r : {&m_rectHorzStrip, &m_rectVertStrip, &m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz,
             &m_rectFrameDragVert})
        ShiftToHold(*r, pt.x);

    // The outline is drawn on the desktop while nothing repaints under it.
    const HWND hDesktop = ::GetDesktopWindow();
    m_bLocked = ::LockWindowUpdate(hDesktop);
    const HDC hdc = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | (m_bLocked ? DCX_LOCKWINDOWUPDATE : 0));
    if (!hdc) {
        ReleaseDesktop();
        m_bDragging = FALSE;
        SendPrompt(AFX_IDS_IDLEMESSAGE);
        return;
    }
    m_dcOwner = std::shared_ptr<CDC>(new CDC, [](CDC* p) {
        if (const HDC h = p->Detach())
            ::ReleaseDC(::GetDesktopWindow(), h);
        delete p;
    });
    m_dcOwner->Attach(hdc);
    m_pDC = m_dcOwner.get();

    m_dwOverDockStyle = CanDock();
    Move(pt);
    Track();
    m_bDragging = FALSE;
}

// ---- the loop ---------------------------------------------------------------------------------------------------------

BOOL COXDragDockContext::Track()
{
    if (!m_pBar || !m_pBar->m_hWnd) {
        DrawFocusRect(TRUE);
        ReleaseDesktop();
        SendPrompt(AFX_IDS_IDLEMESSAGE);
        return FALSE;
    }
    if (::GetCapture()) {
        // Another window has the mouse: no drag. The outline, the desktop's lock and DC
        // and the message line are given back; that window keeps its capture.
        DrawFocusRect(TRUE);
        ReleaseDesktop();
        SendPrompt(AFX_IDS_IDLEMESSAGE);
        return FALSE;
    }
    const HWND hBar = m_pBar->m_hWnd;
    ::SetCapture(hBar);
    enum class End { None, Drop, Cancel };
    End end = End::None;
    zyn::user::ModalLoopParams params;
    params.owner = hBar;
    params.done = [&] { return end != End::None || ::GetCapture() != hBar; };
    params.preTranslate = [&](MSG& m) {
        switch (m.message) {
        case WM_MOUSEMOVE:
            Move(m.pt);
            return true;
        case WM_KEYDOWN:
            OnKey(static_cast<int>(m.wParam), TRUE);
            if (m.wParam == static_cast<WPARAM>(VK_ESCAPE))
                end = End::Cancel;
            return true;
        case WM_KEYUP:
            OnKey(static_cast<int>(m.wParam), FALSE);
            return true;
        case WM_LBUTTONUP:
            end = End::Drop;
            return true;
        case WM_RBUTTONDOWN:
            end = End::Cancel;
            return true;
        default:
            return false;
        }
    };
    zyn::user::RunModalLoop(params);   // a WM_QUIT is posted again for the application
    if (end == End::Drop && ::IsWindow(hBar)) {
        EndDrag();
        return TRUE;
    }
    CancelDrag();
    return FALSE;
}

void COXDragDockContext::Move(CPoint pt)
{
    const CPoint d(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
    m_rectDragHorz.OffsetRect(d);
    m_rectFrameDragHorz.OffsetRect(d);
    m_rectDragVert.OffsetRect(d);
    m_rectFrameDragVert.OffsetRect(d);
    // The strips span the client area across: they follow the mouse along one axis only.
    m_rectHorzStrip.OffsetRect(0, d.y);
    m_rectVertStrip.OffsetRect(d.x, 0);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect(FALSE);
}

void COXDragDockContext::OnKey(int nChar, BOOL bDown)
{
    // Ctrl floats; Shift does not turn the floating frame.
    if (nChar == VK_CONTROL)
        UpdateState(&m_bForceFrame, bDown);
}

void COXDragDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue)
{
    if (!pFlag || (*pFlag != 0) == (bNewValue != 0))
        return;
    *pFlag = bNewValue ? TRUE : FALSE;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect(FALSE);
}

COXSizeDockBar* COXDragDockContext::TabDropTarget(COXSizeControlBar** ppShared) const
{
    if (!m_pBar || !m_pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)))
        return nullptr;
    // The dock bar live docking would choose at the point (the sides the bar may take,
    // never one holding a cool toolbar), and only its band.
    COXSizeDockBar* pDock = COXSizeDockBar::GetAppropriateDockBar(m_ptLast, m_pBar);
    if (!pDock || !pDock->m_wndDockTabCtrl.m_hWnd || pDock->m_wndDockTabCtrl.HitTestTabControl(m_ptLast, m_pBar) == -1)
        return nullptr;
    // The place of a size bar shown there: the first of the strip's when it shows.
    for (int i = 0; i < pDock->m_arrBars.GetSize(); ++i) {
        CControlBar* pOther = pDock->GetDockedControlBar(i);
        if (pOther && pOther != m_pBar && COXSizeDockBar::IsSizeable(pOther) && pOther->IsVisible()) {
            if (ppShared)
                *ppShared = static_cast<COXSizeControlBar*>(pOther);
            return pDock;
        }
    }
    return nullptr;
}

DWORD COXDragDockContext::CanDock()
{
    m_pTargetDockBar = nullptr;
    if (!m_pDockSite || !m_pDockSite->m_hWnd)
        return 0;
    // Over the tab band of a side holding a size bar, the outline is that bar's place,
    // which the drop shares with it as a tab.
    COXSizeControlBar* pShared = nullptr;
    if (COXSizeDockBar* pTabs = TabDropTarget(&pShared)) {
        m_pTargetDockBar = pTabs;
        pShared->GetWindowRect(&m_rectDock);
        return pTabs->GetBarStyle() & CBRS_ALIGN_ANY;
    }
    // The strip chooses the side...
    DWORD dwSide = 0;
    if (m_dwDockStyle & kHorzSides)
        dwSide = m_pDockSite->CanDock(m_rectHorzStrip, m_dwDockStyle & ~kVertSides, &m_pTargetDockBar);
    if (dwSide == 0 && (m_dwDockStyle & kVertSides))
        dwSide = m_pDockSite->CanDock(m_rectVertStrip, m_dwDockStyle & ~kHorzSides, &m_pTargetDockBar);
    if (dwSide == 0)
        return 0;
    // ...and the bar docks only when its own outline meets that side too; sharing a row
    // with n bars it takes 1/(n + 1) of the strip.
    DWORD dwResult = 0;
    const bool horz = (dwSide & kHorzSides) != 0;
    const CRect& strip = horz ? m_rectHorzStrip : m_rectVertStrip;
    const CRect& outline = horz ? m_rectDragHorz : m_rectDragVert;
    m_rectDock = strip;
    dwResult = m_pDockSite->CanDock(outline, m_dwDockStyle & ~(horz ? kVertSides : kHorzSides), &m_pTargetDockBar);
    if (dwResult != 0) {
        const COXSizeDockBar* pSizeDock = OXAsSizeDockBar(m_pTargetDockBar);
        const int n = pSizeDock ? const_cast<COXSizeDockBar*>(pSizeDock)->BarsOnThisRow(m_pBar, strip) : 0;
        if (n > 0) {
            m_rectDock = outline;
            if (horz)
                m_rectDock.right = m_rectDock.left + strip.Width() / (n + 1);
            else
                m_rectDock.bottom = m_rectDock.top + strip.Height() / (n + 1);
        }
    }
    return dwResult;
}

CDockBar* COXDragDockContext::GetDockBar()
{
    if (m_dwOverDockStyle == 0 || !m_pDockSite || !m_pDockSite->m_hWnd)
        return nullptr;
    const DWORD dwStyle =
        (m_dwOverDockStyle & kHorzSides) ? (m_dwDockStyle & ~kVertSides) : (m_dwDockStyle & ~kHorzSides);
    CDockBar* pDockBar = nullptr;
    m_pDockSite->CanDock(m_rectDock, dwStyle, &pDockBar);
    return pDockBar;
}

CRect COXDragDockContext::FloatOutline() const
{
    CRect r = m_rectFrameDragHorz;
    const HWND hSite = m_pDockSite ? m_pDockSite->m_hWnd : nullptr;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!hSite || !::GetMonitorInfoW(::MonitorFromWindow(hSite, MONITOR_DEFAULTTONEAREST), &info))
        return r;
    const CRect work(info.rcWork);
    // Right and bottom first: an outline larger than the screen keeps its top-left corner
    // (and caption) on it.
    r.OffsetRect(std::min<LONG>(0, work.right - r.right), std::min<LONG>(0, work.bottom - r.bottom));
    r.OffsetRect(std::max<LONG>(0, work.left - r.left), std::max<LONG>(0, work.top - r.top));
    return r;
}

void COXDragDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (!m_pDC)
        return;
    CSize size(1, 1);
    CRect rect;
    if (m_dwOverDockStyle != 0) {
        rect = m_rectDock;
    } else {
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        rect = FloatOutline();
    }
    if (bRemoveRect)
        size = CSize(0, 0);
    if (m_dwOverDockStyle & CBRS_ALIGN_ANY)
        rect.DeflateRect(1, 1);
    if (!m_outline)
        m_outline = std::make_shared<COXDragOutline>();
    m_outline->Show(*m_pDC, rect, size);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = m_dwOverDockStyle == 0;
}

// ---- ending -----------------------------------------------------------------------------------------------------------

void COXDragDockContext::ReleaseDesktop()
{
    if (m_outline && m_pDC)
        m_outline->Hide(*m_pDC);
    m_outline.reset();
    m_dcOwner.reset();
    m_pDC = nullptr;
    if (m_bLocked) {
        m_bLocked = FALSE;
        ::LockWindowUpdate(nullptr);   // repaints what the lock held back
    }
}

void COXDragDockContext::CancelDrag()
{

    DrawFocusRect(TRUE);
    if (m_pBar && m_pBar->m_hWnd && ::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    ReleaseDesktop();
    SendPrompt(AFX_IDS_IDLEMESSAGE);
}

namespace {

// A bar leaving its place by the outline drag or the toggle leaves the tab strip it shared
// there first: the frame then docks or floats it as any bar, knowing nothing of tabs, and
// a tab left behind would keep the bar still there hidden behind it.
void LeaveTabStrip(CControlBar* pBar)
{
    COXSizeDockBar* pOld = pBar ? OXAsSizeDockBar(pBar->m_pDockBar) : nullptr;
    if (pOld && pOld->m_wndDockTabCtrl.m_hWnd && pOld->m_wndDockTabCtrl.FindTab(pBar) != -1)
        pOld->m_wndDockTabCtrl.RemoveTab(pBar);
}

} // namespace

void COXDragDockContext::EndDrag()
{
    CancelDrag();
    if (m_ptStart == m_ptLast || !m_pBar || !m_pBar->m_hWnd || !m_pDockSite || !m_pDockSite->m_hWnd)
        return;   // a click is not a drag
    LeaveTabStrip(m_pBar);
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    if (m_dwOverDockStyle != 0) {
        if (CDockBar* pDockBar = GetDockBar()) {
            COXSizeDockBar* pOld = OXAsSizeDockBar(m_pBar->m_pDockBar);
            const int nOldCheckSum = pOld ? pOld->CheckSumBars() : -1;
            if (m_pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar))) {
                auto* pSizeBar = static_cast<COXSizeControlBar*>(m_pBar);
                (m_dwOverDockStyle & kHorzSides ? pSizeBar->m_sizeHorzDock : pSizeBar->m_sizeVertDock) =
                    m_rectDock.Size();
            }
            COXSizeDockBar* pTabs = TabDropTarget();
            m_pDockSite->DockControlBar(m_pBar, pDockBar, &m_rectDock);
            if (COXSizeDockBar* pNew = OXAsSizeDockBar(pDockBar)) {
                if (pNew != pOld || pNew->CheckSumBars() != nOldCheckSum)
                    pNew->AdjustForNewBar(m_pBar);
                pNew->m_nCheckSum = 0;   // its next layout looks at its bars again
            }
            m_pDockSite->RecalcLayout(TRUE);
            // Dropped on the tab band: the bar, docked at the other's place, gets its tab
            // where it was released (the other bars there get theirs first) and shows.
            if (pTabs && pTabs == pDockBar && m_pBar->m_hWnd && pTabs->m_wndDockTabCtrl.FindTab(m_pBar) == -1) {
                const int nHit = pTabs->m_wndDockTabCtrl.HitTestTabControl(m_ptLast, m_pBar);
                pTabs->m_wndDockTabCtrl.InsertTab(m_pBar, std::max(nHit, 0), TRUE);
                pTabs->m_nCheckSum = 0;
                m_pDockSite->RecalcLayout(TRUE);
            }
            return;
        }
        // The outline left the side after all (the shortened one no longer meets it):
        // the bar floats.
    }
    m_ptMRUFloatPos = FloatOutline().TopLeft();
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI));
    if (!m_pBar->m_hWnd)
        return;
    m_pBar->SendMessage(WM_OX_BARFLOATED);
    if (CFrameWnd* pFrame = m_pBar->GetParentFrame(); pFrame && pFrame != m_pDockSite)
        pFrame->ModifyStyle(0, OX_FLOATED_BY_DRAG);
}

// ---- toggling ---------------------------------------------------------------------------------------------------------

void COXDragDockContext::ToggleDocking()
{
    if (m_pBar && m_pBar->m_hWnd && FloatsInMDIWindow(m_pBar))
        return;
    LeaveTabStrip(m_pBar);
    CDockContext::ToggleDocking();
}
