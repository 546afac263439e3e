#pragma once
// CCmdUI: one command's user-interface element (a menu item, a toolbar button, a child
// control) being brought up to date. The owner of the element fills m_nID and either
// m_pMenu/m_nIndex or m_pOther, then calls DoUpdate with the first command target of the
// routing chain; the target's ON_UPDATE_COMMAND_UI handler calls Enable, SetCheck,
// SetRadio or SetText. Toolbars and status bars derive their own CCmdUI and override
// these virtuals.
#include "platform/base/wintypes.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() = default;
    CCmdUI(const CCmdUI&) = default;
    CCmdUI& operator=(const CCmdUI&) = default;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate (buttons; a menu item shows it checked).
    virtual void SetCheck(int nCheck = 1);
    // A menu item shows a dot instead of a check mark.
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    // Lets the command targets after the current handler update the command too.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Routes the update request to pTarget (which passes it along its chain). When no
    // handler enables or disables the element and bDisableIfNoHndler is set, the element
    // is enabled exactly when some target has a command handler for m_nID. Returns
    // whether a handler took the update.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;            // index of the item in m_pMenu or of a button
    CMenu* m_pMenu = nullptr;     // the menu holding the item (null: not a menu item)
    CMenu* m_pSubMenu = nullptr;  // the popup the item opens (popups are never disabled)
    CMenu* m_pParentMenu = nullptr;
    CWnd* m_pOther = nullptr;     // the control or bar (null: a menu item)
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    UINT m_nIndexMax = 0;
};

// Updates every item of a popup menu through the routing chain of pTarget, as a frame
// does when the popup opens: separators are skipped, an item that opens a submenu is
// routed by the first item of that submenu and is never disabled automatically, other
// items are disabled when nobody handles them if bAutoMenuEnable is set (system commands,
// 0xF000 and above, never are). Items that handlers add or delete are taken into account.
// pParentMenu is the menu the popup hangs from, when known.
void AfxUpdatePopupMenu(CMenu* pPopup, CCmdTarget* pTarget, BOOL bAutoMenuEnable, CMenu* pParentMenu = nullptr);
