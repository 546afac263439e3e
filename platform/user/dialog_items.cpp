// The dialog item helpers: text, numbers and button states of a dialog's controls by ID.
#include <cstdint>
#include <string>

#include "platform/base/lasterror.h"
#include "platform/user/button.h"
#include "platform/user/dialog.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace {

// GetDlgItem fails with ERROR_CONTROL_ID_NOT_FOUND for a missing item.
HWND Item(HWND hDlg, int id) { return GetDlgItem(hDlg, id); }

std::wstring TextOf(HWND h)
{
    const int n = GetWindowTextLengthW(h);
    std::wstring s(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
    const int got = GetWindowTextW(h, s.data(), static_cast<int>(s.size()));
    s.resize(static_cast<size_t>(got > 0 ? got : 0));
    return s;
}

bool Blank(wchar_t c) { return c == L' ' || c == L'\t'; }

} // namespace

UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax)
{
    const HWND h = Item(hDlg, nIDDlgItem);
    if (!h) {
        if (lpString && cchMax > 0)
            lpString[0] = L'\0';
        return 0;
    }
    const int n = GetWindowTextW(h, lpString, cchMax);
    return static_cast<UINT>(n > 0 ? n : 0);
}

UINT GetDlgItemText(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax)
{
    return GetDlgItemTextW(hDlg, nIDDlgItem, lpString, cchMax);
}

BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString)
{
    const HWND h = Item(hDlg, nIDDlgItem);
    return h ? SetWindowTextW(h, lpString) : FALSE;
}

BOOL SetDlgItemText(HWND hDlg, int nIDDlgItem, LPCWSTR lpString)
{
    return SetDlgItemTextW(hDlg, nIDDlgItem, lpString);
}

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned)
{
    if (lpTranslated)
        *lpTranslated = FALSE;
    const HWND h = Item(hDlg, nIDDlgItem);
    if (!h)
        return 0;
    const std::wstring s = TextOf(h);
    size_t i = 0, end = s.size();
    while (i < end && Blank(s[i]))
        ++i;
    while (end > i && Blank(s[end - 1]))
        --end;
    bool negative = false;
    if (bSigned && i < end && (s[i] == L'-' || s[i] == L'+')) {
        negative = s[i] == L'-';
        ++i;
    }
    if (i >= end)
        return 0;
    uint64_t value = 0;
    for (; i < end; ++i) {
        if (s[i] < L'0' || s[i] > L'9')
            return 0;
        value = value * 10 + static_cast<uint64_t>(s[i] - L'0');
        if (value > 0xFFFFFFFFull)
            return 0;
    }
    if (bSigned && value > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return 0;
    if (lpTranslated)
        *lpTranslated = TRUE;
    if (negative)
        return static_cast<UINT>(-static_cast<int64_t>(value));
    return static_cast<UINT>(value);
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    const std::wstring text = bSigned ? std::to_wstring(static_cast<int>(uValue)) : std::to_wstring(uValue);
    return SetDlgItemTextW(hDlg, nIDDlgItem, text.c_str());
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    const HWND h = Item(hDlg, nIDButton);
    if (!h)
        return FALSE;
    SendMessageW(h, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    if (!IsWindow(hDlg))
        return FALSE;
    if (nIDFirstButton > nIDLastButton) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (HWND c = GetWindow(hDlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (id >= nIDFirstButton && id <= nIDLastButton)
            SendMessageW(c, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    const HWND h = Item(hDlg, nIDButton);
    return h ? static_cast<UINT>(SendMessageW(h, BM_GETCHECK, 0, 0)) : 0;
}

LRESULT SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const HWND h = Item(hDlg, nIDDlgItem);
    return h ? SendMessageW(h, Msg, wParam, lParam) : 0;
}

LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return SendDlgItemMessageW(hDlg, nIDDlgItem, Msg, wParam, lParam);
}
