#pragma once
// A document whose views may be docked as bars. The class library finds a view's frame by
// walking up the window tree, which for a docked view ends at the MDI frame; this base
// answers with the view's own MDI child instead (zyn::sizedock::FrameOfView), so window
// numbers (":1", ":2"), close questions and closing the document stay right.
//
// Closing under a size-dock MDI frame undocks every view first, then destroys each view's
// frame; a view whose frame cannot be found (or has no window) is dropped from the
// document so the loop always ends. The close command asks to save first and stops, with
// nothing closed, when the question is cancelled.
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/doc.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "toolkit/docking/mdi_size_dock.h"

template <class TDoc>
class COXBaseDockDocument : public TDoc {
public:
    BOOL IsBeingDestroyed() const { return m_bClosingDock; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID == ID_FILE_CLOSE && nCode == 0 && !pHandlerInfo && MainIsSizeDockFrame()) {
            if (!this->SaveModified())
                return TRUE;   // cancelled: nothing closes, nothing is lost
            this->SetModifiedFlag(FALSE);
            OnCloseDocument();
            return TRUE;
        }
        return TDoc::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

    void OnCloseDocument() override
    {
        if (m_bClosingDock)
            return;
        m_bClosingDock = TRUE;
        if (!MainIsSizeDockFrame()) {
            m_bClosingDock = FALSE;
            TDoc::OnCloseDocument();   // may delete this document
            return;
        }
        const BOOL bAutoDelete = this->m_bAutoDelete;
        this->m_bAutoDelete = FALSE;
        UndockAllViews();
        while (POSITION pos = this->GetFirstViewPosition()) {
            CView* pView = this->GetNextView(pos);
            CFrameWnd* pFrame = GetParentFrame(pView);
            if (!pFrame || !pFrame->m_hWnd) {
                this->RemoveView(pView);   // nothing to destroy: it must not hold the loop
                continue;
            }
            this->PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
            POSITION first = this->GetFirstViewPosition();
            if (first && this->GetNextView(first) == pView)
                this->RemoveView(pView);   // the frame went without its view leaving
        }
        this->m_bAutoDelete = bAutoDelete;
        this->DeleteContents();
        m_bClosingDock = FALSE;
        CWinApp* pApp = AfxGetApp();
        CWnd* pMain = pApp ? pApp->m_pMainWnd : nullptr;
        if (bAutoDelete)
            delete this;
        if (pMain && pMain->IsFrameWnd())
            static_cast<CFrameWnd*>(pMain)->RecalcLayout(TRUE);
    }

    BOOL CanCloseFrame(CFrameWnd* pFrameArg) override
    {
        (void)pFrameArg;
        for (POSITION pos = this->GetFirstViewPosition(); pos;) {
            CFrameWnd* pFrame = GetParentFrame(this->GetNextView(pos));
            if (pFrame && pFrame->m_nWindow > 0)
                return TRUE;   // another frame shows the document
        }
        if (!this->SaveModified())
            return FALSE;
        this->SetModifiedFlag(FALSE);
        return TRUE;
    }

    void UpdateFrameCounts() override
    {
        std::vector<CFrameWnd*> frames;
        for (POSITION pos = this->GetFirstViewPosition(); pos;) {
            CView* pView = this->GetNextView(pos);
            if (!pView || !pView->m_hWnd || !pView->IsWindowVisible())
                continue;
            if (CFrameWnd* pFrame = GetParentFrame(pView))
                pFrame->m_nWindow = -1;
        }
        int n = 0;
        for (POSITION pos = this->GetFirstViewPosition(); pos;) {
            CFrameWnd* pFrame = GetParentFrame(this->GetNextView(pos));
            if (pFrame && pFrame->m_nWindow == -1) {
                pFrame->m_nWindow = ++n;
                frames.push_back(pFrame);
            }
        }
        for (CFrameWnd* pFrame : frames) {
            if (n == 1)
                pFrame->m_nWindow = 0;
            pFrame->OnUpdateFrameTitle(TRUE);
        }
    }

protected:
    CFrameWnd* GetParentFrame(CView* pView) const { return zyn::sizedock::FrameOfView(pView); }

    void UndockAllViews()
    {
        for (POSITION pos = this->GetFirstViewPosition(); pos;) {
            CFrameWnd* pFrame = GetParentFrame(this->GetNextView(pos));
            if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(COXMDIChildWndSizeDock))) {
                auto* pChild = static_cast<COXMDIChildWndSizeDock*>(pFrame);
                if (pChild->IsDockable() && pChild->GetViewBar().m_hWnd)
                    pChild->GetViewBar().DetachMDIChild(FALSE);
            }
        }
    }

    static BOOL MainIsSizeDockFrame()
    {
        CWinApp* pApp = AfxGetApp();
        return pApp && pApp->m_pMainWnd && pApp->m_pMainWnd->IsKindOf(RUNTIME_CLASS(COXMDIFrameWndSizeDock));
    }

    BOOL m_bClosingDock = FALSE;
};

// The ready-made dock document.
class COXDockDocument : public COXBaseDockDocument<CDocument> {
    DECLARE_DYNCREATE(COXDockDocument)
};
