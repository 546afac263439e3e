// CInitDialogBar: creation with an initialisation hook, and a floating bar without Close.
#include "frames/init_dialog_bar.h"

#include "platform/afx/miniframe.h"
#include "platform/afx/winapp.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CInitDialogBar, Zyn::Cmn::SkinnedDialogBar)

BEGIN_MESSAGE_MAP(CInitDialogBar, Zyn::Cmn::SkinnedDialogBar)
END_MESSAGE_MAP()

CInitDialogBar::CInitDialogBar() = default;

CInitDialogBar::~CInitDialogBar() = default;

BOOL CInitDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    if (!SkinnedDialogBar::Create(pParentWnd, lpszTemplateName, nStyle, nID))
        return FALSE;
    return OnInitDialogBar();
}

BOOL CInitDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    // Through this class's own string form (not the virtual one again), so the hook runs
    // once.
    return CInitDialogBar::Create(pParentWnd, MAKEINTRESOURCEW(nIDTemplate), nStyle, nID);
}

BOOL CInitDialogBar::OnInitDialogBar()
{
    UpdateData(FALSE);
    return TRUE;
}

void CInitDialogBar::DoDataExchange(CDataExchange* /*pDX*/) {}

void CInitDialogBar::DisableCloseButton()
{
    CWnd* pParent = GetParent();
    CWnd* pFrame = pParent ? pParent->GetParent() : nullptr;
    if (!pFrame || !pFrame->GetSafeHwnd())
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == pFrame)
        return;
    // Only a floating frame: a bar docked in a frame that is not the main window (a
    // second frame, an MDI child) must not take that frame's Close away.
    if (!pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        return;
    const HMENU hSysMenu = ::GetSystemMenu(pFrame->GetSafeHwnd(), FALSE);
    if (!hSysMenu)
        return;
    // The separator goes with Close, found where it is rather than at a fixed
    // position: a second call, or a menu laid out otherwise, loses no other command.
    const int nCount = ::GetMenuItemCount(hSysMenu);
    for (int i = 0; i < nCount; ++i) {
        if (::GetMenuItemID(hSysMenu, i) != SC_CLOSE)
            continue;
        ::EnableMenuItem(hSysMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        ::DeleteMenu(hSysMenu, SC_CLOSE, MF_BYCOMMAND);
        if (i > 0 && (::GetMenuState(hSysMenu, static_cast<UINT>(i - 1), MF_BYPOSITION) & MF_SEPARATOR))
            ::DeleteMenu(hSysMenu, static_cast<UINT>(i - 1), MF_BYPOSITION);
        return;
    }
}
