#include "toolkit/skins/frame_skin.h"

#include "platform/gdi/wingdi.h"
#include "toolkit/skins/skin_2003.h"

// ---- Classic --------------------------------------------------------------------------------

void COXFrameSkinClassic::DrawViewBorder(CView* /*view*/)
{
    // The window keeps the edge the system draws.
}

void COXFrameSkinClassic::OnNcCalcSizeView(LPARAM /*lParam*/, CView* /*view*/)
{
    // The system's client rectangle stands.
}

COLORREF COXFrameSkinClassic::GetBackgroundColor() { return GetSysColor(COLOR_BTNFACE); }

COLORREF COXFrameSkinClassic::GetBorderColor() { return GetSysColor(COLOR_BTNSHADOW); }

// ---- XP ------------------------------------------------------------------------------------------

void COXFrameSkinXP::DrawViewBorder(CView* /*view*/)
{
    // drawn by the frame skin
}

void COXFrameSkinXP::OnNcCalcSizeView(LPARAM lParam, CView* /*view*/)
{
    // A view with the standard 2-pixel client edge so keeps a 1-pixel border, which
    // DrawViewBorder paints.
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (!rect)
        return;
    rect->left -= 1;
    rect->top -= 1;
    rect->right += 1;
    rect->bottom += 1;
}

COLORREF COXFrameSkinXP::GetBackgroundColor() { return GetSysColor(COLOR_BTNFACE); }

COLORREF COXFrameSkinXP::GetBorderColor() { return GetSysColor(COLOR_BTNSHADOW); }

// ---- 2003 ----------------------------------------------------------------------------------------

COXFrameSkin2003::COXFrameSkin2003(COXSkin2003* skin)
    : COXFrameSkinXP(skin)
{
}

COLORREF COXFrameSkin2003::GetBackgroundColor() { return m_pSkinXP->GetDockbarBackgroundColor(); }

COLORREF COXFrameSkin2003::GetBorderColor() { return m_pSkinXP->GetBorderColor(); }
