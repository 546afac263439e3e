// COXDockTabCtrl: the tabs of the bars sharing one place in a size dock bar.
#include "toolkit/docking/dock_tab_ctrl.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

IMPLEMENT_DYNAMIC(COXDockTabCtrl, COXSkinnedTabCtrl)

BEGIN_MESSAGE_MAP(COXDockTabCtrl, COXSkinnedTabCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, &COXDockTabCtrl::OnSelChange)
    ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

// The host that asks the dock bar itself.
COXDockTabHost& DockBarHost()
{
    static COXDockTabHost host;
    return host;
}

COXSizeControlBar* AsSizeBar(CControlBar* pBar)
{
    return pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)) ? static_cast<COXSizeControlBar*>(pBar)
                                                                     : nullptr;
}

// The strip's tab font and the room around each tab's text.
constexpr int kFontPoints = 8;
constexpr CSize kTabPadding(12, 4);
// Text buffers start here and double until a tab's text fits.
constexpr int kFirstTextBuffer = 256;
constexpr int kMaxTextBuffer = 1 << 24;

} // namespace

// ---- the host ---------------------------------------------------------------------------------------------

int COXDockTabHost::GetSizeControlBarCount(COXSizeDockBar* pDockBar, CControlBar* pExclude)
{
    return pDockBar->GetSizeControlBarCount(pExclude);
}

COXSizeControlBar* COXDockTabHost::GetFirstDockedSizeControlBar(COXSizeDockBar* pDockBar, CControlBar* pExclude)
{
    return pDockBar->GetFirstDockedSizeControlBar(pExclude);
}

int COXDockTabHost::GetTabHeight(COXSizeDockBar* pDockBar) { return pDockBar->GetTabHeight(); }

void COXDockTabHost::PositionTabCtrl(COXSizeDockBar* pDockBar) { pDockBar->PositionTabCtrl(); }

// ---- the strip ----------------------------------------------------------------------------------------------

COXDockTabCtrl::COXDockTabCtrl(COXSizeDockBar* pDockBar) : m_pDockBar(pDockBar), m_pHost(&DockBarHost()) {}

COXDockTabCtrl::~COXDockTabCtrl()
{
    // The window goes while the font it shows is still alive.
    if (m_hWnd)
        DestroyWindow();
}

void COXDockTabCtrl::SetHost(COXDockTabHost* pHost) { m_pHost = pHost ? pHost : &DockBarHost(); }

int COXDockTabCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (COXSkinnedTabCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    // A face that cannot be made leaves the system font: the tabs still work.
    if (!m_font.GetSafeHandle())
        m_font.CreatePointFont(kFontPoints * 10, L"MS Sans Serif");
    if (m_font.GetSafeHandle())
        SetFont(&m_font, TRUE);
    SetPadding(kTabPadding);
    return 0;
}

CControlBar* COXDockTabCtrl::GetTabParam(int nIndex) const
{
    if (!m_hWnd || nIndex < 0 || nIndex >= GetItemCount())
        return nullptr;
    TCITEM item{};
    item.mask = TCIF_PARAM;
    if (!GetItem(nIndex, &item))
        return nullptr;
    return reinterpret_cast<CControlBar*>(item.lParam);
}

BOOL COXDockTabCtrl::IsBarAlive(CControlBar* pBar) const
{
    const auto it = m_barWindows.find(pBar);
    return it != m_barWindows.end() && ::IsWindow(it->second) && CWnd::FromHandlePermanent(it->second) == pBar;
}

void COXDockTabCtrl::DropDeadTabs()
{
    if (!m_hWnd)
        return;
    for (int i = GetItemCount() - 1; i >= 0; --i) {
        if (!IsBarAlive(GetTabParam(i)))
            DeleteItem(i);
    }
    std::erase_if(m_barWindows, [this](const auto& entry) { return !IsBarAlive(entry.first); });
}

int COXDockTabCtrl::FindTab(CControlBar* pBar)
{
    if (!pBar || !m_hWnd)
        return -1;
    const int nCount = GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        if (GetTabParam(i) == pBar)
            return i;
    }
    return -1;
}

CControlBar* COXDockTabCtrl::GetBar(int nIndex)
{
    CControlBar* pBar = GetTabParam(nIndex);
    return IsBarAlive(pBar) ? pBar : nullptr;
}

std::wstring COXDockTabCtrl::GetTabText(int nIndex) const
{
    if (!m_hWnd || nIndex < 0 || nIndex >= GetItemCount())
        return {};
    // The control cuts a text to the buffer it is given: a text that fills the buffer
    // may be longer, so it is read again with twice the room.
    for (int nBuffer = kFirstTextBuffer;; nBuffer *= 2) {
        std::vector<wchar_t> buffer(static_cast<size_t>(nBuffer), L'\0');
        TCITEM item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer.data();
        item.cchTextMax = nBuffer;
        if (!GetItem(nIndex, &item))
            return {};
        const std::wstring text(buffer.data());
        if (static_cast<int>(text.size()) < nBuffer - 1 || nBuffer >= kMaxTextBuffer)
            return text;
    }
}

int COXDockTabCtrl::InsertBarTab(CControlBar* pBar, int nIndex)
{
    const int nCount = GetItemCount();
    if (nIndex < 0 || nIndex > nCount)
        nIndex = nCount;
    // The bar's whole title, however long.
    CString text;
    pBar->GetWindowText(text);
    const LONG nTab = InsertItem(TCIF_TEXT | TCIF_PARAM, nIndex, text.GetString(), 0, reinterpret_cast<LPARAM>(pBar));
    if (nTab >= 0)
        m_barWindows[pBar] = pBar->m_hWnd;
    return static_cast<int>(nTab);
}

void COXDockTabCtrl::ShowBar(CControlBar* pBar, BOOL bShow)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    if (CFrameWnd* pFrame = pBar->GetDockingFrame())
        pFrame->ShowControlBar(pBar, bShow, TRUE);
    else
        pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
}

void COXDockTabCtrl::InsertTab(CControlBar* pBar, int nIndex, BOOL bShowSelectedTab)
{
    if (!pBar || !pBar->m_hWnd || !m_hWnd || !m_pDockBar)
        return;
    DropDeadTabs();
    // A bar alone among the dock bar's size bars shows without tabs.
    if (m_pHost->GetSizeControlBarCount(m_pDockBar, pBar) == 0)
        return;
    for (int i = 0; i < m_pDockBar->GetBarCount(); ++i) {
        CControlBar* pOther = m_pDockBar->GetDockedControlBar(i);
        if (pOther && pOther != pBar && AsSizeBar(pOther) && pOther->IsVisible() && FindTab(pOther) < 0)
            InsertBarTab(pOther, 0);
    }
    // A bar keeps the one tab it has.
    int nTab = FindTab(pBar);
    if (nTab < 0)
        nTab = InsertBarTab(pBar, nIndex);
    if (nTab < 0)
        return;
    SetCurSel(nTab);
    m_pHost->PositionTabCtrl(m_pDockBar);
    if (bShowSelectedTab) {
        ShowSelectedTab();
        return;
    }
    const int nCount = GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        if (i != nTab)
            ShowBar(GetBar(i), FALSE);
    }
}

void COXDockTabCtrl::RemoveTab(CControlBar* pBar)
{
    if (!pBar || !m_hWnd || GetItemCount() == 0)
        return;
    DropDeadTabs();
    const int nTab = FindTab(pBar);
    // A bar without a tab takes no other bar's tab with it.
    if (nTab < 0)
        return;
    // The last size bar left shows alone, without a tab.
    if (m_pDockBar && m_pHost->GetSizeControlBarCount(m_pDockBar, pBar) == 1) {
        if (COXSizeControlBar* pLast = m_pHost->GetFirstDockedSizeControlBar(m_pDockBar, pBar)) {
            if (const int nLastTab = FindTab(pLast); nLastTab >= 0)
                DeleteItem(nLastTab);
            ShowBar(pLast, TRUE);
        }
    }
    const int nGone = FindTab(pBar);
    if (nGone >= 0)
        DeleteItem(nGone);
    m_barWindows.erase(pBar);
    // The tab before the removed one shows next. A single tab left is selected and
    // shown too: otherwise the place could stay empty, its bar hidden.
    const int nLeft = GetItemCount();
    if (nLeft > 0) {
        SetCurSel(std::clamp(nGone - 1, 0, nLeft - 1));
        ShowSelectedTab();
    }
}

void COXDockTabCtrl::ShowSelectedTab()
{
    if (!m_hWnd)
        return;
    DropDeadTabs();
    const int nCount = GetItemCount();
    if (nCount > 0 && GetCurSel() < 0)
        SetCurSel(0);
    CControlBar* pSelected = GetBar(GetCurSel());
    for (int i = 0; i < nCount; ++i) {
        CControlBar* pBar = GetBar(i);
        if (pBar && pBar != pSelected)
            ShowBar(pBar, FALSE);
    }
    if (!pSelected)
        return;
    ShowBar(pSelected, TRUE);
    if (!m_pDockBar || !m_pDockBar->m_hWnd)
        return;

    COXSizeControlBar* pSizeBar = AsSizeBar(pSelected);
    if (m_pDockBar->IsBarHorizontal()) {
        // The place keeps its length whichever of its bars shows. The bar shown last is
        // only read while it is still docked here (it may have been destroyed since).
        if (pSizeBar && m_pLastSelectedBar && m_pLastSelectedBar != pSizeBar &&
            m_pDockBar->FindBar(m_pLastSelectedBar) >= 0)
            pSizeBar->m_sizeHorzDock.cx = m_pLastSelectedBar->m_sizeHorzDock.cx;
        m_pLastSelectedBar = pSizeBar;
        return;
    }
    // A vertical side: the whole dock bar above the strip, clear of the splitter on the
    // frame's side.
    CRect rect;
    m_pDockBar->GetClientRect(&rect);
    rect.bottom -= m_pHost->GetTabHeight(m_pDockBar);
    const UINT nID = static_cast<UINT>(m_pDockBar->GetDlgCtrlID());
    if (nID == AFX_IDW_DOCKBAR_LEFT)
        rect.right -= 3;
    else if (nID == AFX_IDW_DOCKBAR_RIGHT)
        rect.left += 4;
    // A dock bar smaller than its margins gives an empty size, never a negative one.
    if (pSizeBar)
        pSizeBar->m_sizeVertDock = CSize(std::max(0, rect.Width()), std::max(0, rect.Height() + 5));
}

int COXDockTabCtrl::HitTestTabControl(CPoint point, CControlBar* /*pBar*/)
{
    if (!m_pDockBar || !m_pDockBar->m_hWnd)
        return -1;
    CRect band;
    m_pDockBar->GetWindowRect(&band);
    band.top = std::max(band.top, band.bottom - kHitBand);
    if (!band.PtInRect(point))
        return -1;
    if (!m_hWnd)
        return 0;
    TCHITTESTINFO hit{};
    hit.pt = point;
    ScreenToClient(&hit.pt);
    const int nTab = HitTest(&hit);
    return nTab >= 0 ? nTab : 0;
}

void COXDockTabCtrl::RepositionTabs(int nFrom, int nTo, CPoint point)
{
    const int nCount = m_hWnd ? GetItemCount() : 0;
    if (nFrom < 0 || nTo < 0 || nFrom >= nCount || nTo >= nCount || nFrom == nTo)
        return;
    CRect target;
    if (!GetItemRect(nTo, &target))
        return;
    ClientToScreen(&target);
    const int nCentre = (target.left + target.right) / 2;
    // The tab moves only once the mouse has passed the middle of the one it replaces.
    if (nFrom > nTo ? point.x > nCentre : point.x < nCentre)
        return;
    CControlBar* pSelected = GetTabParam(GetCurSel());
    CControlBar* pMoved = GetTabParam(nFrom);
    const std::wstring text = GetTabText(nFrom);
    if (!DeleteItem(nFrom))
        return;
    InsertItem(TCIF_TEXT | TCIF_PARAM, nTo, text.c_str(), 0, reinterpret_cast<LPARAM>(pMoved));
    // Deleting the selected tab leaves none selected: the same bar's tab is again.
    if (pSelected) {
        if (const int nSel = FindTab(pSelected); nSel >= 0)
            SetCurSel(nSel);
    }
}

// ---- the mouse ------------------------------------------------------------------------------------------------

void COXDockTabCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_ptPress = point;
    m_bPressPending = TRUE;
    COXSkinnedTabCtrl::OnLButtonDown(nFlags, point);
}

void COXDockTabCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    m_ptPress = point;
    m_bPressPending = TRUE;
    COXSkinnedTabCtrl::OnLButtonDblClk(nFlags, point);
}

void COXDockTabCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bPressPending = FALSE;
    COXSkinnedTabCtrl::OnLButtonUp(nFlags, point);
}

void COXDockTabCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    // Only a press made on the strip drags a tab out: a button held down since elsewhere
    // does not.
    if (!(nFlags & MK_LBUTTON))
        m_bPressPending = FALSE;
    const bool bFar = std::abs(point.x - m_ptPress.x) >= kDragThreshold ||
        std::abs(point.y - m_ptPress.y) >= kDragThreshold;
    if (m_bPressPending && bFar) {
        TCHITTESTINFO hit{};
        hit.pt = point;
        CControlBar* pBar = GetBar(HitTest(&hit));
        const BOOL bCoolBar = pBar && OXIsCoolToolBar(pBar);
        COXSizeControlBar* pSizeBar = AsSizeBar(pBar);
        if (bCoolBar || pSizeBar) {
            // The bar's own mouse moves carry it from here: its floating frame would hang
            // from the cursor at its corner.
            m_bPressPending = FALSE;
            COXDockingSeam& seam = OXGetDockingSeam();
            if (bCoolBar)
                seam.SaveCoolToolBarMouseOffset(pBar, CPoint(0, 0));
            else
                pSizeBar->SaveMouseOffset(CPoint(0, 0));
            pBar->SetCapture();
            if (bCoolBar)
                seam.SetCoolToolBarDragging(pBar, TRUE);
            else
                pSizeBar->m_bDragging = TRUE;
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
            return;
        }
    }
    COXSkinnedTabCtrl::OnMouseMove(nFlags, point);
}

void COXDockTabCtrl::OnSelChange(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    ShowSelectedTab();
    if (pResult)
        *pResult = 0;
}
