// Zyn::Cmn::SkinnedDialogBar: a dialog bar painted by the current skin.
#include "frames/skinned_dialog_bar.h"

#include "platform/afx/gdi/dc.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/user/messages.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace Zyn::Cmn {

IMPLEMENT_DYNAMIC(SkinnedDialogBar, CDialogBar)

BEGIN_MESSAGE_MAP(SkinnedDialogBar, CDialogBar)
    ON_WM_CTLCOLOR()
    ON_WM_THEMECHANGED()
END_MESSAGE_MAP()

SkinnedDialogBar::SkinnedDialogBar() { m_themedBackground.SetParent(this); }

SkinnedDialogBar::~SkinnedDialogBar() = default;

BOOL SkinnedDialogBar::IsGripper() const { return (m_dwStyle & CBRS_GRIPPER) != 0; }

COXDialogBarSkin* SkinnedDialogBar::GetDialogBarSkin()
{
    // A skin whose dialog-bar slot is empty paints the bar as Classic rather than not
    // at all.
    return m_skin.Get();
}

void SkinnedDialogBar::DoPaint(CDC* pDC)
{
    if (!pDC)
        return;
    COXDialogBarSkin* pSkin = GetDialogBarSkin();
    // The background is painted in WM_PAINT, after the controls' frames were drawn
    // (they are drawn when the bar is shown or uncovered, before its WM_PAINT), and the
    // bar does not clip its children: on the screen the frames of the visible controls
    // are left out, or a bordered edit would lose its border until something else
    // redrew its frame. Their client areas are painted over as before and repaint
    // themselves next; a control without a frame (a group box, a label) still has the
    // background painted under it. A picture of the bar (WM_PRINTCLIENT into a memory
    // DC, which the labels' themed background is made from) keeps the whole background.
    const int saved = pDC->SaveDC();
    const bool onScreen = ::WindowFromDC(pDC->GetSafeHdc()) == m_hWnd;
    for (HWND child = onScreen ? ::GetWindow(m_hWnd, GW_CHILD) : nullptr; child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        CRect outer, inner;
        ::GetWindowRect(child, &outer);
        ::GetClientRect(child, &inner);
        ::ClientToScreen(child, reinterpret_cast<POINT*>(&inner.left));
        ::ClientToScreen(child, reinterpret_cast<POINT*>(&inner.right));
        ScreenToClient(&outer);
        ScreenToClient(&inner);
        // The frame: the strips above, below, left and right of the client area.
        pDC->ExcludeClipRect(outer.left, outer.top, outer.right, inner.top);
        pDC->ExcludeClipRect(outer.left, inner.bottom, outer.right, outer.bottom);
        pDC->ExcludeClipRect(outer.left, inner.top, inner.left, inner.bottom);
        pDC->ExcludeClipRect(inner.right, inner.top, outer.right, inner.bottom);
    }
    pSkin->DrawBackground(pDC, this);
    CRect client;
    GetClientRect(&client);
    pSkin->DrawGripper(pDC, &client, this);
    pDC->RestoreDC(saved);
}

HBRUSH SkinnedDialogBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC && m_themedBackground.IsThemeActive()) {
        if (const HBRUSH brush = m_themedBackground.GetCtlColorBrush(pDC, pWnd))
            return brush;
    }
    return CDialogBar::OnCtlColor(pDC, pWnd, nCtlColor);
}

LRESULT SkinnedDialogBar::OnThemeChanged()
{
    m_themedBackground.MarkThemeChanged();
    return 0;
}

} // namespace Zyn::Cmn
