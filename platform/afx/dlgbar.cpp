// CDialogBar: a control bar built from a dialog template.
#include "platform/afx/dlgbar.h"

#include <cstring>
#include <vector>

#include "platform/afx/frame.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/dialog.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
    ON_MESSAGE(WM_INITDIALOG, &CDialogBar::OnInitDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace {

// Where the style word of a template sits: DLGTEMPLATEEX starts {1, 0xFFFF}.
size_t StyleOffset(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() >= 26 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF)
        return 12;
    return 0;
}

} // namespace

INT_PTR AfxBarDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

BOOL AfxLoadBarDialogTemplate(LPCTSTR lpszTemplateName, CBarDialogTemplate& out)
{
    const HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    const HRSRC hRes = ::FindResourceW(hInst, lpszTemplateName, RT_DIALOG);
    const HGLOBAL hData = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const void* pData = hData ? ::LockResource(hData) : nullptr;
    const DWORD cb = hRes ? ::SizeofResource(hInst, hRes) : 0;
    if (!pData || cb < 18) {
        ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return FALSE;
    }
    std::vector<uint8_t> bytes(cb + 4);
    std::memcpy(bytes.data(), pData, cb);
    const size_t at = StyleOffset(bytes);
    DWORD dwTemplateStyle = 0;
    std::memcpy(&dwTemplateStyle, bytes.data() + at, sizeof dwTemplateStyle);
    DWORD dwNew = dwTemplateStyle & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE | DS_MODALFRAME);
    dwNew |= WS_CHILD | WS_CLIPSIBLINGS;
    std::memcpy(bytes.data() + at, &dwNew, sizeof dwNew);
    out.words.assign((bytes.size() + 3) / 4, 0);
    std::memcpy(out.words.data(), bytes.data(), bytes.size());
    out.hInst = hInst;
    out.dwTemplateStyle = dwTemplateStyle;
    return TRUE;
}

CDialogBar::CDialogBar()
{
    // A dialog bar's controls sit where the template puts them: no margins.
    m_cxLeftBorder = m_cxRightBorder = 0;
    m_cyTopBorder = m_cyBottomBorder = 0;
}

CDialogBar::~CDialogBar()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    return Create(pParentWnd, MAKEINTRESOURCEW(nIDTemplate), nStyle, nID);
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd || !lpszTemplateName || m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A copy of the template made into a hidden child: the bar shows when it is set up.
    CBarDialogTemplate tmpl;
    if (!AfxLoadBarDialogTemplate(lpszTemplateName, tmpl))
        return FALSE;
    const BOOL bVisible = ((tmpl.dwTemplateStyle | nStyle) & WS_VISIBLE) != 0;

    m_dwStyle = nStyle & CBRS_ALL;
    AfxHookWindowCreate(this);
    const HWND hWnd = ::CreateDialogIndirectParamW(tmpl.hInst, tmpl.Get(), pParentWnd->m_hWnd, &AfxBarDialogProc, 0);
    if (!AfxUnhookWindowCreate() || !hWnd) {
        if (hWnd)
            ::DestroyWindow(hWnd);
        return FALSE;
    }
    SetDlgCtrlID(static_cast<int>(nID));
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    if (bVisible)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

LRESULT CDialogBar::OnInitDialog(WPARAM, LPARAM)
{
    Default();   // the dialog manager's own set-up first
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (bStretch)
        return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
    return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL CDialogBar::PreTranslateMessage(MSG* pMsg)
{
    if (CControlBar::PreTranslateMessage(pMsg))
        return TRUE;
    // Tab and the arrow keys move between the bar's controls.
    if (pMsg && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}

HBRUSH CDialogBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    return CControlBar::OnCtlColor(pDC, pWnd, nCtlColor);
}
