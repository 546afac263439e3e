#pragma once
// The MDI side of the size-dock frames, one unit because its classes call each other:
//
// - COXMDIFrameWndSizeDock: the MDI main frame hosting size bars. It floats bars in mini
//   frames or as MDI children (COXMDIFloatWnd), and it keeps its own record of the active
//   child, because a document window docked as a bar is hidden from the MDI client: every
//   class-library routine that asks for the active child runs through its protected form
//   with this frame's MDIGetActive.
// - COXMDIChildWndSizeDock: an MDI child whose system and context menus carry an item that
//   turns it into a docking bar (its view moves into its own COXSizeViewBar and the child
//   hides) and back.
// - COXSizeViewBar: the size bar that carries the view of a docked child, and
//   COXSizeBarWrapper, the window that holds the view while the bar is docked (a floating
//   bar holds it directly).
// - COXMDIFloatWnd: an MDI child holding a floating dock bar, so a bar can float as a
//   document window (saved with flag 1 in its size record).
//
// Bar, wrapper and child each keep a being-destroyed flag so that their mutual
// destruction never recurses; each destroys the others only when they are not already
// going.
#include "platform/afx/dockbar.h"
#include "platform/afx/mdi.h"
#include "toolkit/docking/frame_size_dock.h"
#include "toolkit/docking/size_control_bar.h"

class CView;
class COXMDIChildWndSizeDock;
class COXSizeViewBar;

namespace zyn::sizedock {
// The frame a view belongs to: the first frame window above it, except that a view bar met
// first answers with its MDI child (null when that window is gone); null for a view
// without a window.
CFrameWnd* FrameOfView(CWnd* pView);
} // namespace zyn::sizedock

// ==== the MDI frame ======================================================================================

class COXMDIFrameWndSizeDock : public COXSizeDockFrameT<CMDIFrameWnd> {
    DECLARE_DYNCREATE(COXMDIFrameWndSizeDock)
public:
    COXMDIFrameWndSizeDock();

    // ---- floating ---------------------------------------------------------------------------------------
    // A mini frame at point (screen); a bar alone in a floating frame of a shared alignment
    // only moves it.
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // Floats pBar as an MDI child at point (screen), the whole window kept inside the MDI
    // client (its left and top edges when it is larger). Throws a resource exception when
    // the window cannot be made.
    void FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP, BOOL bShow = TRUE);
    // Moves pBar from its MDI float window into a mini frame at the same place.
    void UnFloatInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    void ArrangeFloatingBars(DWORD dwOrient);
    void ArrangeWindows(CObArray& arr, DWORD dwOrient);

    // ---- the active child ----------------------------------------------------------------------------------
    // The recorded docked child (not maximised), else the client's active child; null when
    // the window is gone.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWnd);
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    static BOOL IsDockable(const CWnd* pWnd);
    BOOL IsFrontChildMaximized() const;
    void SetActiveChild(CWnd* pWnd);
    CWnd* GetActiveChild();
    BOOL IsChild(const CWnd* pWnd) const;
    BOOL IsBeingDestroyed() const { return m_bClosing; }
    // Re-draws the children's captions, sets the active view and the title after a change.
    void HookActivation();
    void UndockAllViews();

    COXSizeControlBar* m_pActiveSizeBar = nullptr;   // written by the bar's SetActive

    // ---- overrides ---------------------------------------------------------------------------------------
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL DestroyWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CFrameWnd* GetActiveFrame() override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;

    afx_msg void OnDestroy();
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnClose();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnWindowNew();
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);

protected:
    COXMDIChildWndSizeDock* m_pActiveDockChild = nullptr;
    BOOL m_bClosing = FALSE;
    BOOL m_bInActivate = FALSE;   // inside OnActivate (moving the focus activates again)

    DECLARE_MESSAGE_MAP()
};

// ==== the view bar and its wrapper ========================================================================

class COXSizeBarWrapper : public CWnd {
public:
    COXSizeBarWrapper() = default;
    BOOL Create(COXSizeViewBar* pBar);
    using CWnd::Create;
    // Puts pView into the wrapper (made when missing; a failure throws) fitted to the bar.
    void WrapView(COXSizeViewBar* pBar, CView* pView);
    void UnwrapView();
    BOOL IsBeingDestroyed() const { return m_bBeingDestroyed; }

    COXSizeViewBar* m_pBar = nullptr;
    CView* m_pView = nullptr;
    BOOL m_bBeingDestroyed = FALSE;

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg BOOL OnNcActivate(BOOL bActive);

protected:
    DECLARE_MESSAGE_MAP()
};

class COXSizeViewBar : public COXSizeControlBar {
    DECLARE_DYNAMIC(COXSizeViewBar)
public:
    // Every view bar uses this control ID (they stay out of the saved layout).
    static constexpr UINT kViewBarID = 1;
    // The message 0x80B6's sources.
    enum { fromFrame = 1, fromWrapper = 2, fromFloatingFrame = 3 };

    explicit COXSizeViewBar(int nStyle = SZBARF_CONTEXT_MENU | SZBARF_SOLID_GRIPPER);

    BOOL AttachMDIChild(COXMDIChildWndSizeDock* pChild);
    BOOL DetachMDIChild(BOOL bShowChild);
    BOOL QueryCloseView();
    BOOL IsBeingDestroyed() const { return m_bBeingDestroyed; }
    COXMDIChildWndSizeDock* GetChild() const { return m_pChild; }
    CView* GetView() const { return m_pView; }
    COXSizeBarWrapper& GetWrapper() { return m_wrapper; }

    int OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags) override;

    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAddContextMenuItems(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActivateViewBar(WPARAM wParam, LPARAM lParam);

protected:
    COXMDIChildWndSizeDock* m_pChild = nullptr;
    CView* m_pView = nullptr;
    COXSizeBarWrapper m_wrapper;
    BOOL m_bChildMaximized = FALSE;   // the child was maximised when it was attached
    BOOL m_bInActivate = FALSE;       // inside the activation message
    BOOL m_bBeingDestroyed = FALSE;

    DECLARE_MESSAGE_MAP()
};

// ==== the dockable MDI child ================================================================================

class COXMDIChildWndSizeDock : public COXSizeDockFrameT<CMDIChildWnd> {
    DECLARE_DYNCREATE(COXMDIChildWndSizeDock)
public:
    COXMDIChildWndSizeDock();

    // The command of the dockable item: a registered message, unique in the process.
    static UINT GetDockMessageID();

    BOOL MakeItDockable(BOOL bDockable);
    afx_msg void OnMakeItDockable();
    BOOL IsDockable() const { return m_bDockable; }
    BOOL IsDockableFrame() const;
    COXMDIFrameWndSizeDock* GetSizeDockFrame() const;
    BOOL IsBeingDestroyed() const { return m_bClosing; }
    const CString& GetMenuText() const { return m_strMenuText; }
    COXSizeViewBar& GetViewBar() { return m_wndViewBar; }
    DWORD GetDockSides() const { return m_dwDockSides; }

    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();
    BOOL UpdateClientEdge(LPRECT lpRect = nullptr);

    virtual void OnAddContextMenuItems(HMENU hMenu);
    virtual void OnAddSystemMenuItems(CMenu* pSysMenu);

    // ---- overrides ---------------------------------------------------------------------------------------
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnClose();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

protected:
    COXSizeViewBar m_wndViewBar;
    BOOL m_bDockable = FALSE;
    CString m_strMenuText;
    DWORD m_dwDockSides = CBRS_ALIGN_ANY;
    BOOL m_bClosing = FALSE;

    friend class COXSizeViewBar;
    DECLARE_MESSAGE_MAP()
};

// ==== a bar floating as an MDI child ===========================================================================

class COXMDIFloatWnd : public COXMDIChildWndSizeDock {
    DECLARE_DYNCREATE(COXMDIFloatWnd)
public:
    COXMDIFloatWnd();
    // Makes the child in pParent's MDI client and its floating dock bar (ID 0xE81F);
    // FALSE (the object deleted by the failed window) when either cannot be made.
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    using COXMDIChildWndSizeDock::Create;
    CDockBar& GetDockBar() { return m_wndDockBar; }
    // The bar at the dock bar's first place, or null.
    CControlBar* GetFirstControlBar() const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnAddContextMenuItems(HMENU hMenu) override;
    void OnAddSystemMenuItems(CMenu* pSysMenu) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnClose();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);

protected:
    CDockBar m_wndDockBar{TRUE};

    DECLARE_MESSAGE_MAP()
};
