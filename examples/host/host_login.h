#pragma once
// The console's log-in dialog: the operator's name and password, checked against the
// console's operator table (operator_login.h) when OK is pressed. A wrong name or
// password says so in a message box and leaves the dialog open with the password field
// emptied and focused, so the operator simply types again; Cancel (or Escape, or closing
// the dialog) ends it with IDCANCEL and the console ends. The password is wiped from the
// field and from memory once checked.
#include <optional>

#include "operator_login.h"
#include "platform/afx/dialog.h"

class CZynDatabase;

class CLoginDialog : public CDialog {
public:
    explicit CLoginDialog(CZynDatabase& db);

    // Who logged in (after DoModal returned IDOK).
    const std::optional<host::LoggedInOperator>& Operator() const { return m_operator; }
    // Wrong tries so far.
    int Refusals() const { return m_refusals; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CZynDatabase& m_db;
    std::optional<host::LoggedInOperator> m_operator;
    int m_refusals = 0;
};
