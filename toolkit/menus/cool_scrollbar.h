#pragma once
// COXCoolScrollBar: a scroll-bar control with the cool controls' flat look (cool_ctrl.h).
// The system paints the bar; while it is cold, flat arrow buttons and a flat thumb are
// painted over it (the thumb's size and place: cool_geometry.h), horizontal unless the
// control has SBS_VERT. Hot, it keeps the system's look.
#include "toolkit/menus/cool_ctrl.h"

class COXCoolScrollBar : public COXCoolCtrl<CScrollBar> {
public:
    COXCoolScrollBar() = default;
    ~COXCoolScrollBar() override = default;

    void OnChangeHotState(BOOL bInHotState) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
