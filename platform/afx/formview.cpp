// CFormView: creation from a template, the initial update, keys, focus and idle updates.
#include "platform/afx/formview.h"

#include "platform/afx/afxpriv.h"
#include "platform/afx/dialog_internal.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/frame.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFormView::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CFormView::CFormView(LPCTSTR lpszTemplateName)
{
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName)) {
        m_templateNameStorage = lpszTemplateName;
        m_lpszTemplateName = m_templateNameStorage.c_str();
    } else {
        m_lpszTemplateName = lpszTemplateName;
    }
}

CFormView::CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)) {}

CFormView::~CFormView() = default;

// ---- creation --------------------------------------------------------------------------------------------------------

BOOL CFormView::Create(LPCTSTR, LPCTSTR, DWORD dwRequestedStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
    CCreateContext* pContext)
{
    if (m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The style a view would get (its border and client edge are the requested ones).
    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(dwRequestedStyle ? dwRequestedStyle : (WS_CHILD | WS_VISIBLE | WS_BORDER));
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    const auto t = zyn::afx::detail::FindDialogTemplate(m_lpszTemplateName);
    if (!t) {
        const DWORD err = ::GetLastError();
        PostNcDestroy(); // the frame counts on a view that failed to be gone
        ::SetLastError(err);
        return FALSE;
    }
    // A form is a child of its frame: a pop-up or overlapped template cannot be one.
    const DWORD templateStyle = zyn::afx::detail::TemplateStyle(*t);
    if (!(templateStyle & WS_CHILD) || (templateStyle & WS_POPUP)) {
        PostNcDestroy();
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_pCreateContext = pContext;
    const HWND hWndParent = zyn::afx::SafeHwndOf(pParentWnd);
    // On failure the window's destruction (or CreateDialogWindow) has run PostNcDestroy:
    // this object is gone.
    if (!zyn::afx::detail::CreateDialogWindow(this, *t, hWndParent))
        return FALSE;
    m_pCreateContext = nullptr;

    const auto requested = static_cast<DWORD>(cs.style);
    ModifyStyle(WS_BORDER | WS_CAPTION, requested & (WS_BORDER | WS_CAPTION));
    ModifyStyleEx(WS_EX_CLIENTEDGE, cs.dwExStyle & WS_EX_CLIENTEDGE);
    SetDlgCtrlID(static_cast<int>(nID));

    // The page is the template's size: the bars show when the view is smaller.
    CRect rectTemplate;
    GetWindowRect(&rectTemplate);
    SetScrollSizes(MM_TEXT, rectTemplate.Size());

    // The template's list and combo strings. Malformed ones make the form unusable: the
    // window goes (and with it this object).
    if (!ExecuteDlgInit(m_lpszTemplateName)) {
        const DWORD err = ::GetLastError();
        DestroyWindow();
        ::SetLastError(err);
        return FALSE;
    }

    // The frame's rectangle, then shown if asked.
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
        SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (requested & WS_VISIBLE)
        ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpcs)
{
    // The dialog manager cannot pass the creation context: hand it to the view's
    // WM_CREATE (which joins the document) as if CreateWindowEx had.
    CREATESTRUCT cs = *lpcs;
    cs.lpCreateParams = m_pCreateContext;
    return CScrollView::OnCreate(&cs);
}

// ---- the initial update and painting --------------------------------------------------------------------------------

void CFormView::OnInitialUpdate()
{
    // A failed load has been reported by UpdateData; the view is shown all the same.
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

void CFormView::OnDraw(CDC*) {}

// ---- keys ------------------------------------------------------------------------------------------------------------

BOOL CFormView::PreTranslateMessage(MSG* pMsg)
{
    // Tooltips.
    if (CScrollView::PreTranslateMessage(pMsg))
        return TRUE;
    // The frames' accelerators first: IsDialogMessage would take their keys.
    for (CFrameWnd* pFrame = GetParentFrame(); pFrame; pFrame = pFrame->GetParentFrame()) {
        if (pFrame->PreTranslateMessage(pMsg))
            return TRUE;
    }
    // An empty form has no keyboard interface.
    if (!::GetWindow(m_hWnd, GW_CHILD))
        return FALSE;
    return PreTranslateInput(pMsg);
}

// ---- focus -------------------------------------------------------------------------------------------------------------

BOOL CFormView::SaveFocusControl()
{
    const HWND hWndFocus = ::GetFocus();
    if (hWndFocus && ::IsChild(m_hWnd, hWndFocus)) {
        m_hWndFocus = hWndFocus;
        return TRUE;
    }
    return FALSE;
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    // The focus is on one of our controls already: keep it there (and remember it).
    if (SaveFocusControl())
        return;
    CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnActivateFrame(UINT nState, CFrameWnd*)
{
    if (nState == WA_INACTIVE)
        SaveFocusControl();
}

void CFormView::OnSetFocus(CWnd*)
{
    if (m_hWndFocus && ::IsWindow(m_hWndFocus) && ::IsChild(m_hWnd, m_hWndFocus) &&
        ::IsWindowEnabled(m_hWndFocus) && ::IsWindowVisible(m_hWndFocus)) {
        ::SetFocus(m_hWndFocus);
        return;
    }
    // Unknown, gone or unusable: the dialog manager picks (its saved focus, else the
    // first tab stop).
    m_hWndFocus = nullptr;
    Default();
}

// ---- idle updates -----------------------------------------------------------------------------------------------------

LRESULT CFormView::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}
