#pragma once
// Zyn::Cmn::ZynFormView: the skinned form view of the library (the current skin paints
// its border, skinned_view.h) whose Edit menu's Copy, Cut and Paste work on the edit
// control that has the focus: the commands are enabled by the idle pass while they can
// do something (Copy and Cut with a selection, Paste into a writable edit while the
// clipboard holds text) and send WM_COPY, WM_CUT or WM_PASTE to the focused window.
// An edit control is any window of the class "Edit" (without regard to case), so the
// edit part of a combo box counts.
#include "toolkit/skins/skinned_view.h"

class CCmdUI;

namespace Zyn::Cmn {

class ZynFormView : public COXSkinnedView<CFormView> {
    DECLARE_DYNAMIC(ZynFormView)
public:
    explicit ZynFormView(UINT nIDTemplate);
    ~ZynFormView() override;

    // TRUE when the window exists and is an edit control.
    static int IsEdit(CWnd* pWnd);

protected:
    afx_msg void OnUpdateNeedSel(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNeedClip(CCmdUI* pCmdUI);
    afx_msg void OnEditCopy();
    afx_msg void OnEditCut();
    afx_msg void OnEditPaste();

    DECLARE_MESSAGE_MAP()
};

} // namespace Zyn::Cmn
