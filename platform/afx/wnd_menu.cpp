// Owner-drawn menu items reach the CMenu that owns them; the system menu.
#include "platform/afx/afxstate.h"
#include "platform/afx/menu.h"
#include "platform/afx/wnd.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct) {
        if (lpDrawItemStruct->CtlType == ODT_MENU) {
            // hwndItem carries the menu that holds the item.
            if (CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
                pMenu->DrawItem(lpDrawItemStruct);
                return;
            }
        } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
            return; // the control drew it
        }
    }
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct) {
        if (lpMeasureItemStruct->CtlType == ODT_MENU) {
            // The popup being tracked from this window, else this window's menu bar.
            const AFX_THREAD_STATE* state = AfxGetThreadState();
            CMenu* pMenu = state->m_hTrackingWindow == m_hWnd && state->m_hTrackingMenu
                               ? CMenu::FromHandle(state->m_hTrackingMenu)
                               : GetMenu();
            if (CMenu* pOwner = zyn::afx::FindPopupMenuFromID(pMenu, lpMeasureItemStruct->itemID)) {
                pOwner->MeasureItem(lpMeasureItemStruct);
                return;
            }
        } else {
            CWnd* pChild = GetDescendantWindow(static_cast<int>(lpMeasureItemStruct->CtlID), TRUE);
            if (pChild && pChild->SendChildNotifyLastMsg())
                return; // the control measured it
        }
    }
    Default();
}
