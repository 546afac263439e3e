#pragma once
// CUIComponent: a sub-form made from a child dialog template that a host embeds in a
// configuration page or view. It carries the configuration form state, so the host
// switches it between viewing and editing together with its page; it gives access to the
// logged-in operator and database and reports its dialog's help ID; and it can scroll
// its content vertically when it is shown smaller than its template.
//
// Scrolling (when made scrollable): the full content height is the window's height right
// after creation (OnInitDialog); the visible height is the last WM_SIZE's. With
// M = content − visible (the largest position, 0 when the content fits), a line is
// max(M / 20, 5) pixels and a page max(M / 10, 5). The window's own vertical bar (the
// template gives WS_VSCROLL) shows range 0..content, page = visible, kept with
// SIF_DISABLENOSCROLL. A step moves the stored position, the bar and the content (the
// children move with ScrollWindow) together, never beyond 0..M; a step that cannot move
// (a line up at 0, a page down at M) does nothing at all, and the other codes (top,
// bottom, end of scroll) are ignored. The wheel scrolls a line per notch.
//
// Thumb positions are 32-bit. A WM_VSCROLL carries 16 bits (read unsigned): while M fits
// in them they are the position; beyond, the position is the one with those low 16 bits
// nearest the bar's own (its tracking position, SIF_TRACKPOS, while the thumb is dragged:
// exactly the position the message was cut from), so a host that sends thumb messages
// itself moves by less than 32768 at a time. Any thumb position lands within 0..M.
//
// When the size changes (or scrolling is switched on or off) the stored position stays,
// clamped to the new range (to 0 when not scrollable), and the content moves by what the
// clamp took away, so the bar and the content always agree.
#include "frames/cfg_form_state.h"
#include "platform/afx/dialog.h"
#include "platform/afx/gdi/geometry.h"

class CAcsUser;
class CZynDatabase;

class CUIComponent : public CDialog {
    DECLARE_DYNAMIC(CUIComponent)
public:
    CUIComponent(UINT nIDTemplate, CWnd* pParent);
    ~CUIComponent() override;

    // Creates the modeless sub-form from the constructor's template as a child of the
    // parent (FALSE as CDialog::Create).
    using CDialog::Create;
    BOOL Create(CWnd* pParent);

    // ---- the form state -------------------------------------------------------------------------
    // Stores the state; true.
    virtual bool SetState(AcCfgFormState state);
    AcCfgFormState State() const { return m_state; }
    // Adding or modifying.
    bool InEditState() const { return AcCfgIsEditState(m_state); }

    // What a derived sub-form supplies for its page: check the fields (FALSE keeps the
    // page's edit open) and empty them. The library calls neither.
    virtual BOOL ValidateData() = 0;
    virtual void Clear() = 0;

    // The dialog's help ID (its template ID unless changed), whatever the control.
    virtual ULONG GetHelpID(int nControlID, CPoint& point);

    // ---- the session --------------------------------------------------------------------------------
    // The logged-in operator, and that operator's database; null when nobody is logged in.
    const CAcsUser* User() const;
    CZynDatabase* Database() const;

    // ---- scrolling ----------------------------------------------------------------------------------
    // Switches vertical scrolling and sets the scroll information at once.
    void SetIsVerticallyScrollable(bool scrollable);
    bool IsVerticallyScrollable() const { return m_bVerticallyScrollable; }
    // Pixels scrolled down.
    int GetScrollPosition() const { return m_nScrollPos; }
    // The largest position: content height − visible height, at least 0 (0 when not
    // scrollable).
    int GetMaxScrollPosition() const;
    // The step of a line (arrows, wheel) and of a page.
    int GetLineStep() const;
    int GetPageStep() const;
    // The window rectangle right after creation.
    const CRect& GetCreatedRect() const { return m_rectCreated; }

    BOOL OnInitDialog() override;
    // Inside a control parent (a page, a form view) the sub-form is one of the holder's
    // controls: the holder's dialog manager walks into it and out again, so the keys are
    // left to it (a dialog manager of the sub-form's own would keep Tab going round its
    // fields and take Enter and Escape for itself). Elsewhere, the dialog's own keys.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Adds WS_GROUP and WS_TABSTOP, so the host's dialog keys reach the sub-form's controls.
    void PreSubclassWindow() override;

    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    DECLARE_MESSAGE_MAP()

private:
    // The bar's information from the sizes; the stored position clamped first.
    void UpdateScrollInfo();
    // Moves the position by d (bar and content).
    void ScrollBy(int d);
    // The 32-bit position a thumb message means.
    int ThumbPosition(UINT nPos) const;
    int ContentHeight() const { return m_rectCreated.Height(); }

    AcCfgFormState m_state = AcCfgStateView;
    bool m_bVerticallyScrollable = false;
    CRect m_rectCreated;
    int m_nScrollPos = 0;
    int m_nClientHeight = 0;
};
