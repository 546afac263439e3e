// Zyn::Cmn::SkinnedDialogBar: a dialog bar painted by the current skin.
#include "frames/skinned_dialog_bar.h"

#include "platform/afx/gdi/dc.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/user/messages.h"

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
    pSkin->DrawBackground(pDC, this);
    CRect client;
    GetClientRect(&client);
    pSkin->DrawGripper(pDC, &client, this);
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
