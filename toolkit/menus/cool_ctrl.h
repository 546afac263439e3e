#pragma once
// COXCoolCtrl<PARENTWND>: a standard control (PARENTWND is one of the class library's
// control classes) that looks flat while idle and keeps its normal 3-D look while it is
// hot: while the mouse is over it or the keyboard focus is inside it.
//
// Two flags decide the look. The cool state (default on, SetCoolState) enables the whole
// behaviour; off, the control looks and acts like a plain PARENTWND. The hot state follows
// the mouse and the focus:
//   - the mouse entering is noticed at the control's next client or non-client mouse
//     message (CheckMousePos), or when an attached spin button tells its edit to look at
//     once (it sends the edit WM_TIMER 210);
//   - while the mouse counts as over the control, timer 210 polls the cursor every
//     150 ms, and the poll notices it leave; the timer runs exactly while the mouse is
//     counted as over, so an idle control costs nothing;
//   - the focus arriving makes the control hot; the focus leaving (other than from an
//     edit to its attached spin button, or into one of the control's own windows) makes
//     it cold again;
//   - a control is never made cold while the focus is inside it or the mouse is over it.
// Each change repaints: the window and its frame are invalidated, and an attached spin
// button is redrawn at once (it paints part of its edit's border).
//
// The flat face is painted over what the system drew: DrawNcBorders paints the non-client
// border as a flat two-pixel frame (a sunken 3-D edge while hot, the system's colours
// for a disabled control) and DrawScrollBar paints flat arrow buttons and a flat thumb
// over a window's own scroll bars (see cool_geometry.h for the thumb's formula). The
// controls built on the template that paint their own faces (button, scroll bar, spin,
// slider, the flat combo box) send WM_NCPAINT straight to the default procedure instead.
//
// Each control carries one tooltip (tool 1000 over its client area) that it creates when
// it is initialised: once per window, at WM_CREATE when the object creates its window,
// or when an existing window is subclassed. WM_NCDESTROY returns the object to
// uninitialised, so it can take another window.
//
// Instantiated (in cool_ctrl.cpp) for CButton, CScrollBar, CSpinButtonCtrl,
// CSliderCtrl, CEdit, CComboBox and CListBox.
#include "platform/afx/ctlwrap.h"
#include "platform/afx/sliderctrl.h"
#include "platform/afx/spinbutton.h"
#include "platform/afx/tooltipctrl.h"
#include "platform/base/cstring.h"

template <class PARENTWND>
class COXCoolCtrl : public PARENTWND {
public:
    // The poll timer and its period, and the tooltip's tool.
    static constexpr UINT_PTR kCheckMouseTimerID = 210;
    static constexpr UINT kCheckMouseInterval = 150;
    static constexpr UINT_PTR kTooltipID = 1000;

    COXCoolCtrl() = default;
    ~COXCoolCtrl() override = default;

    // ---- state ----------------------------------------------------------------------------
    virtual BOOL IsInCoolState() const { return m_bInCoolState; }
    // On a change: turning on looks at the mouse at once and brings the hot state up to
    // date with the focus (hot when it is inside, cold when it left while the control was
    // not tracking); both ways the control and its frame are redrawn.
    virtual void SetCoolState(BOOL bInCoolState);
    BOOL IsInHotState() const { return m_bInHotState; }
    BOOL IsMouseOver() const { return m_bMouseIsOver; }

    // ---- tooltip ----------------------------------------------------------------------------
    // FALSE without a tooltip window, when OnChangeTooltipText refuses the text, or when
    // the tool cannot be added. An empty text removes the tool; the current text again
    // changes nothing.
    BOOL SetTooltipText(const CString& sText);
    // FALSE without a tooltip window; an empty text when there is no tool.
    BOOL GetTooltipText(CString& sText) const;

    // ---- the steps of the hot tracking (derived classes refine them) -----------------------
    // Looks where the cursor is; on a change of "over" calls OnMouseEnter or
    // OnMouseLeave and starts or stops the poll timer.
    virtual void CheckMousePos(BOOL bCheckDescendants);
    // Once per window: the hot state from the focus, then the tooltip window. FALSE when
    // the tooltip cannot be made (the control then works without one).
    virtual BOOL InitializeCoolCtrl();
    virtual void OnChangeHotState(BOOL bInHotState);
    virtual void OnFocusChange(CWnd* pWndGainFocus, CWnd* pWndLooseFocus);
    // WM_KEYDOWN keys a derived class takes in PreTranslateMessage (TRUE eats the key).
    virtual BOOL HandleKey(UINT nChar);
    virtual void OnMouseEnter(const CPoint& ptScreen);
    virtual void OnMouseLeave(const CPoint& ptScreen);
    // May refuse a new tooltip text.
    virtual BOOL OnChangeTooltipText(const CString& sText);

    // ---- window questions (any window) ------------------------------------------------------------
    static BOOL IsEditControl(HWND hWnd);
    static BOOL IsComboBox(HWND hWnd);
    static BOOL IsListBox(HWND hWnd);
    static BOOL IsSpinButtonControl(HWND hWnd);
    // pWndChild is pWndParent or lies inside it (owner and parent chain; cool_windows.h).
    static BOOL IsDescendant(CWnd* pWndParent, CWnd* pWndChild);
    static HWND FindAttachedSpinButton(HWND hWnd);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The flat non-client border (after the default non-client painting).
    void DrawNcBorders();
    // Flat arrows and thumb over a scroll bar the system drew in `rect` of pDC; nothing
    // when not in cool state or when hot.
    void DrawScrollBar(CDC* pDC, CRect rect, BOOL bHorz);

    // Whether a focus change from pWndLooseFocus to pWndGainFocus turns this control's
    // hot state over (the rule OnFocusChange follows).
    BOOL FocusChangeFlipsHotState(CWnd* pWndGainFocus, CWnd* pWndLooseFocus) const;

    BOOL m_bInCoolState = TRUE;
    UINT_PTR m_nCheckMouseTimerID = 0;
    BOOL m_bMouseIsOver = FALSE;
    BOOL m_bInHotState = FALSE;
    CToolTipCtrl m_ttc;
    BOOL m_bInitialized = FALSE;

private:
    void RedrawAttachedSpin() const;
    // Puts tool 1000 back over the current client rectangle (after a size change).
    void RefreshTooltipRect();
};

extern template class COXCoolCtrl<CButton>;
extern template class COXCoolCtrl<CScrollBar>;
extern template class COXCoolCtrl<CSpinButtonCtrl>;
extern template class COXCoolCtrl<CSliderCtrl>;
extern template class COXCoolCtrl<CEdit>;
extern template class COXCoolCtrl<CComboBox>;
extern template class COXCoolCtrl<CListBox>;
