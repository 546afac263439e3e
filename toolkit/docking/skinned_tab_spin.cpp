// COXSkinnedSpinCtrl: a tab control's scroll arrows painted by the tab skin, and the
// hover hook the spin controls share.
#include "toolkit/docking/skinned_tab_ctrl.h"

IMPLEMENT_DYNCREATE(COXSkinnedSpinCtrl, CSpinButtonCtrl)

BEGIN_MESSAGE_MAP(COXSkinnedSpinCtrl, CSpinButtonCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COXClassMouseHook COXSkinnedSpinCtrl::m_mouseHook{&COXSkinnedSpinCtrl::MouseProc};

COXSkinnedSpinCtrl::COXSkinnedSpinCtrl() = default;

COXSkinnedSpinCtrl::~COXSkinnedSpinCtrl() = default;

COXTabSkin* COXSkinnedSpinCtrl::GetTabSkin() { return m_skin.Get(); }

// filled below
LRESULT COXSkinnedSpinCtrl::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return m_mouseHook.CallNext(nCode, wParam, lParam);
}

// filled below
void COXSkinnedSpinCtrl::PreSubclassWindow() { CSpinButtonCtrl::PreSubclassWindow(); }

// filled below: the tab skin paints.
void COXSkinnedSpinCtrl::OnPaint() { Default(); }

// filled below
BOOL COXSkinnedSpinCtrl::OnEraseBkgnd(CDC* pDC) { return CSpinButtonCtrl::OnEraseBkgnd(pDC); }

// filled below
void COXSkinnedSpinCtrl::OnMouseMove(UINT nFlags, CPoint point) { CSpinButtonCtrl::OnMouseMove(nFlags, point); }

// filled below
void COXSkinnedSpinCtrl::OnDestroy() { CSpinButtonCtrl::OnDestroy(); }
