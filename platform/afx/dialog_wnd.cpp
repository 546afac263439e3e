// CWnd's dialog helpers that need the dialog manager (radio groups, the tab order, the
// keyboard interface) and what CDialog and CFormView share: finding a template, making a
// dialog window for a window object.
#include <cstring>

#include "platform/afx/dialog.h"
#include "platform/afx/dialog_internal.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/button.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"

// ---- CWnd ------------------------------------------------------------------------------------------------------------

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID) {
        const HWND hWndItem = ::GetDlgItem(m_hWnd, nID);
        if (hWndItem && ::SendMessageW(hWndItem, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return nID;
    }
    return 0;
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, zyn::afx::SafeHwndOf(pWndCtl), bPrevious));
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, zyn::afx::SafeHwndOf(pWndCtl), bPrevious));
}

BOOL CWnd::IsDialogMessage(LPMSG lpMsg)
{
    if (!lpMsg || !m_hWnd)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, lpMsg);
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg)
{
    if (!lpMsg)
        return FALSE;
    const UINT m = lpMsg->message;
    if ((m < WM_KEYFIRST || m > WM_KEYLAST) && (m < WM_MOUSEFIRST || m > WM_MOUSELAST))
        return FALSE;
    return IsDialogMessage(lpMsg);
}

// ---- templates and dialog windows ---------------------------------------------------------------------------------

namespace zyn::afx::detail {

std::optional<TemplateRef> FindDialogTemplate(LPCTSTR lpszName)
{
    if (!lpszName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    const HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_DIALOG);
    const HRSRC hRes = ::FindResourceW(hInst, lpszName, RT_DIALOG);
    if (!hRes)
        return std::nullopt; // FindResource's error
    const HGLOBAL hData = ::LoadResource(hInst, hRes);
    const auto* p = static_cast<const uint8_t*>(hData ? ::LockResource(hData) : nullptr);
    if (!p)
        return std::nullopt;
    TemplateRef t;
    t.bytes = std::span<const uint8_t>(p, ::SizeofResource(hInst, hRes));
    t.module = hInst;
    return t;
}

DWORD TemplateStyle(const TemplateRef& t)
{
    // The classic layout starts with the style; the extended one with dlgVer 1 and the
    // signature 0xFFFF, then helpID and exStyle before the style.
    const auto* p = static_cast<const uint8_t*>(t.Start());
    const size_t available = t.pointer ? 16 : t.bytes.size();
    if (!p || available < 4)
        return 0;
    WORD head[2];
    std::memcpy(head, p, sizeof(head));
    DWORD style = 0;
    if (head[0] == 1 && head[1] == 0xFFFF) {
        if (available < 16)
            return 0;
        std::memcpy(&style, p + 12, sizeof(style));
    } else {
        std::memcpy(&style, p, sizeof(style));
    }
    return style;
}

BOOL CreateDialogWindow(CWnd* pWnd, const TemplateRef& t, HWND hWndParent)
{
    if (!pWnd || pWnd->m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    AfxHookWindowCreate(pWnd);
    const HWND hWnd = t.pointer
        ? ::CreateDialogIndirectParamW(t.module, t.pointer, hWndParent, &AfxDlgProc, 0)
        : zyn::user::CreateDialogFromBytes(t.bytes, t.module, hWndParent, &AfxDlgProc, 0);
    const DWORD err = ::GetLastError();
    // TRUE: the hook attached the object to a window (which may be gone again).
    const BOOL bAttached = AfxUnhookWindowCreate();
    if (!hWnd) {
        // A window made and destroyed during its creation (a control that failed) has run
        // the object's PostNcDestroy already, which may have deleted it; a window that
        // never existed cleans up the same way here.
        if (!bAttached)
            pWnd->PostNcDestroy();
        ::SetLastError(err ? err : ERROR_INVALID_DATA);
        return FALSE;
    }
    return TRUE;
}

} // namespace zyn::afx::detail
