// COXSizeDialogBar: creation from a dialog template, WM_INITDIALOG, and the controls
// scaled with the bar.
#include "toolkit/docking/size_dialog_bar.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "platform/afx/afxstate.h"
#include "platform/afx/dlgbar.h"
#include "platform/afx/frame.h"
#include "platform/base/tchar.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/dialog.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNAMIC(COXSizeDialogBar, COXSizeControlBar)

BEGIN_MESSAGE_MAP(COXSizeDialogBar, COXSizeControlBar)
    ON_MESSAGE(WM_INITDIALOG, &COXSizeDialogBar::HandleInitDialog)
END_MESSAGE_MAP()

namespace {

// A combo box whose list drops down (CBS_DROPDOWN, CBS_DROPDOWNLIST, and the simple style
// too): its window height is its edit part's, which does not scale.
bool KeepsItsHeight(HWND hWnd)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(hWnd, cls, 32);
    return _wcsicmp(cls, L"ComboBox") == 0 && (::GetWindowLongW(hWnd, GWL_STYLE) & 0x0003) != 0;
}

// v × num / den, in 64 bits so that no size overflows on the way.
LONG Scale(LONG v, LONG num, LONG den) { return static_cast<LONG>(int64_t{v} * num / den); }

} // namespace

COXSizeDialogBar::COXSizeDialogBar(int nStyle) : COXSizeControlBar(nStyle) {}

COXSizeDialogBar::~COXSizeDialogBar()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL COXSizeDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    return Create(pParentWnd, MAKEINTRESOURCEW(static_cast<WORD>(nIDTemplate)), nStyle, nID);
}

BOOL COXSizeDialogBar::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return COXSizeControlBar::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

BOOL COXSizeDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd || !lpszTemplateName || m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A copy of the template made into a hidden child without a caption: the bar shows
    // once it is set up.
    CBarDialogTemplate tmpl;
    if (!AfxLoadBarDialogTemplate(lpszTemplateName, tmpl))
        return FALSE;

    m_dwStyle = nStyle & CBRS_ALL;
    // The bar's classes may veto the window as for any control bar.
    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(nStyle | WS_CHILD);
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
    cs.hInstance = AfxGetInstanceHandle();
    cs.hwndParent = pParentWnd->m_hWnd;
    if (!PreCreateWindow(cs))
        return FALSE;
    m_lpszTemplateName = lpszTemplateName;
    AfxHookWindowCreate(this);
    const HWND hWnd = ::CreateDialogIndirectParamW(tmpl.hInst, tmpl.Get(), pParentWnd->m_hWnd, &AfxBarDialogProc, 0);
    const BOOL bHooked = AfxUnhookWindowCreate();
    m_lpszTemplateName = nullptr;
    if (!bHooked || !hWnd) {
        if (hWnd)
            ::DestroyWindow(hWnd);
        return FALSE;
    }
    SetDlgCtrlID(static_cast<int>(nID));
    if (!ExecuteDlgInit(lpszTemplateName)) {
        // Bad DLGINIT data: no half-made bar is left behind.
        DestroyWindow();
        return FALSE;
    }
    CRect client;
    GetClientRect(&client);
    m_sizeTemplate = client.Size();
    SetWindowPos(nullptr, 0, 0, 0, 0,
        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    m_sizeVertDock = m_sizeHorzDock = m_sizeFloat = m_sizeTemplate;
    if (m_dwSizeDockStyle & SZBARF_SCALE_CHILDREN)
        RecordChildLayout();
    return TRUE;
}

void COXSizeDialogBar::RecordChildLayout()
{
    m_childLayout.clear();
    CRect client;
    GetClientRect(&client);
    m_childLayout.push_back(ChildLayout{client, nullptr, false});
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CRect r;
        ::GetWindowRect(hChild, &r);
        ScreenToClient(&r);
        m_childLayout.push_back(ChildLayout{r, hChild, KeepsItsHeight(hChild)});
    }
}

LRESULT COXSizeDialogBar::HandleInitDialog(WPARAM, LPARAM)
{
    Default();
    return OnInitDialog();
}

BOOL COXSizeDialogBar::OnInitDialog() { return TRUE; }

BOOL COXSizeDialogBar::SetOccDialogInfo(void* pOccDialogInfo)
{
    m_pOccDialogInfo = pOccDialogInfo;
    return TRUE;
}

void COXSizeDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    COXSizeControlBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void COXSizeDialogBar::OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags)
{
    COXSizeControlBar::OnSizedOrDocked(cx, cy, bFloating, flags);
    if (!cx || !cy || !(m_dwSizeDockStyle & SZBARF_SCALE_CHILDREN) || m_childLayout.empty())
        return;
    CRect client;
    GetClientRect(&client);
    const LONG W = client.Width(), H = client.Height();
    const CRect& base = m_childLayout.front().rect;
    const LONG baseW = base.Width() ? base.Width() : 1, baseH = base.Height() ? base.Height() : 1;
    for (size_t i = 1; i < m_childLayout.size(); ++i) {
        const ChildLayout& child = m_childLayout[i];
        // A control destroyed since is passed over.
        if (!::IsWindow(child.hWnd))
            continue;
        const CRect& r = child.rect;
        const LONG left = Scale(r.left, W, baseW), right = Scale(r.right, W, baseW);
        const LONG top = Scale(r.top, H, baseH);
        const LONG bottom = child.bKeepHeight ? top + r.Height() : Scale(r.bottom, H, baseH);
        ::SetWindowPos(child.hWnd, nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
