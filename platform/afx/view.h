#pragma once
// CView: a child window showing a document. It is created by its frame from the run-time
// class a CCreateContext names and joins the context's document in WM_CREATE; it leaves
// the document when destroyed, and deletes itself after its window is gone.
//
// Painting calls OnPrepareDC then OnDraw; WM_INITIALUPDATE (sent by the frame's
// InitialUpdateFrame) calls OnInitialUpdate, whose default asks for a redraw through
// OnUpdate. A click in a view activates its frame and makes the view the frame's active
// view. Commands reach the view first, then its document.
#include "platform/afx/wnd.h"

class CDocument;
class CFrameWnd;

// What the printing hooks share; the print loop comes with the printing layer.
struct CPrintInfo {
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
    LPVOID m_lpUserData = nullptr;
    RECT m_rectDraw{};
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate();
    // The default invalidates the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual BOOL IsSelected(const CObject* pDocItem) const;

    // Printing hooks: the defaults accept, do nothing, and print by OnDraw.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMsg(WPARAM, LPARAM);

protected:
    CView();
    CDocument* m_pDocument = nullptr;

    friend class CDocument;

    DECLARE_MESSAGE_MAP()
};
