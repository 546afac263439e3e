#include "toolkit/skins/tab_skin.h"

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/pen.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/skins/skin_2003.h"

// ---- Classic ---------------------------------------------------------------------------------------

void COXTabSkinClassic::OnPaintTabCtrl(CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkinClassic::OnPaintSpinCtrl(COXSkinnedSpinCtrl* /*spinCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkinClassic::DrawMDITabBorder(CDC* /*dc*/, const RECT* /*rect*/, COXTabWorkspace* /*workspace*/)
{
    // drawn by the tab skin
}

void COXTabSkinClassic::OnNcPaintTabClient(COXTabClientWnd* /*tabClient*/)
{
    // drawn by the tab skin
}

void COXTabSkinClassic::AdjustChildItemRect(RECT* /*rect*/, int /*amount*/, CTabCtrl* /*tabCtrl*/)
{
    // The system's page rectangle stands.
}

// ---- XP ----------------------------------------------------------------------------------------------

COXTabSkinXP::COXTabSkinXP(COXSkinXP* skin)
    : m_pSkinXP(skin)
    , m_pBorderPen(std::make_unique<CPen>())
    , m_pTabFont(std::make_unique<CFont>())
    , m_pArrowBrush(std::make_unique<CBrush>())
    , m_pArrowPen(std::make_unique<CPen>())
{
    // The objects are made once, in the colours of this moment.
    m_pBorderPen->CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_pTabFont->CreateFontIndirect(&metrics.lfMenuFont);
    const COLORREF arrow = m_pSkinXP->GetInactiveTabTextColor();
    m_pArrowBrush->CreateSolidBrush(arrow);
    m_pArrowPen->CreatePen(PS_SOLID, 1, arrow);
}

COXTabSkinXP::~COXTabSkinXP() = default;

void COXTabSkinXP::OnPaintTabCtrl(CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::OnPaintSpinCtrl(COXSkinnedSpinCtrl* /*spinCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::DrawMDITabBorder(CDC* /*dc*/, const RECT* /*rect*/, COXTabWorkspace* /*workspace*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::OnNcPaintTabClient(COXTabClientWnd* /*tabClient*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::AdjustChildItemRect(RECT* /*rect*/, int /*amount*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::DrawItem(DRAWITEMSTRUCT* /*drawItem*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::DrawBackground(CDC* /*dc*/, const RECT* /*rect*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::DrawItemBorder(DRAWITEMSTRUCT* /*drawItem*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

COXSkinnedSpinCtrl* COXTabSkinXP::GetSpinCtrl(CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
    return nullptr;
}

BOOL COXTabSkinXP::AdjustItemRect(int /*index*/, RECT* /*rect*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
    return TRUE;
}

BOOL COXTabSkinXP::IsNextButtonSelected(int /*index*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
    return FALSE;
}

void COXTabSkinXP::DrawUpArrow(CDC* /*dc*/, const RECT* /*rect*/, BOOL /*enabled*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::DrawDownArrow(CDC* /*dc*/, const RECT* /*rect*/, BOOL /*enabled*/)
{
    // drawn by the tab skin
}

void COXTabSkinXP::DrawArrowBorder(CDC* /*dc*/, const RECT* /*rect*/)
{
    // drawn by the tab skin
}

// ---- 2003 --------------------------------------------------------------------------------------------

COXTabSkin2003::COXTabSkin2003(COXSkin2003* skin)
    : COXTabSkinXP(skin)
{
}

COXSkin2003* COXTabSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXTabSkin2003::OnPaintTabCtrl(CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkin2003::OnPaintSpinCtrl(COXSkinnedSpinCtrl* /*spinCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkin2003::DrawItem(DRAWITEMSTRUCT* /*drawItem*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkin2003::DrawBackground(CDC* /*dc*/, const RECT* /*rect*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}

void COXTabSkin2003::DrawItemBorder(DRAWITEMSTRUCT* /*drawItem*/, CTabCtrl* /*tabCtrl*/)
{
    // drawn by the tab skin
}
