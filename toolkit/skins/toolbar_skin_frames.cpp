// The XP and 2003 toolbar skins' skinned combo boxes and framed windows: a flat box in
// the window colour with a one-pixel button, outlined in the active border colour and
// filled (XP) or shaded (2003) while hot or dropped down; a framed child window's
// non-client area gets a one-pixel ring of the bar colour that turns into the active
// border while the mouse is over it or it has the focus.
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/window.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skinned_combo.h"
#include "toolkit/skins/toolbar_skin.h"

using namespace zyn;

namespace {

enum class ComboLook { Plain, Hot, Dropped };

ComboLook LookOf(COXSkinnedComboBox* combo, const CRect& client)
{
    if (combo->GetDroppedState())
        return ComboLook::Dropped;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    combo->ScreenToClient(&cursor);
    const HWND focus = ::GetFocus();
    if (client.PtInRect(cursor) || (focus && (focus == combo->m_hWnd || ::GetParent(focus) == combo->m_hWnd)))
        return ComboLook::Hot;
    return ComboLook::Plain;
}

// How a skin fills the parts that differ between XP and 2003.
struct ComboPainter {
    // The whole client area, under everything else.
    void (*background)(CDC& dc, COXSkinXP& skin, COXSkinnedComboBox* combo, const CRect& client);
    // The button while hot or dropped; the outline pen is selected.
    void (*button)(CDC& dc, COXSkinXP& skin, ComboLook look, const CRect& button);
};

void PaintCombo(COXSkinXP& skin, COXSkinnedComboBox* combo, const ComboPainter& painter)
{
    CClientDC dc(combo);
    CRect client;
    combo->GetClientRect(&client);
    const int height = client.Height();
    // The edit part keeps the system's pixels: everything is drawn around it.
    CRect edit(client.left + 3, client.top + 3, client.right - (height - 2), client.bottom - 3);
    dc.ExcludeClipRect(&edit);
    edit.InflateRect(1, 1);
    if (combo->m_bWideEdit)
        edit.right += 3;
    CRect button(edit.right, client.top + 2, client.right - 3, client.bottom - 2);

    painter.background(dc, skin, combo, client);
    edit.left -= 1;
    edit.top -= 1;
    barskin::Fill(&dc, edit, GetSysColor(COLOR_WINDOW));
    button.left -= 1;
    button.top -= 1;
    barskin::Frame(&dc, button, GetSysColor(COLOR_WINDOW));

    const ComboLook look = LookOf(combo, client);
    COLORREF arrow = GetSysColor(COLOR_BTNTEXT);
    if (look != ComboLook::Plain) {
        if (look == ComboLook::Dropped)
            arrow = GetSysColor(COLOR_HIGHLIGHTTEXT);
        edit.left -= 1;
        edit.top -= 1;
        edit.bottom += 1;
        button.top -= 1;
        button.right += 1;
        button.bottom += 1;
        CPen pen(PS_SOLID, 1, skin.GetActiveBorderColor());
        COXSelectGuard<CPen> selectPen(dc, &pen);
        painter.button(dc, skin, look, button);
        // Only the outline shows: the edit's inside is clipped away.
        dc.Rectangle(&edit);
    }
    const int x = (button.left + button.right) / 2, y = (button.top + button.bottom) / 2;
    barskin::Line(&dc, x - 2, y - 1, x + 3, y - 1, arrow);
    barskin::Line(&dc, x - 1, y, x + 2, y, arrow);
    dc.SetPixelV(x, y + 1, arrow);
}

void PaintWndFrame(COXSkinXP& skin, CWnd* wnd, void (*background)(CDC&, COXSkinXP&, CWnd*, const CRect&))
{
    CWindowDC dc(wnd);
    CRect screen;
    wnd->GetWindowRect(&screen);
    CRect window(screen);
    window.OffsetRect(-screen.left, -screen.top);
    const CRect client = barskin::ClientInWindow(wnd);
    dc.ExcludeClipRect(&client);
    background(dc, skin, wnd, window);
    window.DeflateRect(1, 1);
    barskin::Fill(&dc, window, GetSysColor(COLOR_WINDOW));
    CPoint cursor;
    ::GetCursorPos(&cursor);
    if (screen.PtInRect(cursor) || ::GetFocus() == wnd->m_hWnd) {
        window.InflateRect(1, 1);
        barskin::Frame(&dc, window, skin.GetActiveBorderColor());
    }
}

bool CanPaint(CWnd* wnd) { return wnd && wnd->GetSafeHwnd() && ::IsWindow(wnd->m_hWnd); }

// ---- XP ---------------------------------------------------------------------------------------

void XPComboBackground(CDC& dc, COXSkinXP& skin, COXSkinnedComboBox* /*combo*/, const CRect& client)
{
    barskin::Fill(&dc, client, skin.GetBackgroundColor());
}

void XPComboButton(CDC& dc, COXSkinXP& skin, ComboLook look, const CRect& button)
{
    CBrush brush(look == ComboLook::Dropped ? skin.GetHotSelectedItemColor() : skin.GetHotItemColor());
    COXSelectGuard<CBrush> select(dc, &brush);
    dc.Rectangle(&button);
}

void XPFrameBackground(CDC& dc, COXSkinXP& skin, CWnd* /*wnd*/, const CRect& window)
{
    barskin::Fill(&dc, window, skin.GetBackgroundColor());
}

// ---- 2003 -------------------------------------------------------------------------------------

COXSkin2003& As2003(COXSkinXP& skin) { return static_cast<COXSkin2003&>(skin); }

void Combo2003Background(CDC& dc, COXSkinXP& skin, COXSkinnedComboBox* combo, const CRect& client)
{
    COXSkin2003& skin2003 = As2003(skin);
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(&client);
    const CRect band = barskin::ParentBand(combo, client.Width());
    skin2003.GradientFill(&dc, &band, skin2003.GetTabBackgroundLightColor(), skin2003.GetTabBackgroundDarkColor(),
        GRADIENT_FILL_RECT_V);
    dc.RestoreDC(saved);
}

void Combo2003Button(CDC& dc, COXSkinXP& skin, ComboLook look, const CRect& button)
{
    COXSkin2003& skin2003 = As2003(skin);
    dc.Rectangle(&button);
    CRect inside(button);
    inside.DeflateRect(1, 1);
    if (look == ComboLook::Dropped)
        skin2003.GradientFill(&dc, &inside, skin2003.GetHotSelectedToolbarItemLightColor(),
            skin2003.GetHotSelectedToolbarItemDarkColor(), GRADIENT_FILL_RECT_V);
    else
        skin2003.GradientFill(&dc, &inside, skin2003.GetHotToolbarItemLightColor(),
            skin2003.GetHotToolbarItemDarkColor(), GRADIENT_FILL_RECT_V);
}

void Frame2003Background(CDC& dc, COXSkinXP& skin, CWnd* wnd, const CRect& window)
{
    COXSkin2003& skin2003 = As2003(skin);
    const CRect band = barskin::ParentBand(wnd, window.Width());
    barskin::GradientOnSystem(&dc, &skin2003, band, skin2003.GetTabBackgroundLightColor(),
        skin2003.GetTabBackgroundDarkColor(), GRADIENT_FILL_RECT_V);
}

} // namespace

void COXToolbarSkinXP::OnPaintComboBox(COXSkinnedComboBox* combo)
{
    if (!combo || !CanPaint(combo))
        return;
    combo->PaintDefault();
    {
        CPaintDC validate(combo);
    }
    DrawComboBox(combo);
}

void COXToolbarSkinXP::DrawComboBox(COXSkinnedComboBox* combo)
{
    if (m_pSkinXP && combo && CanPaint(combo))
        PaintCombo(*m_pSkinXP, combo, ComboPainter{&XPComboBackground, &XPComboButton});
}

void COXToolbarSkinXP::DrawWndFrame(CWnd* wnd)
{
    if (m_pSkinXP && CanPaint(wnd))
        PaintWndFrame(*m_pSkinXP, wnd, &XPFrameBackground);
}

void COXToolbarSkin2003::DrawComboBox(COXSkinnedComboBox* combo)
{
    if (GetSkin2003() && combo && CanPaint(combo))
        PaintCombo(*m_pSkinXP, combo, ComboPainter{&Combo2003Background, &Combo2003Button});
}

void COXToolbarSkin2003::DrawWndFrame(CWnd* wnd)
{
    if (GetSkin2003() && CanPaint(wnd))
        PaintWndFrame(*m_pSkinXP, wnd, &Frame2003Background);
}
