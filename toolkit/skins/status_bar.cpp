// COXStatusBar: the pane extras, the layout, and the window's messages. Progress panes are
// in status_bar_progress.cpp, drawing in status_bar_draw.cpp.
#include "toolkit/skins/status_bar.h"

#include <algorithm>

#include "platform/afx/window_dc.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/comctl/tooltip.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "toolkit/skins/status_bar_geometry.h"

IMPLEMENT_DYNAMIC(COXStatusBar, CStatusBar)

BEGIN_MESSAGE_MAP(COXStatusBar, CStatusBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {

// The control's part limit, which the base's SetIndicators enforces.
constexpr int kMaxPanes = 256;

} // namespace

COXStatusBar::COXStatusBar() = default;

COXStatusBar::~COXStatusBar()
{
    // The window goes first, while the object is still this class, so that nothing it
    // sends on the way finds panes whose extras are gone.
    m_bAutoDelete = FALSE;
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    m_panes.clear();
}

COXStatusBar::CEvolInfo::~CEvolInfo()
{
    if (m_progress.m_hWnd && ::IsWindow(m_progress.m_hWnd))
        m_progress.DestroyWindow();
}

// ---- panes ---------------------------------------------------------------------------------------

void COXStatusBar::CheckIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount || static_cast<size_t>(nIndex) >= m_panes.size())
        AfxThrowInvalidArgException(L"status-bar pane index out of range");
}

COXStatusBar::PaneExtras& COXStatusBar::Pane(int nIndex)
{
    CheckIndex(nIndex);
    return m_panes[static_cast<size_t>(nIndex)];
}

const COXStatusBar::PaneExtras& COXStatusBar::Pane(int nIndex) const
{
    CheckIndex(nIndex);
    return m_panes[static_cast<size_t>(nIndex)];
}

BOOL COXStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || nIDCount > kMaxPanes)
        return CStatusBar::SetIndicators(lpIDArray, nIDCount); // refused; the panes stay
    // What the old panes own goes with them: their bitmaps, fonts and progress controls.
    m_panes.clear();
    const BOOL result = CStatusBar::SetIndicators(lpIDArray, nIDCount);
    m_panes.resize(static_cast<size_t>(m_nCount));
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    for (PaneExtras& pane : m_panes)
        pane.textColour = text;
    return result;
}

void COXStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    CheckIndex(nIndex);
    AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    if (pane->nStyle == nStyle)
        return;
    const UINT changed = pane->nStyle ^ nStyle;
    pane->nStyle = nStyle;
    if (changed & (SBPS_STRETCH | OXSBPS_PROGRESS))
        UpdateAllPanes(TRUE, FALSE);
    // The drawing type travels with the text: set it again.
    pane->nFlags |= SBPF_UPDATE;
    CStatusBar::SetPaneText(nIndex, pane->strText);
}

void COXStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    CheckIndex(nIndex);
    AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    pane->nID = nID;
    SetPaneStyle(nIndex, nStyle);
    if (cxWidth >= 0 && cxWidth != pane->cxText) {
        pane->cxText = cxWidth;
        UpdateAllPanes(TRUE, FALSE);
    }
}

void COXStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    if (!m_hWnd)
        return;
    CStatusBar::UpdateAllPanes(bUpdateRects, FALSE);
    const int count = std::min(m_nCount, static_cast<int>(m_panes.size()));
    for (int i = 0; i < count; ++i) {
        CEvolInfo* info = m_panes[static_cast<size_t>(i)].progress.get();
        if (!info || !(_GetPanePtr(i)->nStyle & OXSBPS_PROGRESS))
            continue;
        const int percentWidth = PercentTextWidth(i);
        info->m_bCreated = CreateEvolutionPane(i, *info);
        CRect inner;
        if (!info->m_bCreated || !CalcInsideBorder(i, inner, TRUE))
            continue;
        if (info->m_bShowPercent)
            inner.left = std::min(inner.right, inner.left + percentWidth);
        inner.right = std::max(inner.left, inner.right);
        inner.bottom = std::max(inner.top, inner.bottom);
        // Every paint lays the panes out: a control already in place is left alone, so
        // moving it cannot ask for another paint.
        if (inner == info->m_rectProgress && info->m_progress.IsWindowVisible())
            continue;
        info->m_progress.SetWindowPos(nullptr, inner.left, inner.top, inner.Width(), inner.Height(),
            SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        info->m_rectProgress = inner;
    }
    CStatusBar::UpdateAllPanes(FALSE, bUpdateText);
}

void COXStatusBar::SyncOwnerDraw(int nIndex)
{
    const PaneExtras& extras = Pane(nIndex);
    const bool ownerDraw = extras.font || extras.textColour != ::GetSysColor(COLOR_BTNTEXT);
    const UINT style = GetPaneStyle(nIndex);
    SetPaneStyle(nIndex, ownerDraw ? (style | SBT_OWNERDRAW) : (style & ~SBT_OWNERDRAW));
}

// ---- what a pane carries ---------------------------------------------------------------------------

BOOL COXStatusBar::SetPaneCursor(int nIndex, UINT nCursorID)
{
    PaneExtras& pane = Pane(nIndex);
    if (nCursorID == 0) {
        pane.cursor = nullptr;
        return TRUE;
    }
    const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(nCursorID), RT_GROUP_CURSOR);
    const HCURSOR cursor = module ? ::LoadCursorW(module, MAKEINTRESOURCE(nCursorID)) : nullptr;
    if (!cursor)
        return FALSE;
    pane.cursor = cursor;
    return TRUE;
}

BOOL COXStatusBar::SetPaneFont(int nIndex, CFont* pFont)
{
    PaneExtras& pane = Pane(nIndex);
    pane.font.reset();
    BOOL result = TRUE;
    if (pFont) {
        LOGFONT lf{};
        auto copy = std::make_unique<CFont>();
        if (pFont->GetSafeHandle() && pFont->GetLogFont(&lf) && copy->CreateFontIndirect(&lf))
            pane.font = std::move(copy);
        else
            result = FALSE;
    }
    SyncOwnerDraw(nIndex);
    // An owner-drawn pane stays so when only its font changes: show the new one.
    if (m_hWnd) {
        CRect item;
        GetItemRect(nIndex, &item);
        InvalidateRect(&item, FALSE);
    }
    return result;
}

BOOL COXStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, COLORREF clrText, BOOL bUpdate)
{
    PaneExtras& pane = Pane(nIndex);
    if (!CStatusBar::SetPaneText(nIndex, lpszNewText, bUpdate))
        return FALSE;
    if (clrText != pane.textColour) {
        pane.textColour = clrText;
        if (!pane.font) {
            // A colour the control cannot show makes the pane owner-drawn.
            const UINT style = GetPaneStyle(nIndex);
            const bool plain = clrText == ::GetSysColor(COLOR_BTNTEXT);
            SetPaneInfo(nIndex, GetItemID(nIndex), plain ? (style & ~SBT_OWNERDRAW) : (style | SBT_OWNERDRAW), -1);
        } else if (m_hWnd) {
            // Owner-drawn already: only the colour shows anew.
            CRect item;
            GetItemRect(nIndex, &item);
            InvalidateRect(&item, FALSE);
        }
    }
    return TRUE;
}

BOOL COXStatusBar::SetPaneBitmap(int nIndex, UINT nBitmapID, EOrientation eOrientation, COLORREF clrTransparent,
    BOOL bUpdate)
{
    PaneExtras& pane = Pane(nIndex);
    BOOL result = TRUE;
    if (nBitmapID == 0) {
        if (!pane.bitmap)
            return TRUE;
        pane.bitmap.reset();
    } else {
        if (eOrientation < Stretch || eOrientation > RightCropped) {
            ::SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        auto bitmap = std::make_unique<CBitmap>();
        BITMAP bm{};
        if (!bitmap->LoadBitmap(nBitmapID) || !bitmap->GetBitmap(&bm)) {
            pane.bitmap.reset();
            result = FALSE;
        } else {
            if (!pane.bitmap)
                pane.bitmap = std::make_unique<CBmpInfo>();
            CBmpInfo& info = *pane.bitmap;
            info.m_pBitmap = std::move(bitmap); // the old bitmap goes
            info.m_nBitmapID = nBitmapID;
            info.m_eOrientation = eOrientation;
            info.m_clrTransparent = clrTransparent;
            info.m_nWidth = bm.bmWidth;
            info.m_nHeight = bm.bmHeight;
            CStatusBar::SetPaneText(nIndex, nullptr);
        }
    }
    UpdateAllPanes(TRUE, FALSE);
    if (bUpdate && m_hWnd)
        Invalidate(TRUE);
    return result;
}

BOOL COXStatusBar::ActivatePaneTips(BOOL bActivate)
{
    EnableToolTips(bActivate);
    return TRUE;
}

BOOL COXStatusBar::SetPaneTip(int nIndex, LPCTSTR lpszText)
{
    PaneExtras& pane = Pane(nIndex);
    if (lpszText)
        pane.tip = lpszText;
    else
        pane.tip.Empty();
    return TRUE;
}

BOOL COXStatusBar::DeletePaneTip(int nIndex)
{
    Pane(nIndex).tip.Empty();
    return TRUE;
}

HCURSOR COXStatusBar::GetPaneCursor(int nIndex) const { return Pane(nIndex).cursor; }
CFont* COXStatusBar::GetPaneFont(int nIndex) const { return Pane(nIndex).font.get(); }
COLORREF COXStatusBar::GetPaneTextColor(int nIndex) const { return Pane(nIndex).textColour; }
CString COXStatusBar::GetPaneTip(int nIndex) const { return Pane(nIndex).tip; }
const COXStatusBar::CBmpInfo* COXStatusBar::GetPaneBitmapInfo(int nIndex) const { return Pane(nIndex).bitmap.get(); }
COXStatusBar::CEvolInfo* COXStatusBar::GetPaneProgress(int nIndex) const { return Pane(nIndex).progress.get(); }

// ---- geometry -----------------------------------------------------------------------------------------

void COXStatusBar::GetBorders(int borders[3]) const
{
    borders[0] = borders[1] = borders[2] = 0;
    if (m_hWnd)
        const_cast<COXStatusBar*>(this)->DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
}

BOOL COXStatusBar::CalcInsideBorder(int nIndex, CRect& rect, BOOL bProgress) const
{
    CRect item;
    GetItemRect(nIndex, &item);
    int borders[3];
    GetBorders(borders);
    RECT inner{};
    if (!zyn::toolkit::statusbar::InsideBorder(item, borders[0], borders[2], bProgress != FALSE, inner))
        return FALSE;
    rect = inner;
    return TRUE;
}

int COXStatusBar::PaneFromPoint(CPoint point) const
{
    for (int i = 0; i < m_nCount; ++i) {
        CRect item;
        GetItemRect(i, &item);
        if (item.PtInRect(point))
            return i;
    }
    return -1;
}

int COXStatusBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    // No tip while the button is down: a click is under way. (Only the down bit: the
    // pressed-since bit tells of a click that is over, and would cost the first tip after it.)
    if (::GetAsyncKeyState(VK_LBUTTON) & 0x8000)
        return -1;
    const int child = CStatusBar::OnToolHitTest(point, pTI);
    if (child != -1) {
        // A progress control: its ID is its pane's index, and it shows its pane's tip.
        if (child >= 0 && child < m_nCount && static_cast<size_t>(child) < m_panes.size()) {
            if (pTI) {
                // The tooltip copies the text when it takes the tool.
                pTI->lpszText = const_cast<LPWSTR>(m_panes[static_cast<size_t>(child)].tip.GetString());
                pTI->uFlags &= ~(TTF_CENTERTIP | 0x80000000u);
            }
            return child + m_nCount;
        }
        return child; // a child of the host's own
    }
    const int pane = PaneFromPoint(point);
    if (pane < 0 || static_cast<size_t>(pane) >= m_panes.size())
        return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        GetItemRect(pane, &pTI->rect);
        // By index: several panes may share an ID (ID_SEPARATOR), each its own tool.
        pTI->uId = static_cast<UINT_PTR>(pane);
        pTI->lpszText = const_cast<LPWSTR>(m_panes[static_cast<size_t>(pane)].tip.GetString());
    }
    return static_cast<int>(GetItemID(pane));
}

BOOL COXStatusBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CStatusBar::PreCreateWindow(cs))
        return FALSE;
    // The skins paint the whole client: the progress controls must not be painted over.
    cs.style |= WS_CLIPCHILDREN;
    return TRUE;
}

// ---- the window's messages ----------------------------------------------------------------------

int COXStatusBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CControlBar::OnCreate(lpcs) == -1)
        return -1;
    // A bar made again after its window went keeps the DC it made the first time.
    if (!m_dcMem.GetSafeHdc() && !m_dcMem.CreateCompatibleDC(nullptr))
        return -1;
    return 0;
}

void COXStatusBar::OnPaint()
{
    m_skin.Get()->OnPaintStatusbar(this);
}

void COXStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CStatusBar::OnSize(nType, cx, cy);
    if (m_nCount <= 0)
        return;
    UpdateAllPanes(TRUE, TRUE);
    for (int i = 0; i < m_nCount; ++i) {
        CRect item;
        GetItemRect(i, &item);
        InvalidateRect(&item, FALSE);
    }
}

BOOL COXStatusBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT) {
        // Where the cursor is now: the message position may still be the previous move's.
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        const int pane = PaneFromPoint(point);
        if (pane >= 0 && static_cast<size_t>(pane) < m_panes.size() && m_panes[static_cast<size_t>(pane)].cursor) {
            ::SetCursor(m_panes[static_cast<size_t>(pane)].cursor);
            return TRUE;
        }
    }
    return CStatusBar::OnSetCursor(pWnd, nHitTest, message);
}

void COXStatusBar::OnLButtonDblClk(UINT /*nFlags*/, CPoint point)
{
    const int pane = PaneFromPoint(point);
    if (pane < 0)
        return; // between panes: nothing
    if (const HWND parent = ::GetParent(m_hWnd))
        ::SendMessageW(parent, OXWM_STATUSBAR_DBLCLK, static_cast<WPARAM>(GetItemID(pane)), 0);
}
