#include "toolkit/skins/skin.h"

#include "toolkit/skins/dialogbar_skin.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/frame_skin.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/miniframe_skin.h"
#include "toolkit/skins/shortcutbar_skin.h"
#include "toolkit/skins/statusbar_skin.h"
#include "toolkit/skins/tab_skin.h"
#include "toolkit/skins/toolbar_skin.h"

namespace {

// Takes ownership of skin unless the slot already holds it: destroying the held object
// and then keeping its pointer would leave the slot dangling.
template <class T>
void Replace(std::unique_ptr<T>& slot, T* skin)
{
    if (slot.get() != skin)
        slot.reset(skin);
}

} // namespace

COXSkin::COXSkin() = default;

COXSkin::~COXSkin()
{
    // Element skins go in slot order; the property table and the name follow as members.
    m_pToolbarSkin.reset();
    m_pDialogBarSkin.reset();
    m_pMenuSkin.reset();
    m_pMenubarSkin.reset();
    m_pDockbarSkin.reset();
    m_pTabSkin.reset();
    m_pShortcutBarSkin.reset();
    m_pMiniFrameSkin.reset();
    m_pStatusbarSkin.reset();
    m_pFrameSkin.reset();
}

void COXSkin::SetToolbarSkin(COXToolbarSkin* skin) { Replace(m_pToolbarSkin, skin); }
void COXSkin::SetMenuSkin(COXMenuSkin* skin) { Replace(m_pMenuSkin, skin); }
void COXSkin::SetMenubarSkin(COXToolbarSkin* skin) { Replace(m_pMenubarSkin, skin); }
void COXSkin::SetDockbarSkin(COXDockbarSkin* skin) { Replace(m_pDockbarSkin, skin); }
void COXSkin::SetTabSkin(COXTabSkin* skin) { Replace(m_pTabSkin, skin); }
void COXSkin::SetShortcutBarSkin(COXShortcutBarSkin* skin) { Replace(m_pShortcutBarSkin, skin); }
void COXSkin::SetMiniFrameSkin(COXMiniFrameSkin* skin) { Replace(m_pMiniFrameSkin, skin); }
void COXSkin::SetStatusbarSkin(COXStatusbarSkin* skin) { Replace(m_pStatusbarSkin, skin); }
void COXSkin::SetFrameSkin(COXFrameSkin* skin) { Replace(m_pFrameSkin, skin); }

CString COXSkin::GetProperty(const wchar_t* name) const
{
    CString value;
    if (!m_mapProperties.Lookup(name ? name : L"", value))
        value.Empty();
    return value;
}

void COXSkin::SetProperty(const wchar_t* name, const wchar_t* value)
{
    m_mapProperties.SetAt(name ? name : L"", value ? value : L"");
}
