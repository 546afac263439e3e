#pragma once
// CSliderCtrl: the class library's wrapper of the trackbar common control
// ("msctls_trackbar32", platform/comctl/trackbar.h). Each member is one TBM_ message;
// the pairs the control splits (the range, the selection) are sent as two messages, so
// they take 32-bit values. Buddies come back as window objects (temporary ones for
// windows without a permanent object).
#include "platform/afx/wnd.h"
#include "platform/comctl/trackbar.h"

class CToolTipCtrl;

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl();
    ~CSliderCtrl() override;

    using CWnd::Create;
    using CWnd::CreateEx;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- sizes of a step --------------------------------------------------------------------------------------
    int GetLineSize() const;
    int SetLineSize(int nSize);   // the previous line size
    int GetPageSize() const;
    int SetPageSize(int nSize);   // the previous page size

    // ---- range and position ----------------------------------------------------------------------------------
    int GetRangeMax() const;
    int GetRangeMin() const;
    void GetRange(int& nMin, int& nMax) const;
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    int GetPos() const;
    void SetPos(int nPos);
    // Sets the position again, so that one outside the range is clamped into it.
    void VerifyPos();

    // ---- selection -------------------------------------------------------------------------------------------
    void GetSelection(int& nMin, int& nMax) const;
    void SetSelection(int nMin, int nMax);
    void ClearSel(BOOL bRedraw = FALSE);

    // ---- geometry --------------------------------------------------------------------------------------------
    // A vertical trackbar answers its channel with x and y exchanged (see trackbar.h).
    void GetChannelRect(LPRECT lprc) const;
    void GetThumbRect(LPRECT lprc) const;
    void SetThumbLength(int nLength);
    int GetThumbLength() const;

    // ---- tics ------------------------------------------------------------------------------------------------
    UINT GetNumTics() const;
    // The tics between the ends (GetNumTics() - 2 of them), owned by the control; null
    // when there are none. Valid until the tics change.
    DWORD* GetTicArray() const;
    int GetTic(int nTic) const;
    int GetTicPos(int nTic) const;
    BOOL SetTic(int nTic);
    void SetTicFreq(int nFreq);
    void ClearTics(BOOL bRedraw = FALSE);

    // ---- buddies and the position tip -------------------------------------------------------------------------
    // fLocation TRUE: left of a horizontal trackbar (above a vertical one); FALSE: right
    // (below). SetBuddy answers the previous buddy there.
    CWnd* GetBuddy(BOOL fLocation = TRUE) const;
    CWnd* SetBuddy(CWnd* pWndBuddy, BOOL fLocation = TRUE);
    // The tip's object when the application attached a CToolTipCtrl to it; the control's
    // own tip (TBS_TOOLTIPS) has none, so it is null then (its handle: TBM_GETTOOLTIPS).
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pWndTip);
    int SetTipSide(int nLocation); // the previous side (TBTS_*)
};
