// CStatusBar: creation, the pane table, pane geometry and texts, the window's messages and
// the idle pass. The rules are written in barstat.h.
#include "platform/afx/barstat.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetText)
    ON_MESSAGE(WM_GETTEXT, &CStatusBar::OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, &CStatusBar::OnGetTextLength)
    ON_MESSAGE(SB_SETMINHEIGHT, &CStatusBar::OnSetMinHeight)
END_MESSAGE_MAP()

namespace {

// What a pane adds round its text: its frame and the control's text margins.
constexpr int CX_PANE_BORDER = 6;
// SB_SETPARTS takes at most this many parts.
constexpr int kMaxPanes = 256;

} // namespace

CStatusBar::CStatusBar()
{
    // The frame's edge lies below the bar and the panes have frames of their own: only a
    // little room above them.
    m_cxLeftBorder = m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar()
{
    m_ctrl.m_hWnd = nullptr;   // borrowed: never destroyed through the wrapper
    m_bAutoDelete = FALSE;
    if (m_hWnd)
        DestroyWindow();
    DestroyPanes();
}

void CStatusBar::DestroyPanes()
{
    auto* panes = static_cast<AFX_STATUSPANE*>(m_pData);
    for (int i = 0; i < m_nCount && panes; ++i)
        panes[i].~AFX_STATUSPANE();
    std::free(m_pData);
    m_pData = nullptr;
    m_nCount = 0;
}

BOOL CStatusBar::AllocElements(int nElements, int cbElement)
{
    if (nElements < 0 || cbElement != static_cast<int>(sizeof(AFX_STATUSPANE))) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    void* pData = nullptr;
    if (nElements > 0) {
        pData = std::calloc(static_cast<size_t>(nElements), sizeof(AFX_STATUSPANE));
        if (!pData) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
    }
    DestroyPanes();
    // The records hold strings: they are made in place, not merely zeroed.
    auto* panes = static_cast<AFX_STATUSPANE*>(pData);
    for (int i = 0; i < nElements; ++i)
        new (&panes[i]) AFX_STATUSPANE{0, 0, 0, CString(), 0};
    m_pData = pData;
    m_nCount = nElements;
    return TRUE;
}

AFX_STATUSPANE* CStatusBar::_GetPanePtr(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount || !m_pData)
        return nullptr;
    return static_cast<AFX_STATUSPANE*>(m_pData) + nIndex;
}

// ---- creation --------------------------------------------------------------------------------------------------

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd || m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    m_dwStyle = dwStyle & CBRS_ALL;
    if ((m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) == CBRS_BOTTOM)
        m_dwStyle &= ~(CBRS_BORDER_ANY | CBRS_BORDER_3D);
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE |
        (dwCtrlStyle & 0xFFFF);
    if (pParentWnd->GetStyle() & WS_THICKFRAME)
        dwWindowStyle |= SBARS_SIZEGRIP;
    return CWnd::Create(STATUSCLASSNAMEW, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CStatusBar::PreCreateWindow(CREATESTRUCT& cs)
{
    // The low word is the control's style here (CreateEx has taken the CBRS_ bits out).
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

// ---- panes ---------------------------------------------------------------------------------------------------------

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || nIDCount > kMaxPanes) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!AllocElements(nIDCount, sizeof(AFX_STATUSPANE)))
        return FALSE;
    BOOL bResult = TRUE;
    if (lpIDArray) {
        // Widths in the bar's own font, as the control will draw the texts.
        CClientDC dc(nullptr);
        const HFONT hFont = m_hWnd ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
        const HGDIOBJ hOld = hFont ? ::SelectObject(dc.m_hDC, hFont) : nullptr;
        for (int i = 0; i < nIDCount; ++i) {
            AFX_STATUSPANE* pane = _GetPanePtr(i);
            pane->nID = lpIDArray[i];
            pane->nFlags |= SBPF_UPDATE;
            if (pane->nID != ID_SEPARATOR) {
                // A missing string leaves that pane empty; the others are still made, so
                // every pane keeps its ID.
                if (!pane->strText.LoadString(pane->nID)) {
                    bResult = FALSE;
                    continue;
                }
                pane->cxText = dc.GetTextExtent(pane->strText).cx;
            } else {
                pane->cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (i == 0)
                    pane->nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;   // the message line
            }
        }
        if (hOld)
            ::SelectObject(dc.m_hDC, hOld);
    }
    UpdateAllPanes(TRUE, TRUE);
    if (!bResult)
        ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return bResult;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < m_nCount; ++i)
        if (_GetPanePtr(i)->nID == nIDFind)
            return i;
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    const AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    if (!pane) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return ID_SEPARATOR;
    }
    return pane->nID;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect)
        return;
    ::SetRectEmpty(lpRect);
    if (!m_hWnd || !_GetPanePtr(nIndex))
        return;
    if (!const_cast<CStatusBar*>(this)->DefWindowProc(SB_GETRECT, static_cast<WPARAM>(nIndex),
            reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    const AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    if (!pane) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        nID = nStyle = 0;
        cxWidth = 0;
        return;
    }
    nID = pane->nID;
    nStyle = pane->nStyle;
    cxWidth = pane->cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    if (!pane) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    pane->nID = nID;
    SetPaneStyle(nIndex, nStyle);
    if (cxWidth >= 0 && cxWidth != pane->cxText) {
        pane->cxText = cxWidth;
        UpdateAllPanes(TRUE, FALSE);
    }
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    const AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    if (!pane) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return pane->nStyle;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    if (!pane) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    if (pane->nStyle == nStyle)
        return;
    const bool stretchChanged = ((pane->nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pane->nStyle = nStyle;
    if (stretchChanged)
        UpdateAllPanes(TRUE, FALSE);
    // The drawing type travels with the text: set it again.
    pane->nFlags |= SBPF_UPDATE;
    SetPaneText(nIndex, pane->strText);
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    CString text;
    GetPaneText(nIndex, text);
    return text;
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const
{
    const AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    if (!pane) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        rString.Empty();
        return;
    }
    rString = pane->strText;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    AFX_STATUSPANE* pane = _GetPanePtr(nIndex);
    if (!pane) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool same = lpszNewText ? pane->strText.Compare(lpszNewText) == 0 : pane->strText.IsEmpty();
    if (same && !(pane->nFlags & SBPF_UPDATE))
        return TRUE;   // nothing to show anew
    if (lpszNewText)
        pane->strText = lpszNewText;
    else
        pane->strText.Empty();
    if (!bUpdate || !m_hWnd) {
        pane->nFlags |= SBPF_UPDATE;   // shown by the next UpdateAllPanes
        return TRUE;
    }
    pane->nFlags &= ~SBPF_UPDATE;
    // The part index in the low byte, the drawing type in the rest of the low word. A
    // disabled pane keeps its text but shows none; an owner-drawn one hands its text to
    // DrawItem as the item data.
    const WPARAM wp = (static_cast<WPARAM>(pane->nStyle) & 0xFF00) | static_cast<WPARAM>(nIndex & 0xFF);
    const LPCTSTR shown = (pane->nStyle & SBPS_DISABLED) ? L"" : pane->strText.GetString();
    DefWindowProc(SB_SETTEXTW, wp, reinterpret_cast<LPARAM>(shown));
    return TRUE;
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    if (!m_hWnd)
        return;
    if (bUpdateRects) {
        CRect rect;
        GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE);
        int borders[3] = {0, 0, 0};
        DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
        const int spacing = borders[2];
        int cxExtra = rect.Width() + spacing;
        int nStretchy = 0;
        for (int i = 0; i < m_nCount; ++i) {
            const AFX_STATUSPANE* pane = _GetPanePtr(i);
            if (pane->nStyle & SBPS_STRETCH)
                ++nStretchy;
            cxExtra -= pane->cxText + CX_PANE_BORDER + spacing;
        }
        std::vector<int> rights(static_cast<size_t>(m_nCount));
        int right = borders[0];
        for (int i = 0; i < m_nCount; ++i) {
            const AFX_STATUSPANE* pane = _GetPanePtr(i);
            right += pane->cxText + CX_PANE_BORDER;
            if ((pane->nStyle & SBPS_STRETCH) && cxExtra > 0) {
                const int share = cxExtra / nStretchy;
                right += share;
                --nStretchy;
                cxExtra -= share;
            }
            rights[static_cast<size_t>(i)] = right;
            right += spacing;
        }
        DefWindowProc(SB_SETPARTS, static_cast<WPARAM>(m_nCount), reinterpret_cast<LPARAM>(rights.data()));
    }
    if (bUpdateText) {
        for (int i = 0; i < m_nCount; ++i) {
            AFX_STATUSPANE* pane = _GetPanePtr(i);
            if (pane->nFlags & SBPF_UPDATE)
                SetPaneText(i, pane->strText);
        }
    }
}

CStatusBarCtrl& CStatusBar::GetStatusBarCtrl() const
{
    m_ctrl.m_hWnd = m_hWnd;
    return m_ctrl;
}

int CStatusBar::MessagePane() const { return CommandToIndex(ID_SEPARATOR); }

// ---- layout -----------------------------------------------------------------------------------------------------

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    // The control's client height for its font (statusbar.h), then the bar's margins.
    TEXTMETRICW tm{};
    {
        CClientDC dc(nullptr);
        const HFONT hFont = m_hWnd ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
        const HGDIOBJ hOld = hFont ? ::SelectObject(dc.m_hDC, hFont) : nullptr;
        ::GetTextMetricsW(dc.m_hDC, &tm);
        if (hOld)
            ::SelectObject(dc.m_hDC, hOld);
    }
    CRect rect;
    rect.SetRectEmpty();
    CControlBar::CalcInsideRect(rect, bHorz);
    const int cyClient = std::max<int>(tm.tmHeight + 8, m_nMinHeight + 4);
    return CSize(32767, cyClient - rect.Height());
}

void CStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    CControlBar::CalcInsideRect(rect, bHorz);
    // The panes end where the size grip begins, so none is cut by it.
    auto* self = const_cast<CStatusBar*>(this);
    self->m_cxSizeBox = 0;
    if (!m_hWnd || m_bHideSizeBox || !(GetStyle() & SBARS_SIZEGRIP))
        return;
    const HWND hParent = ::GetParent(m_hWnd);
    if (hParent && ::IsZoomed(hParent))
        return;   // a maximised window shows no grip
    self->m_cxSizeBox = ::GetSystemMetrics(SM_CXVSCROLL);
    rect.right -= m_cxSizeBox;
}

// ---- owner drawing and the idle pass --------------------------------------------------------------------------

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CControlBar::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_nCount);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax && state.m_nIndex < static_cast<UINT>(m_nCount);
         ++state.m_nIndex) {
        state.m_nID = _GetPanePtr(static_cast<int>(state.m_nIndex))->nID;
        // The bar's own map may update its panes.
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        // Panes nobody handles stay as they are.
        state.DoUpdate(pTarget, FALSE);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CStatusCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    auto* pBar = static_cast<CStatusBar*>(m_pOther);
    if (!pBar)
        return;
    UINT nStyle = pBar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_DISABLED;
    if (!bOn)
        nStyle |= SBPS_DISABLED;
    pBar->SetPaneStyle(static_cast<int>(m_nIndex), nStyle);
}

void CStatusCmdUI::SetCheck(int nCheck)
{
    auto* pBar = static_cast<CStatusBar*>(m_pOther);
    if (!pBar)
        return;
    // A "checked" pane stands out.
    UINT nStyle = pBar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_POPOUT;
    if (nCheck != 0)
        nStyle |= SBPS_POPOUT;
    pBar->SetPaneStyle(static_cast<int>(m_nIndex), nStyle);
}

void CStatusCmdUI::SetText(LPCTSTR lpszText)
{
    if (auto* pBar = static_cast<CStatusBar*>(m_pOther))
        pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText);
}

// ---- the window's messages -------------------------------------------------------------------------------------

void CStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!lpncsp)
        return;
    CRect rect;
    rect.SetRectEmpty();
    CControlBar::CalcInsideRect(rect, TRUE);
    RECT& rc = lpncsp->rgrc[0];
    rc.left += rect.left;
    rc.top += rect.top;
    rc.right = std::max(rc.left, rc.right + rect.right);
    rc.bottom = std::max(rc.top, rc.bottom + rect.bottom);
}

void CStatusBar::OnNcPaint() { EraseNonClient(); }

void CStatusBar::OnPaint()
{
    UpdateAllPanes(FALSE, TRUE);   // texts set without showing them yet
    Default();
}

BOOL CStatusBar::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

LRESULT CStatusBar::OnNcHitTest(CPoint)
{
    // The grip sizes the frame; everything else is the bar's client area (so the margins
    // do not act as a frame border).
    const LRESULT hit = Default();
    return hit == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    // The stretchy panes follow the width.
    UpdateAllPanes(TRUE, FALSE);
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    const int nIndex = MessagePane();
    if (nIndex < 0)
        return FALSE;
    return SetPaneText(nIndex, reinterpret_cast<LPCTSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    const int nIndex = MessagePane();
    auto* buffer = reinterpret_cast<LPWSTR>(lParam);
    if (nIndex < 0 || !buffer || wParam == 0)
        return 0;
    const CString& text = _GetPanePtr(nIndex)->strText;
    const int n = std::min(text.GetLength(), static_cast<int>(wParam) - 1);
    std::copy(text.GetString(), text.GetString() + n, buffer);
    buffer[n] = L'\0';
    return n;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    const int nIndex = MessagePane();
    return nIndex < 0 ? 0 : _GetPanePtr(nIndex)->strText.GetLength();
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM)
{
    const LRESULT r = Default();
    m_nMinHeight = static_cast<int>(wParam);
    return r;
}
