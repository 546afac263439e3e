#pragma once
// CFrameWnd: a top-level (or MDI child) window that holds control bars and a view.
//
// LoadFrame creates the frame with the menu, accelerators and title of one resource ID;
// OnCreateClient makes the view that a CCreateContext names (child ID
// AFX_IDW_PANE_FIRST). RecalcLayout lays the bars and the view out through
// RepositionBars. Commands arriving at the frame are routed to the active view first
// (which passes them to its document), then to the frame itself, then to the
// application. With FWS_ADDTOTITLE the caption shows "Title - Document" (with
// FWS_PREFIXTITLE, "Document - Title"); a document shown in several frames gets its
// window number ("Document:2").
//
// Control bars (frame_dock.cpp): every CControlBar created as a child of the frame is in
// m_listControlBars until its WM_DESTROY; RecalcLayout lays them and the view out through
// RepositionBars (children in z-order, so EnableDocking's dock bars come first: top,
// bottom, left, right). EnableDocking creates the dock bars, DockControlBar and
// FloatControlBar move bars between them and floating frames (m_pFloatingFrameClass,
// CMiniDockFrameWnd by default), ShowControlBar shows or hides a bar (at once or at the
// next idle pass), and GetDockState/SetDockState, SaveBarState/LoadBarState keep the
// layout of the bars. These members are not virtual: a toolkit frame hides them with
// its own of the same name.
//
// Closing (WM_CLOSE) asks the documents: the active document must agree to the frame
// closing (CanCloseFrame, which asks to save changes); the main frame first asks every
// document of the application. Frames delete themselves after their window is gone.
#include "platform/afx/wnd.h"
#include "platform/base/coll_list.h"
#include "platform/base/cstring.h"

class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;
class CCmdUI;
class CDocument;
class CView;
struct CCreateContext;

// Frame styles (in the low word of the window style, which frames do not use).
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000, FWS_PREFIXTITLE = 0x00004000, FWS_SNAPTOBARS = 0x00002000;

// CFrameWnd::m_nIdleFlags.
inline constexpr UINT idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    CFrameWnd();
    ~CFrameWnd() override;

    // The window's own Create stays callable beside the frame's.
    using CWnd::Create;
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Menu, accelerators and title from nIDResource (a missing menu or string is no
    // error; the title's first line of the string is used).
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
        CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST_ID);

    // ---- views and documents ---------------------------------------------------------------------
    CView* GetActiveView() const { return m_pViewActive; }
    // Deactivates the old view and activates the new one (OnActivateView), giving it the
    // focus when bNotify is set.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view is active: this frame (an MDI frame answers its active child).
    virtual CFrameWnd* GetActiveFrame();
    // Sends WM_INITIALUPDATE to the views, sets the active view, shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    // ---- layout, title, menu ------------------------------------------------------------------------------
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    // Raises the frame's last active popup (the frame itself without one) to the top of its
    // siblings, unless nCmdShow hides, minimises or shows without activating.
    void BringToTop(int nCmdShow);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    void DelayUpdateFrameTitle() { m_nIdleFlags |= idleTitle; }
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }
    virtual HACCEL GetDefaultAccelerator();
    HMENU GetDefaultMenu() const { return m_hMenuDefault; }

    // ---- the message line ----------------------------------------------------------------------------
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    // The prompt of a command: the text of string nID up to its first '\n'.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    // What the message line shows (the status bar takes it when present).
    const CString& GetMessageLine() const { return m_strMessage; }
    // The window showing the message line: the descendant with AFX_IDW_STATUS_BAR, or null.
    virtual CWnd* GetMessageBar();
    // The lock indicators (ID_INDICATOR_CAPS, _NUM, _SCRL, _KANA): enabled, so their text
    // shows, exactly while the key's toggle is on (frame_msgline.cpp).
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

    // ---- context help (frame_help.cpp) -------------------------------------------------------------------
    // Shift+F1 / ID_CONTEXT_HELP: the first call posts ID_CONTEXT_HELP and returns, so a
    // command being handled finishes first; the posted one captures the mouse, shows the
    // help cursor and the help prompt (AFX_IDS_HELPMODEMESSAGE) and reads the input until a
    // click names something (its help ID goes to CWinApp::WinHelp; -1, nothing known, sends
    // ID_DEFAULT_HELP), a menu command is chosen (WinHelp with HID_BASE_COMMAND + its ID),
    // Escape is pressed or WM_EXITHELPMODE arrives.
    afx_msg void OnContextHelp();
    // Whether help mode can start: the help cursor can be had (AFX_IDC_CONTEXTHELP from the
    // resource chain, else the system's IDC_HELP).
    virtual BOOL CanEnterHelpMode();
    // One message of the help loop, looked at while still queued: FALSE ends the loop (with
    // *pContext the help ID of a click, 0 for none).
    virtual BOOL ProcessHelpMsg(MSG& msg, DWORD* pContext);
    // The window under point; over this frame or its windows the frame takes the capture
    // and shows the help cursor, elsewhere it lets go (*pbDescendant tells which).
    HWND SetHelpCapture(POINT point, BOOL* pbDescendant);
    // Leaves help mode (posts WM_EXITHELPMODE once, releases the capture).
    void ExitHelpMode();
    // The help ID of a client point (screen) of hWnd: WM_HELPHITTEST asked of the window and
    // its parents up to the frame; -1 when none answers.
    DWORD MapClientArea(HWND hWnd, CPoint point);
    // HID_BASE_NCAREAS + the hit-test code, -1 for codes that name no area.
    DWORD MapNonClientArea(int iHit);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    enum HelpMode { HELP_INACTIVE = 0, HELP_ACTIVE = 1, HELP_ENTERING = 2 };
    int m_bHelpMode = HELP_INACTIVE;

    // ---- control bars and docking (frame_dock.cpp) -------------------------------------------------------------
    // Creates the dock bars of the sides in dwDockStyle (CBRS_ALIGN_*) that are missing,
    // in the order top, bottom, left, right; CBRS_FLOAT_MULTI lets bars float together.
    void EnableDocking(DWORD dwDockStyle);
    // Docks pBar on the side nDockBarID names (0: the first side the bar may dock to, in
    // the order top, bottom, left, right), at the screen rectangle lpRect or on a new row.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Docks pBar back: into its placeholder when a dock bar keeps one (pDockBar null:
    // any of the frame's), else at lpRect on pDockBar or the first side it may use.
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Floats pBar in a floating frame whose window starts at point (screen); dwStyle's
    // alignment gives the floating orientation (CBRS_ALIGN_TOP: horizontal).
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0x2000 /* CBRS_ALIGN_TOP */);
    // Shows or hides pBar, at once or (bDelay) at the next layout or idle pass; a floating
    // frame left without visible bars hides, one getting its first visible bar shows.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The bar of the frame's list with that ID (dock bars included), or null.
    CControlBar* GetControlBar(UINT nID) const;
    // The side of the first visible dock bar of the list (floating ones only with
    // CBRS_FLOAT_MULTI on both) that allows one of dwDockStyle's sides and whose window
    // meets rect (screen; an empty dock bar counts one pixel thick); 0 when none.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
    // A hidden floating frame of m_pFloatingFrameClass; null when it cannot be made.
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    // Sends WM_FLOATSTATUS(dwFlags) to the pop-ups this frame owns.
    void NotifyFloatingWindows(DWORD dwFlags);
    // Destroys the dock bars and floating frames (the bars in them go too).
    void DestroyDockBars();
    void GetDockState(CDockState& state) const;
    // Applies a state: records whose bar the frame lacks are skipped, floating frames are
    // made again at their places, then a delayed layout.
    void SetDockState(const CDockState& state);
    void SaveBarState(LPCTSTR lpszProfileName) const;
    // Loads and applies a saved state; a state that does not load leaves the bars alone.
    BOOL LoadBarState(LPCTSTR lpszProfileName);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

    CPtrList m_listControlBars;                  // CControlBar*, not owned
    CRuntimeClass* m_pFloatingFrameClass;        // the floating frames' class
    BOOL m_bInRecalcLayout = FALSE;
    CRect m_rectBorder;                          // room RecalcLayout keeps free around the view
    int m_nShowDelay = -1;                       // a delayed ShowWindow (SW_*), -1 none

    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);

    // ---- overrides ---------------------------------------------------------------------------------------------
    BOOL IsFrameWnd() const override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    BOOL m_bAutoMenuEnable = TRUE;   // menu items without a handler are disabled
    CString m_strTitle;
    int m_nWindow = -1;              // the window number shown after the document ("Doc:2"), -1 none
    UINT m_nIDHelp = 0;
    UINT m_nIdleFlags = 0;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActivateTopLevel(WPARAM wParam, LPARAM lParam);
    // TTN_NEEDTEXTW/A of the tooltips of the frame and its children: the tip of a tool is
    // the text after the first '\n' of the string with its control ID (tooltip_frame.cpp).
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

protected:
    static constexpr UINT AFX_IDW_PANE_FIRST_ID = 0xE900;

    // Runs the update of every item of the menu bar's popups (the idle pass).
    void UpdateMenuBar(BOOL bDisableIfNoHndler);
    // Common part of Create and LoadFrame: the create context passes to OnCreateClient.
    BOOL CreateFrame(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd, HMENU hMenu, DWORD dwExStyle, CCreateContext* pContext);
    CView* m_pViewActive = nullptr;
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    CString m_strMessage;
    UINT m_nIDTracking = 0;
    UINT m_nIDLastMessage = 0;
    BOOL m_bMessageLineSet = FALSE;   // the idle prompt shows at the first idle pass until set

    friend class CView;

    DECLARE_MESSAGE_MAP()
};
