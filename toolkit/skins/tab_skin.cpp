#include "toolkit/skins/tab_skin.h"

#include <cwchar>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/pen.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "toolkit/docking/skinned_tab_ctrl.h"
#include "toolkit/skins/skin_2003.h"

namespace {

// What the window class itself draws for the WM_PAINT being handled (a paint message may
// carry the DC to draw into).
void PaintAsClass(CWnd* wnd)
{
    if (!wnd || !wnd->m_hWnd)
        return;
    const MSG* current = CWnd::GetCurrentMessage();
    const bool painting = current && current->hwnd == wnd->m_hWnd && current->message == WM_PAINT;
    wnd->DefWindowProc(WM_PAINT, painting ? current->wParam : 0, 0);
}

// The Classic look: the system's own tabs. (The rotated-text repair for vertical tabs
// under visual styles comes with vertical tabs.)
void PaintClassicTabCtrl(CTabCtrl* tabCtrl)
{
    if (tabCtrl && tabCtrl->IsKindOf(RUNTIME_CLASS(COXSkinnedTabCtrl)))
        PaintAsClass(tabCtrl);
}

// Gives a skinned tab control's arrows their window: the control's own up-down child,
// made when its tabs first overflowed. Nothing when they have one already.
void AttachSpinCtrl(CTabCtrl* tabCtrl)
{
    auto* skinned = DYNAMIC_DOWNCAST(COXSkinnedTabCtrl, tabCtrl);
    if (!skinned || !skinned->m_hWnd || skinned->GetSpinCtrl()->m_hWnd)
        return;
    for (HWND child = ::GetWindow(skinned->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child, name, 16);
        if (std::wcscmp(name, UPDOWN_CLASSW) == 0) {
            skinned->GetSpinCtrl()->SubclassWindow(child);
            return;
        }
    }
}

} // namespace

// ---- Classic ---------------------------------------------------------------------------------------

void COXTabSkinClassic::OnPaintTabCtrl(CTabCtrl* tabCtrl) { PaintClassicTabCtrl(tabCtrl); }

void COXTabSkinClassic::OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) { PaintAsClass(spinCtrl); }

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

void COXTabSkinXP::OnPaintTabCtrl(CTabCtrl* tabCtrl)
{
    // The arrows are attached as the flat look will need them; until that look is drawn
    // here the control paints as in the Classic skin.
    AttachSpinCtrl(tabCtrl);
    PaintClassicTabCtrl(tabCtrl);
}

void COXTabSkinXP::OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) { PaintAsClass(spinCtrl); }

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

COXSkinnedSpinCtrl* COXTabSkinXP::GetSpinCtrl(CTabCtrl* tabCtrl)
{
    auto* skinned = DYNAMIC_DOWNCAST(COXSkinnedTabCtrl, tabCtrl);
    return skinned ? skinned->GetSpinCtrl() : nullptr;
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

// As XP until the gradients are drawn here.
void COXTabSkin2003::OnPaintTabCtrl(CTabCtrl* tabCtrl) { COXTabSkinXP::OnPaintTabCtrl(tabCtrl); }

void COXTabSkin2003::OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) { COXTabSkinXP::OnPaintSpinCtrl(spinCtrl); }

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
