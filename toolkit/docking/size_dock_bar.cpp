// COXSizeDockBar: construction, the row layout, the sizing passes run on WM_SIZEPARENT,
// the splitter list and painting.
#include "toolkit/docking/size_dock_bar.h"

#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/base/exception.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/size_control_bar.h"

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

COXSizeDockBar::~COXSizeDockBar() = default;

// filled below: the rows shared among sizeable bars; the class library's rows until then.
CSize COXSizeDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) { return CDockBar::CalcFixedLayout(bStretch, bHorz); }

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

// filled below
BOOL COXSizeDockBar::WasBarHidden(CControlBar* /*pBar*/) const { return FALSE; }

COXSplitterRect* COXSizeDockBar::GetSplitter(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetSplitterCount())
        AfxThrowInvalidArgException();
    return m_arrSplitters[static_cast<size_t>(nIndex)].get();
}

// filled below
void COXSizeDockBar::GetRowSizeInfo(int /*nPos*/, OXROWSIZEINFO* pInfo, const CPtrArray& /*arrBars*/) const
{
    if (pInfo)
        *pInfo = OXROWSIZEINFO{};
}

// filled below
BOOL COXSizeDockBar::AdjustRowSizes(int /*nPos*/, int /*nLength*/, CPtrArray& /*arrBars*/) { return FALSE; }

// filled below
BOOL COXSizeDockBar::AdjustAllRowSizes(int /*nLength*/) { return FALSE; }

// filled below
void COXSizeDockBar::TileDockedBars() {}

// filled below
void COXSizeDockBar::TileDockedBarsRow(int /*nPos*/) {}

// filled below
int COXSizeDockBar::CheckSumBars() const { return 0; }

// filled below
void COXSizeDockBar::AdjustForNewBar(CControlBar* /*pBar*/) {}

void COXSizeDockBar::AddSplitterRect(int nType, int left, int top, int right, int bottom, int nIndex)
{
    auto splitter = std::make_unique<COXSplitterRect>(nType, CRect(left, top, right, bottom));
    splitter->m_nIndex = nIndex;
    m_arrSplitters.push_back(std::move(splitter));
}

// filled below
void COXSizeDockBar::SetSplitterSizeInRange(int /*nStart*/, int /*nType*/, int /*nSize*/) {}

void COXSizeDockBar::DeleteSplitterRects()
{
    m_pSplitCapture = nullptr;
    m_arrSplitters.clear();
}

COXDockbarSkin* COXSizeDockBar::GetDockbarSkin() { return m_skin.Get(); }

// ---- messages ------------------------------------------------------------------------------------------------

// filled below: the sizing passes; the class library's until then.
LRESULT COXSizeDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) { return CDockBar::OnSizeParent(wParam, lParam); }

// filled below: the tab strip is created here.
int COXSizeDockBar::OnCreate(LPCREATESTRUCT lpCreateStruct) { return CDockBar::OnCreate(lpCreateStruct); }

// filled below
void COXSizeDockBar::OnSize(UINT nType, int cx, int cy) { CDockBar::OnSize(nType, cx, cy); }

// filled below: the splitters through the skin.
void COXSizeDockBar::OnPaint() { CDockBar::OnPaint(); }

// filled below: the background through the skin.
BOOL COXSizeDockBar::OnEraseBkgnd(CDC* pDC) { return CDockBar::OnEraseBkgnd(pDC); }

// filled below: the non-client area through the skin.
void COXSizeDockBar::OnNcPaint() { CDockBar::OnNcPaint(); }
