// CMenu's handle maps and owner-draw virtuals; the menu API wrappers are in menu_api.cpp.
#include "platform/afx/menu.h"

#include <memory>

#include "platform/afx/gdi/handle_maps.h"
#include "platform/base/lasterror.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

void ForgetMenu(CMenu& menu) { menu.m_hMenu = nullptr; }
using MenuTempMap = zyn::afx::detail::TempMap<CMenu, &ForgetMenu>;

zyn::afx::detail::PermanentMap<CMenu>& PermanentMenus()
{
    static zyn::afx::detail::Immortal<zyn::afx::detail::PermanentMap<CMenu>> map;
    return map.get();
}

MenuTempMap& ThreadMenuTemps()
{
    thread_local MenuTempMap map;
    return map;
}

} // namespace

CMenu::CMenu() = default;

CMenu::~CMenu()
{
    if (m_hMenu)
        DestroyMenu();
    if (m_hMenu) {
        // The menu could not be destroyed (no longer a menu): forget it all the same.
        PermanentMenus().Remove(m_hMenu, this);
        m_hMenu = nullptr;
    }
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    return hMenu ? PermanentMenus().Find(hMenu, RUNTIME_CLASS(CMenu)) : nullptr;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    if (CMenu* p = FromHandlePermanent(hMenu))
        return p;
    MenuTempMap& temps = ThreadMenuTemps();
    if (CMenu* p = temps.Find(hMenu))
        return p;
    auto temp = std::make_unique<CMenu>();
    temp->m_hMenu = hMenu;
    return temps.Add(hMenu, std::move(temp));
}

void CMenu::DeleteTempMap() { ThreadMenuTemps().Clear(); }

size_t zyn::afx::TemporaryMenuCount() { return ThreadMenuTemps().Size(); }

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_hMenu = hMenu;
    PermanentMenus().Add(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    const HMENU hMenu = m_hMenu;
    if (hMenu)
        PermanentMenus().Remove(hMenu, this);
    m_hMenu = nullptr;
    return hMenu;
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

CMenu* zyn::afx::FindPopupMenuFromID(CMenu* pMenu, UINT nID)
{
    if (!pMenu || !pMenu->m_hMenu)
        return nullptr;
    const UINT nItems = pMenu->GetMenuItemCount();
    if (nItems == static_cast<UINT>(-1))
        return nullptr;
    for (UINT i = 0; i < nItems; ++i) {
        if (CMenu* pPopup = pMenu->GetSubMenu(static_cast<int>(i))) {
            if (CMenu* found = FindPopupMenuFromID(pPopup, nID))
                return found;
        } else if (pMenu->GetMenuItemID(static_cast<int>(i)) == nID) {
            return CMenu::FromHandlePermanent(pMenu->m_hMenu);
        }
    }
    return nullptr;
}
