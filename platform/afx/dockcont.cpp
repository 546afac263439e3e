// CDockContext: dragging a bar to a side or to a floating place, resizing a floating
// dynamic bar, and toggling between the last docked and floating places.
#include "platform/afx/dockcont.h"

#include <algorithm>
#include <memory>

#include "platform/afx/afxres.h"
#include "platform/afx/ctrlbar.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/miniframe.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/paint.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace {

bool IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
bool IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// Shifts r so that pt lies inside it (left/top inclusive, right/bottom exclusive).
void KeepPointInside(CRect& r, CPoint pt)
{
    if (pt.x < r.left)
        r.OffsetRect(pt.x - r.left, 0);
    else if (pt.x >= r.right)
        r.OffsetRect(pt.x - r.right + 1, 0);
    if (pt.y < r.top)
        r.OffsetRect(0, pt.y - r.top);
    else if (pt.y >= r.bottom)
        r.OffsetRect(0, pt.y - r.bottom + 1);
}

} // namespace

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar ? pBar->m_pDockSite : nullptr) {}

CDockContext::~CDockContext()
{
    if (m_dcOwner)
        CancelLoop();
}

CRect CDockContext::ClientAreaOnScreen() const
{
    CRect rect;
    if (!m_pDockSite || !m_pDockSite->m_hWnd)
        return rect;
    m_pDockSite->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rect, nullptr, TRUE);
    m_pDockSite->ClientToScreen(&rect);
    return rect;
}

// ---- the loop ----------------------------------------------------------------------------------------------------

void CDockContext::InitLoop()
{
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bDitherLast = FALSE;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    m_dwOverDockStyle = 0;
    // The outline is inverted over a finished picture, and nothing repaints under it.
    const HWND hDesktop = ::GetDesktopWindow();
    ::RedrawWindow(hDesktop, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_bLocked = ::LockWindowUpdate(hDesktop);
    const HDC hdc = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | (m_bLocked ? DCX_LOCKWINDOWUPDATE : 0));
    if (!hdc) {
        if (m_bLocked)
            ::LockWindowUpdate(nullptr);
        m_bLocked = FALSE;
        m_pDC = nullptr;
        return;
    }
    auto* pDC = new CDC;
    pDC->Attach(hdc);
    m_dcOwner.reset(pDC, [](CDC* p) {
        if (const HDC h = p->Detach())
            ::ReleaseDC(::GetDesktopWindow(), h);
        delete p;
    });
    m_pDC = pDC;
}

void CDockContext::CancelLoop()
{
    if (m_pDC && m_dcOwner)
        DrawFocusRect(TRUE);
    if (m_pBar && m_pBar->m_hWnd && ::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    m_dcOwner.reset();
    m_pDC = nullptr;
    if (m_bLocked) {
        m_bLocked = FALSE;
        ::LockWindowUpdate(nullptr);   // repaints what the lock held back
    }
}

BOOL CDockContext::Track()
{
    if (!m_pBar || !m_pBar->m_hWnd || ::GetCapture()) {
        // Someone else has the mouse: no drag, and nothing of it is kept.
        CancelLoop();
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
            if (m_bDragging)
                Move(m.pt);
            else
                Stretch(m.pt);
            return true;
        case WM_LBUTTONUP:
            if (CPoint(m.pt) != m_ptLast) {
                if (m_bDragging)
                    Move(m.pt);
                else
                    Stretch(m.pt);
            }
            end = End::Drop;
            return true;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (m_bDragging)
                OnKey(static_cast<int>(m.wParam), m.message == WM_KEYDOWN);
            if (m.message == WM_KEYDOWN && m.wParam == static_cast<WPARAM>(VK_ESCAPE))
                end = End::Cancel;
            return true;
        case WM_CHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
            return true;   // the drag owns the keyboard
        case WM_RBUTTONDOWN:
            end = End::Cancel;
            return true;
        default:
            return false;
        }
    };
    zyn::user::RunModalLoop(params);
    if (end == End::Drop && ::IsWindow(hBar)) {
        if (m_bDragging)
            EndDrag();
        else
            EndResize();
        m_bDragging = FALSE;
        return TRUE;
    }
    if (::IsWindow(hBar))
        CancelLoop();
    else {
        m_pDC = nullptr;   // the bar and its drawing went away with its window
        m_dcOwner.reset();
        if (m_bLocked) {
            m_bLocked = FALSE;
            ::LockWindowUpdate(nullptr);
        }
    }
    m_bDragging = FALSE;
    return FALSE;
}

// ---- dragging ---------------------------------------------------------------------------------------------------------

void CDockContext::StartDrag(CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd)
        return;
    if (m_pBar->m_pDockSite)
        m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite || !m_pDockSite->m_hWnd)
        return;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    m_bDragging = TRUE;
    m_ptStart = pt;
    m_ptLast = pt;

    CRect rect;
    m_pBar->GetWindowRect(&rect);
    CSize sizeHorz, sizeVert, sizeFloatHorz, sizeFloatVert;
    if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        sizeHorz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
        sizeVert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
        sizeFloatHorz = sizeFloatVert = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    } else {
        sizeHorz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
        sizeVert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
        sizeFloatHorz = m_pBar->CalcFixedLayout(FALSE, TRUE);
        sizeFloatVert = m_pBar->CalcFixedLayout(FALSE, FALSE);
    }
    // An outline as long as the room for it (or longer) shows a third of that room.
    const CRect rectClient = ClientAreaOnScreen();
    if (sizeHorz.cx >= rectClient.Width() - 16)
        sizeHorz.cx = rectClient.Width() / 3;
    if (sizeVert.cy >= rectClient.Height() - 16)
        sizeVert.cy = rectClient.Height() / 3;
    m_rectDragHorz = CRect(rect.TopLeft(), sizeHorz);
    m_rectDragVert = CRect(rect.TopLeft(), sizeVert);
    // A floating frame's client area is its bar less the border each side hides under
    // the frame's edge (the bar sits at (-2, -2) in it): it starts where the bar's
    // visible part does.
    const CSize hidden(2 * AFX_CX_BORDER2, 2 * AFX_CY_BORDER2);
    const CPoint ptClient(rect.left + AFX_CX_BORDER2, rect.top + AFX_CY_BORDER2);
    m_rectFrameDragHorz = CRect(ptClient, CSize(std::max(0, sizeFloatHorz.cx - hidden.cx),
                                              std::max(0, sizeFloatHorz.cy - hidden.cy)));
    m_rectFrameDragVert = CRect(ptClient, CSize(std::max(0, sizeFloatVert.cx - hidden.cx),
                                              std::max(0, sizeFloatVert.cy - hidden.cy)));
    const DWORD dwFrameStyle = CMiniDockFrameWnd::WindowStyleFor(m_pBar->m_dwStyle);
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz, dwFrameStyle);
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragVert, dwFrameStyle);
    KeepPointInside(m_rectDragHorz, pt);
    KeepPointInside(m_rectDragVert, pt);
    KeepPointInside(m_rectFrameDragHorz, pt);
    KeepPointInside(m_rectFrameDragVert, pt);

    InitLoop();
    if (!m_pDC) {
        m_bDragging = FALSE;
        return;
    }
    m_dwOverDockStyle = CanDock();
    Move(pt);
    Track();
}

void CDockContext::Move(CPoint pt)
{
    const CPoint d(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
    m_rectDragHorz.OffsetRect(d);
    m_rectFrameDragHorz.OffsetRect(d);
    m_rectDragVert.OffsetRect(d);
    m_rectFrameDragVert.OffsetRect(d);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown)
{
    if (nChar == VK_CONTROL)
        UpdateState(&m_bForceFrame, bDown);
    else if (nChar == VK_SHIFT)
        UpdateState(&m_bFlip, bDown);
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue)
{
    if (!pFlag || (*pFlag != 0) == (bNewValue != 0))
        return;
    *pFlag = bNewValue ? TRUE : FALSE;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

DWORD CDockContext::CanDock()
{
    if (!m_pDockSite)
        return 0;
    auto horz = [&]() -> DWORD {
        return IsHorz(m_dwDockStyle) ? m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT) : 0;
    };
    auto vert = [&]() -> DWORD {
        return IsVert(m_dwDockStyle) ? m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ) : 0;
    };
    // The bar's present orientation is tried first.
    if (IsVert(m_dwStyle)) {
        const DWORD dw = vert();
        return dw ? dw : horz();
    }
    const DWORD dw = horz();
    return dw ? dw : vert();
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle)
{
    CDockBar* pDockBar = nullptr;
    if (!m_pDockSite)
        return nullptr;
    if (IsHorz(dwOverDockStyle) &&
        m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle & ~CBRS_ORIENT_VERT, &pDockBar) != 0)
        return pDockBar;
    if (IsVert(dwOverDockStyle) &&
        m_pDockSite->CanDock(m_rectDragVert, dwOverDockStyle & ~CBRS_ORIENT_HORZ, &pDockBar) != 0)
        return pDockBar;
    return nullptr;
}

namespace {

// Whether a bar floats in the vertical orientation: a vertical bar does, unless it is
// dynamic (dynamic bars float horizontally and wrap); Shift turns it.
bool FloatsVertical(const CDockContext& c)
{
    bool vert = IsVert(c.m_dwStyle) && !(c.m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC);
    return c.m_bFlip ? !vert : vert;
}

} // namespace

void CDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (!m_pDC)
        return;
    CSize size(1, 1);
    CRect rect;
    bool dither = false;
    if (m_dwOverDockStyle != 0) {
        rect = IsHorz(m_dwOverDockStyle) ? m_rectDragHorz : m_rectDragVert;
    } else if (m_bDragging) {
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        rect = FloatsVertical(*this) ? m_rectFrameDragVert : m_rectFrameDragHorz;
        dither = true;
    } else {
        // A resize shows the frame at its new size.
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        rect = m_rectActualFrameSize;
        dither = true;
    }
    if (bRemoveRect)
        size = CSize(0, 0);
    CBrush* pWhite = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CBrush* pDither = CDC::GetHalftoneBrush();
    const bool haveLast = m_sizeLast.cx > 0 || m_sizeLast.cy > 0;
    m_pDC->DrawDragRect(&rect, size, haveLast ? &m_rectLast : nullptr, m_sizeLast, dither ? pDither : pWhite,
        m_bDitherLast ? pDither : pWhite);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = dither;
}

void CDockContext::EndDrag()
{
    CancelLoop();
    if (m_ptLast == m_ptStart || !m_pDockSite || !m_pBar->m_hWnd)
        return;   // a click is not a drag
    if (m_dwOverDockStyle != 0) {
        if (CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle)) {
            const CRect rect = IsHorz(m_dwOverDockStyle) ? m_rectDragHorz : m_rectDragVert;
            m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
            m_pDockSite->RecalcLayout();
            return;
        }
    }
    const bool vert = FloatsVertical(*this);
    m_dwMRUFloatStyle = (vert ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP) | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = (vert ? m_rectFrameDragVert : m_rectFrameDragHorz).TopLeft();
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

// ---- resizing a floating bar -----------------------------------------------------------------------------------------

void CDockContext::StartResize(int nHitTest, CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd || !(m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
        return;
    CFrameWnd* pFrame = m_pBar->GetDockingFrame();
    if (!pFrame || !m_pBar->IsFloating())
        return;
    if (m_pBar->m_pDockSite)
        m_pDockSite = m_pBar->m_pDockSite;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    // Corners size the side they touch first along the bar's length.
    switch (nHitTest) {
    case HTTOPLEFT:
    case HTBOTTOMLEFT:
        nHitTest = HTLEFT;
        break;
    case HTTOPRIGHT:
    case HTBOTTOMRIGHT:
        nHitTest = HTRIGHT;
        break;
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTBOTTOM:
        break;
    default:
        return;
    }
    m_bDragging = FALSE;
    m_nHitTest = nHitTest;
    m_ptStart = m_ptLast = pt;
    pFrame->GetWindowRect(&m_rectActualFrameSize);
    m_pBar->GetWindowRect(&m_rectActualSize);
    m_rectFrameBorders = CRect(m_rectActualSize.left - m_rectActualFrameSize.left,
        m_rectActualSize.top - m_rectActualFrameSize.top, m_rectActualFrameSize.right - m_rectActualSize.right,
        m_rectActualFrameSize.bottom - m_rectActualSize.bottom);
    m_rectRequestedSize = m_rectActualSize;
    InitLoop();
    if (!m_pDC)
        return;
    DrawFocusRect();
    Track();
}

void CDockContext::Stretch(CPoint pt)
{
    const CPoint d(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
    int nLength = 0;
    DWORD dwMode = LM_HORZ;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT) {
        if (m_nHitTest == HTLEFT)
            m_rectRequestedSize.left += d.x;
        else
            m_rectRequestedSize.right += d.x;
        nLength = m_rectRequestedSize.Width();
    } else {
        if (m_nHitTest == HTTOP)
            m_rectRequestedSize.top += d.y;
        else
            m_rectRequestedSize.bottom += d.y;
        nLength = m_rectRequestedSize.Height();
        dwMode |= LM_LENGTHY;
    }
    nLength = std::max(0, nLength);
    const CSize size = m_pBar->CalcDynamicLayout(nLength, dwMode);
    // The side being dragged moves; the opposite one stays.
    CRect rect(m_rectActualSize.TopLeft(), size);
    if (m_nHitTest == HTLEFT)
        rect.OffsetRect(m_rectActualSize.right - rect.right, 0);
    if (m_nHitTest == HTTOP)
        rect.OffsetRect(0, m_rectActualSize.bottom - rect.bottom);
    m_rectActualSize = rect;
    m_rectActualFrameSize = CRect(rect.left - m_rectFrameBorders.left, rect.top - m_rectFrameBorders.top,
        rect.right + m_rectFrameBorders.right, rect.bottom + m_rectFrameBorders.bottom);
    m_ptLast = pt;
    DrawFocusRect();
}

void CDockContext::EndResize()
{
    CancelLoop();
    if (!m_pDockSite || !m_pBar->m_hWnd)
        return;
    m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
    m_pDockSite->FloatControlBar(m_pBar, m_rectActualFrameSize.TopLeft(),
        CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

// ---- toggling ---------------------------------------------------------------------------------------------------------

void CDockContext::ToggleDocking()
{
    if (!m_pBar || !m_pBar->m_hWnd)
        return;
    if (m_pBar->m_pDockSite)
        m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite)
        return;
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
            return;   // docking is off for this bar
        CDockBar* pDockBar = nullptr;
        if (m_uMRUDockID) {
            CControlBar* pFound = m_pDockSite->GetControlBar(m_uMRUDockID);
            if (pFound && pFound->IsDockBar() && !static_cast<CDockBar*>(pFound)->m_bFloating &&
                (pFound->m_dwStyle & m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
                pDockBar = static_cast<CDockBar*>(pFound);
        }
        CRect rect = m_rectMRUDockPos;
        if (pDockBar) {
            pDockBar->ClientToScreen(&rect);
            m_pDockSite->ReDockControlBar(m_pBar, pDockBar, rect.IsRectEmpty() ? nullptr : &rect);
        } else {
            m_pDockSite->ReDockControlBar(m_pBar, nullptr, nullptr);
        }
        m_pDockSite->RecalcLayout();
        return;
    }
    CPoint ptFloat = m_ptMRUFloatPos;
    if (ptFloat.x < 0 || ptFloat.y < 0) {
        // Never floated: the frame starts where the bar is now.
        CRect rect;
        m_pBar->GetWindowRect(&rect);
        ptFloat = rect.TopLeft();
    }
    const DWORD dwStyle = m_dwMRUFloatStyle ? m_dwMRUFloatStyle : (CBRS_ALIGN_TOP | (m_pBar->m_dwDockStyle & CBRS_FLOAT_MULTI));
    m_pDockSite->FloatControlBar(m_pBar, ptFloat, dwStyle);
}
