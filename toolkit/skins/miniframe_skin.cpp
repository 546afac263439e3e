#include "toolkit/skins/miniframe_skin.h"

#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "toolkit/skins/skin_xp.h"

// ---- Classic ---------------------------------------------------------------------------------------

void COXMiniFrameSkinClassic::OnNcPaint(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // drawn by the mini-frame skin
}

BOOL COXMiniFrameSkinClassic::OnNcActivate(BOOL /*active*/, COXSizableMiniDockFrameWnd* /*frame*/)
{
    // drawn by the mini-frame skin
    return TRUE;
}

void COXMiniFrameSkinClassic::DrawCaption(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // The system draws the caption.
}

BOOL COXMiniFrameSkinClassic::DrawCaptionButtons(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // The frame draws its own buttons.
    return FALSE;
}

// ---- XP ------------------------------------------------------------------------------------------

COXMiniFrameSkinXP::COXMiniFrameSkinXP(COXSkinXP* skin)
    : m_pSkinXP(skin)
    , m_pCaptionFont(std::make_unique<CFont>())
{
    m_pCaptionFont->CreatePointFont(85, L"Tahoma BOLD");
}

COXMiniFrameSkinXP::~COXMiniFrameSkinXP() = default;

void COXMiniFrameSkinXP::OnNcPaint(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // drawn by the mini-frame skin
}

BOOL COXMiniFrameSkinXP::OnNcActivate(BOOL /*active*/, COXSizableMiniDockFrameWnd* /*frame*/)
{
    // The caption keeps one look whether the frame is active or not.
    return TRUE;
}

void COXMiniFrameSkinXP::DrawCaption(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // drawn by the mini-frame skin
}

BOOL COXMiniFrameSkinXP::DrawCaptionButtons(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // drawn by the mini-frame skin
    return TRUE;
}

CRect COXMiniFrameSkinXP::GetCaptionRect(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // drawn by the mini-frame skin
    return CRect();
}
