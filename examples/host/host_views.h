#pragma once
// The console's configuration screens: doors and operators. Each is a configuration view
// of one page listing the names kept in the console's own table (HOST_DOOR, HOST_OPERATOR)
// beside a name field. Add and Modify take the field's name, refusing an empty one or one
// the table has already; each change writes its audit row (USER_TRANSACTION) for the
// logged-in operator and is told to the other screens. The operators' page has a
// password and its confirmation besides: required for a new operator, optional on Modify
// (both blank keep the old password), stored with the name in one transaction as the
// salted hash the log-in checks (operator_login.h), and wiped from the fields whenever the
// form changes state. An operator is deleted with its password, and never the operator
// logged in.
#include <string>
#include <vector>

#include "frames/acconfig_page.h"
#include "frames/acconfig_view.h"
#include "host_work.h"
#include "platform/afx/ctlwrap_listbox.h"

namespace host {

// Permissions and object types of the console's screens.
inline constexpr LONG kPermDoors = 9001, kPermOperators = 9002;
inline constexpr int kObjectDoor = 901, kObjectOperator = 902;

// Creates the screens' tables when missing.
void CreateConfigTables(CZynDatabase& db);

} // namespace host

class CNamePage : public CZynAcConfigPage {
public:
    struct Kind {
        const wchar_t* table;  // HOST_DOOR or HOST_OPERATOR: ID, NAME
        const wchar_t* noun;   // "door"
        UINT idd, idcName;
        LONG permission;
        int objectType;
        UINT idcPassword = 0, idcConfirm = 0; // the operators' password fields; 0: none
    };
    explicit CNamePage(const Kind& kind);

    void SetPermissions(const CAcsUser& user) override;
    int CanModify() override;
    int CanDelete() override;
    int SetState(AcCfgFormState state) override;
    int ValidateData() override;
    int Add() override;
    int Modify() override;
    int Delete() override;
    int Clear() override;
    void Cancel() override;
    BOOL OnInitDialog() override;

    // For the tour and the tests: the names shown, the selection, the name field.
    std::vector<CString> Names() const;
    void Select(int index);
    void SetNameField(const CString& name);

protected:
    afx_msg void OnSelChange();
    DECLARE_MESSAGE_MAP()

private:
    void Reload();
    CString NameField() const;
    bool Store(LPCWSTR sql, LONG id, const CString& name, LPCWSTR failure);
    bool StoreOperator(LONG id, const CString& name, bool isNew, LPCWSTR failure);
    bool HasPassword() const { return m_kind.idcPassword != 0; }
    // A password field's text, its copies in the window's string wiped.
    std::wstring Secret(UINT idc) const;
    void ClearPasswords();
    void Audit(LONG id, const CString& name);
    // After a row was stored: its audit row, the list read again, the row selected.
    void Stored(LONG id, const CString& name);

    Kind m_kind;
    CListBox m_list;
    std::vector<host::NamedRow> m_rows;
    int m_selected = -1;
};

// A console screen: a configuration view named for what it shows. Its document takes
// that name as its title, so the screen's caption, its MDI tab and the main caption read
// "Doors" rather than a name numbered from the template ("Door1").
class CScreenView : public CZynAcConfigView {
public:
    explicit CScreenView(const wchar_t* name) { SetTitle(name); }
    void OnInitialUpdate() override;
};

class CDoorView : public CScreenView {
    DECLARE_DYNCREATE(CDoorView)
public:
    CDoorView() : CScreenView(L"Doors") {}
    int AddPages() override;
};

class COperatorView : public CScreenView {
    DECLARE_DYNCREATE(COperatorView)
public:
    COperatorView() : CScreenView(L"Operators") {}
    int AddPages() override;
};
