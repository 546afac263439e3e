#include "toolkit/menus/shadowed_item_wnd.h"

#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/skins/menu_skin.h"

IMPLEMENT_DYNAMIC(COXShadowedItemWnd, CWnd)

BEGIN_MESSAGE_MAP(COXShadowedItemWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void COXShadowedItemWnd::OnPaint() { COXBitmapMenu::GetMenuSkin()->OnPaintShadowedItemWnd(this); }
