#pragma once
// COXCoolSliderCtrl: a trackbar with the cool controls' flat look (cool_ctrl.h). The
// system paints the slider; while it is cold the thumb's outline is painted flat (a
// rectangular thumb gets a flat raised edge; a pointed one its lit and dark sides in
// highlight and shadow and a face-coloured ring inside, cool_geometry.h) and, with the
// thumb clipped out, the channel gets a flat sunken edge. The trackbar answers a vertical
// slider's channel with x and y exchanged, so that rectangle is transposed back before
// it is drawn.
#include "toolkit/menus/cool_ctrl.h"

class COXCoolSliderCtrl : public COXCoolCtrl<CSliderCtrl> {
public:
    COXCoolSliderCtrl() = default;
    ~COXCoolSliderCtrl() override = default;

    void OnChangeHotState(BOOL bInHotState) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
