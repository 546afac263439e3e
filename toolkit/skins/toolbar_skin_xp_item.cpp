// The XP toolbar skin's buttons: the look of each state (DrawItem), the framed fill, the
// image with its lifted shadow or disabled silhouette, the drop-down arrow, the text and
// the insert mark.
#include <memory>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/comctl/toolbar.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_xp.h"
#include "toolkit/skins/toolbar_skin.h"
#include "toolkit/skins/toolbar_skin_bar.h"

using namespace zyn;

namespace {

constexpr DWORD kShadowRop = 0xB8074A; // the brush where the mask is opaque, the destination elsewhere

bool HasArrowPart(const TBBUTTON& button, DWORD extendedStyle)
{
    return (button.fsStyle & BTNS_DROPDOWN) && (extendedStyle & TBSTYLE_EX_DRAWDDARROWS);
}

// The drop-down arrow's font: 8 points of Marlett, whose "6" is a downward triangle.
std::unique_ptr<CFont> ArrowFont()
{
    auto font = std::make_unique<CFont>();
    if (!font->CreatePointFont(80, L"Marlett"))
        return nullptr;
    return font;
}

// An image of a list exists at that index.
bool HasImage(HIMAGELIST list, int index) { return list && index >= 0 && index < ImageList_GetImageCount(list); }

} // namespace

void COXToolbarSkinXP::DrawItem(CDC* dc, TBBUTTON* button, const RECT* rect, COXCoolToolBar* bar, BOOL drawBackground)
{
    if (!dc || !button || !rect || !m_pSkinXP || !tbskin::HasWindow(bar))
        return;
    const DWORD extended = static_cast<DWORD>(tbskin::Send(bar, TB_GETEXTENDEDSTYLE));
    const tbskin::ItemState state = tbskin::TakeItemState(bar, *button);
    COLORREF text = m_pSkinXP->GetTextColor();
    BOOL shadow = FALSE, hotImage = FALSE, disabled = FALSE;
    if (state.dropped) {
        if (drawBackground)
            DrawDroppedItemBackground(dc, rect);
        shadow = hotImage = TRUE;
    } else if ((state.pressed || state.checked) && state.hot) {
        if (drawBackground)
            DrawItemBackground(dc, button, extended, rect, m_pSkinXP->GetActiveBorderColor(),
                m_pSkinXP->GetHotSelectedItemColor());
        hotImage = TRUE;
        text = m_pSkinXP->GetSelectedTextColor();
    } else if (state.checked) {
        if (drawBackground)
            DrawItemBackground(dc, button, extended, rect, m_pSkinXP->GetActiveBorderColor(),
                m_pSkinXP->GetCheckedItemColor());
    } else if (state.hot) {
        if (drawBackground)
            DrawItemBackground(dc, button, extended, rect, m_pSkinXP->GetActiveBorderColor(),
                m_pSkinXP->GetHotItemColor());
        shadow = hotImage = TRUE;
    } else if (state.pressed) {
        if (drawBackground) {
            CRect inner(*rect);
            inner.DeflateRect(0, 1);
            DrawDroppedItemBackground(dc, &inner);
        }
        shadow = hotImage = TRUE;
    } else if (state.disabled) {
        disabled = TRUE;
        text = GetSysColor(COLOR_GRAYTEXT);
    }
    DrawItemIcon(dc, button, extended, rect, shadow, hotImage, disabled, bar);
    DrawItemText(dc, button, extended, rect, text, bar);
}

void COXToolbarSkinXP::DrawDroppedItemBackground(CDC* dc, const RECT* rect)
{
    if (dc && rect && m_pSkinXP)
        barskin::Fill(dc, *rect, m_pSkinXP->GetBackgroundColor());
}

void COXToolbarSkinXP::DrawItemBackground(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect,
    COLORREF border, COLORREF fill)
{
    if (!dc || !button || !rect)
        return;
    CRect inner(*rect);
    inner.DeflateRect(1, 1);
    barskin::Fill(dc, inner, fill);
    DrawItemOutline(dc, button, extendedStyle, rect, border);
}

void COXToolbarSkinXP::DrawItemOutline(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect,
    COLORREF border)
{
    if (!dc || !button || !rect)
        return;
    CRect outline(*rect);
    // A menu item's button (no image, one drop-down part) leaves its bottom row open, so
    // that the box joins the menu below it.
    if (button->iBitmap < 0 && (button->fsStyle & BTNS_DROPDOWN) && !(extendedStyle & TBSTYLE_EX_DRAWDDARROWS))
        outline.bottom -= 1;
    barskin::Frame(dc, outline, border);
    if (HasArrowPart(*button, extendedStyle))
        barskin::Frame(dc, GetDropArrowRect(dc, rect), border);
}

CRect COXToolbarSkinXP::GetDropArrowRect(CDC* dc, const RECT* rect)
{
    if (!rect)
        return CRect(0, 0, 0, 0);
    CRect measured(0, 0, 0, 0);
    if (dc) {
        if (auto font = ArrowFont()) {
            COXSelectGuard<CFont> select(*dc, font.get());
            dc->DrawText(L"6", 1, &measured, DT_CALCRECT);
        }
    }
    return CRect(rect->right - measured.Width() - 4, rect->top, rect->right, rect->bottom);
}

CRect COXToolbarSkinXP::GetIconRect(int idCommand, COXCoolToolBar* bar)
{
    const LRESULT index = tbskin::Send(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(idCommand));
    TBBUTTON button{};
    if (index < 0 || !tbskin::Send(bar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return CRect(0, 0, 0, 0);
    const auto list = reinterpret_cast<HIMAGELIST>(tbskin::Send(bar, TB_GETIMAGELIST));
    IMAGEINFO info{};
    if (!HasImage(list, button.iBitmap) || !ImageList_GetImageInfo(list, button.iBitmap, &info))
        return CRect(0, 0, 0, 0);
    return CRect(info.rcImage);
}

void COXToolbarSkinXP::DrawItemIcon(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect, BOOL shadow,
    BOOL hotImage, BOOL disabled, COXCoolToolBar* bar)
{
    if (!dc || !button || !rect || !m_pSkinXP || !tbskin::HasWindow(bar) || tbskin::IsMenuBar(bar))
        return;
    CRect work(*rect);
    if (HasArrowPart(*button, extendedStyle)) {
        // The arrow belongs to the button whether or not it has an image: a text-only
        // drop-down button keeps its arrow too.
        const CRect arrow = GetDropArrowRect(dc, rect);
        work.right = arrow.left;
        if (auto font = ArrowFont()) {
            CRect glyph(arrow);
            COXSelectGuard<CFont> select(*dc, font.get());
            const int mode = dc->SetBkMode(TRANSPARENT);
            dc->DrawText(L"6", 1, &glyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            dc->SetBkMode(mode);
        }
    }
    const CRect icon = GetIconRect(button->idCommand, bar);
    if (button->iBitmap < 0 || icon.IsRectEmpty())
        return;
    const int w = icon.Width(), h = icon.Height();
    const bool hasText = !tbskin::ShownText(bar, *button, extendedStyle).IsEmpty();
    const bool list = (tbskin::Send(bar, TB_GETSTYLE) & TBSTYLE_LIST) != 0;
    int x = work.left + (work.Width() - w) / 2;
    int y = work.top + (work.Height() - h) / 2;
    if (hasText && list)
        x = work.left + 3;
    else if (hasText)
        y = work.top + 3;

    const auto normal = reinterpret_cast<HIMAGELIST>(tbskin::Send(bar, TB_GETIMAGELIST));
    const int image = button->iBitmap;
    if (hotImage) {
        auto hotList = reinterpret_cast<HIMAGELIST>(tbskin::Send(bar, TB_GETHOTIMAGELIST));
        if (!HasImage(hotList, image))
            hotList = normal;
        if (!HasImage(hotList, image))
            return;
        if (shadow) {
            // The silhouette two pixels below right of the lifted image.
            CBrush brush(GetSysColor(COLOR_BTNSHADOW));
            COXSelectGuard<CBrush> select(*dc, &brush);
            const COLORREF oldBk = dc->SetBkColor(RGB(255, 255, 255));
            IMAGELISTDRAWPARAMS params{};
            params.cbSize = sizeof(params);
            params.himl = hotList;
            params.i = image;
            params.hdcDst = dc->GetSafeHdc();
            params.x = x + 1;
            params.y = y + 1;
            params.rgbBk = CLR_NONE;
            params.rgbFg = CLR_DEFAULT;
            params.fStyle = ILD_MASK | ILD_ROP;
            params.dwRop = kShadowRop;
            ImageList_DrawIndirect(&params);
            dc->SetBkColor(oldBk);
            ImageList_Draw(hotList, image, dc->GetSafeHdc(), x - 1, y - 1, ILD_TRANSPARENT);
        } else {
            ImageList_Draw(hotList, image, dc->GetSafeHdc(), x, y, ILD_TRANSPARENT);
        }
    } else if (disabled) {
        const auto disabledList = reinterpret_cast<HIMAGELIST>(tbskin::Send(bar, TB_GETDISABLEDIMAGELIST));
        if (HasImage(disabledList, image)) {
            ImageList_Draw(disabledList, image, dc->GetSafeHdc(), x, y, ILD_TRANSPARENT);
        } else if (HasImage(normal, image)) {
            if (HICON hIcon = ImageList_GetIcon(normal, image, ILD_TRANSPARENT)) {
                CBrush brush(m_pSkinXP->GetDisabledTextColor());
                dc->DrawState(CPoint(x, y), CSize(w, h), hIcon, DST_ICON | DSS_MONO, &brush);
                DestroyIcon(hIcon);
            }
        }
    } else if (HasImage(normal, image)) {
        ImageList_Draw(normal, image, dc->GetSafeHdc(), x, y, ILD_TRANSPARENT);
    }
}

void COXToolbarSkinXP::DrawItemText(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect,
    COLORREF textColour, COXCoolToolBar* bar)
{
    if (!dc || !button || !rect || !tbskin::HasWindow(bar))
        return;
    const CString text = tbskin::ShownText(bar, *button, extendedStyle);
    if (text.IsEmpty())
        return;
    CRect r(*rect);
    if (HasArrowPart(*button, extendedStyle))
        r.right -= GetDropArrowRect(dc, rect).Width();
    const bool list = (tbskin::Send(bar, TB_GETSTYLE) & TBSTYLE_LIST) != 0;
    const CRect icon = GetIconRect(button->idCommand, bar);
    if (!list) {
        r.top += icon.Height() + 1;
        r.DeflateRect(3, 3);
    } else {
        r.left += icon.Width() + 6;
        r.right -= 3;
    }
    UINT format = DT_END_ELLIPSIS | DT_WORDBREAK;
    if (tbskin::Send(bar, TB_GETTEXTROWS) == 1)
        format |= DT_SINGLELINE;
    format |= list ? DT_VCENTER : DT_CENTER;

    const int saved = dc->SaveDC();
    dc->SetTextColor(textColour);
    dc->SetBkMode(TRANSPARENT);
    if (const auto font = reinterpret_cast<HFONT>(tbskin::Send(bar, WM_GETFONT)))
        dc->SelectObject(static_cast<HGDIOBJ>(font));
    dc->DrawText(text, &r, format);
    dc->RestoreDC(saved);
}

void COXToolbarSkinXP::DrawInsertMark(CDC* dc, COXCoolToolBar* bar)
{
    if (!dc || !tbskin::HasWindow(bar))
        return;
    TBINSERTMARK mark{-1, 0};
    tbskin::Send(bar, TB_GETINSERTMARK, 0, reinterpret_cast<LPARAM>(&mark));
    const int count = static_cast<int>(tbskin::Send(bar, TB_BUTTONCOUNT));
    if (mark.iButton < 0 || mark.iButton >= count)
        return;
    CRect r(0, 0, 0, 0);
    bar->GetItemRect(mark.iButton, &r);
    if (mark.dwFlags == 0)
        r.right = r.left + 3;
    else if (mark.dwFlags & TBIMHT_AFTER)
        r.left = r.right - 3;
    else
        return;
    barskin::Fill(dc, r, GetSysColor(COLOR_BTNTEXT));
}
