#pragma once
// Zyn::Cmn::SkinnedDialogBar: the dialog bar the suite's applications derive their bars
// of ordinary controls from, painted by the dialog-bar element skin of the current skin:
// the skin draws the background and then the gripper over the client rectangle. Without
// a current skin, or with one that has no dialog-bar skin, the bar paints with a Classic
// dialog-bar skin it makes on first need and keeps for its lifetime.
//
// Its labels show the painted background while a visual style is active: WM_CTLCOLOR for
// a static control answers the themed-background helper's brush (a picture of the bar's
// background); otherwise the control bar's face colour. WM_THEMECHANGED makes the helper
// look again.
#include "platform/afx/dlgbar.h"
#include "platform/suite/controls/themed_background.h"
#include "toolkit/skins/dialogbar_skin.h"

namespace Zyn::Cmn {

class SkinnedDialogBar : public CDialogBar {
    DECLARE_DYNAMIC(SkinnedDialogBar)
public:
    SkinnedDialogBar();
    ~SkinnedDialogBar() override;

    // Whether the bar style has CBRS_GRIPPER.
    BOOL IsGripper() const;

    // Background, then gripper, both through the dialog-bar skin.
    void DoPaint(CDC* pDC) override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg LRESULT OnThemeChanged();

    // The current skin's dialog-bar skin, else the bar's own Classic one; never null.
    COXDialogBarSkin* GetDialogBarSkin();
    // Whether the bar has made its own Classic skin yet.
    bool HasFallbackSkin() const { return m_skin.HasFallback(); }

protected:
    Zyn::Ctl::ThemedControlBackgroundHelper m_themedBackground;

private:
    COXElementSkinLookup<COXDialogBarSkin> m_skin;

    DECLARE_MESSAGE_MAP()
};

} // namespace Zyn::Cmn
