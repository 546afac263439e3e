#include "toolkit/skins/skin_classic.h"

#include "toolkit/skins/dialogbar_skin.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/frame_skin.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/miniframe_skin.h"
#include "toolkit/skins/shortcutbar_skin.h"
#include "toolkit/skins/statusbar_skin.h"
#include "toolkit/skins/tab_skin.h"
#include "toolkit/skins/toolbar_skin.h"

COXSkinClassic::COXSkinClassic()
{
    m_strName = L"Classic";
    m_pToolbarSkin = std::make_unique<COXToolbarSkinClassic>();
    m_pDialogBarSkin = std::make_unique<COXDialogBarSkinClassic>();
    m_pMenuSkin = std::make_unique<COXMenuSkinClassic>();
    m_pMenubarSkin = std::make_unique<COXToolbarSkinClassic>();
    m_pDockbarSkin = std::make_unique<COXDockbarSkinClassic>();
    m_pTabSkin = std::make_unique<COXTabSkinClassic>();
    m_pShortcutBarSkin = std::make_unique<COXShortcutBarSkinClassic>();
    m_pMiniFrameSkin = std::make_unique<COXMiniFrameSkinClassic>();
    m_pStatusbarSkin = std::make_unique<COXStatusbarSkinClassic>();
    m_pFrameSkin = std::make_unique<COXFrameSkinClassic>();
}

COXSkinClassic::~COXSkinClassic() = default;
