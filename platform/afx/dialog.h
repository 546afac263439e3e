#pragma once
// CDialog: a window object over a dialog of the dialog manager ("#32770" and its controls,
// made from a template).
//
// The template comes from a resource name or ID, found through the resource chain
// (AfxFindResourceHandle: the resource handle, the chain modules, the executable), or is
// given in memory (InitModalIndirect, CreateIndirect). The object is attached to the
// dialog window when the window is created (the class library's create hook), so the
// window's procedure is the class library's: every message goes through the message map
// first, and what the map leaves goes to the dialog manager's DefDlgProc, which calls
// the class library's dialog procedure (AfxDlgProc). That procedure answers only
// WM_INITDIALOG, by calling OnInitDialog: the DLGINIT strings of the template's name go
// into their list and combo boxes (ExecuteDlgInit), then UpdateData(FALSE) moves the
// members into the controls. A FALSE from either ends the dialog with -1.
//
// Modal (DoModal): the dialog manager's modal path runs the dialog (the owner — the
// parent's top-level window — disabled, the one modal loop until EndDialog, the owner
// enabled again, the window destroyed); the result is EndDialog's, -1 when the dialog
// could not be created. A scripted answer of the thread's answer script (kind Dialog)
// ends it at once as the dialog manager documents, without OnOK or OnCancel running:
// the members then keep what they held. While the loop runs, each message for the dialog
// or its controls is offered to PreTranslateMessage of the window objects from the
// control up to the dialog (a WH_MSGFILTER hook of the modal loop); CDialog's runs
// IsDialogMessage, so the keyboard interface works as in a modeless dialog.
//
// Modeless (Create, CreateIndirect): the dialog is created and shown when its template
// says WS_VISIBLE; the caller's loop must give its messages to PreTranslateMessage
// (CWinThread does) for the keyboard interface.
//
// Buttons: IDOK runs OnOK (UpdateData(TRUE); a failed validation keeps the dialog open
// with the focus on the failing control; otherwise EndDialog(IDOK)); IDCANCEL (also
// Escape, and WM_CLOSE through the dialog manager) runs OnCancel (EndDialog(IDCANCEL)).
// A command the dialog does not handle (an ID from 0x8000 below the system commands)
// goes to the owner and then to the thread object, as commands of a modal dialog reach
// its frame. WM_CTLCOLOR* reach OnCtlColor, whose base hands them to the control's own
// object first (reflection), then to the dialog manager.
#include <string>

#include "platform/afx/wnd.h"
#include "platform/user/dialog.h"

class CFont;
namespace zyn::afx::detail {
struct TemplateRef;
} // namespace zyn::afx::detail

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    // The template is given later (InitModalIndirect, CreateIndirect, Create).
    CDialog();
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // ---- modeless -----------------------------------------------------------------------------------------------
    // FALSE when the object holds a window already (ERROR_INVALID_PARAMETER), the template
    // is missing (the resource error) or malformed (ERROR_INVALID_DATA), the window could
    // not be made, or OnInitDialog ended it (ERROR_CANCELLED, 1223; the window is destroyed).
    using CWnd::Create;
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
        void* lpDialogInit = nullptr);
    virtual BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = nullptr);

    // ---- modal ------------------------------------------------------------------------------------------------------
    // EndDialog's result; -1 when the dialog could not be created (the last error says
    // why), IDCANCEL when the loop ended without EndDialog (the script ran dry).
    virtual INT_PTR DoModal();
    // Names an in-memory template (and DLGINIT data) for DoModal. The template must stay
    // valid until DoModal returns.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr, void* lpDialogInit = nullptr);
    BOOL InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = nullptr);

    // ---- operations --------------------------------------------------------------------------------------------------
    // Ends a modal dialog with nResult (its DoModal returns it); a modeless dialog is hidden.
    void EndDialog(int nResult);
    // Dialog units to pixels through the dialog's font.
    void MapDialogRect(LPRECT lpRect) const;
    // The focus to the next / previous tab stop, or to a given control (WM_NEXTDLGCTL).
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    // The default push button (DM_SETDEFID / DM_GETDEFID: MAKELONG(id, DC_HASDEFID), 0 for none).
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void SetHelpID(UINT nIDR) { m_nIDHelp = nIDR; }

    // ---- overridables --------------------------------------------------------------------------------------------------
    // TRUE: the dialog manager gives the focus to the first tab stop; FALSE: the handler
    // placed it.
    virtual BOOL OnInitDialog();
    virtual void OnSetFont(CFont* pFont);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // A dialog whose template asks the dialog manager to place it (DS_CENTER,
    // DS_CENTERMOUSE, DS_ABSALIGN) is not centred again.
    BOOL CheckAutoCenter() override;

    // The template: a resource name or MAKEINTRESOURCE ID, or memory.
    LPCTSTR m_lpszTemplateName = nullptr;
    HGLOBAL m_hDialogTemplate = nullptr;
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    void* m_lpDialogInit = nullptr;     // DLGINIT data for an in-memory template
    CWnd* m_pParentWnd = nullptr;
    HWND m_hWndTop = nullptr;           // the top-level window a modal run disabled
    UINT m_nIDHelp = 0;                 // the help context (the template's ID by default)

protected:
    virtual void OnOK();
    virtual void OnCancel();
    // Called before the dialog procedure sees WM_INITDIALOG.
    virtual void PreInitDialog();

    // A WM_NOTIFY the map answers also goes to DWLP_MSGRESULT, so a sender that reads the
    // dialog's result the dialog-procedure way reads the same answer.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void SetTemplateName(LPCTSTR lpszTemplateName);
    BOOL CreateModeless(const zyn::afx::detail::TemplateRef& t, CWnd* pParentWnd);

    std::wstring m_templateNameStorage;   // a named template's name (m_lpszTemplateName points here)
};

// The class library's dialog procedure: WM_INITDIALOG calls the CDialog's OnInitDialog;
// everything else is left to DefDlgProc (FALSE).
INT_PTR AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
