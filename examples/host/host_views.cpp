#include "host_views.h"

#include <algorithm>
#include <cwchar>
#include <span>


#include "frames/acconfig_sheet.h"
#include "frames/cfg_message.h"
#include "frames/cfg_user_action.h"
#include "host_app.h"
#include "host_ids.h"
#include "operator_login.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/afx/doc.h"
#include "platform/afx/frame.h"
#include "platform/afx/msgmap.h"
#include "platform/afx/winapp.h"
#include "platform/user/listbox.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/user/edit.h"
#include "platform/user/winuser.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"

using zyn::afx::DbValue;

namespace host {

void CreateConfigTables(CZynDatabase& db)
{
    db.ExecuteSQL(L"CREATE TABLE IF NOT EXISTS HOST_DOOR (ID INTEGER PRIMARY KEY, NAME VARCHAR(64) NOT NULL UNIQUE)");
    db.ExecuteSQL(L"CREATE TABLE IF NOT EXISTS HOST_OPERATOR (ID INTEGER PRIMARY KEY, NAME VARCHAR(64) NOT NULL UNIQUE)");
}

} // namespace host

namespace {
const CNamePage::Kind kDoors{L"HOST_DOOR", L"door", IDD_HOST_DOOR_PAGE, IDC_DOOR_NAME, host::kPermDoors, host::kObjectDoor};
const CNamePage::Kind kOperators{L"HOST_OPERATOR", L"operator", IDD_HOST_OPER_PAGE, IDC_OPER_NAME,
    host::kPermOperators, host::kObjectOperator, IDC_OPER_PASSWORD, IDC_OPER_CONFIRM};
// The longest password a field takes.
constexpr int kPasswordLimit = 128;
UINT ListOf(const CNamePage::Kind& kind) { return kind.idd == IDD_HOST_DOOR_PAGE ? IDC_DOOR_LIST : IDC_OPER_LIST; }
} // namespace

BEGIN_MESSAGE_MAP(CNamePage, CZynAcConfigPage)
    ON_LBN_SELCHANGE(IDC_DOOR_LIST, &CNamePage::OnSelChange)
    ON_LBN_SELCHANGE(IDC_OPER_LIST, &CNamePage::OnSelChange)
END_MESSAGE_MAP()

CNamePage::CNamePage(const Kind& kind) : CZynAcConfigPage(kind.idd, 0), m_kind(kind) {}

void CNamePage::SetPermissions(const CAcsUser& user)
{
    const bool may = user.HasPermission(m_kind.permission);
    m_bViewPerm = m_bAddPerm = m_bModifyPerm = m_bDeletePerm = may;
}

int CNamePage::CanModify() { return CZynAcConfigPage::CanModify() && m_selected >= 0; }
int CNamePage::CanDelete() { return CZynAcConfigPage::CanDelete() && m_selected >= 0; }

BOOL CNamePage::OnInitDialog()
{
    CZynAcConfigPage::OnInitDialog();
    m_list.SubclassDlgItem(ListOf(m_kind), this);
    Reload();
    Select(m_rows.empty() ? -1 : 0);
    GetDlgItem(m_kind.idcName)->EnableWindow(FALSE);
    if (HasPassword()) {
        for (const UINT idc : {m_kind.idcPassword, m_kind.idcConfirm}) {
            SendDlgItemMessage(static_cast<int>(idc), EM_LIMITTEXT, kPasswordLimit, 0);
            GetDlgItem(static_cast<int>(idc))->EnableWindow(FALSE);
        }
    }
    return TRUE;
}

std::wstring CNamePage::Secret(UINT idc) const
{
    CString typed;
    GetDlgItemText(static_cast<int>(idc), typed);
    std::wstring text(typed.GetString());
    const int length = typed.GetLength();
    wchar_t* const chars = typed.GetBuffer();
    std::fill(chars, chars + length, L'\0');
    typed.ReleaseBuffer(0);
    return text;
}

void CNamePage::ClearPasswords()
{
    if (!HasPassword())
        return;
    SetDlgItemText(static_cast<int>(m_kind.idcPassword), L"");
    SetDlgItemText(static_cast<int>(m_kind.idcConfirm), L"");
}

void CNamePage::Reload()
{
    m_rows.clear();
    m_list.ResetContent();
    CZynDatabase* db = Database();
    if (!db || !db->IsOpen())
        return;
    try {
        m_rows = host::ReadNames(*db, m_kind.table);
    } catch (CException* e) {
        HandleException(L"The list cannot be read.", e, TRUE);
        e->Delete();
    }
    for (const host::NamedRow& row : m_rows)
        m_list.AddString(row.name);
}

std::vector<CString> CNamePage::Names() const
{
    std::vector<CString> names;
    for (const host::NamedRow& row : m_rows)
        names.push_back(row.name);
    return names;
}

void CNamePage::Select(int index)
{
    m_selected = index >= 0 && index < static_cast<int>(m_rows.size()) ? index : -1;
    m_list.SetCurSel(m_selected);
    SetDlgItemText(m_kind.idcName, m_selected >= 0 ? m_rows[static_cast<size_t>(m_selected)].name : CString());
    UpdateButtons();
}

void CNamePage::OnSelChange()
{
    if (GetState() == AcCfgStateView)
        Select(m_list.GetCurSel());
    else
        m_list.SetCurSel(m_selected); // the edit stays on the row it began on
}

CString CNamePage::NameField() const
{
    CString name;
    GetDlgItemText(m_kind.idcName, name);
    name.Trim();
    return name;
}

void CNamePage::SetNameField(const CString& name) { SetDlgItemText(m_kind.idcName, name); }

int CNamePage::SetState(AcCfgFormState state)
{
    const int result = CZynAcConfigPage::SetState(state);
    const bool editing = result && (state == AcCfgStateAdd || state == AcCfgStateModify);
    if (state == AcCfgStateAdd)
        SetNameField(CString());
    GetDlgItem(m_kind.idcName)->EnableWindow(editing);
    m_list.EnableWindow(!editing);
    if (HasPassword()) {
        // A password typed for one edit never carries over to the next.
        ClearPasswords();
        GetDlgItem(static_cast<int>(m_kind.idcPassword))->EnableWindow(editing);
        GetDlgItem(static_cast<int>(m_kind.idcConfirm))->EnableWindow(editing);
    }
    // The focus follows the edit: into the name field when it begins, so typing goes
    // there and not to a button's mnemonic; back to the list when it ends, unless it
    // is outside the screen by then.
    if (editing) {
        GotoDlgCtrl(GetDlgItem(static_cast<int>(m_kind.idcName)));
    } else if (state == AcCfgStateView && m_list.m_hWnd) {
        CFrameWnd* screen = GetParentFrame();
        const HWND focus = ::GetFocus();
        if (!focus || (screen && (focus == screen->m_hWnd || ::IsChild(screen->m_hWnd, focus))))
            m_list.SetFocus();
    }
    return result;
}

int CNamePage::ValidateData()
{
    const CString name = NameField();
    if (name.IsEmpty()) {
        AfxMessageBox(CString(L"Enter the ") + m_kind.noun + L"'s name.");
        return FALSE;
    }
    if (name.GetLength() > 64) {
        AfxMessageBox(CString(L"A name has at most 64 characters."));
        return FALSE;
    }
    if (HasPassword()) {
        std::wstring password = Secret(m_kind.idcPassword), confirm = Secret(m_kind.idcConfirm);
        const bool missing = password.empty() && GetState() == AcCfgStateAdd;
        const bool differ = password != confirm;
        std::fill(password.begin(), password.end(), L'\0');
        std::fill(confirm.begin(), confirm.end(), L'\0');
        if (missing) {
            AfxMessageBox(CString(L"Enter the operator's password, and again to confirm it."));
            return FALSE;
        }
        if (differ) {
            ClearPasswords();
            AfxMessageBox(CString(L"The password and its confirmation differ: type both again."));
            return FALSE;
        }
    }
    // A rename to the name the row has already is no duplicate.
    if (GetState() == AcCfgStateModify && m_selected >= 0 && m_rows[static_cast<size_t>(m_selected)].name == name)
        return TRUE;
    return NameExists(name, m_kind.table, L"NAME", -9999, TRUE) ? FALSE : TRUE;
}

bool CNamePage::Store(LPCWSTR sql, LONG id, const CString& name, LPCWSTR failure)
{
    CZynDatabase* db = Database();
    if (!db || !db->IsOpen())
        return false;
    try {
        if (name.IsEmpty()) {
            const DbValue params[] = {int32_t{id}};
            db->ExecuteSQL(sql, std::span<const DbValue>(params));
        } else {
            const DbValue params[] = {name, int32_t{id}};
            db->ExecuteSQL(sql, std::span<const DbValue>(params));
        }
    } catch (CException* e) {
        HandleException(failure, e, TRUE);
        e->Delete();
        return false;
    }
    return true;
}

bool CNamePage::StoreOperator(LONG id, const CString& name, bool isNew, LPCWSTR failure)
{
    CZynDatabase* db = Database();
    if (!db || !db->IsOpen())
        return false;
    std::wstring password = Secret(m_kind.idcPassword);
    bool stored = false;
    try {
        host::StoreOperator(*db, id, name, isNew, password);
        stored = true;
    } catch (CException* e) {
        HandleException(failure, e, TRUE);
        e->Delete();
    } catch (const std::exception& e) {
        AfxMessageBox(CString(failure) + L" " + CString(zyn::base::FromUtf8(e.what()).c_str()));
    }
    std::fill(password.begin(), password.end(), L'\0');
    if (stored)
        ClearPasswords();
    return stored;
}

void CNamePage::Audit(LONG id, const CString& name)
{
    CString text;
    text.Format(L"%s(%d)", name.GetString(), id);
    if (CAcsUser* user = User())
        user->LogTransToDB(AcCfgFormStateToUserActionType(GetState()), m_kind.objectType, text, id, 0, 0);
    CfgMessage msg(m_kind.objectType, AcCfgFormStateToUserActionType(GetState()), 0);
    msg.m_lParams[0] = id;
    msg.m_strText = name;
    UpdateApp(msg, TRUE);
}

void CNamePage::Stored(LONG id, const CString& name)
{
    Audit(id, name);
    Reload();
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == id)
            Select(static_cast<int>(i));
}

int CNamePage::Add()
{
    const CString name = NameField();
    LONG id = 1;
    for (const host::NamedRow& row : m_rows)
        id = std::max(id, row.id + 1);
    const bool stored = HasPassword()
        ? StoreOperator(id, name, true, L"The operator could not be added.")
        : Store((CString(L"INSERT INTO ") + m_kind.table + L" (NAME, ID) VALUES (?, ?)").GetString(), id, name,
              L"The name could not be added.");
    if (!stored)
        return FALSE;
    Stored(id, name);
    HostApp().Say(CString(L"Added the ") + m_kind.noun + L" " + name);
    return TRUE;
}

int CNamePage::Modify()
{
    if (m_selected < 0)
        return FALSE;
    const LONG id = m_rows[static_cast<size_t>(m_selected)].id;
    const CString was = m_rows[static_cast<size_t>(m_selected)].name;
    const CString name = NameField();
    const bool stored = HasPassword()
        ? StoreOperator(id, name, false, L"The operator could not be changed.")
        : Store((CString(L"UPDATE ") + m_kind.table + L" SET NAME = ? WHERE ID = ?").GetString(), id, name,
              L"The name could not be changed.");
    if (!stored)
        return FALSE;
    Stored(id, name);
    HostApp().Say(was == name ? CString(L"Changed the ") + m_kind.noun + L" " + name
                              : CString(L"Renamed the ") + m_kind.noun + L" " + was + L" to " + name);
    return TRUE;
}

int CNamePage::Delete()
{
    if (m_selected < 0)
        return FALSE;
    const host::NamedRow row = m_rows[static_cast<size_t>(m_selected)];
    if (m_kind.objectType == host::kObjectOperator) {
        // The operator logged in stays: deleting it could leave nobody able to log in.
        if (const CAcsUser* user = User(); user && user->GetUserID() == row.id) {
            AfxMessageBox(CString(L"You are logged in as this operator: it cannot be deleted now."));
            return FALSE;
        }
        // The password goes with the operator, so a later operator given the same ID
        // does not inherit it.
        CZynDatabase* db = Database();
        if (!db || !db->IsOpen())
            return FALSE;
        try {
            host::DeleteOperator(*db, row.id);
        } catch (CException* e) {
            HandleException(L"The operator could not be deleted.", e, TRUE);
            e->Delete();
            return FALSE;
        }
    } else if (!Store((CString(L"DELETE FROM ") + m_kind.table + L" WHERE ID = ?").GetString(), row.id, CString(),
                   L"The name could not be deleted.")) {
        return FALSE;
    }
    Audit(row.id, row.name);
    HostApp().Say(CString(L"Deleted the ") + m_kind.noun + L" " + row.name);
    Reload();
    Select(m_rows.empty() ? -1 : 0);
    return TRUE;
}

int CNamePage::Clear()
{
    SetNameField(CString());
    ClearPasswords();
    return TRUE;
}

void CNamePage::Cancel() { Select(m_selected); }

void CScreenView::OnInitialUpdate()
{
    if (CDocument* doc = GetDocument(); doc && !GetTitle().IsEmpty())
        doc->SetTitle(GetTitle());
    CZynAcConfigView::OnInitialUpdate();
}

IMPLEMENT_DYNCREATE(CDoorView, CScreenView)
IMPLEMENT_DYNCREATE(COperatorView, CScreenView)

int CDoorView::AddPages()
{
    GetSheet()->AddPage(new CNamePage(kDoors)); // the sheet owns its pages
    return TRUE;
}

int COperatorView::AddPages()
{
    GetSheet()->AddPage(new CNamePage(kOperators));
    return TRUE;
}
