// The Office XP menu skin's items: a flat face, the image strip on the left in the skin's
// background colour, a framed highlight, framed checked buttons and shadowed images.
#include <algorithm>

#include "platform/afx/gdi/dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/menu_skin_draw.h"
#include "toolkit/skins/skin_xp.h"

namespace {

constexpr OXDIMENSIONCONSTANTS kXPConstants{3, 5, 15, 12, 6, 10, 4, 3, 16, 16};

bool IsDisabled(UINT state) { return (state & (ODS_DISABLED | ODS_GRAYED)) != 0; }

void Fill(CDC* dc, const RECT& rect, COLORREF colour)
{
    if (dc && rect.right > rect.left && rect.bottom > rect.top)
        dc->FillSolidRect(&rect, colour);
}

} // namespace

COXMenuSkinXP::COXMenuSkinXP(COXSkinXP* skin)
    : m_pSkinXP(skin)
    , m_constants(kXPConstants)
{
    m_mapPopupPositions.InitHashTable(10);
}

COXMenuSkinXP::~COXMenuSkinXP() { m_mapPopupPositions.RemoveAll(); }

CRect COXMenuSkinXP::StripRect(const RECT& item, COXBitmapMenu* menu) const
{
    const int imageColumn = menu ? menu->GetImageColumnWidth() : 0;
    return CRect(item.left, item.top, m_constants.nImageLeftGap + imageColumn + m_constants.nStripExtraWidth,
        item.bottom);
}

void COXMenuSkinXP::DrawBackground(CDC* dc, UINT state, COXImageInfo* /*imageInfo*/, RECT* itemRect,
    RECT* /*buttonRect*/, COXBitmapMenu* menu)
{
    if (!dc || !itemRect || !m_pSkinXP)
        return;
    if ((state & ODS_SELECTED) && !IsDisabled(state)) {
        zyn::menuskin::FramedFill(dc, *itemRect, m_pSkinXP->GetActiveBorderColor(), m_pSkinXP->GetHotItemColor());
        return;
    }
    Fill(dc, *itemRect, m_pSkinXP->GetMenuFaceColor());
    Fill(dc, StripRect(*itemRect, menu),
        (state & OXODS_HIDDEN) ? m_pSkinXP->GetHiddenItemBackgroundColor() : m_pSkinXP->GetBackgroundColor());
}

void COXMenuSkinXP::DrawButton(CDC* dc, UINT state, COXImageInfo* /*imageInfo*/, RECT* buttonRect,
    COXBitmapMenu* /*menu*/)
{
    if (!dc || !buttonRect || !m_pSkinXP || !(state & ODS_CHECKED) || buttonRect->right <= buttonRect->left ||
        buttonRect->bottom <= buttonRect->top)
        return;
    zyn::menuskin::FramedFill(dc, *buttonRect, m_pSkinXP->GetActiveBorderColor(),
        (state & ODS_SELECTED) ? m_pSkinXP->GetHotSelectedItemColor() : m_pSkinXP->GetCheckedItemColor());
}

void COXMenuSkinXP::DrawImageWithShadow(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect, bool shadow)
{
    if (!dc || !imageRect || !imageInfo || !imageInfo->HasImage())
        return;
    if (imageInfo->IsDefaultImgList() && !(state & ODS_CHECKED))
        return;
    const int index = zyn::menuskin::ImageIndexFor(*imageInfo, state);
    const POINT at{imageRect->left, imageRect->top};
    if (IsDisabled(state)) {
        zyn::menuskin::DrawImageState(dc, *imageInfo, index, at, DSS_MONO, ::GetSysColor(COLOR_BTNSHADOW));
    } else if (!(state & ODS_SELECTED) || (state & ODS_CHECKED) || !shadow) {
        zyn::menuskin::DrawImageTransparent(dc, *imageInfo, index, at);
    } else {
        // Lifted: the silhouette one pixel right and down, the image one pixel up and left.
        zyn::menuskin::DrawImageSilhouette(dc, *imageInfo, index, POINT{at.x + 1, at.y + 1}, ::GetSysColor(COLOR_BTNSHADOW));
        zyn::menuskin::DrawImageTransparent(dc, *imageInfo, index, POINT{at.x - 1, at.y - 1});
    }
}

void COXMenuSkinXP::DrawImage(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect, COXBitmapMenu* /*menu*/)
{
    DrawImageWithShadow(dc, state, imageInfo, imageRect, true);
}

void COXMenuSkinXP::DrawText(CDC* dc, UINT state, const wchar_t* text, RECT* textRect, RECT* accelRect,
    COXBitmapMenu* /*menu*/)
{
    if (!dc || !textRect || !accelRect || !m_pSkinXP)
        return;
    const COLORREF colour = IsDisabled(state) ? m_pSkinXP->GetDisabledMenuTextColor() : ::GetSysColor(COLOR_MENUTEXT);
    zyn::menuskin::DrawItemText(dc, text, *textRect, *accelRect, colour, 0);
}

void COXMenuSkinXP::DrawSeparator(CDC* dc, RECT* itemRect, COXBitmapMenu* menu)
{
    if (!dc || !itemRect || !m_pSkinXP)
        return;
    // The face and strip of an item that is not selected (through the virtual, so a
    // derived skin's strip shows here too), then the line from the text column on.
    RECT noButton{0, 0, 0, 0};
    DrawBackground(dc, 0, nullptr, itemRect, &noButton, menu);
    const int imageColumn = menu ? menu->GetImageColumnWidth() : 0;
    const int y = (itemRect->top + itemRect->bottom) / 2;
    Fill(dc, CRect(m_constants.nImageLeftGap + imageColumn + m_constants.nImageTextGap, y, itemRect->right, y + 1),
        m_pSkinXP->GetSeparatorColor());
}

void COXMenuSkinXP::DrawCustomized(CDC* dc, RECT* itemRect, COXBitmapMenu* /*menu*/)
{
    if (!dc || !itemRect)
        return;
    const HBRUSH brush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNTEXT));
    CRect r(*itemRect);
    ::FrameRect(dc->GetSafeHdc(), &r, brush);
    r.DeflateRect(1, 1);
    ::FrameRect(dc->GetSafeHdc(), &r, brush);
    ::DeleteObject(brush);
}

void COXMenuSkinXP::DrawInsertMark(CDC* dc, RECT* itemRect, BOOL before, COXBitmapMenu* /*menu*/)
{
    if (itemRect)
        zyn::menuskin::DrawInsertMarkOutline(dc, *itemRect, before);
}

void COXMenuSkinXP::DrawSubmenuItem(CDC* dc, UINT state, const wchar_t* text, COXImageInfo* imageInfo,
    RECT* itemRect, RECT* buttonRect, RECT* textRect, RECT* accelRect, COXBitmapMenu* menu)
{
    if (!dc || !itemRect || !buttonRect || !textRect || !accelRect)
        return;
    if (menu)
        menu->DrawBackground(dc, state, imageInfo, CRect(*itemRect), CRect(*buttonRect));
    DrawText(dc, state, text, textRect, accelRect, menu);
}

void COXMenuSkinXP::DrawExpansionItem(CDC* dc, RECT* itemRect, UINT state, COXBitmapMenu* /*menu*/)
{
    if (!dc || !itemRect || !m_pSkinXP)
        return;
    const COLORREF colour = IsDisabled(state) ? m_pSkinXP->GetSeparatorColor() : ::GetSysColor(COLOR_MENUTEXT);
    zyn::menuskin::DrawMarlettGlyph(dc, L'6', *itemRect, colour, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void COXMenuSkinXP::OnNcPaintCustomizePopupWnd(COXBitmapMenuPopupWnd* popup)
{
    COXCustomizePopupAccess* access = OXGetCustomizePopupAccess();
    const HWND hwnd = popup && access ? access->GetPopupWindow(popup) : nullptr;
    if (!hwnd || !::IsWindow(hwnd) || !m_pSkinXP)
        return;
    COXBitmapMenu* menu = access->GetPopupMenu(popup);
    const HDC hdc = ::GetWindowDC(hwnd);
    if (!hdc)
        return;
    CRect window;
    ::GetWindowRect(hwnd, &window);
    window.OffsetRect(-window.left, -window.top);
    CDC dc;
    dc.Attach(hdc);
    dc.FillSolidRect(&window, m_pSkinXP->GetMenuFaceColor());
    const int imageColumn = menu ? menu->GetImageColumnWidth() : 0;
    dc.FillSolidRect(0, 2, m_constants.nImageLeftGap + imageColumn + 7, window.Height() - 4,
        m_pSkinXP->GetBackgroundColor());
    const HBRUSH frame = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    ::FrameRect(hdc, &window, frame);
    ::DeleteObject(frame);
    dc.Detach();
    ::ReleaseDC(hwnd, hdc);
}

void COXMenuSkinXP::AdjustExpansionItemHeight(UINT& itemHeight, COXBitmapMenu* /*menu*/)
{
    itemHeight = itemHeight / 2 + 1;
}

void COXMenuSkinXP::DistributeSpace(UINT /*state*/, COXImageInfo* imageInfo, RECT* itemRect, CRect& buttonRect,
    CRect& imageRect, CRect& textRect, CRect& accelRect, COXBitmapMenu* menu)
{
    if (itemRect)
        zyn::menuskin::DistributeColumns(
            m_constants, menu, imageInfo, *itemRect, true, buttonRect, imageRect, textRect, accelRect);
}

void COXMenuSkinXP::DrawItemStrip(CDC* dc, RECT* rect)
{
    if (rect && m_pSkinXP)
        Fill(dc, *rect, m_pSkinXP->GetBackgroundColor());
}

void COXMenuSkinXP::DrawJoiningLine(CDC* dc, RECT* rect)
{
    if (rect && m_pSkinXP)
        Fill(dc, *rect, m_pSkinXP->GetBackgroundColor());
}

void COXMenuSkinXP::FillIntersectionRect(HDC hdc, RECT* rect)
{
    if (!hdc || !rect || !m_pSkinXP || rect->right <= rect->left || rect->bottom <= rect->top)
        return;
    const HBRUSH brush = ::CreateSolidBrush(m_pSkinXP->GetBackgroundColor());
    ::FillRect(hdc, rect, brush);
    ::DeleteObject(brush);
}
