#include "toolkit/skins/statusbar_skin.h"

#include "platform/afx/gdi/geometry.h"
#include "toolkit/skins/skin_2003.h"

// ---- Classic ----------------------------------------------------------------------------------

void COXStatusbarSkinClassic::OnPaintStatusbar(COXStatusBar* /*bar*/)
{
    // drawn by the status-bar skin
}

void COXStatusbarSkinClassic::DrawStatusBarPanes(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // The system draws the panes.
}

void COXStatusbarSkinClassic::DrawFlatPanes(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // The system draws the pane frames.
}

void COXStatusbarSkinClassic::DrawGripper(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // The system draws the gripper.
}

// ---- XP -----------------------------------------------------------------------------------------

void COXStatusbarSkinXP::OnPaintStatusbar(COXStatusBar* /*bar*/)
{
    // drawn by the status-bar skin
}

void COXStatusbarSkinXP::DrawStatusBarPanes(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // drawn by the status-bar skin
}

void COXStatusbarSkinXP::DrawFlatPanes(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // drawn by the status-bar skin
}

void COXStatusbarSkinXP::DrawGripper(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // drawn by the status-bar skin
}

void COXStatusbarSkinXP::DrawPaneText(CDC* /*dc*/, CRect /*rect*/, COXStatusBar* /*bar*/, int /*index*/, int /*on*/)
{
    // drawn by the status-bar skin
}

// ---- 2003 ----------------------------------------------------------------------------------------

COXStatusbarSkin2003::COXStatusbarSkin2003(COXSkin2003* skin)
    : COXStatusbarSkinXP(skin)
{
}

COXSkin2003* COXStatusbarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXStatusbarSkin2003::DrawStatusBarPanes(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // drawn by the status-bar skin
}

void COXStatusbarSkin2003::DrawFlatPanes(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // drawn by the status-bar skin
}

void COXStatusbarSkin2003::DrawGripper(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // drawn by the status-bar skin
}

void COXStatusbarSkin2003::DrawGradientBackground(CDC* /*dc*/, const RECT* /*rect*/)
{
    // drawn by the status-bar skin
}
