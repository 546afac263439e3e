// CDockBar: the bar array (rows, placeholders), docking and removing bars, the layout
// pass entry point and the dock bar's records. The row layout is in dockbar_layout.cpp.
#include "platform/afx/dockbar.h"

#include <algorithm>
#include <vector>

#include "platform/afx/dockcont.h"
#include "platform/afx/dockstate.h"
#include "platform/afx/frame.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

thread_local int zyn::afx::t_nDockStateRestore = 0;

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, &CDockBar::OnSizeParent)
    ON_WM_NCPAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

bool IsPlaceHolder(const void* p)
{
    const auto v = reinterpret_cast<UINT_PTR>(p);
    return v != 0 && v < 0x10000;
}

void* PlaceHolderOf(UINT nID) { return reinterpret_cast<void*>(static_cast<UINT_PTR>(nID)); }

UINT BarIDOf(const CControlBar* pBar)
{
    return pBar && pBar->m_hWnd ? static_cast<UINT>(static_cast<WORD>(::GetDlgCtrlID(pBar->m_hWnd))) : 0;
}

} // namespace

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating)
{
    // A dock bar has no margins of its own: its size is its rows'.
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
    m_arrBars.Add(nullptr);
}

CDockBar::~CDockBar() = default;

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    const DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    return CWnd::Create(nullptr, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CDockBar::IsDockBar() const { return TRUE; }

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CDockBar::DoPaint(CDC*) {}
void CDockBar::DrawBorders(CDC*, CRect&) {}
void CDockBar::DrawGripper(CDC*, const CRect&) {}

void CDockBar::OnNcPaint() { EraseNonClient(); }

void CDockBar::OnDestroy()
{
    m_bDestroying = TRUE;
    CControlBar::OnDestroy();
}

// ---- the array ---------------------------------------------------------------------------------------------------

CControlBar* CDockBar::GetDockedControlBar(int nPos) const
{
    if (nPos < 0 || nPos >= m_arrBars.GetSize())
        return nullptr;
    void* p = m_arrBars[nPos];
    return p && !IsPlaceHolder(p) ? static_cast<CControlBar*>(p) : nullptr;
}

int CDockBar::GetDockedCount() const
{
    int n = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i)
        n += GetDockedControlBar(i) != nullptr;
    return n;
}

int CDockBar::GetDockedVisibleCount() const
{
    int n = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        const CControlBar* pBar = GetDockedControlBar(i);
        n += pBar && pBar->IsVisible();
    }
    return n;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const
{
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (i != nPosExclude && m_arrBars[i] == pBar)
            return i;
    }
    return -1;
}

void CDockBar::TidyRows()
{
    if (m_arrBars.GetSize() == 0 || m_arrBars[0] != nullptr)
        m_arrBars.InsertAt(0, static_cast<void*>(nullptr));
    for (INT_PTR i = 1; i < m_arrBars.GetSize();) {
        if (m_arrBars[i] == nullptr && m_arrBars[i - 1] == nullptr)
            m_arrBars.RemoveAt(i);
        else
            ++i;
    }
    if (m_arrBars.GetSize() > 1 && m_arrBars[m_arrBars.GetSize() - 1] != nullptr)
        m_arrBars.Add(nullptr);
}

void CDockBar::ForgetBar(CControlBar* pBar)
{
    const int nPos = FindBar(pBar);
    if (nPos <= 0)
        return;
    m_arrBars.RemoveAt(nPos);
    TidyRows();
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar)
{
    const UINT nID = BarIDOf(pBar);
    if (nID == 0)
        return;
    const int nPos = FindBar(static_cast<CControlBar*>(PlaceHolderOf(nID)));
    if (nPos > 0) {
        m_arrBars.RemoveAt(nPos);
        TidyRows();
    }
}

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid)
{
    const BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int nPosInsAfter = 0;
    int nWidth = 0;
    int nTotalWidth = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar && pBar->IsVisible() && pBar != pBarIns) {
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            ScreenToClient(&rectBar);
            nWidth = std::max(nWidth, bHorz ? rectBar.Height() : rectBar.Width() - 1);
            // Within the row the bars stay ordered by their leading edges.
            if (bHorz ? rect.left > rectBar.left : rect.top > rectBar.top)
                nPosInsAfter = nPos;
        } else if (m_arrBars[nPos] == nullptr) {
            // A row ends: is the middle of the new bar above its far edge?
            nTotalWidth += nWidth - AFX_CY_BORDER2;
            nWidth = 0;
            if ((bHorz ? ptMid.y : ptMid.x) < nTotalWidth) {
                if (nPos == 0)
                    m_arrBars.InsertAt(nPosInsAfter + 1, static_cast<void*>(nullptr));   // a new first row
                m_arrBars.InsertAt(nPosInsAfter + 1, pBarIns);
                return nPosInsAfter + 1;
            }
            nPosInsAfter = nPos;
        }
    }
    // Past every row: a new row at the end.
    m_arrBars.InsertAt(nPosInsAfter + 1, static_cast<void*>(nullptr));
    m_arrBars.InsertAt(nPosInsAfter + 1, pBarIns);
    return nPosInsAfter + 1;
}

// ---- docking ------------------------------------------------------------------------------------------------------

namespace {

// What a bar takes on when it enters a dock bar: the side, all borders, floating as the
// dock bar is; and what the dock bar takes from it.
void AdoptBar(CDockBar* pDockBar, CControlBar* pBar)
{
    if (pDockBar->m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI))
        pDockBar->m_dwStyle |= CBRS_FLOAT_MULTI;
    pDockBar->m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    pDockBar->m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    if (!(pDockBar->m_dwStyle & CBRS_FLOAT_MULTI)) {
        // The floating frame's caption shows the single bar's text.
        CString text;
        pBar->GetWindowText(text);
        pDockBar->SetWindowText(text);
    }
    DWORD dwStyle = pBar->GetBarStyle() & ~CBRS_ALIGN_ANY;
    dwStyle |= (pDockBar->m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (pDockBar->m_bFloating)
        dwStyle |= CBRS_FLOATING;
    else
        dwStyle &= ~CBRS_FLOATING;
    pBar->SetBarStyle(dwStyle);
}

} // namespace

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd || !m_hWnd || pBar == this)
        return;
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    if (pBar->m_pDockBar == this && (!lpRect || rectBar == CRect(lpRect)))
        return;   // already here, and no new place asked for
    AdoptBar(this, pBar);
    // Hidden while it changes dock bars, so it does not flash in the old one.
    BOOL bShow = FALSE;
    if (pBar->m_pDockBar != this && pBar->IsWindowVisible()) {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        bShow = TRUE;
    }
    int nPos = -1;
    if (lpRect) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        const CPoint ptMid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
        nPos = Insert(pBar, rect, ptMid);
        // The bar goes where it was dropped; the layout then snaps it into its row.
        if (pBar->GetParent() != this)
            pBar->SetParent(this);
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        AppendRow(pBar);
    }
    FinishDocking(pBar, pBar->m_pDockBar, nPos, bShow);
}

void CDockBar::AppendRow(CControlBar* pBar)
{
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    pBar->SetWindowPos(nullptr, -AFX_CX_BORDER2, -AFX_CY_BORDER2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDockBar::FinishDocking(CControlBar* pBar, CDockBar* pOld, int nPos, BOOL bShow)
{
    pBar->m_pDockBar = this;
    if (pOld == this) {
        const int nOld = FindBar(pBar, nPos);
        if (nOld > 0) {
            m_arrBars.RemoveAt(nOld);
            TidyRows();
        }
    } else if (pOld) {
        // The old dock bar may destroy its floating frame: the bar has left it already.
        pOld->RemoveControlBar(pBar, -1, m_bFloating && !pOld->m_bFloating);
    }
    TidyRows();
    if (bShow)
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RemovePlaceHolder(pBar);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout();
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd || !m_hWnd)
        return;
    const UINT nID = BarIDOf(pBar);
    const int nHolder = nID ? FindBar(static_cast<CControlBar*>(PlaceHolderOf(nID))) : -1;
    if (nHolder <= 0 || pBar->m_pDockBar == this) {
        DockControlBar(pBar, lpRect);
        return;
    }
    AdoptBar(this, pBar);
    BOOL bShow = FALSE;
    if (pBar->IsWindowVisible()) {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        bShow = TRUE;
    }
    m_arrBars[nHolder] = pBar;   // the bar takes its placeholder's place
    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    if (lpRect) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CDockBar* pOld = pBar->m_pDockBar;
    pBar->m_pDockBar = this;
    if (pOld)
        pOld->RemoveControlBar(pBar, -1, m_bFloating && !pOld->m_bFloating);
    TidyRows();
    if (bShow)
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    const int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0)
        return FALSE;
    const UINT nID = BarIDOf(pBar);
    if (nAddPlaceHolder == 1 && nID != 0) {
        // A bar without an ID cannot keep a place: its placeholder would read as a row end.
        m_arrBars[nPos] = PlaceHolderOf(nID);
        const int nPosOld = FindBar(static_cast<CControlBar*>(PlaceHolderOf(nID)), nPos);
        if (nPosOld > 0)
            m_arrBars.RemoveAt(nPosOld);
    } else {
        m_arrBars.RemoveAt(nPos);
        if (nAddPlaceHolder != -1)
            RemovePlaceHolder(pBar);
    }
    TidyRows();
    if (m_bDestroying)
        return TRUE;
    CFrameWnd* pFrame = GetDockingFrame();
    if (m_bFloating && GetDockedVisibleCount() == 0) {
        if (GetDockedCount() == 0 && zyn::afx::t_nDockStateRestore == 0) {
            // The floating frame has nothing left to hold (this dock bar goes with it).
            if (pFrame && pFrame->m_hWnd)
                pFrame->DestroyWindow();
            return TRUE;
        }
        if (pFrame)
            pFrame->ShowWindow(SW_HIDE);
    } else if (pFrame) {
        pFrame->DelayRecalcLayout();
    }
    return TRUE;
}

void CDockBar::ShowAll(BOOL bShow)
{
    std::vector<CControlBar*> bars;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (CControlBar* pBar = GetDockedControlBar(i))
            bars.push_back(pBar);
    }
    for (CControlBar* pBar : bars) {
        CFrameWnd* pFrame = pBar->m_pDockSite ? pBar->m_pDockSite : pBar->GetDockingFrame();
        if (pFrame && pBar->m_hWnd)
            pFrame->ShowControlBar(pBar, bShow, FALSE);
    }
}

// ---- the layout pass ---------------------------------------------------------------------------------------------

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!lpLayout)
        return 0;
    // The rows are laid out in the room this pass has, and a query moves nothing.
    const BOOL bQuery = m_bLayoutQuery;
    const CRect rectLayout = m_rectLayout;
    m_bLayoutQuery = lpLayout->hDWP == nullptr;
    m_rectLayout = lpLayout->rect;
    const LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = bQuery;
    m_rectLayout = rectLayout;
    return lResult;
}

// ---- records ------------------------------------------------------------------------------------------------------

void CDockBar::GetBarInfo(CControlBarInfo* pInfo)
{
    if (!pInfo)
        return;
    CControlBar::GetBarInfo(pInfo);
    pInfo->m_bDockBar = TRUE;
    pInfo->m_bFloating = m_bFloating;
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (m_bFloating) {
        // A floating dock bar stands for its frame: where the frame's client area is (the
        // frame made again around it lands in the same place), whether it shows.
        if (CWnd* pFrame = GetParent()) {
            CPoint pt(0, 0);
            pFrame->ClientToScreen(&pt);
            pInfo->m_pointPos = pt;
            pInfo->m_bVisible = pFrame->IsWindowVisible();
        }
    }
    pInfo->m_arrBarID.RemoveAll();
    for (int i = 1; i < m_arrBars.GetSize(); ++i) {
        void* p = m_arrBars[i];
        if (!p) {
            pInfo->m_arrBarID.Add(0);
        } else if (IsPlaceHolder(p)) {
            pInfo->m_arrBarID.Add(0x10000 | static_cast<DWORD>(reinterpret_cast<UINT_PTR>(p)));
        } else if (const UINT nID = BarIDOf(static_cast<CControlBar*>(p)); nID != 0) {
            pInfo->m_arrBarID.Add(nID);
        }
    }
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
    if (!pInfo || !pFrameWnd || !m_hWnd)
        return;
    if (m_bFloating)
        m_dwStyle = (m_dwStyle & ~CBRS_ALIGN_ANY) | (pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
    CPtrArray arrNew;
    arrNew.Add(nullptr);
    std::vector<CControlBar*> moved;
    auto placed = [&](void* p) {
        for (INT_PTR i = 0; i < arrNew.GetSize(); ++i)
            if (arrNew[i] == p)
                return true;
        return false;
    };
    for (INT_PTR i = 0; i < pInfo->m_arrBarID.GetSize(); ++i) {
        const DWORD nEntry = pInfo->m_arrBarID[i];
        if (nEntry == 0) {
            if (arrNew[arrNew.GetSize() - 1] != nullptr)
                arrNew.Add(nullptr);
            continue;
        }
        const UINT nID = nEntry & 0xFFFF;
        CControlBar* pBar = nID ? pFrameWnd->GetControlBar(nID) : nullptr;
        if (!pBar || pBar->IsDockBar())
            continue;   // a bar the frame does not have (any more) leaves no trace
        if (nEntry & 0x10000) {
            if (!placed(PlaceHolderOf(nID)))
                arrNew.Add(PlaceHolderOf(nID));
            continue;
        }
        if (placed(pBar))
            continue;
        arrNew.Add(pBar);
        moved.push_back(pBar);
    }
    // Bars docked here that the record does not place keep a row each after its rows.
    for (int i = 1; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar && !placed(pBar) && pBar->m_pDockBar == this) {
            if (arrNew[arrNew.GetSize() - 1] != nullptr)
                arrNew.Add(nullptr);
            arrNew.Add(pBar);
            arrNew.Add(nullptr);
        }
    }
    if (arrNew.GetSize() > 1 && arrNew[arrNew.GetSize() - 1] != nullptr)
        arrNew.Add(nullptr);
    for (CControlBar* pBar : moved) {
        if (pBar->m_pDockBar == this)
            continue;
        AdoptBar(this, pBar);
        if (pBar->GetParent() != this)
            pBar->SetParent(this);
        CDockBar* pOld = pBar->m_pDockBar;
        pBar->m_pDockBar = this;
        if (pOld)
            pOld->RemoveControlBar(pBar, -1, -1);
    }
    m_arrBars.Copy(arrNew);
}
