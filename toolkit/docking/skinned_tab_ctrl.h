#pragma once
// COXSkinnedTabCtrl: the tab control every tab strip of the toolkit is built on; the tab
// element skin of the current skin (COXTabSkin) paints all of it, or a Classic one the
// control makes for itself when there is no current skin. Each one embeds the scroll
// arrows it shows when its tabs do not fit: a COXSkinnedSpinCtrl that the XP and 2003 tab
// skins attach to the tab control's own "msctls_updown32" child while painting.
//
// COXSkinnedSpinCtrl: those arrows, painted by the same skin. Their hot look goes when the
// mouse moves to another window, through a mouse hook the spin controls share
// (COXClassMouseHook: the first one attached sets it, the last one destroyed removes it).
#include "platform/afx/spinbutton.h"
#include "platform/afx/tabctrl.h"
#include "toolkit/docking/class_mouse_hook.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/tab_skin.h"

class COXSkinnedSpinCtrl : public CSpinButtonCtrl {
    DECLARE_DYNCREATE(COXSkinnedSpinCtrl)
public:
    COXSkinnedSpinCtrl();
    ~COXSkinnedSpinCtrl() override;

    // The current skin's tab skin, or the control's own Classic one.
    COXTabSkin* GetTabSkin();

    // Sends WM_MOUSEMOVE (0, 0) to the spin control the mouse left, so it repaints plain.
    static LRESULT MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
    static COXClassMouseHook m_mouseHook;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();

protected:
    // Takes one use of the class's hook.
    void PreSubclassWindow() override;

    BOOL m_bHookAcquired = FALSE;

private:
    COXElementSkinLookup<COXTabSkin> m_skin;

    DECLARE_MESSAGE_MAP()
};

class COXSkinnedTabCtrl : public CTabCtrl {
    DECLARE_DYNAMIC(COXSkinnedTabCtrl)
public:
    COXSkinnedTabCtrl();
    ~COXSkinnedTabCtrl() override;

    // The current skin's tab skin, or the control's own Classic one.
    COXTabSkin* GetTabSkin();
    COXSkinnedSpinCtrl* GetSpinCtrl() { return &m_wndSpin; }

    afx_msg void OnPaint();

    // The scroll arrows; attached by the tab skin to the control's up-down child.
    COXSkinnedSpinCtrl m_wndSpin;

protected:
    // The client area of a WM_NCCALCSIZE moved in by nOffset on each side, for a strip
    // with a frame around it; a dimension too small for both margins collapses to empty.
    static void InsetClientArea(NCCALCSIZE_PARAMS* lpncsp, int nOffset);

private:
    COXElementSkinLookup<COXTabSkin> m_skin;

    DECLARE_MESSAGE_MAP()
};
