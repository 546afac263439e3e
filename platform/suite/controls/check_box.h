#pragma once
// CCheckBox: the suite's check-box control object. It is a CButton over a "Button" of a
// check-box style that reads and sets its state as a plain bool; the window keeps the
// state (BM_GETCHECK / BM_SETCHECK), so a box that is clicked, or checked by the dialog
// manager's keys, answers the new state at once.
#include "platform/afx/ctlwrap_button.h"

class CCheckBox : public CButton {
    DECLARE_DYNAMIC(CCheckBox)
public:
    CCheckBox() = default;
    ~CCheckBox() override;

    // Checked (BST_CHECKED; an indeterminate third state counts as not checked). False
    // without a window.
    bool IsChecked() const;
    // Checks or clears the box; nothing without a window.
    void SetChecked(bool checked);
};
