// COXSizeDockBar: construction, the row queries and sizing passes run on WM_SIZEPARENT,
// the splitter list, the tab strip's window and painting. The row layout itself is in
// size_dock_bar_layout.cpp.
#include "toolkit/docking/size_dock_bar.h"

#include <algorithm>
#include <cstdint>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/frame.h"
#include "platform/afx/window_dc.h"
#include "platform/base/exception.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar_helpers.h"

using namespace oxdock;

IMPLEMENT_DYNAMIC(COXSizeDockBar, CDockBar)

BEGIN_MESSAGE_MAP(COXSizeDockBar, CDockBar)
    ON_MESSAGE(WM_SIZEPARENT, &COXSizeDockBar::OnSizeParent)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

COXSizeDockBar::COXSizeDockBar() = default;

COXSizeDockBar::~COXSizeDockBar()
{
    // The window (and the tab strip in it) goes while the object is still a size dock bar;
    // a dock bar deleted by its own window has none left here.
    m_bAutoDelete = FALSE;
    if (m_hWnd)
        DestroyWindow();
}

BOOL COXSizeDockBar::IsBarHorizontal() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

BOOL COXSizeDockBar::IsSizeable(const CControlBar* pBar)
{
    return pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar));
}

void COXSizeDockBar::SetWindowSize(CWnd* pWnd, CSize size)
{
    if (pWnd && pWnd->m_hWnd)
        pWnd->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

BOOL COXSizeDockBar::WasBarHidden(CControlBar* pBar) const
{
    for (INT_PTR i = 0; i < m_arrHiddenBars.GetSize(); ++i) {
        if (m_arrHiddenBars[i] == pBar)
            return TRUE;
    }
    return FALSE;
}

COXSplitterRect* COXSizeDockBar::GetSplitter(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetSplitterCount())
        AfxThrowInvalidArgException();
    return m_arrSplitters[static_cast<size_t>(nIndex)].get();
}

// ---- rows ----------------------------------------------------------------------------------------------------

void COXSizeDockBar::GetRowSizeInfo(int nPos, OXROWSIZEINFO* pInfo, const CPtrArray& arrBars) const
{
    if (!pInfo)
        return;
    *pInfo = OXROWSIZEINFO{};
    const BOOL bHorz = IsBarHorizontal();
    BOOL bPrevSizeable = FALSE;
    for (INT_PTR i = std::max(0, nPos); i < arrBars.GetSize() && arrBars[i]; ++i) {
        CControlBar* pBar = VisibleBarAt(arrBars, i);
        if (!pBar)
            continue;
        const BOOL bSizeable = IsSizeable(pBar);
        if (bSizeable && bPrevSizeable)
            pInfo->nFixedLength += kSplitterSize;   // the splitter between the two
        CRect rect;
        pBar->GetWindowRect(&rect);
        const int nLength = std::max(0, LengthOf(rect, bHorz));
        const int nWidth = std::max(0, WidthOf(rect, bHorz));
        ++pInfo->nBarCount;
        pInfo->nMaxWidth = std::max(pInfo->nMaxWidth, nWidth);
        MINMAXINFO mmi{};
        pBar->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        pInfo->nMaxMinTrackWidth = std::max(pInfo->nMaxMinTrackWidth, static_cast<int>(mmi.ptMinTrackSize.x));
        pInfo->nMaxMinTrackHeight = std::max(pInfo->nMaxMinTrackHeight, static_cast<int>(mmi.ptMinTrackSize.y));
        if (bSizeable) {
            ++pInfo->nSizeableCount;
            pInfo->nSizeableLength += nLength;
        } else {
            pInfo->nFixedLength += nLength;
            pInfo->nMaxFixedWidth = std::max(pInfo->nMaxFixedWidth, nWidth);
        }
        bPrevSizeable = bSizeable;
    }
    pInfo->nTotalLength = pInfo->nSizeableLength + pInfo->nFixedLength;
}

BOOL COXSizeDockBar::AdjustRowSizes(int nPos, int nLength, CPtrArray& arrBars)
{
    OXROWSIZEINFO info;
    GetRowSizeInfo(nPos, &info, arrBars);
    if (info.nSizeableCount == 0)
        return FALSE;
    const BOOL bHorz = IsBarHorizontal();
    // Each bar overlaps its neighbour by the doubled border, so the row has that much more.
    const int nAvailable = nLength - info.nFixedLength + info.nBarCount * (bHorz ? AFX_CX_BORDER2 : AFX_CY_BORDER2);
    int nRemaining = nAvailable;
    for (INT_PTR i = std::max(0, nPos); i < arrBars.GetSize(); ++i) {
        if (!arrBars[i])
            return TRUE;
        COXSizeControlBar* pBar = AsSizeBar(VisibleBarAt(arrBars, i));
        if (!pBar)
            continue;
        int nNewLength;
        if (info.nSizeableLength != 0) {
            CRect rect;
            pBar->GetWindowRect(&rect);
            // In proportion to the present lengths; what the truncation loses is not
            // handed out again. Fixed bars needing more than the row leave nothing: a
            // length below 0 is no size.
            const int64_t nShare =
                static_cast<int64_t>(std::max(0, LengthOf(rect, bHorz))) * nAvailable / info.nSizeableLength;
            nNewLength = static_cast<int>(std::max<int64_t>(0, nShare));
        } else {
            nNewLength = std::max(0, nRemaining);
        }
        nRemaining -= nNewLength;
        CSize& size = DockedSize(pBar, bHorz);
        size = bHorz ? CSize(nNewLength, info.nMaxWidth) : CSize(info.nMaxWidth, nNewLength);
        if (!m_bLayoutQuery)
            SetWindowSize(pBar, size);
    }
    return FALSE;
}

BOOL COXSizeDockBar::AdjustAllRowSizes(int nLength)
{
    BOOL bResult = FALSE;
    for (int i = 0; i + 1 < m_arrBars.GetSize(); ++i) {
        if (!m_arrBars[i])
            bResult |= AdjustRowSizes(i + 1, nLength, m_arrBars);
    }
    return bResult;
}

void COXSizeDockBar::TileDockedBars()
{
    for (int i = 0; i + 1 < m_arrBars.GetSize(); ++i) {
        if (!m_arrBars[i] && m_arrBars[i + 1])
            TileDockedBarsRow(i + 1);
    }
}

void COXSizeDockBar::TileDockedBarsRow(int nPos)
{
    OXROWSIZEINFO info;
    GetRowSizeInfo(nPos, &info, m_arrBars);
    if (info.nSizeableCount == 0)
        return;
    const BOOL bHorz = IsBarHorizontal();
    const int nAvailable = std::max(0, (bHorz ? m_nLastWidth : m_nLastHeight) - info.nFixedLength);
    const int nEach = nAvailable / info.nSizeableCount;
    int nSeen = 0;
    for (INT_PTR i = std::max(0, nPos); i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        COXSizeControlBar* pBar = AsSizeBar(VisibleBarAt(m_arrBars, i));
        if (!pBar)
            continue;
        ++nSeen;
        // The last one takes what the division left over.
        DockedLength(pBar, bHorz) = nSeen == info.nSizeableCount ? nAvailable - (nSeen - 1) * nEach : nEach;
        DockedWidth(pBar, bHorz) = info.nMaxWidth;
    }
}

int COXSizeDockBar::CheckSumBars() const
{
    // Unsigned: many rows double the sum past any int, and wrapping still tells changes.
    uint32_t nSum = 0;
    uint32_t nCount = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (!m_arrBars[i]) {
            nSum *= 2;
            continue;
        }
        CControlBar* pBar = VisibleBarAt(m_arrBars, i);
        if (!pBar)
            continue;
        nSum += 1;
        if (IsLayoutSizeable(pBar))
            nSum += static_cast<uint32_t>(i);
        ++nCount;
    }
    return static_cast<int>(nSum * 256u + (nCount % 256u));
}

void COXSizeDockBar::AdjustForNewBar(CControlBar* pBar)
{
    const int nPos = pBar ? FindBar(pBar) : -1;
    if (nPos <= 0 || !pBar->m_hWnd)
        return;
    // The others of its row give up its room in proportion; the row keeps its length.
    CPtrArray arrOthers;
    for (int i = StartPosOfRow(nPos); i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
        if (i != nPos)
            arrOthers.Add(m_arrBars[i]);
    }
    arrOthers.Add(nullptr);
    OXROWSIZEINFO info;
    GetRowSizeInfo(0, &info, arrOthers);
    CRect rect;
    pBar->GetWindowRect(&rect);
    int nNewLength = std::max(0, LengthOf(rect, IsBarHorizontal()));
    if (IsSizeable(pBar) && info.nSizeableCount > 0)
        nNewLength += kSplitterSize;
    AdjustRowSizes(0, std::max(0, info.nTotalLength - nNewLength), arrOthers);
}

// ---- splitters -------------------------------------------------------------------------------------------------

void COXSizeDockBar::AddSplitterRect(int nType, int left, int top, int right, int bottom, int nIndex)
{
    auto splitter = std::make_unique<COXSplitterRect>(nType, CRect(left, top, right, bottom));
    splitter->m_nIndex = nIndex;
    m_arrSplitters.push_back(std::move(splitter));
}

void COXSizeDockBar::SetSplitterSizeInRange(int nStart, int nType, int nSize)
{
    for (int i = std::max(0, nStart); i < GetSplitterCount(); ++i) {
        COXSplitterRect& splitter = *m_arrSplitters[static_cast<size_t>(i)];
        if (splitter.m_nType != nType)
            continue;
        if (nType == COXSplitterRect::typeVertical)
            splitter.m_rect.bottom = nSize;
        else
            splitter.m_rect.right = nSize;
    }
}

void COXSizeDockBar::DeleteSplitterRects()
{
    m_pSplitCapture = nullptr;
    m_arrSplitters.clear();
}

COXDockbarSkin* COXSizeDockBar::GetDockbarSkin() { return m_skin.Get(); }

// ---- messages ------------------------------------------------------------------------------------------------

LRESULT COXSizeDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!lpLayout)
        return 0;
    const BOOL bHorz = IsBarHorizontal();
    const int nWidth = lpLayout->rect.right - lpLayout->rect.left;
    const int nHeight = lpLayout->rect.bottom - lpLayout->rect.top - GetTabHeight();
    const int nLength = bHorz ? nWidth : nHeight;
    const BOOL bLengthChanged = bHorz ? nWidth != m_nLastWidth : nHeight != m_nLastHeight;
    m_nLastWidth = nWidth;
    m_nLastHeight = nHeight;

    // Bars shown again take their room back from the others of their row.
    CPtrArray arrRow;
    int nReshownLength = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (!m_arrBars[i]) {
            if (arrRow.GetSize() > 0 && nReshownLength > 0) {
                arrRow.Add(nullptr);
                OXROWSIZEINFO info;
                GetRowSizeInfo(0, &info, arrRow);
                AdjustRowSizes(0, std::max(0, info.nTotalLength - nReshownLength), arrRow);
            }
            arrRow.RemoveAll();
            nReshownLength = 0;
            continue;
        }
        CControlBar* pBar = VisibleBarAt(m_arrBars, i);
        if (!pBar)
            continue;
        CRect rect;
        pBar->GetWindowRect(&rect);
        if (WasBarHidden(pBar))
            nReshownLength += std::max(0, LengthOf(rect, bHorz));
        else
            arrRow.Add(pBar);
    }

    m_arrHiddenBars.RemoveAll();
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pBar = LiveBarAt(m_arrBars, i);
        if (pBar && !pBar->IsVisible())
            m_arrHiddenBars.Add(pBar);
    }

    if (bLengthChanged || CheckSumBars() != m_nCheckSum) {
        AdjustAllRowSizes(nLength);
        m_nCheckSum = CheckSumBars();
        for (const auto& splitter : m_arrSplitters)
            InvalidateRect(&splitter->m_rect, TRUE);
    }
    return CDockBar::OnSizeParent(wParam, lParam);
}

int COXSizeDockBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDockBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndDockTabCtrl.Create(WS_CHILD | WS_VISIBLE | TCS_FOCUSNEVER | TCS_BOTTOM, CRect(0, 0, 0, 0), this,
            kTabCtrlID))
        return -1;
    return 0;
}

void COXSizeDockBar::OnSize(UINT nType, int cx, int cy)
{
    CDockBar::OnSize(nType, cx, cy);
    PositionTabCtrl();
}

void COXSizeDockBar::OnPaint()
{
    CPaintDC dc(this);
    COXDockbarSkin* pSkin = GetDockbarSkin();
    // From the last to the first, as the hit test searches them.
    for (int i = GetSplitterCount() - 1; i >= 0; --i)
        pSkin->DrawSplitter(&dc, m_arrSplitters[static_cast<size_t>(i)].get(), this);
}

BOOL COXSizeDockBar::OnEraseBkgnd(CDC* pDC)
{
    if (pDC)
        GetDockbarSkin()->DrawBackground(pDC, this);
    return FALSE;
}

void COXSizeDockBar::OnNcPaint()
{
    CDockBar::OnNcPaint();
    GetDockbarSkin()->OnNcPaintSizeDockBar(this);
}
