// Painting a popup menu in the classic look: its frame, background, items, column lines
// and scroll arrows. Glyphs (check marks, bullets, submenu arrows, the caption pictures of
// the HBMMENU_POPUP_* bitmaps, scroll arrows) come from the Marlett symbol font, in the
// item's text colour.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu_draw_util.h"
#include "platform/user/menu_popup.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/popup_menu.h"

namespace zyn::user::detail {
namespace {

HBRUSH BackBrush(const PopupLayout& L) { return L.back ? L.back : GetSysColorBrush(COLOR_MENU); }

// The fonts one paint uses, made once per paint: the menu font, its bold form for the
// default item, and the symbol font at each glyph size asked for.
class PaintFonts {
public:
    PaintFonts() : m_normal(CreateMenuFont(false)), m_bold(CreateMenuFont(true)) {}
    ~PaintFonts()
    {
        for (HFONT f : {m_normal, m_bold})
            if (f)
                DeleteObject(f);
        for (const auto& [size, f] : m_symbols)
            DeleteObject(f);
    }
    PaintFonts(const PaintFonts&) = delete;
    PaintFonts& operator=(const PaintFonts&) = delete;
    HFONT Text(bool bold) const { return bold && m_bold ? m_bold : m_normal; }
    HFONT Symbol(int size)
    {
        for (const auto& [s, f] : m_symbols)
            if (s == size)
                return f;
        const HFONT f = CreateFontW(-size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, 0, 0, 0, 0, L"Marlett");
        if (f)
            m_symbols.emplace_back(size, f);
        return f;
    }

private:
    HFONT m_normal = nullptr;
    HFONT m_bold = nullptr;
    std::vector<std::pair<int, HFONT>> m_symbols;
};

// One Marlett glyph centred in `r`.
void Glyph(HDC dc, PaintFonts& fonts, wchar_t ch, const RECT& r, COLORREF color)
{
    const int size = std::min<int>(r.right - r.left, r.bottom - r.top);
    const HFONT font = size > 0 ? fonts.Symbol(size) : nullptr;
    if (!font)
        return;
    const HGDIOBJ old = SelectObject(dc, font);
    const COLORREF oldColor = SetTextColor(dc, color);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT box = r;
    DrawTextW(dc, &ch, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, old);
}

// The picture of a system bitmap in a popup.
void SystemPicture(HDC dc, PaintFonts& fonts, HBITMAP b, const RECT& r, const MenuItemData& it, HWND owner,
    HMENU menu, COLORREF color)
{
    switch (reinterpret_cast<intptr_t>(b)) {
    case -1: { // HBMMENU_CALLBACK: the owner draws the picture
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = it.id;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = reinterpret_cast<HWND>(menu);
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = it.data;
        if (OwnerOnThisThread(owner))
            SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    case 1: { // HBMMENU_SYSTEM: the small icon of the window the item's data names
        const HWND wnd = reinterpret_cast<HWND>(it.data);
        HICON icon = nullptr;
        if (wnd && OwnerOnThisThread(wnd))
            icon = reinterpret_cast<HICON>(SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0));
        if (icon)
            DrawIconEx(dc, r.left, r.top + (r.bottom - r.top - (r.right - r.left)) / 2, icon, r.right - r.left,
                r.right - r.left, 0, nullptr, DI_NORMAL);
        return;
    }
    case 2:
    case 9: Glyph(dc, fonts, L'2', r, color); return;  // restore
    case 3:
    case 7:
    case 11: Glyph(dc, fonts, L'0', r, color); return; // minimise
    case 10: Glyph(dc, fonts, L'1', r, color); return; // maximise
    case 5:
    case 6:
    case 8: Glyph(dc, fonts, L'r', r, color); return;  // close
    default: return;
    }
}

void DrawOwnerDrawn(HDC dc, PaintFonts& fonts, const PopupView& v, const MenuItemData& it, const RECT& r, bool selected, UINT action)
{
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = it.id;
    dis.itemAction = action;
    dis.itemState = (selected ? ODS_SELECTED : 0) | ((it.state & MF_GRAYED) ? ODS_GRAYED : 0) |
        ((it.state & MF_DISABLED) ? ODS_DISABLED : 0) | ((it.state & MFS_CHECKED) ? ODS_CHECKED : 0) |
        ((it.state & MFS_DEFAULT) ? ODS_DEFAULT : 0);
    dis.hwndItem = reinterpret_cast<HWND>(v.menu);
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = it.data;
    if (!OwnerOnThisThread(v.owner))
        return;
    // The owner gets the DC as the system would draw with it: the menu font and colours.
    const COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    const COLORREF oldBack = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const HGDIOBJ oldFont = fonts.Text(false) ? SelectObject(dc, fonts.Text(false)) : nullptr;
    SendMessageW(v.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    // As for a text item, the system draws the arrow of an item that opens a submenu, in
    // the text colour the owner left in the DC; the owner keeps room for it.
    if (it.sub)
        Glyph(dc, fonts, L'8', RECT{r.right - kPopupPad - v.layout.arrowW, r.top, r.right - kPopupPad, r.bottom},
            GetTextColor(dc));
    if (oldFont)
        SelectObject(dc, oldFont);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

void DrawTextItem(HDC dc, PaintFonts& fonts, const PopupView& v, size_t index, const RECT& r, bool selected)
{
    const PopupLayout& L = v.layout;
    const MenuItemData& it = L.items[index];
    const PopupColumn& col = L.columns[L.column[index]];
    const bool gray = (it.state & MF_GRAYED) != 0;
    FillRect(dc, &r, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : BackBrush(L));
    const COLORREF color = GetSysColor(gray ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    const bool checked = (it.state & MFS_CHECKED) != 0;
    const RECT check{r.left + L.checkX, r.top, r.left + L.checkX + L.checkW, r.bottom};
    if (L.checkW > 0) {
        const HBITMAP custom = checked ? it.checked : it.unchecked;
        if (custom)
            DrawBitmapInto(dc, custom, check);
        else if (checked)
            Glyph(dc, fonts, (it.type & MFT_RADIOCHECK) ? L'h' : L'a', check, color);
    }
    // The picture beside the text; under MNS_CHECKORBMP a check mark takes its place.
    const bool pictureShown = !((L.style & MNS_CHECKORBMP) && checked);
    if (it.bmpItem && L.bitmapW > 0 && pictureShown) {
        const RECT box{r.left + L.bitmapX, r.top, r.left + L.bitmapX + L.bitmapW, r.bottom};
        if (IsSystemBitmap(it.bmpItem))
            SystemPicture(dc, fonts, it.bmpItem, box, it, v.owner, v.menu, color);
        else
            DrawBitmapInto(dc, it.bmpItem, box);
    }
    if (it.type & MFT_BITMAP) {
        const RECT box{r.left + L.textX, r.top, r.right - L.arrowW - kPopupPad, r.bottom};
        DrawBitmapInto(dc, reinterpret_cast<HBITMAP>(it.typeData), box);
        if (selected)
            PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, DSTINVERT);
    } else {
        const auto [label, accel] = SplitItemText(it);
        const HFONT font = fonts.Text((it.state & MFS_DEFAULT) != 0);
        const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        auto text = [&](const std::wstring& s, RECT box) {
            if (s.empty())
                return;
            const UINT fmt = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
            if (gray && !selected) {
                // Grayed text is embossed: a highlight one pixel down and right first.
                RECT lit = box;
                OffsetRect(&lit, 1, 1);
                SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
                DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &lit, fmt);
            }
            SetTextColor(dc, color);
            DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &box, fmt);
        };
        const int labelRight = accel.empty() ? r.right - L.arrowW - kPopupPad : r.left + col.accelX - kAccelGap;
        text(label, RECT{r.left + L.textX, r.top, labelRight, r.bottom});
        text(accel, RECT{r.left + col.accelX, r.top, r.right - L.arrowW - kPopupPad, r.bottom});
        SetBkMode(dc, oldMode);
        if (oldFont)
            SelectObject(dc, oldFont);
    }
    if (it.sub)
        Glyph(dc, fonts, L'8', RECT{r.right - kPopupPad - L.arrowW, r.top, r.right - kPopupPad, r.bottom}, color);
}

void DrawItem(HDC dc, PaintFonts& fonts, const PopupView& v, size_t i, const RECT& r, UINT action)
{
    const MenuItemData& it = v.layout.items[i];
    const bool selected = v.selected == static_cast<int>(i);
    if (it.type & MFT_OWNERDRAW) {
        DrawOwnerDrawn(dc, fonts, v, it, r, selected, action);
    } else if (it.type & MFT_SEPARATOR) {
        FillRect(dc, &r, BackBrush(v.layout));
        RECT line{r.left + 1, r.top + (r.bottom - r.top) / 2 - 1, r.right - 1, r.bottom};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    } else {
        DrawTextItem(dc, fonts, v, i, r, selected);
    }
}

void DrawBands(HDC dc, PaintFonts& fonts, const PopupView& v)
{
    const PopupLayout& L = v.layout;
    const RECT top{0, 0, L.client.cx, L.band};
    const RECT bottom{0, L.client.cy - L.band, L.client.cx, L.client.cy};
    FillRect(dc, &top, BackBrush(L));
    FillRect(dc, &bottom, BackBrush(L));
    // An arrow that cannot scroll further is grayed.
    Glyph(dc, fonts, L'5', top, GetSysColor(v.scroll > 0 ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
    Glyph(dc, fonts, L'6', bottom, GetSysColor(v.scroll < v.MaxScroll() ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
}

} // namespace

void ErasePopup(HDC hdc, const PopupView& view, const RECT& client) { FillRect(hdc, &client, BackBrush(view.layout)); }

void PaintPopup(HDC hdc, const PopupView& v, std::optional<int> only, UINT action)
{
    const PopupLayout& L = v.layout;
    if (L.items.size() != L.rects.size())
        return;
    PaintFonts fonts;
    const int saved = SaveDC(hdc);
    if (L.scrolls && !only)
        DrawBands(hdc, fonts, v);
    if (L.scrolls)
        IntersectClipRect(hdc, 0, L.band, L.client.cx, L.client.cy - L.band);
    const int dy = v.YOffset();
    if (!only) {
        for (const PopupColumn& col : L.columns) {
            if (!col.barBefore)
                continue;
            RECT line{col.left - kBarBreakGap / 2 - 1, dy, col.left - kBarBreakGap / 2 + 1, dy + L.content.cy};
            DrawEdge(hdc, &line, EDGE_ETCHED, BF_LEFT);
        }
    }
    for (size_t i = 0; i < L.items.size(); ++i) {
        if (only && *only != static_cast<int>(i))
            continue;
        RECT r = L.rects[i];
        OffsetRect(&r, 0, dy);
        DrawItem(hdc, fonts, v, i, r, action);
    }
    RestoreDC(hdc, saved);
}

void DrawPopupFrame(HDC hdc, int width, int height)
{
    RECT r{0, 0, width, height};
    DrawEdge(hdc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    // The third ring is the menu's face colour, so items never touch the bevel.
    FrameRect(hdc, &r, GetSysColorBrush(COLOR_MENU));
}

} // namespace zyn::user::detail
