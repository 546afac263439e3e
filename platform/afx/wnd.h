#pragma once
// CWnd: the class library's window object.
//
// A CWnd is attached to at most one window (m_hWnd). Windows it creates (Create,
// CreateEx) or subclasses (SubclassWindow) run the class library's window procedure,
// which finds the object through the calling thread's permanent map and calls its
// virtual WindowProc: OnWndMsg looks in the message map (ON_WM_*, ON_MESSAGE...),
// WM_COMMAND and WM_NOTIFY are routed through OnCommand / OnNotify to OnCmdMsg, and what
// no entry takes goes to DefWindowProc (the window's previous procedure, else the
// system's). Base On* handlers call Default(), which hands the message being processed
// to DefWindowProc.
//
// Window objects are per thread, as the windows themselves: FromHandlePermanent finds
// the objects attached on the calling thread. FromHandle makes a temporary object for a
// window that has none; temporaries belong to the thread and are freed at its next idle
// pass (CWinThread::OnIdle), so they must not be kept.
//
// A window created through a CWnd is attached before any message reaches it: the object
// is hooked to the next window the thread creates (the WH_CBT create notification), so
// even WM_GETMINMAXINFO and WM_NCCREATE go through the message map.
#include <typeinfo>

#include "platform/afx/cmdtarget.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"
#include "platform/user/styles.h"
#include "platform/user/user_types.h"

template <class C>
class CStringT;
using CString = CStringT<wchar_t>;

class CDC;
class CFont;
class CMenu;
class CRgn;
class CScrollBar;
class CFrameWnd;
class CDataExchange;
class COleDropTarget;
struct CCreateContext;
namespace zyn::afx::detail {
struct WndDispatch;
}
struct TTTOOLINFOW;
using TOOLINFO = TTTOOLINFOW;

// CWnd::m_nFlags.
inline constexpr UINT WF_TOOLTIPS = 0x0001;         // window shows tooltips (EnableToolTips)
inline constexpr UINT WF_TEMPHIDE = 0x0002;         // hidden for a moment (control bars)
inline constexpr UINT WF_STAYDISABLED = 0x0004;     // keep disabled when a modal loop ends
inline constexpr UINT WF_MODALLOOP = 0x0008;        // RunModalLoop is running
inline constexpr UINT WF_CONTINUEMODAL = 0x0010;    // the modal loop goes on
inline constexpr UINT WF_STAYACTIVE = 0x0020;
inline constexpr UINT WF_NOPOPMSG = 0x0040;
inline constexpr UINT WF_MODALDISABLE = 0x0080;
inline constexpr UINT WF_KEEPMINIACTIVE = 0x0200;
inline constexpr UINT WF_TRACKINGTOOLTIPS = 0x0400;
inline constexpr UINT WF_OLECTLCONTAINER = 0x0100;

// RunModalLoop flags.
inline constexpr DWORD MLF_NOIDLEMSG = 0x0001;      // no WM_ENTERIDLE to the owner
inline constexpr DWORD MLF_NOKICKIDLE = 0x0002;     // no WM_KICKIDLE to the window
inline constexpr DWORD MLF_SHOWONIDLE = 0x0004;     // show the window when the loop first idles

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    // Destroying an object that still has its window destroys the window (its derived
    // parts are gone by then, so only the base handlers see the last messages).
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // Insert-after values for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // ---- the handle and the maps ----------------------------------------------------------------
    operator HWND() const { return m_hWnd; }
    // The handle (call zyn::afx::SafeHwndOf for a pointer that may be null).
    HWND GetSafeHwnd() const { return m_hWnd; }
    BOOL operator==(const CWnd& wnd) const { return m_hWnd == wnd.m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return m_hWnd != wnd.m_hWnd; }

    // The object attached to hWnd on this thread, else a temporary (null for null).
    static CWnd* FromHandle(HWND hWnd);
    // The object attached to hWnd on this thread, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Frees this thread's temporary window objects (and its other temporary wrappers).
    static void DeleteTempMap();

    // Attaches an existing window without subclassing it. FALSE (ERROR_INVALID_PARAMETER)
    // when this object holds a window already or hWnd has an object on this thread,
    // (ERROR_INVALID_WINDOW_HANDLE) when hWnd is not a window.
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Attaches and routes the window's messages through this object; the window's
    // previous procedure becomes DefWindowProc.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Puts the previous procedure back and detaches.
    HWND UnsubclassWindow();

    // ---- creation -----------------------------------------------------------------------------------
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
        int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
        const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    // Adjusts the creation parameters; FALSE cancels the creation. The base gives a
    // window without a class the class library's child class ("AfxWnd").
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Called when a window is attached through creation or subclassing, before any
    // message of it is handled.
    virtual void PreSubclassWindow();
    // The window rectangle that gives the client rectangle *lpClientRect.
    enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);

    // ---- message handling ----------------------------------------------------------------------------
    // The message the class library's window procedure is handling on this thread (time
    // and position from the window system).
    static const MSG* GetCurrentMessage();
    // Hands the current message to DefWindowProc.
    LRESULT Default();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // The dialog manager's keyboard interface for this window and its controls.
    BOOL IsDialogMessage(LPMSG lpMsg);
    // IsDialogMessage for keyboard and mouse messages only; FALSE for the others.
    BOOL PreTranslateInput(LPMSG lpMsg);
    // Offers pMsg to PreTranslateMessage of each window object from its window up to
    // hWndStop. TRUE when one took it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Reflection: a parent hands a child's notification to the child's object first.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    virtual void PostNcDestroy();
    // The last COM reference went: destroys the window (PostNcDestroy without one).
    void OnFinalRelease() override;
    virtual BOOL IsFrameWnd() const;
    // Whether a dialog that did not place itself in WM_INITDIALOG is centred (the base: yes).
    virtual BOOL CheckAutoCenter();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Sends (or with bOnlyPerm, hands straight to the objects of) every child, and with
    // bDeep every descendant.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
        BOOL bOnlyPerm = FALSE);
    static void SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
        BOOL bOnlyPerm);

    // ---- styles ------------------------------------------------------------------------------------------
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes then adds style bits; with nFlags, SetWindowPos(nFlags | SWP_NOSIZE |
    // SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) follows. FALSE when nothing changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // ---- the window tree ---------------------------------------------------------------------------------
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    // The class-library owner (SetOwner), else the parent.
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);
    CWnd* GetParentOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    // The nearest ancestor that is a frame window (IsFrameWnd), or null.
    CFrameWnd* GetParentFrame() const;
    // The outermost frame: this window when it is a frame with no frame above it.
    CFrameWnd* GetTopLevelFrame() const;
    static CWnd* GetSafeOwner(CWnd* pParent = nullptr, HWND* pWndTop = nullptr);
    // Whether the top-level parent (or its last active pop-up) is the foreground window.
    BOOL IsTopParentActive() const;
    // Brings the top-level parent forward unless this window or one of its children is
    // the foreground window already (floating bars and palettes).
    void ActivateTopParent();
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
    CWnd* GetTopWindow() const;
    CWnd* GetLastActivePopup() const;
    BOOL IsChild(const CWnd* pWnd) const;
    void ShowOwnedPopups(BOOL bShow = TRUE);
    static CWnd* GetDesktopWindow();
    static CWnd* FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName);
    static CWnd* WindowFromPoint(POINT point);
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags = 0) const;

    // ---- text and font ------------------------------------------------------------------------------------------
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    // The ID of the first checked button with an ID in [nIDFirstButton, nIDLastButton]; 0
    // when none is checked.
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
    // The next (previous) tab stop or group member after pWndCtl in this dialog, through
    // the dialog manager's tab order; null when there is none.
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    // Adds the strings of a DLGINIT resource (a name in the resource chain, or data in
    // memory) to the list and combo boxes it names (dlginit.cpp). TRUE when there is no
    // such resource; FALSE when the data are malformed or a control refuses a string.
    BOOL ExecuteDlgInit(LPCTSTR lpszResourceName);
    BOOL ExecuteDlgInit(LPVOID lpResource);

    // ---- geometry -----------------------------------------------------------------------------------------------
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void BringWindowToTop();
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    // Centres over the owner (or pAlternateOwner), else the work area, kept on screen.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    // ---- state ---------------------------------------------------------------------------------------------------
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL FlashWindow(BOOL bInvert);
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = 0);

    // ---- painting -------------------------------------------------------------------------------------------------
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void ValidateRgn(CRgn* pRgn);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr, UINT flags = 0x0105);
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    int GetUpdateRgn(CRgn* pRgn, BOOL bErase = FALSE);
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
    void EndPaint(LPPAINTSTRUCT lpPaint);
    CDC* GetDC();
    CDC* GetWindowDC();
    CDC* GetDCEx(CRgn* prgnClip, DWORD flags);
    int ReleaseDC(CDC* pDC);
    BOOL LockWindowUpdate();
    void UnlockWindowUpdate();
    void SetRedraw(BOOL bRedraw = TRUE);
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr);
    int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
        LPRECT lpRectUpdate, UINT flags);
    void Print(CDC* pDC, DWORD dwFlags) const;
    void PrintClient(CDC* pDC, DWORD dwFlags) const;

    // ---- scroll bars ----------------------------------------------------------------------------------------------------
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = 0);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = 0x17);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    int GetScrollLimit(int nBar);
    // The sibling scroll-bar control standing for a bar of this window; the base has none.
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

    // ---- focus, activation, capture, timers ----------------------------------------------------------------------------
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();
    BOOL SetForegroundWindow();
    static CWnd* GetForegroundWindow();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // ---- menus ------------------------------------------------------------------------------------------------------------
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;
    BOOL HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite);

    // ---- layout and command updates ------------------------------------------------------------------------------------------
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };
    // Lays out the control bars among the children with IDs nIDFirst..nIDLast (each gets
    // WM_SIZEPARENT and takes its room) and gives what is left to the child nIDLeftOver.
    // reposQuery only measures: lpRectParam receives the room left (bStretch) or the total
    // size of the bars. reposExtra shrinks the left-over room by lpRectParam's margins.
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags = reposDefault,
        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);
    // Updates the child controls as command UI elements, each by its control ID, through
    // pTarget's routing (the control's own ON_UPDATE_COMMAND_UI_REFLECT first, then this
    // window's map).
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // ---- modal loops ------------------------------------------------------------------------------------------------------
    // Runs the one modal loop until EndModalLoop; returns its result (IDCANCEL when the
    // loop was cancelled, -1 on WM_QUIT, which is posted again).
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // ---- data exchange (the dialog layer fills in UpdateData's work) -----------------------------------------
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // ---- tooltips ------------------------------------------------------------------------------------------------------------
    // Marks the window as showing tooltips for its children (the tooltip layer watches
    // its messages through PreTranslateMessage).
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    BOOL EnableTrackingToolTips(BOOL bEnable = TRUE);
    // The tool under a point (client coordinates): the base answers the child window
    // there (its control ID) and fills pTI through the tooltip layer; -1 for none. (int, as
    // the toolkit overrides it.)
    virtual int OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    static void CancelToolTips(BOOL bKeys = FALSE);

    // ---- handlers (each base handler calls Default unless noted) ------------------------------------------------------------
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnMove(int x, int y);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT nSide, LPRECT lpRect);
    afx_msg void OnMoving(UINT nSide, LPRECT lpRect);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnPaint();
    afx_msg void OnClose();
    afx_msg BOOL OnQueryEndSession();
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg BOOL OnQueryOpen();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnIconEraseBkgnd(CDC* pDC);
    afx_msg void OnSysColorChange();                           // also forwards to the children
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);   // reflects to the control first
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);    // also forwards to the children
    afx_msg void OnWinIniChange(LPCTSTR lpszSection);
    afx_msg void OnDevModeChange(LPTSTR lpDeviceName);
    afx_msg void OnFontChange();
    afx_msg void OnTimeChange();
    afx_msg void OnCancelMode();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnChildActivate();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);         // a menu item: its CMenu
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct); // a menu item: its CMenu
    afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);    // reflects
    afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);  // reflects
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnCompacting(UINT nCpuTime);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg BOOL OnHelpInfo(HELPINFO* lpHelpInfo);
    afx_msg UINT OnNotifyFormat(CWnd* pWnd, UINT nCommand);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnNcDestroy();                                 // detaches, then PostNcDestroy
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseHover(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseLeave();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);   // reflects to a control
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);   // reflects to a control
    afx_msg void OnInitMenu(CMenu* pMenu);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnUnInitMenuPopup(CMenu* pPopupMenu, UINT nFlags);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnXButtonDown(UINT nFlags, UINT nButton, CPoint point);
    afx_msg void OnXButtonUp(UINT nFlags, UINT nButton, CPoint point);
    afx_msg void OnXButtonDblClk(UINT nFlags, UINT nButton, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnMouseHWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnMouseHover(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);   // reflects to the child
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnPrint(CDC* pDC, UINT nFlags);
    afx_msg void OnPrintClient(CDC* pDC, UINT nFlags);
    afx_msg LRESULT OnThemeChanged();
    afx_msg void OnChangeUIState(UINT nAction, UINT nUIElement);
    afx_msg void OnUpdateUIState(UINT nAction, UINT nUIElement);
    afx_msg UINT OnQueryUIState();
    afx_msg void OnDisplayChange(UINT nImageDepth, int cxScreen, int cyScreen);
    afx_msg LRESULT OnActivateTopLevel(WPARAM wParam, LPARAM lParam);   // answers 0

protected:
    // The previous window procedure (DefWindowProc calls it).
    virtual WNDPROC* GetSuperWndProcAddr();

    // WM_CHARTOITEM / WM_VKEYTOITEM: the list box's own object may answer (reflection).
    afx_msg LRESULT OnListBoxKey(WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
    UINT m_nFlags = 0;
    HWND m_hWndOwner = nullptr;   // the class-library owner (SetOwner)
    int m_nModalResult = -1;      // RunModalLoop's result
    COleDropTarget* m_pDropTarget = nullptr;   // set by the OLE layer; revoked at WM_NCDESTROY
    // The message-map index OnWndMsg last used, and the dynamic type it belongs to: the
    // object's type changes while it is built and destroyed, and the map with it.
    const std::type_info* m_pDispatchType = nullptr;
    const zyn::afx::MsgMapIndex* m_pDispatchIndex = nullptr;
    // The virtual table of that type when it overrides neither WindowProc nor OnWndMsg and
    // its index knew every registered message (null otherwise): while the object's virtual
    // table is this one, the class library's window procedure may look in the map itself.
    const void* m_pDispatchVtable = nullptr;

private:
    // OnWndMsg's look-up when the cached index does not serve; caches the class's index.
    [[gnu::noinline]] const AFX_MSGMAP_ENTRY* FindDispatchEntry(UINT message, const std::type_info* type);
    friend struct zyn::afx::detail::WndDispatch;

protected:

    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    friend class COleDropTarget;

    DECLARE_MESSAGE_MAP()

private:
    // The insert-after values wndTop... (special handles, never windows).
    struct SpecialTag {};
    CWnd(HWND hWnd, SpecialTag);
    friend struct WndCreateHook;
};

// ---- the class library's window procedure -------------------------------------------------------------------
// The procedure of every window with a window object: dispatches to the object's
// WindowProc, keeping the thread's current message for Default. An exception thrown by a
// handler is reported (CWinThread::ProcessWndProcException) and does not reach the
// window system.
LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The next window this thread creates gets pWnd as its object (CWnd::CreateEx does this).
void AfxHookWindowCreate(CWnd* pWnd);
// FALSE when the hook was not used (the creation failed before the window existed).
BOOL AfxUnhookWindowCreate();
// Sets a window's text only when it differs from the text it has: the same text set again
// would only paint the window (its caption, a label) once more.
void AfxSetWindowText(HWND hWnd, LPCTSTR lpszNew);

// ---- window classes -------------------------------------------------------------------------------------------------------
// A window class with these attributes, registered once per set of attributes; the name
// stays valid for the life of the process. Throws CResourceException when the class
// cannot be registered.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
    HICON hIcon = nullptr);
// Registers lpWndClass unless a class of that name is registered already for its module.
BOOL AfxRegisterClass(WNDCLASS* lpWndClass);
// The class library's standard classes, registered on first need.
inline constexpr LONG AFX_WND_REG = 0x00001, AFX_WNDCONTROLBAR_REG = 0x00002, AFX_WNDMDIFRAME_REG = 0x00004,
                      AFX_WNDFRAMEORVIEW_REG = 0x00008, AFX_WNDCOMMCTLS_REG = 0x00010, AFX_WNDOLECONTROL_REG = 0x00020;
BOOL AfxDeferRegisterClass(LONG fToRegister);
extern const wchar_t* const _afxWnd;            // "AfxWnd": children
extern const wchar_t* const _afxWndControlBar;  // "AfxControlBar": control bars
extern const wchar_t* const _afxWndMDIFrame;    // "AfxMDIFrame"
extern const wchar_t* const _afxWndFrameOrView; // "AfxFrameOrView"
extern const wchar_t* const _afxWndOleControl;  // "AfxOleControl"

namespace zyn::afx {

// GetSafeHwnd for a pointer that may be null.
inline HWND SafeHwndOf(const CWnd* p) { return p ? p->m_hWnd : nullptr; }

// ---- hooks for the layers above the core -------------------------------------------------------------------------
// The tooltip layer: a filter that sees every message PreTranslateMessage sees in a
// window with WF_TOOLTIPS, and the filling of a TOOLINFO for a child window tool.
struct ToolTipHooks {
    void (*filterMessage)(MSG* pMsg, CWnd* pWnd) = nullptr;
    void (*fillChildTool)(TOOLINFO* pTI, const CWnd* pWnd, HWND hWndChild) = nullptr;
    void (*cancel)(BOOL bKeys) = nullptr;
};
void SetToolTipHooks(const ToolTipHooks& hooks);
const ToolTipHooks& GetToolTipHooks();

// The OLE layer: revokes a window's drop target at WM_NCDESTROY.
void SetDropTargetRevoker(void (*revoke)(COleDropTarget*));

// The dialog layer: CWnd::UpdateData's exchange (runs DoDataExchange); without it
// UpdateData does nothing and answers TRUE.
void SetUpdateDataHook(BOOL (*updateData)(CWnd* pWnd, BOOL bSaveAndValidate));

// Window objects attached on this thread, temporaries this thread holds (window objects
// only), for tests.
size_t PermanentWindowCount();
size_t TemporaryWindowCount();

} // namespace zyn::afx

#include "platform/afx/msgmap_wnd.h"
