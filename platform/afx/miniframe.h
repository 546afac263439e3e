#pragma once
// CMiniFrameWnd: a small pop-up frame with a tool-window caption (small caption metrics
// and a close button, drawn by the window system) that palettes and floating bars live
// in; CMiniDockFrameWnd: the floating frame of the docking framework.
//
// The MFS_* styles shape the mini frame's hit testing: MFS_MOVEFRAME makes every border
// move the frame like its caption, MFS_4THICKFRAME leaves the four sides sizing but not
// the corners (a corner sizes its left or right side), MFS_THICKFRAME gives the frame a
// sizing border, MFS_BLOCKSYSMENU turns the system-menu box into caption, and with
// MFS_SYNCACTIVE the caption shows active while the frame it floats over is active: that
// frame tells it through WM_FLOATSTATUS (FS_ACTIVATE/FS_DEACTIVATE), and WM_NCACTIVATE
// follows what it was told.
//
// A CMiniDockFrameWnd holds one floating dock bar (m_wndDockBar, ID 0xE81F). It is
// created by the docking frame (CreateFloatingFrame); its dock bar is created as a
// child of that frame, so that it joins the frame's bar list and docking site, and is
// then moved into the mini frame. With FWS_SNAPTOBARS its layout sizes the frame around
// its bars, and the caption shows the dock bar's text (the single bar's window text).
// A press on the caption starts the first bar's drag (unless several bars float
// together), a press on a sizing border resizes a dynamic bar through its dock context,
// a double click on the caption docks the bar back (ToggleDocking), and closing the
// frame hides its bars (which hides the frame) instead of destroying anything.
#include "platform/afx/dockbar.h"
#include "platform/afx/frame.h"

// Mini-frame styles (in the low word of the window style).
inline constexpr DWORD MFS_SYNCACTIVE = 0x0100, MFS_4THICKFRAME = 0x0200, MFS_THICKFRAME = 0x0400,
                       MFS_MOVEFRAME = 0x0800, MFS_BLOCKSYSMENU = 0x1000;

// WM_FLOATSTATUS flags.
inline constexpr WPARAM FS_SHOW = 0x01, FS_HIDE = 0x02, FS_ACTIVATE = 0x04, FS_DEACTIVATE = 0x08,
                        FS_ENABLE = 0x10, FS_DISABLE = 0x20, FS_SYNCACTIVE = 0x40;

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();
    ~CMiniFrameWnd() override;

    // A tool window (WS_EX_TOOLWINDOW added) owned by pParentWnd; MFS_THICKFRAME adds a
    // sizing border.
    BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd = nullptr, UINT nID = 0);
    // The rectangle form of the window's CreateEx, so a mini frame made through either
    // type is the same tool window; the coordinate form stays the window's.
    using CFrameWnd::CreateEx;
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd = nullptr, UINT nID = 0, LPVOID lpParam = nullptr) override;

    // Grows a client rectangle (screen) into the window rectangle of a mini frame of the
    // given styles.
    static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU,
        DWORD dwExStyle = WS_EX_TOOLWINDOW);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    BOOL m_bActive = FALSE;       // the owner frame's active state (MFS_SYNCACTIVE)

    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();
    ~CMiniDockFrameWnd() override;

    // dwBarStyle: the floating alignment (CBRS_ALIGN_LEFT/RIGHT: vertical, else
    // horizontal), CBRS_FLOAT_MULTI, CBRS_SIZE_DYNAMIC (a sizing frame).
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);

    void RecalcLayout(BOOL bNotify = TRUE) override;

    // The first bar of the dock bar, or null.
    CControlBar* GetFirstBar() const;
    // The window style of a floating frame for bars of that style: a thin border that
    // moves the frame, or a sizing border (MFS_4THICKFRAME) for a dynamic bar.
    static DWORD WindowStyleFor(DWORD dwBarStyle);

    CDockBar m_wndDockBar{TRUE};

    afx_msg void OnClose();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);

    DECLARE_MESSAGE_MAP()
};

namespace zyn::afx {
// The idle pass of a frame's floating frames (they are owned pop-ups, not descendants):
// each visible one and its descendants get WM_IDLEUPDATECMDUI(wParam).
void IdleUpdateFloatingFrames(CFrameWnd* pFrame, WPARAM wParam);
// A floating frame's caption follows its dock bar's title: set only when it differs, so
// the frame is not repainted for nothing. Nothing while either window is missing.
void FollowDockBarTitle(CWnd* pFrame, CWnd* pDockBar);
} // namespace zyn::afx
