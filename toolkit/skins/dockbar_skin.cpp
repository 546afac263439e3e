#include "toolkit/skins/dockbar_skin.h"

#include "platform/afx/gdi/font.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/skins/skin_2003.h"

// ---- Classic ---------------------------------------------------------------------------------------

COXDockbarSkinClassic::COXDockbarSkinClassic()
    : m_pCaptionFont(std::make_unique<CFont>())
    , m_pSmallCaptionFont(std::make_unique<CFont>())
{
    m_pCaptionFont->CreatePointFont(100, L"Arial");
    m_pSmallCaptionFont->CreatePointFont(80, L"Arial");
}

COXDockbarSkinClassic::~COXDockbarSkinClassic() = default;

void COXDockbarSkinClassic::DrawGripper(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinClassic::DrawCloseButton(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinClassic::DrawResizeButton(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinClassic::DrawNonClientArea(CDC* /*dc*/, const RECT* /*windowRect*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinClassic::DrawSplitter(CDC* /*dc*/, COXSplitterRect* /*splitter*/, COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinClassic::OnNcPaintSizeDockBar(COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinClassic::DrawBackground(CDC* /*dc*/, COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinClassic::OnNcCalcSize(BOOL /*calcValidRects*/, NCCALCSIZE_PARAMS* /*params*/,
    COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinClassic::RecalcLayout(COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

COLORREF COXDockbarSkinClassic::GetClientBorderColor() { return GetSysColor(COLOR_WINDOWFRAME); }

// ---- XP ----------------------------------------------------------------------------------------------

COXDockbarSkinXP::COXDockbarSkinXP(COXSkinXP* skin)
    : m_pSkinXP(skin)
    , m_pCaptionFont(std::make_unique<CFont>())
{
    m_pCaptionFont->CreatePointFont(85, L"Tahoma BOLD");
}

COXDockbarSkinXP::~COXDockbarSkinXP() = default;

void COXDockbarSkinXP::DrawGripper(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinXP::DrawCloseButton(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinXP::DrawResizeButton(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinXP::DrawNonClientArea(CDC* /*dc*/, const RECT* /*windowRect*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinXP::DrawSplitter(CDC* /*dc*/, COXSplitterRect* /*splitter*/, COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinXP::OnNcPaintSizeDockBar(COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinXP::DrawBackground(CDC* /*dc*/, COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinXP::OnNcCalcSize(BOOL /*calcValidRects*/, NCCALCSIZE_PARAMS* /*params*/,
    COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkinXP::RecalcLayout(COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

COLORREF COXDockbarSkinXP::GetClientBorderColor() { return m_pSkinXP->GetBorderColor(); }

// ---- 2003 --------------------------------------------------------------------------------------------

COXDockbarSkin2003::COXDockbarSkin2003(COXSkin2003* skin)
    : COXDockbarSkinXP(skin)
{
}

COXSkin2003* COXDockbarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXDockbarSkin2003::DrawGripper(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkin2003::DrawCloseButton(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkin2003::DrawResizeButton(CDC* /*dc*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkin2003::DrawNonClientArea(CDC* /*dc*/, const RECT* /*windowRect*/, COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkin2003::DrawSplitter(CDC* /*dc*/, COXSplitterRect* /*splitter*/, COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkin2003::OnNcPaintSizeDockBar(COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkin2003::DrawBackground(CDC* /*dc*/, COXSizeDockBar* /*dockBar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkin2003::OnNcCalcSize(BOOL /*calcValidRects*/, NCCALCSIZE_PARAMS* /*params*/,
    COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}

void COXDockbarSkin2003::RecalcLayout(COXSizeControlBar* /*bar*/)
{
    // drawn by the dock-bar skin
}
