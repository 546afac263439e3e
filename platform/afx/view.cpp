// CView: joining the document, painting, activation, command routing.
#include "platform/afx/view.h"

#include "platform/afx/afxres.h"
#include "platform/afx/doc.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/frame.h"
#include "platform/afx/window_dc.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMsg)
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) {
        AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
        cs.lpszClass = _afxWndFrameOrView;
    }
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // The document comes with the creation context.
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    if (CFrameWnd* pFrame = GetParentFrame(); pFrame && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    // The document goes with its last view (when auto-deleting), so leave it first.
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnPrepareDC(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView* /*pSender*/, LPARAM /*lHint*/, CObject* /*pHint*/) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL bActivate, CView* /*pActivateView*/, CView* /*pDeactiveView*/)
{
    if (bActivate && m_hWnd && ::GetFocus() != m_hWnd && !::IsChild(m_hWnd, ::GetFocus()))
        SetFocus();
}

void CView::OnActivateFrame(UINT /*nState*/, CFrameWnd* /*pFrameWnd*/) {}

BOOL CView::IsSelected(const CObject* /*pDocItem*/) const { return FALSE; }

BOOL CView::OnPreparePrinting(CPrintInfo* /*pInfo*/) { return TRUE; }
void CView::OnBeginPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}
void CView::OnPrint(CDC* pDC, CPrintInfo* /*pInfo*/) { OnDraw(pDC); }
void CView::OnEndPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    // A click makes this the active view of its frame (activating an MDI child first).
    if (CFrameWnd* pFrame = GetParentFrame()) {
        if (pFrame->GetStyle() & WS_CHILD)
            ::SendMessageW(::GetParent(pFrame->m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pFrame->m_hWnd), 0);
        if (pFrame->GetActiveView() != this)
            pFrame->SetActiveView(this);
        else if (::GetFocus() != m_hWnd)
            SetFocus();
    }
    return nResult;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
