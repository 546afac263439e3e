// The Office 2003 menu skin: the XP skin with a gradient image strip (7 % darker behind
// items that are not recently used), plain selected images, a gradient joint to the
// button and no filling where popup and button overlap.
#include "platform/afx/gdi/dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/menu_skin_draw.h"
#include "toolkit/skins/skin_2003.h"

COXMenuSkin2003::COXMenuSkin2003(COXSkin2003* skin)
    : COXMenuSkinXP(skin)
{
}

COXSkin2003* COXMenuSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXMenuSkin2003::DrawBackground(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* itemRect, RECT* buttonRect,
    COXBitmapMenu* menu)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !itemRect || !skin)
        return;
    if ((state & ODS_SELECTED) && !(state & (ODS_DISABLED | ODS_GRAYED))) {
        COXMenuSkinXP::DrawBackground(dc, state, imageInfo, itemRect, buttonRect, menu);
        return;
    }
    dc->FillSolidRect(itemRect, skin->GetMenuFaceColor());
    CRect strip = StripRect(*itemRect, menu);
    strip.left -= 2;
    COLORREF left = skin->GetMenuStripLeftColor();
    COLORREF right = skin->GetMenuStripRightColor();
    if (state & OXODS_HIDDEN) {
        left = COXSkinXP::Blend3Colors(left, 0, 0, 0.93f, 0.07f, 0.0f);
        right = COXSkinXP::Blend3Colors(right, 0, 0, 0.93f, 0.07f, 0.0f);
    }
    if (strip.right > strip.left)
        skin->GradientFill(dc, &strip, left, right, GRADIENT_FILL_RECT_H);
}

void COXMenuSkin2003::DrawImage(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect, COXBitmapMenu* /*menu*/)
{
    DrawImageWithShadow(dc, state, imageInfo, imageRect, false);
}

void COXMenuSkin2003::DrawSeparator(CDC* dc, RECT* itemRect, COXBitmapMenu* menu)
{
    // The XP separator draws its strip through DrawBackground, which is the gradient here.
    COXMenuSkinXP::DrawSeparator(dc, itemRect, menu);
}

void COXMenuSkin2003::DrawItemStrip(CDC* dc, RECT* rect)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !rect || !skin)
        return;
    CRect strip(*rect);
    strip.bottom += 2;
    if (strip.right > strip.left && strip.bottom > strip.top)
        skin->GradientFill(dc, &strip, skin->GetMenuStripLeftColor(), skin->GetMenuStripRightColor(),
            GRADIENT_FILL_RECT_H);
}

void COXMenuSkin2003::DrawJoiningLine(CDC* dc, RECT* rect)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !rect || !skin || rect->right <= rect->left || rect->bottom <= rect->top)
        return;
    skin->GradientFill(dc, rect, skin->GetMenubarItemLightColor(), skin->GetMenubarItemDarkColor(),
        GRADIENT_FILL_RECT_V);
}

void COXMenuSkin2003::FillIntersectionRect(HDC /*hdc*/, RECT* /*rect*/)
{
    // The 2003 popup leaves the overlap with the dropped-from button unfilled.
}
