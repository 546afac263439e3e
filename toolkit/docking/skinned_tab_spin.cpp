// COXSkinnedSpinCtrl: a tab control's scroll arrows painted by the tab skin, and the
// hover hook the spin controls share.
#include "toolkit/docking/skinned_tab_ctrl.h"

#include "platform/user/messages.h"

IMPLEMENT_DYNCREATE(COXSkinnedSpinCtrl, CSpinButtonCtrl)

BEGIN_MESSAGE_MAP(COXSkinnedSpinCtrl, CSpinButtonCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COXClassMouseHook COXSkinnedSpinCtrl::m_mouseHook{&COXSkinnedSpinCtrl::MouseProc};

COXSkinnedSpinCtrl::COXSkinnedSpinCtrl() = default;

COXSkinnedSpinCtrl::~COXSkinnedSpinCtrl()
{
    // A window destroyed from the base destructor no longer reaches OnDestroy: the use of
    // the hook is given back here then, so the last spin control still removes it.
    if (m_bHookAcquired) {
        m_bHookAcquired = FALSE;
        m_mouseHook.Release();
    }
}

COXTabSkin* COXSkinnedSpinCtrl::GetTabSkin() { return m_skin.Get(); }

LRESULT COXSkinnedSpinCtrl::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    // The arrows the mouse just left lose their hot look: a move to (0, 0) makes them
    // repaint while the mouse is elsewhere.
    if (const HWND hLeft = m_mouseHook.Track(nCode, wParam, lParam)) {
        CWnd* pLeft = CWnd::FromHandlePermanent(hLeft);
        if (pLeft && pLeft->IsKindOf(RUNTIME_CLASS(COXSkinnedSpinCtrl)))
            pLeft->SendMessage(WM_MOUSEMOVE, 0, 0);
    }
    return m_mouseHook.CallNext(nCode, wParam, lParam);
}

void COXSkinnedSpinCtrl::PreSubclassWindow()
{
    // One use per window, whether it was created or subclassed, and only once: a window
    // subclassed again after an unsubclass keeps the use it has.
    if (!m_bHookAcquired)
        m_bHookAcquired = m_mouseHook.Acquire();
    CSpinButtonCtrl::PreSubclassWindow();
}

void COXSkinnedSpinCtrl::OnPaint() { GetTabSkin()->OnPaintSpinCtrl(this); }

// The skin paints every pixel of the arrows; erasing first would only flicker.
BOOL COXSkinnedSpinCtrl::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void COXSkinnedSpinCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    // The hot arrow follows the mouse; the skin finds it from the cursor when it paints.
    Invalidate(TRUE);
    CSpinButtonCtrl::OnMouseMove(nFlags, point);
}

void COXSkinnedSpinCtrl::OnDestroy()
{
    if (m_bHookAcquired) {
        m_bHookAcquired = FALSE;
        m_mouseHook.Release();
    }
    CSpinButtonCtrl::OnDestroy();
}
