// CDialog::DoModal: the dialog manager's modal path with the object attached to the
// dialog, and the message filter that lets the window objects of a modal dialog
// pre-translate its messages.
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/dialog.h"
#include "platform/afx/dialog_internal.h"
#include "platform/afx/winthread.h"
#include "platform/base/exception.h"
#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/input.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

namespace {

// While a modal dialog of this thread runs, the modal loop offers each message to the
// WH_MSGFILTER hooks (MSGF_DIALOGBOX) before the dialog manager's IsDialogMessage. This
// hook hands a message for the innermost modal dialog or one of its controls to the
// window objects' PreTranslateMessage, from the target window up to the dialog; one that
// takes it (CDialog's IsDialogMessage, a control's own translation, a tooltip) is not
// handled again by the loop.
class ModalFilter {
public:
    explicit ModalFilter(const CWnd* pDialog)
    {
        Dialogs().push_back(pDialog);
        if (!t_hook)
            t_hook = ::SetWindowsHookExW(WH_MSGFILTER, &Filter, nullptr, ::GetCurrentThreadId());
    }
    ~ModalFilter()
    {
        Dialogs().pop_back();
        if (Dialogs().empty() && t_hook) {
            ::UnhookWindowsHookEx(t_hook);
            t_hook = nullptr;
        }
    }
    ModalFilter(const ModalFilter&) = delete;
    ModalFilter& operator=(const ModalFilter&) = delete;

private:
    static std::vector<const CWnd*>& Dialogs()
    {
        thread_local std::vector<const CWnd*> dialogs;
        return dialogs;
    }

    // The dialog window of the message's window: itself or the ancestor (through parents,
    // never owners) attached to the innermost modal dialog's object. The object is only
    // compared, never read: it may have deleted itself with its window.
    static HWND DialogOf(HWND hWnd)
    {
        const CWnd* pDialog = Dialogs().back();
        for (HWND h = hWnd; h && ::IsWindow(h);) {
            if (CWnd::FromHandlePermanent(h) == pDialog)
                return h;
            if (!(static_cast<DWORD>(::GetWindowLongW(h, GWL_STYLE)) & WS_CHILD))
                break;
            h = ::GetParent(h);
        }
        return nullptr;
    }

    static LRESULT Filter(int code, WPARAM wParam, LPARAM lParam)
    {
        AFX_THREAD_STATE* state = AfxGetThreadState();
        auto* pMsg = reinterpret_cast<MSG*>(lParam);
        // Inside a filter already (IsDialogMessage calls the filter hooks again): leave
        // the message to the others.
        if (code != MSGF_DIALOGBOX || !pMsg || state->m_bInMsgFilter || Dialogs().empty())
            return ::CallNextHookEx(t_hook, code, wParam, lParam);
        const HWND hDlg = DialogOf(pMsg->hwnd);
        if (!hDlg)
            return ::CallNextHookEx(t_hook, code, wParam, lParam);
        // Cleared however the walk ends.
        struct InFilter {
            AFX_THREAD_STATE* state;
            explicit InFilter(AFX_THREAD_STATE* s) : state(s) { state->m_bInMsgFilter = TRUE; }
            ~InFilter() { state->m_bInMsgFilter = FALSE; }
            InFilter(const InFilter&) = delete;
            InFilter& operator=(const InFilter&) = delete;
        } inFilter(state);
        BOOL handled = FALSE;
        try {
            handled = CWnd::WalkPreTranslateTree(hDlg, pMsg);
        } catch (CException* e) {
            if (CWinThread* thread = AfxGetThread())
                thread->ProcessWndProcException(e, pMsg);
            else
                AfxInternalProcessWndProcException(e, pMsg);
            e->Delete();
            handled = TRUE;
        }
        return handled ? 1 : ::CallNextHookEx(t_hook, code, wParam, lParam);
    }

    static thread_local HHOOK t_hook;
};
thread_local HHOOK ModalFilter::t_hook = nullptr;

} // namespace

namespace zyn::afx::detail {

INT_PTR RunModalDialog(CWnd* pWnd, const TemplateRef& t, HWND hWndParent)
{
    if (!pWnd || pWnd->m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    ModalFilter filter(pWnd);
    // The dialog manager creates the window (the create hook attaches pWnd before its
    // first message), sends WM_INITDIALOG, runs the loop, and destroys the window before
    // it returns.
    AfxHookWindowCreate(pWnd);
    const INT_PTR result = t.pointer
        ? ::DialogBoxIndirectParamW(t.module, t.pointer, hWndParent, &AfxDlgProc, 0)
        : zyn::user::DialogBoxFromBytes(t.bytes, t.module, hWndParent, &AfxDlgProc, 0);
    const DWORD err = ::GetLastError();
    AfxUnhookWindowCreate();
    ::SetLastError(err);
    return result;
}

} // namespace zyn::afx::detail

// ---- CDialog -------------------------------------------------------------------------------------------------------

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    if (!lpDialogTemplate) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpDialogInit = lpDialogInit;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    if (!hDialogTemplate) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_hDialogTemplate = hDialogTemplate;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd) {
        // A modeless dialog of this object is open.
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    // The template: a resource through the chain, else memory (a global block stays
    // locked while the dialog runs).
    zyn::afx::detail::TemplateRef t;
    HGLOBAL hLocked = nullptr;
    if (m_lpszTemplateName) {
        const auto found = zyn::afx::detail::FindDialogTemplate(m_lpszTemplateName);
        if (!found)
            return -1;
        t = *found;
    } else if (m_hDialogTemplate) {
        t.pointer = static_cast<LPCDLGTEMPLATE>(::GlobalLock(m_hDialogTemplate));
        if (!t.pointer) {
            ::SetLastError(ERROR_INVALID_HANDLE);
            return -1;
        }
        hLocked = m_hDialogTemplate;
        t.module = AfxGetResourceHandle();
    } else if (m_lpDialogTemplate) {
        t.pointer = m_lpDialogTemplate;
        t.module = AfxGetResourceHandle();
    } else {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }

    // The owner: the parent's top-level window (or the main window); a top-level window
    // above it is disabled too while the dialog runs.
    m_hWndTop = nullptr;
    CWnd* pOwner = GetSafeOwner(m_pParentWnd, &m_hWndTop);
    const HWND hWndOwner = zyn::afx::SafeHwndOf(pOwner);
    const HWND hWndTop = m_hWndTop;

    const INT_PTR result = zyn::afx::detail::RunModalDialog(this, t, hWndOwner);
    const DWORD err = ::GetLastError();
    if (hLocked)
        ::GlobalUnlock(hLocked);
    // (The object may have deleted itself with its window: only locals from here on.)
    if (hWndTop && ::IsWindow(hWndTop))
        ::EnableWindow(hWndTop, TRUE);
    if (hWndOwner && ::IsWindow(hWndOwner) && ::GetActiveWindow() == nullptr)
        ::SetActiveWindow(hWndOwner);
    ::SetLastError(err);
    return result;
}
