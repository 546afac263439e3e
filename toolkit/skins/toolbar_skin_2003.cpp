// The 2003 toolbar skin: the XP painting with the Office 2003 gradients. The bar's client
// area shows its slice of a light-to-dark gradient spanning the whole window, its
// non-client ring continues the frame's dock-bar gradient around a rounded gradient body,
// hot, checked and pressed buttons are shaded top to bottom, and the gripper and the
// separators are embossed with a white line.
#include "platform/comctl/toolbar.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/toolbar_skin.h"
#include "toolkit/skins/toolbar_skin_bar.h"

using namespace zyn;

COXToolbarSkin2003::COXToolbarSkin2003(COXSkin2003* skin)
    : COXToolbarSkinXP(skin)
{
}

COXSkin2003* COXToolbarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXToolbarSkin2003::DrawBackground(CDC* dc, COXCoolToolBar* bar)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !skin || !tbskin::HasWindow(bar))
        return;
    CRect client;
    bar->GetClientRect(&client);
    if (tbskin::IsMenuBar(bar)) {
        // The menu bar continues the frame's dock-bar gradient.
        barskin::DrawFrameBand(dc, skin, barskin::FrameBand(bar, client, -2), true);
        return;
    }
    CRect window;
    bar->GetWindowRect(&window);
    bar->ScreenToClient(&window);
    skin->GradientFill(dc, &window, skin->GetToolbarLightColor(), skin->GetToolbarDarkColor(),
        barskin::PlaceOf(bar).Horizontal() ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void COXToolbarSkin2003::DrawNonClientArea(CDC* dc, const RECT* rect, COXCoolToolBar* bar)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !rect || !skin)
        return;
    barskin::Draw2003NonClient(dc, skin, *rect, bar, false, !tbskin::IsMenuBar(bar));
}

void COXToolbarSkin2003::DrawGripper(CDC* dc, const RECT* rect, COXCoolToolBar* bar)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !rect || !bar || !skin)
        return;
    const barskin::BarPlace place = barskin::PlaceOf(bar);
    if (place.Floating())
        return;
    CRect band = barskin::Gripper2003Band(*rect, place);
    skin->DrawGripperStripes(dc, band, place.Horizontal());
}

void COXToolbarSkin2003::DrawSeparator(CDC* dc, const RECT* rect, COXCoolToolBar* /*bar*/)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !rect || !skin)
        return;
    CRect r(*rect);
    if (r.Width() < r.Height()) {
        r.right = (r.left + r.right) / 2;
        r.left = r.right - 1;
        r.DeflateRect(0, 4);
    } else {
        r.bottom = (r.top + r.bottom) / 2;
        r.top = r.bottom - 1;
        r.DeflateRect(4, 0);
    }
    barskin::Fill(dc, r, skin->GetSeparatorColor());
    r.OffsetRect(1, 1);
    barskin::Fill(dc, r, RGB(255, 255, 255));
}

void COXToolbarSkin2003::DrawMenuButtons(CDC* dc, COXMenuBar* menuBar)
{
    COXToolbarSkinXP::DrawMenuButtons(dc, menuBar);
}

void COXToolbarSkin2003::DrawItem(CDC* dc, TBBUTTON* button, const RECT* rect, COXCoolToolBar* bar,
    BOOL drawBackground)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !button || !rect || !skin || !tbskin::HasWindow(bar))
        return;
    const DWORD extended = static_cast<DWORD>(tbskin::Send(bar, TB_GETEXTENDEDSTYLE));
    const tbskin::ItemState state = tbskin::TakeItemState(bar, *button);
    COLORREF text = skin->GetTextColor();
    BOOL hotImage = FALSE, disabled = FALSE;
    const COLORREF border = skin->GetActiveBorderColor();
    if (state.dropped) {
        if (drawBackground)
            DrawDroppedItemBackground(dc, rect);
        hotImage = TRUE;
    } else if ((state.pressed || state.checked) && state.hot) {
        if (drawBackground)
            DrawGradientItemBackground(dc, button, extended, rect, border, skin->GetHotSelectedToolbarItemLightColor(),
                skin->GetHotSelectedToolbarItemDarkColor());
        hotImage = TRUE;
        text = skin->GetSelectedTextColor();
    } else if (state.checked) {
        if (drawBackground)
            DrawGradientItemBackground(dc, button, extended, rect, border, skin->GetCheckedToolbarItemLightColor(),
                skin->GetCheckedToolbarItemDarkColor());
    } else if (state.hot) {
        if (drawBackground)
            DrawGradientItemBackground(dc, button, extended, rect, border, skin->GetHotToolbarItemLightColor(),
                skin->GetHotToolbarItemDarkColor());
        hotImage = TRUE;
    } else if (state.pressed) {
        if (drawBackground) {
            CRect inner(*rect);
            inner.DeflateRect(0, 1);
            DrawDroppedItemBackground(dc, &inner);
        }
        hotImage = TRUE;
    } else if (state.disabled) {
        disabled = TRUE;
        text = skin->GetDisabledTextColor();
    }
    DrawItemIcon(dc, button, extended, rect, FALSE, hotImage, disabled, bar);
    DrawItemText(dc, button, extended, rect, text, bar);
}

void COXToolbarSkin2003::DrawGradientItemBackground(CDC* dc, TBBUTTON* button, DWORD extendedStyle,
    const RECT* rect, COLORREF border, COLORREF light, COLORREF dark)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !button || !rect || !skin)
        return;
    CRect inner(*rect);
    inner.DeflateRect(1, 1);
    if (!inner.IsRectEmpty())
        skin->GradientFill(dc, &inner, light, dark, GRADIENT_FILL_RECT_V);
    DrawItemOutline(dc, button, extendedStyle, rect, border);
}

void COXToolbarSkin2003::DrawDroppedItemBackground(CDC* /*dc*/, const RECT* /*rect*/)
{
    // A dropped button keeps the bar's gradient behind it.
}
