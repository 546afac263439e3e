#pragma once
// CSpinButtonCtrl: the class library's wrapper of the up-down control ("msctls_updown32",
// platform/comctl/updown.h). Each member sends the matching UDM_ message.
#include "platform/afx/wnd.h"
#include "platform/comctl/updown.h"

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    CSpinButtonCtrl();
    ~CSpinButtonCtrl() override;

    // A child (WS_CHILD is added) of pParentWnd with the UDS_ and window styles given.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::Create;
    using CWnd::CreateEx;

    BOOL SetAccel(int nAccel, UDACCEL* pAccel);
    // The number of accelerators the control has; at most nAccel are copied.
    UINT GetAccel(int nAccel, UDACCEL* pAccel) const;
    // 10 or 16; the previous base, 0 when nBase is neither.
    int SetBase(int nBase);
    UINT GetBase() const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    // 16-bit position; GetPos answers as UDM_GETPOS does (HIWORD non-zero: the buddy's text
    // was no number in the range).
    int SetPos(int nPos);
    int GetPos() const;
    int SetPos32(int nPos);
    int GetPos32(LPBOOL lpbError = nullptr) const;
    // 16-bit limits.
    void SetRange(short nLower, short nUpper);
    // LOWORD the upper limit, HIWORD the lower one.
    DWORD GetRange() const;
    void GetRange(int& lower, int& upper) const;
    void SetRange32(int nLower, int nUpper);
    void GetRange32(int& lower, int& upper) const;
};
