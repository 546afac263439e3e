// CDialog: construction, modeless creation, initialisation, the buttons, the dialog
// manager's operations and message routing. DoModal is in dialog_modal.cpp.
#include "platform/afx/dialog.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/dialog_internal.h"
#include "platform/afx/gdi/afxgdi.h"
#include "platform/afx/winthread.h"
#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/base/tchar.h"
#include "platform/user/edit.h"
#include "platform/user/messages.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
    ON_MESSAGE(WM_SETFONT, &CDialog::HandleSetFont)
END_MESSAGE_MAP()

// ---- the dialog procedure -----------------------------------------------------------------------------------------

INT_PTR AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    // The object was attached when the window was created; a window without one (or with
    // an object that is not a dialog) gets the dialog manager's default focus.
    if (auto* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd)))
        return pDlg->OnInitDialog();
    return TRUE;
}

// ---- construction -------------------------------------------------------------------------------------------------

CDialog::CDialog() = default;

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    SetTemplateName(lpszTemplateName);
    // An integer template's ID doubles as the help context, as with the UINT form.
    if (m_lpszTemplateName && IS_INTRESOURCE(m_lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(m_lpszTemplateName));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_pParentWnd(pParentWnd), m_nIDHelp(nIDTemplate)
{
    SetTemplateName(MAKEINTRESOURCEW(nIDTemplate));
}

CDialog::~CDialog()
{
    // A modeless dialog still open goes with its object (the base destructor would see
    // only CWnd's handlers); destroy it while the dialog's own parts still exist.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CDialog::SetTemplateName(LPCTSTR lpszTemplateName)
{
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName)) {
        // Keep our own copy: the caller's text may be a temporary.
        m_templateNameStorage = lpszTemplateName;
        m_lpszTemplateName = m_templateNameStorage.c_str();
    } else {
        m_templateNameStorage.clear();
        m_lpszTemplateName = lpszTemplateName;
    }
}

// ---- modeless creation -----------------------------------------------------------------------------------------

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    if (m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (lpszTemplateName != m_lpszTemplateName)
        SetTemplateName(lpszTemplateName);
    if (m_lpszTemplateName && IS_INTRESOURCE(m_lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(m_lpszTemplateName));
    const auto t = zyn::afx::detail::FindDialogTemplate(m_lpszTemplateName);
    if (!t)
        return FALSE;
    m_pParentWnd = pParentWnd;
    return CreateModeless(*t, pParentWnd);
}

BOOL CDialog::CreateModeless(const zyn::afx::detail::TemplateRef& t, CWnd* pParentWnd)
{
    CWnd* pParent = pParentWnd ? pParentWnd : AfxGetMainWnd();
    // EndDialog during the creation (OnInitDialog could not fill the controls) clears
    // the flag: such a dialog is not handed out.
    m_nFlags |= WF_CONTINUEMODAL;
    // On failure the object may be gone (a PostNcDestroy that deletes it): touch nothing.
    if (!zyn::afx::detail::CreateDialogWindow(this, t, zyn::afx::SafeHwndOf(pParent)))
        return FALSE;
    if (!(m_nFlags & WF_CONTINUEMODAL)) {
        DestroyWindow();
        ::SetLastError(1223); // ERROR_CANCELLED
        return FALSE;
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    return TRUE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    if (m_hWnd || !lpDialogTemplate) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_lpDialogInit = lpDialogInit;
    m_pParentWnd = pParentWnd;
    zyn::afx::detail::TemplateRef t;
    t.pointer = lpDialogTemplate;
    t.module = AfxGetResourceHandle();
    return CreateModeless(t, pParentWnd);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    const auto* p = hDialogTemplate ? static_cast<LPCDLGTEMPLATE>(::GlobalLock(hDialogTemplate)) : nullptr;
    if (!p) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const BOOL bResult = CreateIndirect(p, pParentWnd);
    ::GlobalUnlock(hDialogTemplate);
    return bResult;
}

// ---- initialisation --------------------------------------------------------------------------------------------------

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    PreInitDialog();
    // The dialog manager calls the dialog procedure (AfxDlgProc → OnInitDialog).
    return Default();
}

void CDialog::PreInitDialog() {}

BOOL CDialog::OnInitDialog()
{
    const BOOL bDlgInit = m_lpDialogInit ? ExecuteDlgInit(m_lpDialogInit) : ExecuteDlgInit(m_lpszTemplateName);
    if (!bDlgInit || !UpdateData(FALSE)) {
        // The controls could not be filled: the dialog cannot be used as it is.
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM)
{
    // The font the dialog manager gives the dialog (from the template), before the
    // controls exist.
    OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
    return Default();
}

void CDialog::OnSetFont(CFont*) {}

BOOL CDialog::CheckAutoCenter()
{
    DWORD style = 0;
    if (m_hWnd)
        style = GetStyle();
    // The dialog manager placed it itself: do not move it again.
    return (style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) == 0;
}

// ---- the buttons and the end -----------------------------------------------------------------------------------------

void CDialog::OnOK()
{
    // A failed validation has shown its box and put the focus on the field: stay open.
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult)
{
    if (!m_hWnd)
        return;
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

// ---- the dialog manager's operations ---------------------------------------------------------------------------

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

void CDialog::NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }

void CDialog::PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl && pWndCtrl->m_hWnd)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1);
}

void CDialog::SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }

DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }

// ---- messages -----------------------------------------------------------------------------------------------------------

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Tooltips first.
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // A multi-line edit takes Escape for itself; the dialog still closes on it unless its
    // Cancel button is disabled.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (static_cast<DWORD>(::GetWindowLongW(pMsg->hwnd, GWL_STYLE)) & ES_MULTILINE)) {
        wchar_t cls[8] = {};
        ::GetClassNameW(pMsg->hwnd, cls, 8);
        if (::_wcsicmp(cls, L"Edit") == 0 && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
            const HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
            if (!hItem || ::IsWindowEnabled(hItem)) {
                SendMessage(WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }
        }
    }
    // The keyboard interface for the dialog and its controls.
    return PreTranslateInput(pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Commands (not control notifications, not the dialog's own button IDs, not system
    // commands) go on to the owner and then to the thread object.
    if ((nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI) || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    if (CWnd* pOwner = GetParent(); pOwner && pOwner != this) {
        if (pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    if (CWinThread* pThread = AfxGetThread())
        return pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    return FALSE;
}

BOOL CDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!CWnd::OnNotify(wParam, lParam, pResult))
        return FALSE;
    if (pResult && m_hWnd)
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, *pResult);
    return TRUE;
}
