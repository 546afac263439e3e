#pragma once
// CProgressCtrl: the class library's wrapper of the progress common control
// ("msctls_progress32", platform/comctl/progress.h). Each member is one PBM_ message;
// the setters answer the previous value.
#include "platform/afx/wnd.h"
#include "platform/comctl/progress.h"

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl();
    ~CProgressCtrl() override;

    using CWnd::Create;
    using CWnd::CreateEx;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The 16-bit form (PBM_SETRANGE: both limits taken as unsigned) and the 32-bit form.
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int GetPos() const;
    int SetPos(int nPos);
    int OffsetPos(int nPos);
    int SetStep(int nStep);
    int GetStep() const;
    int StepIt();
    COLORREF SetBkColor(COLORREF clrNew);
    COLORREF GetBkColor() const;
    COLORREF SetBarColor(COLORREF clrBar);
    COLORREF GetBarColor() const;
    BOOL SetMarquee(BOOL fMarqueeMode, int nInterval);
    int SetState(int iState);
    int GetState() const;
};
