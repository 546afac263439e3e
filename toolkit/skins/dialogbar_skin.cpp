#include "toolkit/skins/dialogbar_skin.h"

#include "toolkit/skins/skin_2003.h"

// ---- Classic ---------------------------------------------------------------------------------------

void COXDialogBarSkinClassic::DrawBackground(CDC* /*dc*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}

void COXDialogBarSkinClassic::DrawGripper(CDC* /*dc*/, const RECT* /*rect*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}

void COXDialogBarSkinClassic::DrawNonClientArea(CDC* /*dc*/, const RECT* /*rect*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}

// ---- XP ----------------------------------------------------------------------------------------------

void COXDialogBarSkinXP::DrawBackground(CDC* /*dc*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}

void COXDialogBarSkinXP::DrawGripper(CDC* /*dc*/, const RECT* /*rect*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}

void COXDialogBarSkinXP::DrawNonClientArea(CDC* /*dc*/, const RECT* /*rect*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}

void COXDialogBarSkinXP::DrawGripperStripes(CDC* /*dc*/, CRect& /*rect*/, bool /*horizontalBar*/)
{
    // drawn by the dialog-bar skin
}

// ---- 2003 --------------------------------------------------------------------------------------------

COXDialogBarSkin2003::COXDialogBarSkin2003(COXSkin2003* skin)
    : COXDialogBarSkinXP(skin)
{
}

COXSkin2003* COXDialogBarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXDialogBarSkin2003::DrawBackground(CDC* /*dc*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}

void COXDialogBarSkin2003::DrawGripper(CDC* /*dc*/, const RECT* /*rect*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}

void COXDialogBarSkin2003::DrawNonClientArea(CDC* /*dc*/, const RECT* /*rect*/, CDialogBar* /*bar*/)
{
    // drawn by the dialog-bar skin
}
