#pragma once
// COXSkinnedComboBox: a combo box (typically hosted on a toolbar) that the current toolbar
// skin paints. The system paints the control first; the skin then draws its own flat
// frame, drop button and arrow over it (COXToolbarSkin::OnPaintComboBox, DrawComboBox),
// with a hot look while the mouse is over the box or the focus is in it, and a dropped
// look while its list is open. The box repaints the skin's part whenever one of these
// changes. Under the Classic skin it keeps the system's look.
#include "platform/afx/ctlwrap_combobox.h"
#include "toolkit/skins/toolbar_skin.h"

class COXSkinnedComboBox : public CComboBox {
    DECLARE_DYNAMIC(COXSkinnedComboBox)
public:
    COXSkinnedComboBox();
    ~COXSkinnedComboBox() override;

    // The edit part reaches 3 pixels further right, over the gap before the drop button
    // (for boxes whose edit should meet the button).
    BOOL m_bWideEdit = FALSE;

    // The system's own painting of the control (validates its update region).
    void PaintDefault();
    // Draws the skin's frame and button again now.
    void RedrawSkin();
    // The current toolbar skin, else the box's own Classic one. Never null.
    COXToolbarSkin* GetToolbarSkin();

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    // The box's own notifications of focus and list changes (CBN_SETFOCUS, CBN_KILLFOCUS,
    // CBN_DROPDOWN, CBN_CLOSEUP), reflected: redrawn, and still passed to the parent.
    afx_msg BOOL OnStateChange();
    DECLARE_MESSAGE_MAP()

private:
    COXElementSkinLookup<COXToolbarSkin> m_skin;
    bool m_bTrackingMouse = false;
};
