#pragma once
// COXSizeControlBar: the toolkit's sizeable docking bar. It keeps one size for each of its
// three places (floating, docked on a horizontal side, docked on a vertical side) and
// answers its layout with the size of the place it is in, so a dock bar that shares a row
// among its bars (COXSizeDockBar) sets those sizes and the frame's layout pass moves it.
//
// Its non-client area holds a gripper strip with a close button and a maximise (resize)
// button; all of it is painted and laid out by the dock-bar element skin of the current
// skin (COXDockbarSkin), or by a Classic one the bar makes for itself. The three
// rectangles the skin lays out are kept in the bar's client coordinates; a docked bar
// answers HTCLIENT everywhere, so presses on the gripper and buttons arrive as client
// mouse messages. A class-wide mouse hook drops a button's hot look when the mouse leaves
// the bar for another window.
//
// Dragging: with snapping off (the main window answers WM_OX_QUERYSNAPPING with 0), a
// press on the gripper starts the drag-dock context's outline drag (COXDragDockContext).
// With snapping on, a press that moves 4 pixels or more makes the bar capture the mouse
// and follow it live: over a dock bar (COXSizeDockBar::GetAppropriateDockBar) it is
// docked at once where the mouse is, elsewhere (or with Ctrl) its floating frame hangs
// under the cursor at the offset SaveMouseOffset worked out at the start.
//
// The right button shows a context menu (allow docking, hide, float as an MDI child);
// the bar holding the focus is the active one and paints its caption so.
#include <memory>

#include "platform/afx/ctrlbar.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/coll_array.h"
#include "toolkit/docking/class_mouse_hook.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/skin_lookup.h"

class COXDockTabCtrl;
class COXSizeDockBar;

// The size-dock style word (COXSizeControlBar::m_dwSizeDockStyle).
inline constexpr DWORD SZBARF_DESTROY_ON_CLOSE = 0x0001; // closing its MDI float window deletes the bar
inline constexpr DWORD SZBARF_DYNAMIC = 0x0002;          // made on the heap; TidyUp deletes it
inline constexpr DWORD SZBARF_CONTEXT_MENU = 0x0004;     // the right button shows the context menu
inline constexpr DWORD SZBARF_SCALE_CHILDREN = 0x0008;   // a size dialog bar's controls follow its size
inline constexpr DWORD SZBARF_FLOAT_AS_MDI = 0x0010;     // the context menu offers "float as MDI child"
inline constexpr DWORD SZBARF_NO_GRIPPER = 0x0020;
inline constexpr DWORD SZBARF_NO_CLOSE_BTN = 0x0040;
inline constexpr DWORD SZBARF_NO_RESIZE_BTN = 0x0080;
inline constexpr DWORD SZBARF_NO_CAPTION = 0x0100;
inline constexpr DWORD SZBARF_SOLID_GRIPPER = 0x0200;

class COXSizeControlBar : public CControlBar {
    DECLARE_DYNCREATE(COXSizeControlBar)
public:
    // m_nPressedBtn.
    static constexpr int btnNone = -1, btnResize = -2, btnClose = -3;
    // m_nLastFloating before the first WM_WINDOWPOSCHANGED.
    static constexpr int floatingUnknown = 3;

    explicit COXSizeControlBar(int nStyle = SZBARF_CONTEXT_MENU);
    // Leaves the class's list of dynamic bars (a dynamic bar), frees the fallback skin.
    // The dock context is the control bar's to delete.
    ~COXSizeControlBar() override;

    // ---- creation --------------------------------------------------------------------------------------------
    // The virtual Create with no class name and no create context.
    BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTitle, UINT nID,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, const RECT& rect = CFrameWnd::rectDefault);
    // The bar style takes dwStyle's CBRS_ALL bits; a rectangle equal to
    // CFrameWnd::rectDefault becomes the lower right quarter-height half of the parent's
    // client area; all three sizes start as the rectangle's size; WS_CLIPCHILDREN is added.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;
    // Hides CControlBar::EnableDocking: the sides the bar may dock to, and a
    // COXDragDockContext made once.
    void EnableDocking(DWORD dwDockStyle);

    // ---- the three sizes --------------------------------------------------------------------------------------
    // The size of the place the bar is in: floating, else docked horizontally or vertically.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    // ---- styles and state ---------------------------------------------------------------------------------------
    DWORD GetSizeDockStyle() const { return m_dwSizeDockStyle; }
    // Replaces the size-dock style; an existing window recomputes its frame.
    void SetSizeDockStyle(DWORD dwStyle);
    BOOL IsGripper() const { return !(m_dwSizeDockStyle & SZBARF_NO_GRIPPER); }
    BOOL IsCloseBtn() const { return !(m_dwSizeDockStyle & SZBARF_NO_CLOSE_BTN); }
    BOOL IsResizeBtn() const { return !(m_dwSizeDockStyle & SZBARF_NO_RESIZE_BTN); }
    BOOL IsCaption() const { return !(m_dwSizeDockStyle & SZBARF_NO_CAPTION); }
    BOOL IsSolidGripper() const { return (m_dwSizeDockStyle & SZBARF_SOLID_GRIPPER) != 0; }
    BOOL IsMaximized() const { return m_bMaximized; }
    // Redraws the resize button when the state changes.
    void SetMaximized(BOOL bMaximized);
    BOOL IsActive() const { return m_bActive; }
    // Frames the client area in the skin's client-border colour.
    void SetClientBorder(BOOL bClientBorder);
    // The control-bar visibility (a delayed show or hide counts).
    BOOL IsShown() const { return IsVisible(); }
    // No dock bar yet, or one that floats.
    BOOL IsProbablyFloating() const;

    // ---- what the bar does --------------------------------------------------------------------------------------
    // Shows or hides the bar through its frame, keeping its tab in the dock bar's tab strip.
    void ShowBar(BOOL bShow);
    // Activates or deactivates the bar (the focus moves into it), optionally deactivating
    // the frame's other size bars, and repaints the gripper.
    void SetActive(BOOL bActive, BOOL bDeactivateOthers = TRUE);
    // The dock bar's tab strip when it holds a tab for this bar, else null.
    COXDockTabCtrl* GetDockTabCtrl() const;
    // Where the floating frame will hang under the cursor, from a client point of the press.
    void SaveMouseOffset(CPoint point);
    // Destroys the dynamic bars (SZBARF_DYNAMIC) whose top-level frame is pFrame and deletes
    // the windowless ones that belonged to it.
    static void TidyUp(CFrameWnd* pFrame);
    // A floating frame of one bar (its dock bar not CBRS_FLOAT_MULTI) sized to cx × cy:
    // when that bar is a visible size bar, its floating size becomes the client area grown
    // by the bar's borders, which hide under the frame's edges. Nothing otherwise.
    static void TrackFloatingSize(CControlBar* pBar, DWORD dwDockBarStyle, int cx, int cy);
    // Whether the maximise button works now: a bar sharing its row in a size dock bar that
    // shows no tabs.
    virtual BOOL CanResize() const;

    // ---- painting -------------------------------------------------------------------------------------------------
    // The non-client area through the skin: background, gripper, buttons, client border.
    virtual void EraseNonClient();
    // Notified after the bar changed size (flags & 1: its window's, or its client area's
    // alone, as a frame change gives) or place (flags & 2); nothing here.
    virtual void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags);
    using CControlBar::DrawGripper;
    virtual void DrawGripper(CDC* pDC);
    virtual void DrawCloseBtn(CDC* pDC);
    virtual void DrawResizeBtn(CDC* pDC);
    // The skin places the gripper and button rectangles.
    void RecalcLayout();
    // The current skin's dock-bar skin, or the bar's own Classic one.
    COXDockbarSkin* GetDockbarSkin();

    // ---- overrides -------------------------------------------------------------------------------------------------
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Keeps the active state in step with the focus.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // ---- data (the skins and the dock bars read and write it) -----------------------------------------------------
    CSize m_sizeFloat;              // floating
    CSize m_sizeHorzDock;           // docked at top or bottom
    CSize m_sizeVertDock;           // docked left or right
    CSize m_sizeBeforeMaximize;     // the docked size a row's maximise saved
    int m_nReserved1 = 0;           // free for derived bars; never read here
    int m_nReserved2 = 0;
    DWORD m_dwSavedDockStyle = 0;   // CBRS_ALIGN_* saved when docking was switched off
    DWORD m_dwSizeDockStyle;        // SZBARF_*
    int m_nLastWidth = 65535;       // window size at the last WM_WINDOWPOSCHANGED
    int m_nLastHeight = 65535;
    CSize m_sizeLastClient{-1, -1};   // client size then (a new skin's borders change it alone)
    int m_nLastFloating = floatingUnknown;   // IsProbablyFloating at the last WM_WINDOWPOSCHANGED
    BOOL m_bDragging = FALSE;       // the bar follows the mouse (live docking), capture held
    BOOL m_bDragPending = FALSE;    // a press that may start a live drag
    int m_nSavedTabIndex = -1;      // the bar's tab position, kept while it is hidden
    CRect m_rectGripper;            // client coordinates, placed by the skin
    CRect m_rectCloseBtn;
    CRect m_rectResizeBtn;
    CPoint m_ptFloatMouseOffset;    // the cursor's place in the floating frame
    BOOL m_bNcLayoutPending = FALSE;   // set by the skin's OnNcCalcSize, cleared by its RecalcLayout
    BOOL m_bClientBorder = FALSE;
    int m_nPressedBtn = btnNone;
    BOOL m_bMaximized = FALSE;
    BOOL m_bActive = FALSE;
    CPoint m_ptMouseDown;           // client point of the press that set m_bDragPending

    // The dynamic bars (SZBARF_DYNAMIC) alive, in creation order; made on first need and
    // freed when TidyUp empties it.
    static std::unique_ptr<CObArray> m_parrAllocBars;
    // The class's hover hook; its procedure repaints the buttons of the bar the mouse left.
    static COXClassMouseHook m_mouseHook;
    static LRESULT MouseProc(int nCode, WPARAM wParam, LPARAM lParam);

    // ---- messages ---------------------------------------------------------------------------------------------------
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnHide();
    afx_msg void OnToggleAllowDocking();
    afx_msg void OnFloatAsMDI();
    afx_msg LRESULT OnAddContextMenuItems(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBarFloated(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCaptureChanged(CWnd* pWnd);

protected:
    // Appends the context-menu items to hMenu.
    void AppendContextMenuItems(HMENU hMenu);
    // The live drag's step for a mouse move (screen point); FALSE when the drag ended.
    BOOL DragLive(CPoint ptScreen, UINT nFlags);
    // Ends a live drag: clears the flag and gives back the capture.
    void EndLiveDrag();
    // The frame that shows and hides the bar: the parent frame, or the top-level frame of
    // a floating bar.
    CFrameWnd* GetOwningFrame() const;
    // Repaints the close or the resize button (btnClose, btnResize) in the window DC.
    void RedrawButton(int nButton);

    BOOL m_bHookAcquired = FALSE;   // this window holds one use of m_mouseHook
    // The frame the bar docked in when its window went: TidyUp of that frame deletes a
    // dynamic bar left without a window, and no other frame's does.
    HWND m_hWndTidyFrame = nullptr;

private:
    COXElementSkinLookup<COXDockbarSkin> m_skin;

    DECLARE_MESSAGE_MAP()
};
