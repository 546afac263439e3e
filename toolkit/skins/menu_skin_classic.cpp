// The Classic menu skin: system colours, raised and sunken 3-D edges, a dithered button
// behind checked items, and the system's own popup windows.
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/menus/shadowed_item_wnd.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/menu_skin_draw.h"

namespace {

// nStripExtraWidth and nMinImageWidth are not used by this skin.
constexpr OXDIMENSIONCONSTANTS kClassicConstants{2, 0, 8, 2, 3, 4, 3, 8, 0, 12};

void FillWith(CDC* dc, const RECT& rect, HBRUSH brush)
{
    if (dc && brush && rect.right > rect.left && rect.bottom > rect.top)
        ::FillRect(dc->GetSafeHdc(), &rect, brush);
}

void FillSys(CDC* dc, const RECT& rect, int colour)
{
    if (dc && rect.right > rect.left && rect.bottom > rect.top)
        dc->FillSolidRect(&rect, ::GetSysColor(colour));
}

// The checkerboard of the menu and highlight colours, made for one paint.
class DitherBrush {
public:
    DitherBrush()
        : m_brush(COXBitmapMenu::HBrushDitherCreate(::GetSysColor(COLOR_MENU), ::GetSysColor(COLOR_BTNHIGHLIGHT)))
    {
    }
    ~DitherBrush()
    {
        if (m_brush)
            ::DeleteObject(m_brush);
    }
    DitherBrush(const DitherBrush&) = delete;
    DitherBrush& operator=(const DitherBrush&) = delete;
    HBRUSH get() const { return m_brush; }

private:
    HBRUSH m_brush;
};

bool HasImage(const COXImageInfo* info) { return info && info->HasImage(); }

} // namespace

COXMenuSkinClassic::COXMenuSkinClassic()
    : m_constants(kClassicConstants)
{
}

void COXMenuSkinClassic::DrawBackground(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* itemRect,
    RECT* buttonRect, COXBitmapMenu* menu)
{
    if (!dc || !itemRect || !buttonRect)
        return;
    const bool hidden = (state & OXODS_HIDDEN) != 0;
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;
    const bool defaultImage = HasImage(imageInfo) && imageInfo->IsDefaultImgList();
    const bool realImage = HasImage(imageInfo) && !imageInfo->IsDefaultImgList();
    const DitherBrush dither;

    // The button area.
    const CRect button(*buttonRect);
    if ((hidden && realImage) || (checked && !selected))
        FillWith(dc, button, dither.get());
    else
        FillSys(dc, button, selected && !checked && defaultImage ? COLOR_HIGHLIGHT : COLOR_MENU);

    // The text area.
    CRect item(*itemRect);
    if (!(hidden && !selected)) {
        const int imageColumn = menu ? menu->GetImageColumnWidth() : 0;
        const int d = checked ? 2 : (defaultImage ? -1 : 1);
        item.left = std::max<int>(button.right, m_constants.nImageLeftGap + imageColumn + d);
        item.bottom -= 1;
        FillSys(dc, item, selected ? COLOR_HIGHLIGHT : COLOR_MENU);
        return;
    }
    FillWith(dc, item, dither.get());
    // The edges of a run of hidden items.
    if (state & OXODS_HIDDENFIRST)
        FillSys(dc, CRect(item.left, item.top, item.right, item.top + 1), COLOR_BTNSHADOW);
    if (state & OXODS_HIDDENLAST)
        FillSys(dc, CRect(item.left, item.bottom - 1, item.right, item.bottom), COLOR_BTNHIGHLIGHT);
}

void COXMenuSkinClassic::DrawButton(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* buttonRect,
    COXBitmapMenu* /*menu*/)
{
    if (!dc || !buttonRect || !HasImage(imageInfo))
        return;
    CRect button(*buttonRect);
    if (state & ODS_CHECKED)
        dc->DrawEdge(&button, BDR_SUNKENOUTER, BF_RECT);
    else if ((state & ODS_SELECTED) && !(state & (ODS_DISABLED | ODS_GRAYED)) && !imageInfo->IsDefaultImgList())
        dc->DrawEdge(&button, BDR_RAISEDINNER, BF_RECT);
}

void COXMenuSkinClassic::DrawImage(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect,
    COXBitmapMenu* /*menu*/)
{
    if (!dc || !imageRect || !HasImage(imageInfo))
        return;
    if (imageInfo->IsDefaultImgList() && !(state & ODS_CHECKED))
        return;
    const int index = zyn::menuskin::ImageIndexFor(*imageInfo, state);
    const POINT at{imageRect->left, imageRect->top};
    if (state & (ODS_DISABLED | ODS_GRAYED))
        zyn::menuskin::DrawImageState(dc, *imageInfo, index, at, DSS_DISABLED, CLR_INVALID);
    else
        zyn::menuskin::DrawImageTransparent(dc, *imageInfo, index, at);
}

void COXMenuSkinClassic::DrawText(CDC* dc, UINT state, const wchar_t* text, RECT* textRect, RECT* accelRect,
    COXBitmapMenu* /*menu*/)
{
    if (!dc || !textRect || !accelRect)
        return;
    const bool disabled = (state & (ODS_DISABLED | ODS_GRAYED)) != 0;
    const bool selected = (state & ODS_SELECTED) != 0;
    const COLORREF colour =
        ::GetSysColor(disabled ? COLOR_GRAYTEXT : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    zyn::menuskin::DrawItemText(dc, text, *textRect, *accelRect, colour, disabled && !selected ? DSS_DISABLED : 0);
}

void COXMenuSkinClassic::DrawSeparator(CDC* dc, RECT* itemRect, COXBitmapMenu* /*menu*/)
{
    if (!dc || !itemRect)
        return;
    CRect r(*itemRect);
    r.DeflateRect(2, 2);
    const int middle = (itemRect->top + itemRect->bottom) / 2;
    r.top = middle - 1;
    r.bottom = middle + 1;
    dc->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

void COXMenuSkinClassic::DrawCustomized(CDC* dc, RECT* itemRect, COXBitmapMenu* /*menu*/)
{
    if (dc && itemRect)
        dc->DrawDragRect(itemRect, CSize(2, 2), nullptr, CSize(0, 0));
}

void COXMenuSkinClassic::DrawInsertMark(CDC* dc, RECT* itemRect, BOOL before, COXBitmapMenu* /*menu*/)
{
    if (itemRect)
        zyn::menuskin::DrawInsertMarkOutline(dc, *itemRect, before);
}

void COXMenuSkinClassic::DrawSubmenuItem(CDC* dc, UINT state, const wchar_t* text, COXImageInfo* imageInfo,
    RECT* itemRect, RECT* buttonRect, RECT* textRect, RECT* accelRect, COXBitmapMenu* menu)
{
    if (!dc || !itemRect || !buttonRect || !textRect || !accelRect)
        return;
    if (menu)
        menu->DrawBackground(dc, state, imageInfo, CRect(*itemRect), CRect(*buttonRect));
    if (menu && menu->IsInCustomizationMode()) {
        // The system draws no arrow for a customisation popup: the skin does.
        const bool disabled = (state & (ODS_DISABLED | ODS_GRAYED)) != 0;
        zyn::menuskin::DrawMarlettGlyph(dc, L'8', *accelRect, ::GetSysColor(disabled ? COLOR_BTNSHADOW : COLOR_MENUTEXT),
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    DrawText(dc, state, text, textRect, accelRect, menu);
}

void COXMenuSkinClassic::DrawExpansionItem(CDC* dc, RECT* itemRect, UINT state, COXBitmapMenu* /*menu*/)
{
    if (!dc || !itemRect)
        return;
    const int colour = (state & (ODS_DISABLED | ODS_GRAYED)) ? COLOR_GRAYTEXT
        : (state & ODS_SELECTED)                             ? COLOR_HIGHLIGHTTEXT
                                                             : COLOR_MENUTEXT;
    zyn::menuskin::DrawMarlettGlyph(dc, L'6', *itemRect, ::GetSysColor(colour), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void COXMenuSkinClassic::OnNcPaintCustomizePopupWnd(COXBitmapMenuPopupWnd* popup)
{
    COXCustomizePopupAccess* access = OXGetCustomizePopupAccess();
    const HWND hwnd = popup && access ? access->GetPopupWindow(popup) : nullptr;
    if (hwnd && ::IsWindow(hwnd))
        ::DefWindowProcW(hwnd, WM_NCPAINT, 1, 0);
}

void COXMenuSkinClassic::OnPaintShadowedItemWnd(COXShadowedItemWnd* wnd)
{
    if (wnd && wnd->GetSafeHwnd())
        wnd->Default();
}

void COXMenuSkinClassic::DistributeSpace(UINT /*state*/, COXImageInfo* imageInfo, RECT* itemRect, CRect& buttonRect,
    CRect& imageRect, CRect& textRect, CRect& accelRect, COXBitmapMenu* menu)
{
    if (itemRect)
        zyn::menuskin::DistributeColumns(
            m_constants, menu, imageInfo, *itemRect, false, buttonRect, imageRect, textRect, accelRect);
}

LRESULT COXMenuSkinClassic::MenuPopupWndProc(LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd,
    UINT message, WPARAM wParam, LPARAM lParam)
{
    // The system paints its popups.
    return ::CallWindowProcW(previous ? previous : &::DefWindowProcW, hwnd, message, wParam, lParam);
}

void COXMenuSkinClassic::AdjustExpansionItemHeight(UINT& /*itemHeight*/, COXBitmapMenu* /*menu*/)
{
    // The measured height stands.
}
