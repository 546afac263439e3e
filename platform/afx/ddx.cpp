// CDataExchange, UpdateData's exchange (installed as the window layer's hook when the
// platform loads), the failure box, DDX_Control and the prompt formatting.
#include "platform/afx/ddx.h"

#include <string>

#include "platform/afx/afxres.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/ddx_internal.h"
#include "platform/afx/winapp.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/edit.h"
#include "platform/user/msgbox.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

// ---- CDataExchange ------------------------------------------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    const HWND hWndCtrl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!hWndCtrl) {
        AfxThrowNotSupportedException(
            (L"data exchange names control " + std::to_wstring(nIDC) + L", which the window does not have").c_str());
    }
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    const HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    // Loading stops without moving the focus: the user did nothing wrong.
    if (m_bSaveAndValidate && m_idLastControl != 0 && m_pDlgWnd) {
        if (const HWND hWndLast = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl)) {
            ::SetFocus(hWndLast);
            if (m_bEditLastControl)
                ::SendMessageW(hWndLast, EM_SETSEL, 0, -1);
        }
    }
    AfxThrowUserException();
}

void CDataExchange::UndoSaved()
{
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        (*it)();
    m_undo.clear();
}

// ---- UpdateData ---------------------------------------------------------------------------------------------------------

namespace {

BOOL UpdateDataImpl(CWnd* pWnd, BOOL bSaveAndValidate)
{
    if (!pWnd || !pWnd->m_hWnd)
        return FALSE;
    CDataExchange dx(pWnd, bSaveAndValidate);
    // Controls being filled send change notifications; the window must not act on them
    // while its members are half exchanged.
    // (Put back however the exchange ends.)
    struct Lockout {
        AFX_THREAD_STATE* state;
        HWND old;
        Lockout(AFX_THREAD_STATE* s, HWND h) : state(s), old(s->m_hLockoutNotifyWindow) { state->m_hLockoutNotifyWindow = h; }
        ~Lockout() { state->m_hLockoutNotifyWindow = old; }
        Lockout(const Lockout&) = delete;
        Lockout& operator=(const Lockout&) = delete;
    } lockout(AfxGetThreadState(), pWnd->m_hWnd);
    BOOL bOK = FALSE;
    try {
        pWnd->DoDataExchange(&dx);
        bOK = TRUE;
    } catch (CUserException* e) {
        // A failed validation: the user has been told and the focus is on the field.
        e->Delete();
        dx.UndoSaved();
    } catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
        e->Delete();
        dx.UndoSaved();
    }
    return bOK;
}

[[maybe_unused]] const bool kUpdateDataInstalled = [] {
    zyn::afx::SetUpdateDataHook(&UpdateDataImpl);
    return true;
}();

} // namespace

// ---- shared helpers ---------------------------------------------------------------------------------------------------

namespace zyn::afx::detail {

void FailWithPrompt(CDataExchange* pDX, UINT nIDPrompt, LPCTSTR arg1, LPCTSTR arg2)
{
    CString prompt;
    if (arg2)
        AfxFormatString2(prompt, nIDPrompt, arg1 ? arg1 : L"", arg2);
    else if (arg1)
        AfxFormatString1(prompt, nIDPrompt, arg1);
    else
        prompt.LoadString(nIDPrompt);
    if (prompt.IsEmpty())
        prompt = L"The value is not valid."; // the prompt's string is missing from every module
    AfxMessageBox(prompt.GetString(), MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

CString WindowTextOf(HWND hWnd)
{
    CString text;
    const int n = ::GetWindowTextLengthW(hWnd);
    if (n > 0) {
        const int got = ::GetWindowTextW(hWnd, text.GetBuffer(n + 1), n + 1);
        text.ReleaseBuffer(got);
    }
    return text;
}

void SetWindowTextIfChanged(HWND hWnd, LPCTSTR lpszText)
{
    const CString now = WindowTextOf(hWnd);
    if (now.Compare(lpszText ? lpszText : L"") != 0)
        ::SetWindowTextW(hWnd, lpszText ? lpszText : L"");
}

} // namespace zyn::afx::detail

// ---- DDX_Control ------------------------------------------------------------------------------------------------------

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return; // attached by an earlier exchange
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl)) {
        AfxThrowNotSupportedException(
            (L"control " + std::to_wstring(nIDC) + L" cannot be attached: it has a window object already").c_str());
    }
}

// ---- prompts ------------------------------------------------------------------------------------------------------------

void AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString)
{
    std::wstring out;
    for (const wchar_t* p = lpszFormat ? lpszFormat : L""; *p; ++p) {
        if (p[0] == L'%' && p[1] >= L'1' && p[1] <= L'9') {
            const int i = p[1] - L'1';
            if (i < nString && rglpsz && rglpsz[i]) {
                out += rglpsz[i];
                ++p;
                continue;
            }
        }
        out += *p;
    }
    rString = out.c_str();
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1)
{
    CString format;
    format.LoadString(nIDS);
    AfxFormatStrings(rString, format.GetString(), &lpsz1, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2)
{
    CString format;
    format.LoadString(nIDS);
    const LPCTSTR args[2] = {lpsz1, lpsz2};
    AfxFormatStrings(rString, format.GetString(), args, 2);
}
