// The XP toolbar skin: the custom-draw cycle, the bar's background, non-client ring,
// gripper, separators, the customisation mark and the menu bar's caption buttons.
// The buttons themselves are in toolbar_skin_xp_item.cpp.
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/mdi.h"
#include "platform/comctl/toolbar.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_xp.h"
#include "toolkit/skins/toolbar_skin.h"
#include "toolkit/skins/toolbar_skin_bar.h"

using namespace zyn;

namespace {

// Every visible item of the bar in button order, then the insert mark.
void PaintItems(COXToolbarSkinXP& skin, CDC& dc, const CRect& client, COXCoolToolBar* bar)
{
    const int count = static_cast<int>(tbskin::Send(bar, TB_BUTTONCOUNT));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!tbskin::Send(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)))
            continue;
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        CRect item(0, 0, 0, 0);
        tbskin::Send(bar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        if (!(button.fsStyle & BTNS_SEP)) {
            skin.DrawItem(&dc, &button, &item, bar, TRUE);
        } else if (button.fsState & TBSTATE_WRAP) {
            // The separator that ends a row runs across the whole bar, under the row.
            CRect across(client.left, item.bottom - item.Width(), client.right, item.bottom);
            bar->DrawSeparator(dc, across);
        } else if (item.Height() > item.Width()) {
            CRect line(item);
            bar->DrawSeparator(dc, line);
        }
        if (i == bar->GetCustomizedButton() && !bar->IsCustomButton(i)) {
            CRect mark(item);
            bar->DrawCustomizedButton(dc, mark);
        }
    }
}

} // namespace

void COXToolbarSkinXP::OnCustomDraw(NMHDR*& nmhdr, LRESULT*& result, COXCoolToolBar* bar)
{
    if (!nmhdr || !result)
        return;
    // The fields read are those of the plain notification, which every comctl32 version's
    // toolbar notification begins with.
    auto* customDraw = reinterpret_cast<NMCUSTOMDRAW*>(nmhdr);
    if (!tbskin::OfferToFrame(customDraw, bar, result))
        return;
    *result = CDRF_DODEFAULT;
    // Only the pre-paint stage paints: its answer skips every later stage of the paint.
    // Any other stage (an erase announced by TBSTYLE_CUSTOMERASE, say) must leave the bar's
    // pixels alone, so the off-screen bitmap is made here and nowhere else.
    if (customDraw->dwDrawStage != CDDS_PREPAINT || !tbskin::HasWindow(bar))
        return;
    tbskin::AttachedDc target(customDraw->hdc);
    if (!target.get())
        return;
    CRect client;
    bar->GetClientRect(&client);
    *result = CDRF_SKIPDEFAULT;
    if (client.IsRectEmpty())
        return;
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(target.get()) ||
        !bitmap.CreateCompatibleBitmap(target.get(), client.Width(), client.Height())) {
        // No room for the off-screen copy: paint straight onto the bar rather than not at all.
        DrawBackground(target.get(), bar);
        PaintItems(*this, *target.get(), client, bar);
        DrawInsertMark(target.get(), bar);
        return;
    }
    {
        COXSelectGuard<CBitmap> select(memory, &bitmap);
        DrawBackground(&memory, bar);
        PaintItems(*this, memory, client, bar);
        DrawInsertMark(&memory, bar);
        target.get()->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    }
}

void COXToolbarSkinXP::DrawBackground(CDC* dc, COXCoolToolBar* bar)
{
    if (!dc || !m_pSkinXP || !tbskin::HasWindow(bar))
        return;
    CRect client;
    bar->GetClientRect(&client);
    barskin::Fill(dc, client, tbskin::IsMenuBar(bar) ? GetSysColor(COLOR_BTNFACE) : m_pSkinXP->GetBackgroundColor());
}

void COXToolbarSkinXP::DrawNonClientArea(CDC* dc, const RECT* rect, COXCoolToolBar* bar)
{
    if (!dc || !rect || !m_pSkinXP)
        return;
    barskin::DrawXPNonClient(dc, *rect,
        tbskin::IsMenuBar(bar) ? GetSysColor(COLOR_BTNFACE) : m_pSkinXP->GetBackgroundColor());
}

void COXToolbarSkinXP::DrawGripper(CDC* dc, const RECT* rect, COXCoolToolBar* bar)
{
    if (!dc || !rect || !bar)
        return;
    const barskin::BarPlace place = barskin::PlaceOf(bar);
    if (place.Floating())
        return;
    CRect band = barskin::XPGripperBand(*rect, place);
    DrawGripperStripes(dc, band, place.Horizontal());
}

void COXToolbarSkinXP::DrawGripperStripes(CDC* dc, CRect& rect, bool horizontalBar)
{
    if (m_pSkinXP)
        barskin::DrawXPStripes(dc, rect, horizontalBar, m_pSkinXP->GetGripperColor());
}

void COXToolbarSkinXP::DrawSeparator(CDC* dc, const RECT* rect, COXCoolToolBar* /*bar*/)
{
    if (!dc || !rect || !m_pSkinXP)
        return;
    CRect r(*rect);
    if (r.Width() < r.Height()) {
        r.right = (r.left + r.right) / 2;
        r.left = r.right - 1;
    } else {
        r.bottom = (r.top + r.bottom) / 2;
        r.top = r.bottom - 1;
    }
    barskin::Fill(dc, r, m_pSkinXP->GetSeparatorColor());
}

void COXToolbarSkinXP::DrawCustomizedButton(CDC* dc, const RECT* rect, COXCoolToolBar* /*bar*/)
{
    if (!dc || !rect)
        return;
    CRect r(*rect);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    barskin::Frame(dc, r, text);
    r.DeflateRect(1, 1);
    barskin::Frame(dc, r, text);
}

void COXToolbarSkinXP::DrawMenuButtons(CDC* dc, COXMenuBar* menuBar)
{
    OXMENUBARBUTTONS buttons;
    if (!dc || !m_pSkinXP || !tbskin::GetMaximizedChildButtons(menuBar, buttons, nullptr))
        return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    m_pSkinXP->DrawFrameButton(dc, buttons.rectClose, DFCS_CAPTIONCLOSE, FALSE, FALSE, face, buttons.pBar);
    if (!buttons.rectRestore.IsRectEmpty())
        m_pSkinXP->DrawFrameButton(dc, buttons.rectRestore, DFCS_CAPTIONRESTORE, FALSE, FALSE, face, buttons.pBar);
    if (!buttons.rectMinimize.IsRectEmpty())
        m_pSkinXP->DrawFrameButton(dc, buttons.rectMinimize, DFCS_CAPTIONMIN, FALSE, FALSE, face, buttons.pBar);
}
