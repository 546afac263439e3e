#pragma once
// COXCoolSpinButtonCtrl: an up-down control with the cool controls' flat look
// (cool_ctrl.h). The system paints the arrows first; then:
//   - an attached spin (aligned to an edit buddy, IsAttached) stands over part of the
//     edit's border: it shrinks its own face by the buddy's border width b at the top,
//     the bottom and the outer side, and paints the covered part of the border in the
//     edit's look: two flat rings (highlight outside; highlight inside, or face when the
//     spin is disabled) while neither is hot, the sunken 3-D edge while either is. The
//     edit's hot state is read only from a cool edit (COXCoolCtrl<CEdit>); a buddy of any
//     other kind counts as cold;
//   - while the spin itself is cold, each half (half the length, split along its
//     orientation) gets a flat raised edge, unless a half is shorter than 4 pixels.
// The mouse over the spin makes its edit hot too: the spin tells its buddy to look at
// once (cool_ctrl.h).
#include "toolkit/menus/cool_ctrl.h"

class COXCoolSpinButtonCtrl : public COXCoolCtrl<CSpinButtonCtrl> {
public:
    COXCoolSpinButtonCtrl() = default;
    ~COXCoolSpinButtonCtrl() override = default;

    void OnChangeHotState(BOOL bInHotState) override;
    // Aligned (UDS_ALIGNRIGHT or UDS_ALIGNLEFT) to a buddy that is an edit control.
    BOOL IsAttached() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
