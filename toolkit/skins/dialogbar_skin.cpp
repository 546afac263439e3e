// The dialog-bar skins: each paints a dialog bar as the toolbar skin of its style paints
// a toolbar (the same gripper geometry, non-client ring and background), without the
// toolbar's menu-bar and cool-bar cases.
#include "toolkit/skins/dialogbar_skin.h"

#include "platform/afx/dlgbar.h"
#include "platform/afx/gdi/dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/window.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/skin_2003.h"

using namespace zyn;

namespace {

bool HasWindow(const CDialogBar* bar) { return bar && bar->m_hWnd && ::IsWindow(bar->m_hWnd); }

CRect ClientOf(CDialogBar* bar)
{
    CRect client(0, 0, 0, 0);
    bar->GetClientRect(&client);
    return client;
}

} // namespace

// ---- Classic ---------------------------------------------------------------------------------------

void COXDialogBarSkinClassic::DrawBackground(CDC* dc, CDialogBar* bar)
{
    if (dc && HasWindow(bar))
        barskin::Fill(dc, ClientOf(bar), GetSysColor(COLOR_BTNFACE));
}

void COXDialogBarSkinClassic::DrawGripper(CDC* dc, const RECT* rect, CDialogBar* bar)
{
    if (dc && rect && bar)
        barskin::DrawClassicGripper(dc, *rect, barskin::PlaceOf(bar));
}

void COXDialogBarSkinClassic::DrawNonClientArea(CDC* dc, const RECT* rect, CDialogBar* bar)
{
    if (!dc || !rect || !HasWindow(bar))
        return;
    CRect window(*rect);
    const CRect client = barskin::ClientInWindow(bar);
    // Unlike a toolbar a dialog bar always has its borders drawn.
    bar->DrawBorders(dc, window);
    if (!(bar->m_dwStyle & CBRS_BORDER_3D))
        window.InflateRect(1, 1);
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(&window);
    dc->ExcludeClipRect(&client);
    barskin::Fill(dc, window, GetSysColor(COLOR_BTNFACE));
    dc->RestoreDC(saved);
}

// ---- XP ----------------------------------------------------------------------------------------------

void COXDialogBarSkinXP::DrawBackground(CDC* dc, CDialogBar* bar)
{
    if (dc && m_pSkinXP && HasWindow(bar))
        barskin::Fill(dc, ClientOf(bar), m_pSkinXP->GetBackgroundColor());
}

void COXDialogBarSkinXP::DrawGripper(CDC* dc, const RECT* rect, CDialogBar* bar)
{
    if (!dc || !rect || !bar)
        return;
    const barskin::BarPlace place = barskin::PlaceOf(bar);
    if (place.Floating())
        return;
    CRect band = barskin::XPGripperBand(*rect, place);
    DrawGripperStripes(dc, band, place.Horizontal());
}

void COXDialogBarSkinXP::DrawNonClientArea(CDC* dc, const RECT* rect, CDialogBar* /*bar*/)
{
    if (dc && rect && m_pSkinXP)
        barskin::DrawXPNonClient(dc, *rect, m_pSkinXP->GetBackgroundColor());
}

void COXDialogBarSkinXP::DrawGripperStripes(CDC* dc, CRect& rect, bool horizontalBar)
{
    if (m_pSkinXP)
        barskin::DrawXPStripes(dc, rect, horizontalBar, m_pSkinXP->GetGripperColor());
}

// ---- 2003 --------------------------------------------------------------------------------------------

COXDialogBarSkin2003::COXDialogBarSkin2003(COXSkin2003* skin)
    : COXDialogBarSkinXP(skin)
{
}

COXSkin2003* COXDialogBarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXDialogBarSkin2003::DrawBackground(CDC* dc, CDialogBar* bar)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !skin || !HasWindow(bar))
        return;
    // The client area shows its part of a gradient that spans the whole window.
    CRect window;
    bar->GetWindowRect(&window);
    bar->ScreenToClient(&window);
    skin->GradientFill(dc, &window, skin->GetToolbarLightColor(), skin->GetToolbarDarkColor(),
        barskin::PlaceOf(bar).Horizontal() ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void COXDialogBarSkin2003::DrawGripper(CDC* dc, const RECT* rect, CDialogBar* bar)
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

void COXDialogBarSkin2003::DrawNonClientArea(CDC* dc, const RECT* rect, CDialogBar* bar)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !rect || !skin)
        return;
    barskin::Draw2003NonClient(dc, skin, *rect, bar, true, true);
}
