// Laying out a popup menu and answering where its items are.
#include <algorithm>
#include <string>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu_draw_util.h"
#include "platform/user/menu_popup.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"

namespace zyn::user::detail {
namespace {

// One item's needs before the columns are known.
struct Need {
    int height = 0;
    int width = 0;     // owner-drawn and bitmap items: their whole width; text items: the label
    int accel = 0;     // text items: the accelerator's width
    bool text = false; // lays out in the text and accelerator columns
};

SIZE MeasureOwnerDrawn(HWND owner, const MenuItemData& it, UINT defaultHeight)
{
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, it.id, 0, defaultHeight, it.data};
    if (OwnerOnThisThread(owner))
        SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return SIZE{static_cast<LONG>(std::min<UINT>(mis.itemWidth, 0x7FFF)),
        static_cast<LONG>(std::min<UINT>(mis.itemHeight, 0x7FFF))};
}

int TextWidth(HDC dc, const std::wstring& s)
{
    if (s.empty())
        return 0;
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
}

} // namespace

PopupMetrics PopupMetrics::Current()
{
    PopupMetrics m;
    m.cxCheck = GetSystemMetrics(SM_CXMENUCHECK);
    m.cyCheck = GetSystemMetrics(SM_CYMENUCHECK);
    MenuFontDc f(nullptr);
    TEXTMETRICW tm{};
    GetTextMetricsW(f.Dc(), &tm);
    m.itemHeight = std::max<int>(tm.tmHeight + 4, m.cyCheck + 4);
    return m;
}

std::pair<std::wstring, std::wstring> SplitItemText(const MenuItemData& it)
{
    if (!it.text || (it.type & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)))
        return {};
    const std::wstring& t = *it.text;
    const size_t tab = t.find(L'\t');
    if (tab == std::wstring::npos)
        return {t, L""};
    return {t.substr(0, tab), t.substr(tab + 1)};
}

bool IsSeparatorItem(const MenuItemData& it) { return (it.type & MFT_SEPARATOR) && !(it.type & MFT_OWNERDRAW); }

PopupLayout LayoutPopupMenu(HMENU menu, HWND owner, int maxClientHeight)
{
    PopupLayout L;
    auto items = SnapshotItems(menu, &L.style, &L.back);
    if (!items)
        return L;
    L.items = std::move(*items);
    const PopupMetrics m = PopupMetrics::Current();
    const size_t n = L.items.size();
    const SIZE systemPicture{m.cxCheck, m.cyCheck};

    // The bitmap column: the widest picture of an item that shows one beside its text.
    int bitmapW = 0, bitmapH = 0;
    std::vector<SIZE> pictures(n, SIZE{0, 0});
    for (size_t i = 0; i < n; ++i) {
        const MenuItemData& it = L.items[i];
        if (!it.bmpItem || (it.type & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)))
            continue;
        if (it.bmpItem == HBMMENU_CALLBACK)
            pictures[i] = MeasureOwnerDrawn(owner, it, 0);
        else
            pictures[i] = BitmapSize(it.bmpItem, systemPicture);
        bitmapW = std::max<int>(bitmapW, pictures[i].cx);
        bitmapH = std::max<int>(bitmapH, pictures[i].cy);
    }
    const int checkW = (L.style & MNS_NOCHECK) ? 0 : m.cxCheck;
    L.checkX = kPopupPad;
    if (L.style & MNS_CHECKORBMP) {
        L.checkW = std::max(checkW, bitmapW);
        L.bitmapX = L.checkX;
        L.bitmapW = L.checkW;
        L.textX = L.checkX + L.checkW + kPopupGap;
    } else {
        L.checkW = checkW;
        L.bitmapX = L.checkX + checkW + (checkW && bitmapW ? 2 : 0);
        L.bitmapW = bitmapW;
        L.textX = L.bitmapX + bitmapW + kPopupGap;
    }
    L.arrowW = m.cxCheck;
    const int textItemHeight = std::max(m.itemHeight, bitmapH ? bitmapH + 2 : 0);

    // What each item needs.
    std::vector<Need> needs(n);
    {
        MenuFontDc normal(nullptr);
        const HFONT bold = CreateMenuFont(true);
        for (size_t i = 0; i < n; ++i) {
            const MenuItemData& it = L.items[i];
            Need& need = needs[i];
            if (it.type & MFT_OWNERDRAW) {
                const SIZE s = MeasureOwnerDrawn(owner, it, static_cast<UINT>(m.itemHeight));
                need.width = s.cx + m.cxCheck - 1;
                need.height = s.cy;
            } else if (it.type & MFT_SEPARATOR) {
                need.height = kSeparatorHeight;
            } else if (it.type & MFT_BITMAP) {
                const SIZE s = BitmapSize(reinterpret_cast<HBITMAP>(it.typeData), systemPicture);
                need.width = L.textX + s.cx + kPopupGap + L.arrowW + kPopupPad;
                need.height = std::max<int>(s.cy, 1);
            } else {
                const auto [label, accel] = SplitItemText(it);
                const bool isDefault = (it.state & MFS_DEFAULT) && bold;
                HGDIOBJ old = isDefault ? SelectObject(normal.Dc(), bold) : nullptr;
                need.width = TextWidth(normal.Dc(), label);
                need.accel = TextWidth(normal.Dc(), accel);
                if (old)
                    SelectObject(normal.Dc(), old);
                need.text = true;
                need.height = textItemHeight;
            }
        }
        if (bold)
            DeleteObject(bold);
    }

    // Columns, then the items' rectangles.
    L.rects.assign(n, RECT{});
    L.column.assign(n, 0);
    size_t colStart = 0;
    int x = 0;
    auto finishColumn = [&](size_t from, size_t to, bool barBefore) {
        PopupColumn col;
        col.barBefore = barBefore;
        if (barBefore)
            x += kBarBreakGap;
        col.left = x;
        int label = 0, accel = 0, width = L.textX + kPopupGap + L.arrowW + kPopupPad;
        for (size_t i = from; i < to; ++i) {
            if (needs[i].text) {
                label = std::max(label, needs[i].width);
                accel = std::max(accel, needs[i].accel);
            } else {
                width = std::max(width, needs[i].width);
            }
        }
        col.accelX = L.textX + label + kAccelGap;
        const int textWidth = L.textX + label + (accel ? kAccelGap + accel : 0) + kPopupGap + L.arrowW + kPopupPad;
        col.width = std::max(width, textWidth);
        int y = 0;
        for (size_t i = from; i < to; ++i) {
            L.rects[i] = RECT{col.left, y, col.left + col.width, y + needs[i].height};
            L.column[i] = L.columns.size();
            y += needs[i].height;
        }
        L.content.cy = std::max<LONG>(L.content.cy, y);
        x += col.width;
        L.columns.push_back(col);
    };
    bool barBefore = false;
    for (size_t i = 0; i < n; ++i) {
        const UINT breaks = L.items[i].type & (MFT_MENUBREAK | MFT_MENUBARBREAK);
        if (i > colStart && breaks) {
            finishColumn(colStart, i, barBefore);
            colStart = i;
            barBefore = (breaks & MFT_MENUBARBREAK) != 0;
        }
    }
    if (n)
        finishColumn(colStart, n, barBefore);
    L.content.cx = x;
    L.client = L.content;
    if (maxClientHeight > 0 && L.content.cy > maxClientHeight) {
        // Too tall: the items scroll between two arrow bands, with room for at least one
        // item between them.
        L.scrolls = true;
        L.band = kScrollBand;
        L.client.cy = std::max(maxClientHeight, 2 * kScrollBand + m.itemHeight);
    }
    return L;
}

int PopupView::ItemFromPoint(POINT client) const
{
    if (BandAt(client) != 0)
        return -1;
    const POINT content{client.x, client.y - YOffset()};
    for (size_t i = 0; i < layout.rects.size(); ++i)
        if (PtInRect(&layout.rects[i], content))
            return static_cast<int>(i);
    return -1;
}

RECT PopupView::ItemRect(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= layout.rects.size())
        return RECT{};
    RECT r = layout.rects[static_cast<size_t>(index)];
    OffsetRect(&r, 0, YOffset());
    return r;
}

int PopupView::BandAt(POINT client) const
{
    if (!layout.scrolls || client.x < 0 || client.x >= layout.client.cx)
        return 0;
    if (client.y >= 0 && client.y < layout.band)
        return -1;
    if (client.y >= layout.client.cy - layout.band && client.y < layout.client.cy)
        return 1;
    return 0;
}

int PopupView::MaxScroll() const
{
    if (!layout.scrolls)
        return 0;
    return std::max<int>(0, layout.content.cy - (layout.client.cy - 2 * layout.band));
}

} // namespace zyn::user::detail
