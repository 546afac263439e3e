// The commands of the MDI child buttons a menu bar shows for a maximised child: restore,
// minimise and close, carried out on the main window's active MDI child.
#include "platform/afx/afxpriv.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/mdi.h"
#include "platform/afx/winthread.h"
#include "platform/user/mdiclient.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"

namespace {

// The main window as an MDI frame and its active child; null when the main window is no
// MDI frame or no child is active.
CMDIFrameWnd* MainMdiFrame(CMDIChildWnd** ppActive)
{
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    if (!frame || !frame->GetSafeHwnd() || !frame->m_hWndMDIClient)
        return nullptr;
    CMDIChildWnd* active = frame->MDIGetActive();
    if (!active || !active->GetSafeHwnd())
        return nullptr;
    *ppActive = active;
    return frame;
}

int CountChildren(HWND hClient)
{
    int count = 0;
    for (HWND h = ::GetWindow(hClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        ++count;
    return count;
}

} // namespace

BOOL COXBitmapMenu::HandleMDICommandMessage(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* /*pHandlerInfo*/)
{
    if (nID < ID_OXMDI_RESTORE || nID > ID_OXMDI_CLOSE)
        return FALSE;
    if (nCode == CN_UPDATE_COMMAND_UI) {
        if (auto* pCmdUI = static_cast<CCmdUI*>(pExtra))
            pCmdUI->Enable(TRUE);
        return TRUE;
    }
    if (nCode != CN_COMMAND)
        return FALSE;
    switch (nID) {
    case ID_OXMDI_RESTORE: return RestoreMDI();
    case ID_OXMDI_MINIMIZE: return MinimizeMDI();
    default: return CloseMDI();
    }
}

BOOL COXBitmapMenu::RestoreMDI()
{
    CMDIChildWnd* active = nullptr;
    CMDIFrameWnd* frame = MainMdiFrame(&active);
    if (!frame)
        return FALSE;
    const HWND first = active->GetSafeHwnd();
    frame->MDIRestore(active);
    // Every child in turn, until the first is active again; never more turns than there
    // are children, whatever the activation order does.
    const int children = CountChildren(frame->m_hWndMDIClient);
    for (int turn = 0; turn < children; ++turn) {
        ::SendMessageW(frame->m_hWndMDIClient, WM_MDINEXT, 0, 0);
        CMDIChildWnd* next = frame->MDIGetActive();
        if (!next || next->GetSafeHwnd() == first)
            break;
        frame->MDIRestore(next);
    }
    return TRUE;
}

BOOL COXBitmapMenu::MinimizeMDI()
{
    CMDIChildWnd* active = nullptr;
    CMDIFrameWnd* frame = MainMdiFrame(&active);
    if (!frame)
        return FALSE;
    frame->MDIRestore(active);
    active->ShowWindow(SW_MINIMIZE);
    return TRUE;
}

BOOL COXBitmapMenu::CloseMDI()
{
    CMDIChildWnd* active = nullptr;
    if (!MainMdiFrame(&active))
        return FALSE;
    // Through the child's own close, so its documents are asked to save first.
    active->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}
