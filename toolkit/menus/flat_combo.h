#pragma once
// COXCoolComboBox: the flat combo box of the cool controls. It is a COXCoolCtrl<CComboBox>
// (cool_ctrl.h) that paints its whole face itself, and makes its edit and list children
// cool controls too, so that the three parts share one hot state and one tooltip text.
//
// Face (client coordinates, margins of 2 on every side): the text field is filled in the
// window colour (button face when disabled); the drop button is SM_CXVSCROLL wide at the
// right, 2 pixels in from the top, right and bottom (none for CBS_SIMPLE). Cold, the
// margin band is plain (window colour for a simple combo, face otherwise, with the
// column just left of the field in the field's colour) and the button is a face-coloured
// box with a one-pixel highlight frame. Hot, the band is face colour inside a one-pixel
// sunken ring and the button is raised; dropped down, the button is pressed and its
// arrow moves one pixel right and down. A drop-down list (no edit) draws its selection
// through DrawItem.
//
// Items are drawn owner-drawn (the application creates the combo with
// CBS_OWNERDRAWFIXED | CBS_HASSTRINGS): each is one line of text, the selection filled in
// the highlight colour, the item height one pixel more than the height of "ygaQ!|" in the
// combo's font, and the selection field's height one more than the font's tmHeight (kept
// so at every WM_SETFONT).
//
// The parts: the edit (ID 1001) is subclassed when the combo is initialised or when it
// reports its creation (WM_PARENTNOTIFY); a simple combo's list (ID 1000) likewise; a
// drop-down list is subclassed the first time it asks the combo for its colours. An
// owner-drawn combo's list is left alone. A tooltip text set on the combo goes to both
// parts; the focus on the edit keeps the combo hot. The combo takes its own CBN_CLOSEUP
// (the hot state is checked again and the face repainted): the parent does not hear it.
#include "toolkit/menus/cool_ctrl.h"

class COXCoolComboBox;

// The edit part of a flat combo box.
class COXCoolComboEdit : public COXCoolCtrl<CEdit> {
public:
    COXCoolComboEdit() = default;
    ~COXCoolComboEdit() override = default;

    void SetCombo(COXCoolComboBox* pCombo) { m_pCombo = pCombo; }
    COXCoolComboBox* GetCombo() const { return m_pCombo; }

    // The combo box hears of a focus change of its edit first, so both turn together.
    void OnFocusChange(CWnd* pWndGainFocus, CWnd* pWndLooseFocus) override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    COXCoolComboBox* m_pCombo = nullptr; // not owned
};

class COXCoolComboBox : public COXCoolCtrl<CComboBox> {
public:
    static constexpr int kEditID = 1001;
    static constexpr int kListID = 1000;

    COXCoolComboBox() = default;
    ~COXCoolComboBox() override = default;

    BOOL InitializeCoolCtrl() override;
    void OnChangeHotState(BOOL bInHotState) override;
    BOOL OnChangeTooltipText(const CString& sText) override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override;

    int GetLeftMargin() const { return 2; }
    int GetTopMargin() const { return 2; }
    int GetRightMargin() const { return 2; }
    int GetBtmMargin() const { return 2; }
    // SM_CXVSCROLL.
    int GetButtonWidth() const;
    // Client coordinates; empty for CBS_SIMPLE.
    CRect GetButtonRect() const;
    BOOL IsDroppedDown() const;

    // The parts, for the application and for tests.
    COXCoolComboEdit& GetEditPart() { return m_edit; }
    COXCoolCtrl<CListBox>& GetListPart() { return m_listBox; }
    int GetFontHeight() const { return m_nFontHeight; }
    int GetTextExtentHeight() const { return m_nTextExtentHeight; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL SubclassEditCtrl();
    BOOL SubclassListBoxCtrl();

    afx_msg void OnPaint();
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg LRESULT OnSetFontMessage(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnCloseUp();
    DECLARE_MESSAGE_MAP()

    COXCoolComboEdit m_edit;
    COXCoolCtrl<CListBox> m_listBox;
    int m_nFontHeight = 0;
    int m_nTextExtentHeight = 0;

private:
    BOOL IsOwnerDrawn() const;
    // The font's tmHeight and the height of "ygaQ!|", in the combo's font.
    void MeasureFontHeights();
    void PassTooltipTo(COXCoolCtrl<CEdit>& part);
    void PassTooltipTo(COXCoolCtrl<CListBox>& part);
    void PaintFace(CDC& dc);
};
