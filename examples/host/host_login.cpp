#include "host_login.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "host_ids.h"
#include "platform/afx/winapp.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/user/edit.h"
#include "platform/user/msgbox.h"

CLoginDialog::CLoginDialog(CZynDatabase& db) : CDialog(IDD_HOST_LOGIN), m_db(db) {}

BOOL CLoginDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendDlgItemMessage(IDC_LOGIN_NAME, EM_LIMITTEXT, 64, 0);
    SendDlgItemMessage(IDC_LOGIN_PASSWORD, EM_LIMITTEXT, 128, 0);
    return TRUE; // the operator's name, the first tab stop, has the focus
}

void CLoginDialog::OnOK()
{
    CString name, typed;
    GetDlgItemText(IDC_LOGIN_NAME, name);
    GetDlgItemText(IDC_LOGIN_PASSWORD, typed);
    std::wstring password(typed.GetString());
    // Nothing of the password stays behind in the field's copy.
    const int length = typed.GetLength();
    wchar_t* const chars = typed.GetBuffer();
    std::fill(chars, chars + length, L'\0');
    typed.ReleaseBuffer(0);
    std::optional<host::LoggedInOperator> who;
    CString failure;
    try {
        who = host::CheckOperatorLogin(m_db, name, password);
    } catch (CException* e) {
        failure = L"The operators cannot be read: " + e->GetMessageText();
        e->Delete();
    } catch (const std::exception& e) {
        failure = CString(L"The password cannot be checked: ") + CString(zyn::base::FromUtf8(e.what()).c_str());
    }
    std::fill(password.begin(), password.end(), L'\0');
    SetDlgItemText(IDC_LOGIN_PASSWORD, L"");
    if (who) {
        m_operator = std::move(who);
        EndDialog(IDOK);
        return;
    }
    ++m_refusals;
    AfxMessageBox(failure.IsEmpty() ? CString(L"The operator name or the password is not right.") : failure,
        MB_OK | MB_ICONEXCLAMATION);
    GotoDlgCtrl(GetDlgItem(failure.IsEmpty() && !name.Trim().IsEmpty() ? IDC_LOGIN_PASSWORD : IDC_LOGIN_NAME));
}
