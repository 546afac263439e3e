#pragma once
// CInitDialogBar: a skinned dialog bar with a hook run right after its window and
// controls exist (OnInitDialogBar: by default the controls take their values from the
// member variables through DoDataExchange), and a way to take the Close command off the
// floating frame the bar sits in.
#include "frames/skinned_dialog_bar.h"

class CInitDialogBar : public Zyn::Cmn::SkinnedDialogBar {
    DECLARE_DYNAMIC(CInitDialogBar)
public:
    CInitDialogBar();
    ~CInitDialogBar() override;

    // The dialog bar is created (the ID form names the template by resource ID); then
    // OnInitDialogBar runs. TRUE only when both succeed: a failed hook leaves the
    // window in place for the caller to destroy.
    BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID) override;
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) override;

    // On a floating bar, removes Close (and the separator before it) from the floating
    // frame's system menu. A docked bar, whose frame is a docking frame rather than a
    // floating one, is left alone, as is a menu without Close.
    void DisableCloseButton();

protected:
    // Runs after creation; FALSE fails Create. Derived bars add their own set-up.
    virtual BOOL OnInitDialogBar();
    // Empty: derived bars add their exchanges.
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
