#pragma once
// LProgressDlg: the suite's modeless progress dialog: a status line, a progress bar and a
// Cancel button, shown while the caller works on in its own loop.
//
// The caller creates it, sets the range, and while it works sets the position and status
// and asks Canceled() now and then. Canceled() first hands the dialog the messages queued
// for it and its controls (so a click on Cancel, Escape or the close box is seen while
// the caller's loop is busy), then answers whether Cancel was pressed; a press keeps the
// dialog up (its button disabled) until the caller destroys it. Without AllowCancel(TRUE)
// the Cancel button is disabled and no press counts. With Modal(TRUE) the parent's
// top-level window is disabled while the dialog exists and enabled again when it goes, so
// the operator cannot start other work meanwhile.
//
// Construction takes two resource IDs: nIDTemplate, a dialog template holding a static
// kProgressStatusId, a progress bar kProgressBarId and a button IDCANCEL (0: the built-in
// layout), and nIDCaption, the string that captions it (0: "Progress").
//
// Under test the thread's answer script stands for the operator: Create takes one
// AnswerKind::Progress answer when one is queued, and an answer IDCANCEL presses Cancel
// in the first Canceled() at which the position has reached the answer's `position`.
// When the dialog goes, it is recorded (kind Progress, its caption, IDCANCEL when Cancel
// was pressed, else IDOK).
#include <optional>

#include "platform/afx/dialog.h"
#include "platform/base/cstring.h"
#include "platform/user/modal.h"

inline constexpr UINT kProgressStatusId = 1001;
inline constexpr UINT kProgressBarId = 1002;

class LProgressDlg : public CDialog {
    DECLARE_DYNAMIC(LProgressDlg)
public:
    explicit LProgressDlg(UINT nIDTemplate = 0, UINT nIDCaption = 0);
    ~LProgressDlg() override;

    void AllowCancel(BOOL bAllow);
    void Modal(BOOL bModal) { m_bModal = bModal; }
    // Makes and shows the dialog over pParent (null: the main window); FALSE when it could
    // not be made.
    using CDialog::Create;
    BOOL Create(CWnd* pParent = nullptr);
    BOOL DestroyWindow() override;

    void SetRange(int nLower, int nUpper);
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    void SetStatus(LPCWSTR lpszStatus);
    const CString& GetStatus() const { return m_strStatus; }
    // Pumps the dialog's messages, then: TRUE once Cancel was pressed.
    BOOL Canceled();
    const CString& GetCaption() const { return m_strCaption; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

private:
    void Finish();

    UINT m_nIDTemplateRes;
    CString m_strCaption;
    CString m_strStatus;
    BOOL m_bAllowCancel = FALSE;
    BOOL m_bModal = FALSE;
    BOOL m_bCanceled = FALSE;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
    HWND m_hWndDisabled = nullptr; // the window Modal(TRUE) disabled
    std::optional<zyn::user::Answer> m_answer;
    bool m_bRecorded = false;
};
