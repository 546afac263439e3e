#include "toolkit/skins/toolbar_skin.h"

#include "platform/afx/gdi/geometry.h"
#include "toolkit/skins/skin_2003.h"

// ---- interface ---------------------------------------------------------------------------------------

void COXToolbarSkin::DrawSystemButton(CDC* /*dc*/)
{
    // No skin draws system buttons.
}

// ---- Classic ---------------------------------------------------------------------------------------

void COXToolbarSkinClassic::DrawGripper(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinClassic::DrawNonClientArea(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinClassic::DrawSeparator(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinClassic::DrawCustomizedButton(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinClassic::OnCustomDraw(NMHDR*& /*nmhdr*/, LRESULT*& /*result*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinClassic::OnPaintComboBox(COXSkinnedComboBox* /*combo*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinClassic::DrawComboBox(COXSkinnedComboBox* /*combo*/)
{
    // The system look stays.
}

void COXToolbarSkinClassic::DrawWndFrame(CWnd* /*wnd*/)
{
    // The system look stays.
}

void COXToolbarSkinClassic::DrawMenuButtons(CDC* /*dc*/, COXMenuBar* /*menuBar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinClassic::DrawBackground(CDC* /*dc*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

// ---- XP ----------------------------------------------------------------------------------------------

void COXToolbarSkinXP::DrawGripper(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawNonClientArea(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawSeparator(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawCustomizedButton(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::OnCustomDraw(NMHDR*& /*nmhdr*/, LRESULT*& /*result*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::OnPaintComboBox(COXSkinnedComboBox* /*combo*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawComboBox(COXSkinnedComboBox* /*combo*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawWndFrame(CWnd* /*wnd*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawMenuButtons(CDC* /*dc*/, COXMenuBar* /*menuBar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawBackground(CDC* /*dc*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawItem(CDC* /*dc*/, TBBUTTON* /*button*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/,
    BOOL /*drawBackground*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawDroppedItemBackground(CDC* /*dc*/, const RECT* /*rect*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawGripperStripes(CDC* /*dc*/, CRect& /*rect*/, bool /*horizontalBar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawItemBackground(CDC* /*dc*/, TBBUTTON* /*button*/, DWORD /*extendedStyle*/,
    const RECT* /*rect*/, COLORREF /*border*/, COLORREF /*fill*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawItemIcon(CDC* /*dc*/, TBBUTTON* /*button*/, DWORD /*extendedStyle*/, const RECT* /*rect*/,
    BOOL /*shadow*/, BOOL /*hotImage*/, BOOL /*disabled*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkinXP::DrawItemText(CDC* /*dc*/, TBBUTTON* /*button*/, DWORD /*extendedStyle*/, const RECT* /*rect*/,
    COLORREF /*textColour*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

CRect COXToolbarSkinXP::GetIconRect(int /*idCommand*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
    return CRect();
}

CRect COXToolbarSkinXP::GetDropArrowRect(CDC* /*dc*/, const RECT* /*rect*/)
{
    // drawn by the toolbar skin
    return CRect();
}

void COXToolbarSkinXP::DrawInsertMark(CDC* /*dc*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

// ---- 2003 --------------------------------------------------------------------------------------------

COXToolbarSkin2003::COXToolbarSkin2003(COXSkin2003* skin)
    : COXToolbarSkinXP(skin)
{
}

COXSkin2003* COXToolbarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXToolbarSkin2003::DrawGripper(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawNonClientArea(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawSeparator(CDC* /*dc*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawComboBox(COXSkinnedComboBox* /*combo*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawWndFrame(CWnd* /*wnd*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawMenuButtons(CDC* /*dc*/, COXMenuBar* /*menuBar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawBackground(CDC* /*dc*/, COXCoolToolBar* /*bar*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawItem(CDC* /*dc*/, TBBUTTON* /*button*/, const RECT* /*rect*/, COXCoolToolBar* /*bar*/,
    BOOL /*drawBackground*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawGradientItemBackground(CDC* /*dc*/, TBBUTTON* /*button*/, DWORD /*extendedStyle*/,
    const RECT* /*rect*/, COLORREF /*border*/, COLORREF /*light*/, COLORREF /*dark*/)
{
    // drawn by the toolbar skin
}

void COXToolbarSkin2003::DrawDroppedItemBackground(CDC* /*dc*/, const RECT* /*rect*/)
{
    // A dropped button keeps the bar's gradient behind it.
}
