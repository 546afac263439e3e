// DDX for buttons, radio groups, combo and list boxes and scroll bars (rules in ddx.h).
#include "platform/afx/ddx.h"
#include "platform/afx/ddx_internal.h"
#include "platform/base/exception.h"
#include "platform/user/button.h"
#include "platform/user/combobox.h"
#include "platform/user/dialog.h"
#include "platform/user/listbox.h"
#include "platform/user/messages.h"
#include "platform/user/scrollbar.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

using zyn::afx::detail::SetWindowTextIfChanged;
using zyn::afx::detail::WindowTextOf;

// ---- buttons --------------------------------------------------------------------------------------------------------

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(value);
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
        return;
    }
    const int state = (value < 0 || value > 2) ? 0 : value;
    ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    const HWND hWndFirst = pDX->PrepareCtrl(nIDC);
    if (!(static_cast<DWORD>(::GetWindowLongW(hWndFirst, GWL_STYLE)) & WS_GROUP)) {
        AfxThrowNotSupportedException(
            (L"DDX_Radio names control " + std::to_wstring(nIDC) + L", which does not start a group (WS_GROUP)")
                .c_str());
    }
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(value);
        value = -1;
    }
    int iButton = 0;
    for (HWND hWnd = hWndFirst; hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != hWndFirst && (static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE)) & WS_GROUP))
            break; // the next group
        if (!(::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue; // a label or box inside the group is not counted
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageW(hWnd, BM_GETCHECK, 0, 0) != BST_UNCHECKED && value == -1)
                value = iButton;
        } else {
            ::SendMessageW(hWnd, BM_SETCHECK, iButton == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++iButton;
    }
}

// ---- combo and list boxes -------------------------------------------------------------------------------------------

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(index);
        index = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(index);
        index = static_cast<int>(::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageW(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

namespace {

// The two low style bits name a combo box's kind: simple, drop-down or drop-down list.
constexpr DWORD kComboTypeMask = CBS_SIMPLE | CBS_DROPDOWN;

bool IsDropDownList(HWND hWndCombo)
{
    return (static_cast<DWORD>(::GetWindowLongW(hWndCombo, GWL_STYLE)) & kComboTypeMask) == CBS_DROPDOWNLIST;
}

// The text of item `index` of a list (get-length and get-text messages), "" for none.
CString ItemText(HWND hWnd, UINT msgLen, UINT msgText, LRESULT index)
{
    CString text;
    if (index < 0)
        return text;
    const LRESULT n = ::SendMessageW(hWnd, msgLen, static_cast<WPARAM>(index), 0);
    if (n <= 0)
        return text;
    const LRESULT got = ::SendMessageW(hWnd, msgText, static_cast<WPARAM>(index),
        reinterpret_cast<LPARAM>(text.GetBuffer(static_cast<int>(n) + 1)));
    text.ReleaseBuffer(got < 0 ? 0 : static_cast<int>(got));
    return text;
}

CString ComboText(HWND hWndCtrl)
{
    // A drop-down list shows its selected item; the others their edit field.
    if (IsDropDownList(hWndCtrl)) {
        return ItemText(hWndCtrl, CB_GETLBTEXTLEN, CB_GETLBTEXT,
            ::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
    }
    return WindowTextOf(hWndCtrl);
}

// Loading a combo box's string: select the item found by `findMsg` (a prefix or whole
// match from the start), else clear the selection and show the text in the edit field.
void LoadComboString(HWND hWndCtrl, const CString& value, UINT findMsg)
{
    LRESULT index = CB_ERR;
    if (!value.IsEmpty()) {
        index = ::SendMessageW(hWndCtrl, findMsg, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(value.GetString()));
    }
    if (index >= 0) {
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        return;
    }
    ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    if (!IsDropDownList(hWndCtrl))
        SetWindowTextIfChanged(hWndCtrl, value.GetString());
}

void LoadListString(HWND hWndCtrl, const CString& value, UINT findMsg)
{
    LRESULT index = LB_ERR;
    if (!value.IsEmpty()) {
        index = ::SendMessageW(hWndCtrl, findMsg, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(value.GetString()));
    }
    ::SendMessageW(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index >= 0 ? index : -1), 0);
}

} // namespace

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(value);
        value = ComboText(hWndCtrl);
    } else {
        LoadComboString(hWndCtrl, value, CB_FINDSTRING);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(value);
        value = ComboText(hWndCtrl);
    } else {
        LoadComboString(hWndCtrl, value, CB_FINDSTRINGEXACT);
    }
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(value);
        value = ItemText(hWndCtrl, LB_GETTEXTLEN, LB_GETTEXT, ::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0));
    } else {
        LoadListString(hWndCtrl, value, LB_FINDSTRING);
    }
}

void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(value);
        value = ItemText(hWndCtrl, LB_GETTEXTLEN, LB_GETTEXT, ::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0));
    } else {
        LoadListString(hWndCtrl, value, LB_FINDSTRINGEXACT);
    }
}

// ---- scroll bars -------------------------------------------------------------------------------------------------------

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value)
{
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->RememberValue(value);
        value = ::GetScrollPos(hWndCtrl, SB_CTL);
    } else {
        ::SetScrollPos(hWndCtrl, SB_CTL, value, TRUE);
    }
}
