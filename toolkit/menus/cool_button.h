#pragma once
// COXCoolButton: a push button, check box or radio button with the cool controls' flat
// look (cool_ctrl.h). The system paints the button first; while the button is cold (or
// hot but disabled) the flat edges are painted over it:
//   push button / push-like box  the outer band (3 pixels, 2 for push-like) is filled
//                 with the face colour and ringed by a one-pixel edge, raised, or
//                 pressed for a checked push-like box; a default button keeps a one-pixel
//                 dark frame outside that edge;
//   check box     a one-pixel highlight frame over the inner ring of the 13 x 13 box;
//   radio button  a two-pixel highlight arc over the upper-left half of the ring.
// Group boxes, user and owner-drawn buttons and BS_FLAT buttons are left as the system
// paints them. A radio button is hot exactly while the mouse is over it: the focus alone
// never makes it hot, nor does losing the focus make a hovered one cold; it repaints at
// once when it is unchecked.
#include "toolkit/menus/cool_ctrl.h"

class COXCoolButton : public COXCoolCtrl<CButton> {
public:
    COXCoolButton() = default;
    ~COXCoolButton() override = default;

    void OnChangeHotState(BOOL bInHotState) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    BOOL IsRadioButton() const;
};
