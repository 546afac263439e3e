#include "platform/afx/statusbarctrl.h"

#include <vector>

#include "platform/base/cstring.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/user/messages.h"

IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

CStatusBarCtrl::CStatusBarCtrl() = default;
CStatusBarCtrl::~CStatusBarCtrl() = default;

BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatusBarCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CWnd::CreateEx(dwExStyle, STATUSCLASSNAMEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatusBarCtrl::SetText(LPCTSTR lpszText, int nPane, int nType)
{
    const WPARAM wp = (static_cast<WPARAM>(nPane) & 0xFF) | (static_cast<WPARAM>(nType) & 0xFF00);
    return static_cast<BOOL>(SendMessage(SB_SETTEXTW, wp, reinterpret_cast<LPARAM>(lpszText)));
}

int CStatusBarCtrl::GetTextLength(int nPane, int* pType) const
{
    const auto r = static_cast<DWORD>(SendMessage(SB_GETTEXTLENGTHW, static_cast<WPARAM>(nPane)));
    if (pType)
        *pType = HIWORD(r);
    return LOWORD(r);
}

int CStatusBarCtrl::GetText(LPTSTR lpszText, int nPane, int* pType) const
{
    int type = 0;
    const int length = GetTextLength(nPane, &type);
    SendMessage(SB_GETTEXTW, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(lpszText));
    if (pType)
        *pType = type;
    return length;
}

CString CStatusBarCtrl::GetText(int nPane, int* pType) const
{
    int type = 0;
    const int length = GetTextLength(nPane, &type);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    SendMessage(SB_GETTEXTW, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(buffer.data()));
    if (pType)
        *pType = type;
    return CString(buffer.data(), length);
}

CString CStatusBarCtrl::GetTipText(int nPane) const
{
    // The message has no length query: grow the buffer until the text is shorter than it.
    for (size_t cap = 256;; cap *= 2) {
        const size_t size = cap > 0xFFFF ? 0xFFFF : cap;
        std::vector<wchar_t> buffer(size, L'\0');
        SendMessage(SB_GETTIPTEXTW, MAKEWPARAM(static_cast<WORD>(nPane), static_cast<WORD>(size)),
            reinterpret_cast<LPARAM>(buffer.data()));
        const CString text(buffer.data());
        if (static_cast<size_t>(text.GetLength()) + 1 < size || size == 0xFFFF)
            return text;
    }
}

void CStatusBarCtrl::SetTipText(LPCTSTR pszTipText, int nPane)
{
    SendMessage(SB_SETTIPTEXTW, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(pszTipText));
}

BOOL CStatusBarCtrl::SetParts(int nParts, int* pWidths)
{
    if (nParts <= 0)
        return FALSE;
    return static_cast<BOOL>(SendMessage(SB_SETPARTS, static_cast<WPARAM>(nParts), reinterpret_cast<LPARAM>(pWidths)));
}

int CStatusBarCtrl::GetParts(int nParts, int* pParts) const
{
    return static_cast<int>(
        SendMessage(SB_GETPARTS, static_cast<WPARAM>(nParts < 0 ? 0 : nParts), reinterpret_cast<LPARAM>(pParts)));
}

BOOL CStatusBarCtrl::GetBorders(int* pBorders) const
{
    return static_cast<BOOL>(SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(pBorders)));
}

BOOL CStatusBarCtrl::GetBorders(int& nHorz, int& nVert, int& nSpacing) const
{
    int b[3] = {0, 0, 0};
    const BOOL ok = GetBorders(b);
    nHorz = b[0];
    nVert = b[1];
    nSpacing = b[2];
    return ok;
}

void CStatusBarCtrl::SetMinHeight(int nMin) { SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(nMin)); }
BOOL CStatusBarCtrl::SetSimple(BOOL bSimple) { return static_cast<BOOL>(SendMessage(SB_SIMPLE, bSimple)); }
BOOL CStatusBarCtrl::IsSimple() const { return static_cast<BOOL>(SendMessage(SB_ISSIMPLE)); }

BOOL CStatusBarCtrl::GetRect(int nPane, LPRECT lpRect) const
{
    return static_cast<BOOL>(SendMessage(SB_GETRECT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(lpRect)));
}

COLORREF CStatusBarCtrl::SetBkColor(COLORREF cr)
{
    return static_cast<COLORREF>(SendMessage(SB_SETBKCOLOR, 0, static_cast<LPARAM>(cr)));
}

BOOL CStatusBarCtrl::SetIcon(int nPane, HICON hIcon)
{
    return static_cast<BOOL>(SendMessage(SB_SETICON, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(hIcon)));
}

HICON CStatusBarCtrl::GetIcon(int nPane) const
{
    return reinterpret_cast<HICON>(SendMessage(SB_GETICON, static_cast<WPARAM>(nPane)));
}

void CStatusBarCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatusBarCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}
