#include "platform/afx/spinbutton.h"

#include "platform/gdi/builtin_modules.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

CSpinButtonCtrl::CSpinButtonCtrl() = default;
CSpinButtonCtrl::~CSpinButtonCtrl() = default;

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CSpinButtonCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&icc);
    return CWnd::CreateEx(dwExStyle, UPDOWN_CLASSW, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

namespace {
LRESULT Send(const CWnd* w, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    return ::SendMessageW(w->GetSafeHwnd(), msg, wp, lp);
}
} // namespace

BOOL CSpinButtonCtrl::SetAccel(int nAccel, UDACCEL* pAccel)
{
    if (nAccel <= 0)
        return FALSE;
    return static_cast<BOOL>(Send(this, UDM_SETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}

UINT CSpinButtonCtrl::GetAccel(int nAccel, UDACCEL* pAccel) const
{
    return static_cast<UINT>(
        Send(this, UDM_GETACCEL, static_cast<WPARAM>(nAccel < 0 ? 0 : nAccel), reinterpret_cast<LPARAM>(pAccel)));
}

int CSpinButtonCtrl::SetBase(int nBase) { return static_cast<int>(Send(this, UDM_SETBASE, static_cast<WPARAM>(nBase))); }
UINT CSpinButtonCtrl::GetBase() const { return static_cast<UINT>(Send(this, UDM_GETBASE)); }

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    const auto old = reinterpret_cast<HWND>(
        Send(this, UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->GetSafeHwnd() : nullptr)));
    return old ? CWnd::FromHandle(old) : nullptr;
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    const auto h = reinterpret_cast<HWND>(Send(this, UDM_GETBUDDY));
    return h ? CWnd::FromHandle(h) : nullptr;
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    return static_cast<SHORT>(LOWORD(static_cast<DWORD>(Send(this, UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(nPos), 0)))));
}

int CSpinButtonCtrl::GetPos() const { return static_cast<int>(static_cast<DWORD>(Send(this, UDM_GETPOS))); }
int CSpinButtonCtrl::SetPos32(int nPos) { return static_cast<int>(Send(this, UDM_SETPOS32, 0, nPos)); }

int CSpinButtonCtrl::GetPos32(LPBOOL lpbError) const
{
    return static_cast<int>(Send(this, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError)));
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper)
{
    Send(this, UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(nUpper), static_cast<WORD>(nLower)));
}

DWORD CSpinButtonCtrl::GetRange() const { return static_cast<DWORD>(Send(this, UDM_GETRANGE)); }

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    const DWORD r = GetRange();
    lower = static_cast<SHORT>(HIWORD(r));
    upper = static_cast<SHORT>(LOWORD(r));
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper)
{
    Send(this, UDM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(nUpper));
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const
{
    Send(this, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}
