#include "toolkit/skins/menu_skin.h"

#include "platform/afx/gdi/geometry.h"
#include "platform/base/afxcoll.h"
#include "platform/base/tchar.h"
#include "toolkit/skins/skin_2003.h"

namespace {

// Classic: nStripExtraWidth and nMinImageWidth are not used.
constexpr OXDIMENSIONCONSTANTS classicConstants{2, 0, 8, 2, 3, 4, 3, 8, 0, 12};
constexpr OXDIMENSIONCONSTANTS xpConstants{3, 5, 15, 12, 6, 10, 4, 3, 16, 16};

} // namespace

// ---- Classic ---------------------------------------------------------------------------------------

COXMenuSkinClassic::COXMenuSkinClassic()
    : m_constants(classicConstants)
{
}

void COXMenuSkinClassic::DrawBackground(CDC* /*dc*/, UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*itemRect*/,
    RECT* /*buttonRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DrawButton(CDC* /*dc*/, UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*buttonRect*/,
    COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DrawImage(CDC* /*dc*/, UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*imageRect*/,
    COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DrawText(CDC* /*dc*/, UINT /*state*/, const wchar_t* /*text*/, RECT* /*textRect*/, RECT* /*accelRect*/,
    COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DrawSeparator(CDC* /*dc*/, RECT* /*itemRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DrawCustomized(CDC* /*dc*/, RECT* /*itemRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DrawInsertMark(CDC* /*dc*/, RECT* /*itemRect*/, BOOL /*before*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DrawSubmenuItem(CDC* /*dc*/, UINT /*state*/, const wchar_t* /*text*/, COXImageInfo* /*imageInfo*/,
    RECT* /*itemRect*/, RECT* /*buttonRect*/, RECT* /*textRect*/, RECT* /*accelRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DrawExpansionItem(CDC* /*dc*/, RECT* /*itemRect*/, UINT /*state*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::OnNcPaintCustomizePopupWnd(COXBitmapMenuPopupWnd* /*popup*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::OnPaintShadowedItemWnd(COXShadowedItemWnd* /*wnd*/)
{
    // drawn by the menu skin
}

void COXMenuSkinClassic::DistributeSpace(UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*itemRect*/, CRect& /*buttonRect*/,
    CRect& /*imageRect*/, CRect& /*textRect*/, CRect& /*accelRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

LRESULT COXMenuSkinClassic::MenuPopupWndProc(LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd,
    UINT message, WPARAM wParam, LPARAM lParam)
{
    // The system paints its popups.
    return previous ? previous(hwnd, message, wParam, lParam) : 0;
}

void COXMenuSkinClassic::AdjustExpansionItemHeight(UINT& /*itemHeight*/, COXBitmapMenu* /*menu*/)
{
    // The measured height stands.
}

// ---- XP ----------------------------------------------------------------------------------------------

COXMenuSkinXP::COXMenuSkinXP(COXSkinXP* skin)
    : m_pSkinXP(skin)
    , m_constants(xpConstants)
{
    m_mapPopupPositions.InitHashTable(10);
}

COXMenuSkinXP::~COXMenuSkinXP() { m_mapPopupPositions.RemoveAll(); }

void COXMenuSkinXP::DrawBackground(CDC* /*dc*/, UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*itemRect*/,
    RECT* /*buttonRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawButton(CDC* /*dc*/, UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*buttonRect*/,
    COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawImage(CDC* /*dc*/, UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*imageRect*/,
    COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawText(CDC* /*dc*/, UINT /*state*/, const wchar_t* /*text*/, RECT* /*textRect*/, RECT* /*accelRect*/,
    COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawSeparator(CDC* /*dc*/, RECT* /*itemRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawCustomized(CDC* /*dc*/, RECT* /*itemRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawInsertMark(CDC* /*dc*/, RECT* /*itemRect*/, BOOL /*before*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawSubmenuItem(CDC* /*dc*/, UINT /*state*/, const wchar_t* /*text*/, COXImageInfo* /*imageInfo*/,
    RECT* /*itemRect*/, RECT* /*buttonRect*/, RECT* /*textRect*/, RECT* /*accelRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawExpansionItem(CDC* /*dc*/, RECT* /*itemRect*/, UINT /*state*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::OnNcPaintCustomizePopupWnd(COXBitmapMenuPopupWnd* /*popup*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::OnPaintShadowedItemWnd(COXShadowedItemWnd* /*wnd*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DistributeSpace(UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*itemRect*/, CRect& /*buttonRect*/,
    CRect& /*imageRect*/, CRect& /*textRect*/, CRect& /*accelRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

LRESULT COXMenuSkinXP::MenuPopupWndProc(LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd, UINT message,
    WPARAM wParam, LPARAM lParam)
{
    // drawn by the menu skin; until then the system paints the popups
    return previous ? previous(hwnd, message, wParam, lParam) : 0;
}

void COXMenuSkinXP::AdjustExpansionItemHeight(UINT& itemHeight, COXBitmapMenu* /*menu*/)
{
    itemHeight = itemHeight / 2 + 1;
}

void COXMenuSkinXP::DrawItemStrip(CDC* /*dc*/, RECT* /*rect*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawJoiningLine(CDC* /*dc*/, RECT* /*rect*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::FillIntersectionRect(HDC /*hdc*/, RECT* /*rect*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawMenuShadow(HDC /*hdc*/, RECT* /*windowRect*/, RECT* /*dropFromRect*/,
    CArray<COLORREF, COLORREF>* /*saved*/)
{
    // drawn by the menu skin
}

void COXMenuSkinXP::DrawMenuItemShadow(HDC /*hdc*/, RECT* /*rect*/, UINT /*mode*/)
{
    // drawn by the menu skin
}

COLORREF COXMenuSkinXP::DarkenColor(LONG scale, COLORREF colour)
{
    const int keep = 255 - scale;
    return RGB(MulDiv(GetRValue(colour), keep, 255), MulDiv(GetGValue(colour), keep, 255),
        MulDiv(GetBValue(colour), keep, 255));
}

// ---- 2003 --------------------------------------------------------------------------------------------

COXMenuSkin2003::COXMenuSkin2003(COXSkin2003* skin)
    : COXMenuSkinXP(skin)
{
}

COXSkin2003* COXMenuSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXMenuSkin2003::DrawBackground(CDC* /*dc*/, UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*itemRect*/,
    RECT* /*buttonRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkin2003::DrawImage(CDC* /*dc*/, UINT /*state*/, COXImageInfo* /*imageInfo*/, RECT* /*imageRect*/,
    COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkin2003::DrawSeparator(CDC* /*dc*/, RECT* /*itemRect*/, COXBitmapMenu* /*menu*/)
{
    // drawn by the menu skin
}

void COXMenuSkin2003::OnPaintShadowedItemWnd(COXShadowedItemWnd* /*wnd*/)
{
    // drawn by the menu skin
}

void COXMenuSkin2003::DrawItemStrip(CDC* /*dc*/, RECT* /*rect*/)
{
    // drawn by the menu skin
}

void COXMenuSkin2003::DrawJoiningLine(CDC* /*dc*/, RECT* /*rect*/)
{
    // drawn by the menu skin
}

void COXMenuSkin2003::FillIntersectionRect(HDC /*hdc*/, RECT* /*rect*/)
{
    // The 2003 popup leaves the joint to the dropped-from button unfilled.
}
