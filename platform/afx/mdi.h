#pragma once
// CMDIFrameWnd and CMDIChildWnd: the frame and document windows of the multiple-document
// interface, over the window system's "MDICLIENT" class (platform/user/mdiclient.h).
//
// The MDI frame creates the client (m_hWndMDIClient, child ID AFX_IDW_PANE_FIRST) in
// OnCreateClient; its messages default to DefFrameProc and its commands go to the active
// child first. A child frame is created through the client (WM_MDICREATE) and its
// messages default to DefMDIChildProc; while it is active, the MDI frame shows the
// child's document menu (its template's shared menu) and the child's document title.
//
// MDIGetActive is not virtual. A frame that counts another child as active (one the
// client does not know, such as a document window docked as a bar) reuses the routines
// that ask for the active child through their protected forms taking that child
// (OnCommandWith, PreTranslateMessageWith, ...); the public overrides pass MDIGetActive().
#include "platform/afx/frame.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    // Creates the client with the window menu (the popup before the last one of the
    // frame's menu, by convention) and idFirstChild AFX_IDM_FIRST_MDICHILD.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    // The popup that lists the children: the popup holding ID_WINDOW_* commands, else
    // the second last popup of the bar.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

    void MDIActivate(CWnd* pWndActivate);
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIIconArrange();
    void MDIMaximize(CWnd* pWnd);
    void MDINext();
    void MDIPrev();
    void MDIRestore(CWnd* pWnd);
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
    void MDITile(int nType = 0);
    void MDICascade(int nType = 0);

    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HWND m_hWndMDIClient = nullptr;

    afx_msg void OnWindowNew();
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);

protected:
    // ---- the routines above with the active child given (null: none) ----------------------------
    // Window-list commands go to the client, others to the active child's window first,
    // then to the frame; an unhandled menu command of the system range goes to the default
    // procedure.
    BOOL OnCommandWith(CMDIChildWnd* pActive, WPARAM wParam, LPARAM lParam);
    // F1 help: the active child first, then the frame.
    LRESULT OnCommandHelpWith(CMDIChildWnd* pActive, WPARAM wParam, LPARAM lParam);
    // The active child's accelerators, the frame's, then the document-window keys
    // (TranslateMDISysAccel) when the frame has no active view.
    BOOL PreTranslateMessageWith(CMDIChildWnd* pActive, MSG* pMsg);
    BOOL OnCmdMsgWith(CMDIChildWnd* pActive, UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    void OnUpdateFrameTitleWith(CMDIChildWnd* pActive, BOOL bAddToTitle);
    void OnUpdateFrameMenuWith(CMDIChildWnd* pActive, HMENU hMenuAlt);
    CFrameWnd* GetActiveFrameWith(CMDIChildWnd* pActive);
    // A new frame on the active child's document; without one a message box
    // (AFX_IDP_COMMAND_FAILURE) and null.
    CFrameWnd* OnWindowNewWith(CMDIChildWnd* pActive);
    void OnUpdateMDIWindowCmdWith(CMDIChildWnd* pActive, CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    // Creates the child through the frame's client; the context passes to OnCreateClient.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
        CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int nCmdShow = -1) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // The frame's one-argument form stays visible beside the child's own.
    using CFrameWnd::OnUpdateFrameMenu;
    void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt);

    HMENU m_hMenuShared = nullptr;   // the document menu shown while the child is active
    HACCEL m_hAccelShared = nullptr;

    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    // The MDI client keeps its sunken edge unless the active child is maximised without an
    // edge of its own; when that changes the client is re-framed and TRUE returned, with
    // lpRect (when given) its new client rectangle.
    BOOL UpdateClientEdge(LPRECT lpRect = nullptr);

protected:
    // ---- the routines above with the active child given (and whether it is maximised) ------
    void ActivateFrameWith(CMDIChildWnd* pActive, BOOL bMaximized, int nCmdShow);
    BOOL PreTranslateMessageWith(CMDIChildWnd* pActive, MSG* pMsg);
    BOOL UpdateClientEdgeWith(CMDIChildWnd* pActive, BOOL bMaximized, LPRECT lpRect);

    DECLARE_MESSAGE_MAP()
};
