#pragma once
// COXSizableMiniDockFrameWnd: the toolkit's floating frame. The size-dock frames make it
// their floating-frame class, so a bar floated by a drag, by FloatControlBar or by a saved
// state lands in one. It is a CMiniDockFrameWnd with a sizing frame whose caption, borders
// and close button are painted by the mini-frame element skin of the current skin
// (COXMiniFrameSkin), or a Classic one the frame makes for itself.
//
// What it holds decides how it behaves (GetContainedBarType, worked out once): a single
// size bar (type 2) gets a system menu of only Move, Size and Close (labelled Hide unless
// the bar is destroyed on close), the system sizes the frame by its borders and the new
// size becomes the bar's floating size; other bars (type 1) get a frame that moves when
// dragged by any border, or that sizes a dynamic toolbar through its dock context.
//
// Dragging the caption: with snapping off the bar's drag context runs its outline drag;
// with snapping on (WM_OX_QUERYSNAPPING answered non-zero) the frame hands the mouse to
// its first live bar (a size bar, or a cool toolbar through the docking seam), whose own
// mouse moves then dock it live. A double click docks the bar back (the base's toggle).
//
// A view bar (the later MDI view classes, reached through the docking seam) is told when
// its frame is clicked or activated, and the system menu offers making its child dockable.
// Closing hides the bars, except that a size bar destroyed on close goes with its frame.
//
// A class-wide mouse hook drops the close button's hot look when the mouse leaves a frame.
#include "platform/afx/miniframe.h"
#include "toolkit/docking/class_mouse_hook.h"
#include "toolkit/skins/miniframe_skin.h"
#include "toolkit/skins/skin_lookup.h"

class COXSizeViewBar;

class COXSizableMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(COXSizableMiniDockFrameWnd)
public:
    enum ContainedBarType { barTypeUnknown = 0, barTypeOther = 1, barTypeSizeBar = 2 };

    COXSizableMiniDockFrameWnd();
    ~COXSizableMiniDockFrameWnd() override;

    // Worked out on the first call (the system menu is trimmed then), then kept.
    ContainedBarType GetContainedBarType();
    // Whether the first bar is a view bar.
    BOOL IsDockingViewBar();
    // Set while WM_CLOSE is handled (a refused close clears it).
    BOOL IsBeingDestroyed() const { return m_bBeingDestroyed; }
    // The current skin's mini-frame skin, or the frame's own Classic one.
    COXMiniFrameSkin* GetMiniFrameSkin();
    // The first bar of the dock bar, as COXSizeDockBar::GetFirstControlBar answers it.
    CControlBar* GetFirstControlBar() const;

    // The class library's handling of WM_NCACTIVATE, for the skins.
    BOOL CallBaseNcActivate(BOOL bActive) { return CMiniFrameWnd::OnNcActivate(bActive); }

    // Repaints the caption buttons of the frame the mouse left.
    static LRESULT MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
    static COXClassMouseHook m_mouseHook;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    BOOL m_bBeingDestroyed = FALSE;
    ContainedBarType m_nContainedBarType = barTypeUnknown;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnDestroy();
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);

protected:
    // The first live bar of the dock bar (from position 1 on, skipping row ends,
    // placeholders and bars whose window is gone), or null.
    CControlBar* GetFirstLiveBar() const;
    // The view bar the frame holds, or null.
    COXSizeViewBar* GetViewBar() const;
    // Tracks the system menu at a screen point and carries out the chosen command.
    void TrackSystemMenu(CPoint point, const RECT* pExclude);

    BOOL m_bHookAcquired = FALSE;   // this window holds one use of m_mouseHook

private:
    COXElementSkinLookup<COXMiniFrameSkin> m_skin;

    DECLARE_MESSAGE_MAP()
};
