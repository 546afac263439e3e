// The list view's classic painting: the background, each visible item (state image,
// image, label with the selection colours and the focus rectangle, sub-items), grid
// lines, custom draw around all of it, and owner-drawn reports through WM_DRAWITEM.
#include <algorithm>

#include "platform/user/winuser.h"
#include "platform/comctl/listview_state.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace zyn::comctl::detail {

namespace {

struct ItemLook {
    COLORREF text = 0;
    COLORREF back = CLR_NONE;   // CLR_NONE: the label is not filled
    bool selected = false;      // drawn as selected
    bool focusRect = false;
};

LRESULT CustomDraw(ListViewState& s, NMLVCUSTOMDRAW& cd, DWORD stage)
{
    cd.nmcd.dwDrawStage = stage;
    return Notify(s, cd.nmcd.hdr, NM_CUSTOMDRAW);
}

void FillSolid(HDC hdc, const RECT& rc, COLORREF colour)
{
    if (colour == CLR_NONE || rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(hdc, &rc, brush);
    ::DeleteObject(brush);
}

void DrawImage(HIMAGELIST list, int image, HDC hdc, int x, int y, UINT state, bool selected)
{
    if (!list || image < 0 || image >= ::ImageList_GetImageCount(list))
        return;
    UINT style = ILD_TRANSPARENT | INDEXTOOVERLAYMASK((state & LVIS_OVERLAYMASK) >> 8);
    if (selected || (state & LVIS_CUT))
        style |= ILD_BLEND50;
    ::ImageList_DrawEx(list, image, hdc, x, y, 0, 0, CLR_NONE, CLR_DEFAULT, style);
}

void DrawStateImage(ListViewState& s, HDC hdc, const RECT& rc, UINT state)
{
    const UINT index = STATEIMAGEMASKTOINDEX(state);
    if (!s.stateImages || index == 0)
        return;
    const SIZE st = StateImageSize(s);
    DrawImage(s.stateImages, static_cast<int>(index) - 1, hdc, rc.left, rc.top + (rc.bottom - rc.top - st.cy) / 2, 0,
        false);
}

void DrawLabelText(HDC hdc, const std::wstring& text, RECT rc, UINT flags, COLORREF colour)
{
    if (text.empty() || rc.right <= rc.left)
        return;
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, colour);
    ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rc, flags | DT_NOPREFIX);
}

UINT AlignFlags(int fmt)
{
    switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return DT_RIGHT;
    case LVCFMT_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// The underlined form of the control's font for the hot item (deleted by the caller).
HFONT UnderlinedFont(const ListViewState& s)
{
    LOGFONTW lf{};
    if (!s.font || !::GetObjectW(s.font, sizeof lf, &lf))
        return nullptr;
    lf.lfUnderline = TRUE;
    return ::CreateFontIndirectW(&lf);
}

void DrawReportItem(ListViewState& s, HDC hdc, int index, NMLVCUSTOMDRAW& cd, LRESULT itemAnswer, ItemLook look,
    const RECT& area)
{
    RECT bounds{}, label{}, icon{}, stateRc{};
    ItemRect(s, index, LVIR_BOUNDS, bounds);
    ItemRect(s, index, LVIR_LABEL, label);
    ItemRect(s, index, LVIR_ICON, icon);
    stateRc = RECT{icon.left - StateImageSize(s).cx, icon.top, icon.left, icon.bottom};
    const bool fullRow = (s.exStyle & LVS_EX_FULLROWSELECT) != 0;
    const UINT state = s.items[static_cast<size_t>(index)].state;
    const SIZE sm = SmallImageSize(s);
    for (const int c : ColumnOrder(s)) {
        if (s.destroyed || !s.valid(index))
            return;
        int l = 0, r = 0;
        if (!ColumnSpan(s, c, l, r) || r <= area.left || l >= area.right || r <= l)
            continue;
        ItemLook cell = look;
        if (itemAnswer & CDRF_NOTIFYSUBITEMDRAW) {
            cd.iSubItem = c;
            cd.clrText = look.text;
            cd.clrTextBk = look.back;
            const LRESULT sub = CustomDraw(s, cd, CDDS_ITEMPREPAINT | CDDS_SUBITEM);
            if (s.destroyed || !s.valid(index))
                return;
            if (sub & CDRF_SKIPDEFAULT)
                continue;
            cell.text = cd.clrText;
            cell.back = cd.clrTextBk;
        }
        const int sub = s.columns[static_cast<size_t>(c)].subItem;
        const int saved = ::SaveDC(hdc);
        ::IntersectClipRect(hdc, l, bounds.top, r, bounds.bottom);
        if (c == 0) {
            DrawStateImage(s, hdc, stateRc, state);
            if (s.smallImages)
                DrawImage(s.smallImages, ItemImage(s, index, 0), hdc, icon.left, icon.top + (icon.bottom - icon.top - sm.cy) / 2,
                    state, look.selected && ::GetFocus() == s.self);
            RECT fill = label;
            if (fullRow && look.selected)
                fill.right = r;
            FillSolid(hdc, fill, cell.back);
            RECT text{label.left + kLabelPad, label.top, label.right - kLabelPad, label.bottom};
            DrawLabelText(hdc, ItemText(s, index, sub), text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_LEFT,
                cell.text);
        } else {
            const bool lit = fullRow && look.selected;
            RECT cellRc{l, bounds.top, r, bounds.bottom};
            if (lit)
                FillSolid(hdc, cellRc, cell.back);
            else if (itemAnswer & CDRF_NOTIFYSUBITEMDRAW)
                FillSolid(hdc, cellRc, cell.back);
            RECT text{l + kSubItemPad, bounds.top, r - kSubItemPad, bounds.bottom};
            if ((s.exStyle & LVS_EX_SUBITEMIMAGES) && s.smallImages) {
                const int image = ItemImage(s, index, sub);
                if (image >= 0) {
                    DrawImage(s.smallImages, image, hdc, l + kLabelPad, bounds.top + (bounds.bottom - bounds.top - sm.cy) / 2,
                        0, false);
                    text.left = l + kLabelPad + sm.cx + kLabelPad;
                }
            }
            const COLORREF colour = lit || (itemAnswer & CDRF_NOTIFYSUBITEMDRAW) ? cell.text : TextColor(s);
            DrawLabelText(hdc, ItemText(s, index, sub), text,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | AlignFlags(s.columns[static_cast<size_t>(c)].fmt),
                colour);
        }
        ::RestoreDC(hdc, saved);
    }
    if (look.focusRect) {
        RECT focus = label;
        if (fullRow)
            focus.right = std::max(label.right, bounds.right);
        ::SetTextColor(hdc, 0);
        ::SetBkColor(hdc, RGB(255, 255, 255));
        ::DrawFocusRect(hdc, &focus);
    }
}

void DrawOtherItem(ListViewState& s, HDC hdc, int index, const ItemLook& look)
{
    RECT label{}, icon{};
    ItemRect(s, index, LVIR_LABEL, label);
    ItemRect(s, index, LVIR_ICON, icon);
    const UINT state = s.items[static_cast<size_t>(index)].state;
    const bool blend = look.selected && ::GetFocus() == s.self;
    if (s.view() == View::Icon) {
        const SIZE img = NormalImageSize(s), st = StateImageSize(s);
        const int x = icon.left + (icon.right - icon.left - img.cx) / 2;
        const int y = icon.top + kIconPad;
        if (s.stateImages)
            DrawStateImage(s, hdc, RECT{x - st.cx, y + img.cy - st.cy, x, y + img.cy}, state);
        DrawImage(s.normalImages, ItemImage(s, index, 0), hdc, x, y, state, blend);
    } else {
        const SIZE st = StateImageSize(s), sm = SmallImageSize(s);
        DrawStateImage(s, hdc, RECT{icon.left - st.cx, icon.top, icon.left, icon.bottom}, state);
        DrawImage(s.smallImages, ItemImage(s, index, 0), hdc, icon.left, icon.top + (icon.bottom - icon.top - sm.cy) / 2,
            state, blend);
    }
    if (s.destroyed || !s.valid(index))
        return;
    FillSolid(hdc, label, look.back);
    const std::wstring text = ItemText(s, index, 0);
    if (s.view() == View::Icon) {
        RECT rc{label.left + kLabelPad, label.top + 1, label.right - kLabelPad, label.bottom - 1};
        const UINT flags = (s.style() & LVS_NOLABELWRAP) ? (DT_SINGLELINE | DT_CENTER)
                                                         : (DT_WORDBREAK | DT_CENTER | DT_EDITCONTROL | DT_END_ELLIPSIS);
        DrawLabelText(hdc, text, rc, flags, look.text);
    } else {
        RECT rc{label.left + kLabelPad, label.top, label.right - kLabelPad, label.bottom};
        DrawLabelText(hdc, text, rc, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_LEFT, look.text);
    }
    if (look.focusRect) {
        ::SetTextColor(hdc, 0);
        ::SetBkColor(hdc, RGB(255, 255, 255));
        ::DrawFocusRect(hdc, &label);
    }
}

ItemLook LookOf(ListViewState& s, int index)
{
    ItemLook look;
    const UINT state = s.items[static_cast<size_t>(index)].state;
    const bool hasFocus = ::GetFocus() == s.self;
    const bool enabled = ::IsWindowEnabled(s.self) != FALSE;
    look.text = enabled ? TextColor(s) : ::GetSysColor(COLOR_GRAYTEXT);
    look.back = TextBkColor(s) == BkColor(s) ? CLR_NONE : TextBkColor(s);
    if (((state & LVIS_SELECTED) && (hasFocus || (s.style() & LVS_SHOWSELALWAYS))) || (state & LVIS_DROPHILITED)) {
        look.selected = true;
        if (hasFocus || (state & LVIS_DROPHILITED)) {
            look.text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
            look.back = ::GetSysColor(COLOR_HIGHLIGHT);
        } else {
            look.text = ::GetSysColor(COLOR_WINDOWTEXT);
            look.back = ::GetSysColor(COLOR_BTNFACE);
        }
    }
    look.focusRect = hasFocus && (state & LVIS_FOCUSED) && s.focused == index;
    return look;
}

void DrawGridLines(ListViewState& s, HDC hdc, const RECT& area)
{
    const RECT items = ItemArea(s);
    const int h = RowHeight(s);
    const int right = std::min(static_cast<int>(items.right), TotalColumnWidth(s) - s.scrollX);
    HBRUSH brush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    // A line closes every row slot, items or not.
    const int firstSlot = std::max(0, static_cast<int>(area.top - items.top) / h);
    for (int k = firstSlot;; ++k) {
        const int y = items.top + (k + 1) * h - 1;
        if (y >= area.bottom || y >= items.bottom)
            break;
        const RECT line{items.left, y, right, y + 1};
        ::FillRect(hdc, &line, brush);
    }
    for (const int c : ColumnOrder(s)) {
        int l = 0, r = 0;
        if (ColumnSpan(s, c, l, r) && r - 1 >= area.left && r - 1 < area.right) {
            const RECT line{r - 1, items.top, r, items.bottom};
            ::FillRect(hdc, &line, brush);
        }
    }
    ::DeleteObject(brush);
}

void DrawOwnerItems(ListViewState& s, HDC hdc, int first, int last)
{
    const bool hasFocus = ::GetFocus() == s.self;
    for (int i = first; i <= last && !s.destroyed; ++i) {
        if (!s.valid(i))
            break;
        const ListItem& item = s.items[static_cast<size_t>(i)];
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTVIEW;
        dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(s.self));
        dis.itemID = static_cast<UINT>(i);
        dis.itemAction = ODA_DRAWENTIRE;
        if (item.state & LVIS_SELECTED)
            dis.itemState |= ODS_SELECTED;
        if (hasFocus && s.focused == i)
            dis.itemState |= ODS_FOCUS;
        if (!::IsWindowEnabled(s.self))
            dis.itemState |= ODS_DISABLED;
        dis.hwndItem = s.self;
        dis.hDC = hdc;
        ItemRect(s, i, LVIR_BOUNDS, dis.rcItem);
        dis.itemData = static_cast<ULONG_PTR>(item.lParam);
        const int saved = ::SaveDC(hdc);
        if (const HWND parent = ::GetParent(s.self))
            ::SendMessageW(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        ::RestoreDC(hdc, saved);
    }
}

} // namespace

COLORREF BkColor(const ListViewState& s) { return s.bkColor.value_or(::GetSysColor(COLOR_WINDOW)); }
COLORREF TextColor(const ListViewState& s) { return s.textColor.value_or(::GetSysColor(COLOR_WINDOWTEXT)); }
COLORREF TextBkColor(const ListViewState& s) { return s.textBkColor.value_or(::GetSysColor(COLOR_WINDOW)); }

void EraseBackground(ListViewState& s, HDC hdc)
{
    // The header paints itself: only the area below it is the list's.
    FillSolid(hdc, ItemArea(s), BkColor(s));
}

void Paint(ListViewState& s, HDC hdc, const RECT& requested)
{
    if (!s.redraw)
        return;
    RECT clip{};
    if (::GetClipBox(hdc, &clip) == NULLREGION)
        return; // nothing of the window can be seen (LockWindowUpdate, covered)
    RECT area{};
    if (!::IntersectRect(&area, &requested, &clip))
        return;
    const RECT items = ItemArea(s);
    RECT itemsArea{};
    const bool any = ::IntersectRect(&itemsArea, &area, &items) != FALSE;
    const HGDIOBJ oldFont = ::SelectObject(hdc, s.font ? s.font : ::GetStockObject(DEFAULT_GUI_FONT));
    int first = 0, last = -1;
    if (any)
        VisibleRange(s, itemsArea, first, last);
    if ((s.style() & LVS_OWNERDATA) && first <= last) {
        NMLVCACHEHINT hint{};
        hint.iFrom = first;
        hint.iTo = last;
        Notify(s, hint.hdr, LVN_ODCACHEHINT);
        if (s.destroyed)
            return;
        last = std::min(last, s.count() - 1);
    }
    const bool ownerDraw = s.view() == View::Report && (s.style() & LVS_OWNERDRAWFIXED);
    if (ownerDraw) {
        DrawOwnerItems(s, hdc, first, last);
        if (!s.destroyed)
            ::SelectObject(hdc, oldFont);
        return;
    }
    RECT client{};
    ::GetClientRect(s.self, &client);
    NMLVCUSTOMDRAW cd{};
    cd.nmcd.hdc = hdc;
    cd.nmcd.rc = client;
    const LRESULT pre = CustomDraw(s, cd, CDDS_PREPAINT);
    if (s.destroyed)
        return;
    HFONT hotFont = nullptr;
    for (int i = first; i <= last && !(pre & CDRF_SKIPDEFAULT); ++i) {
        if (s.destroyed || !s.valid(i))
            break;
        RECT bounds{}, both{};
        ItemRect(s, i, LVIR_BOUNDS, bounds);
        if (s.view() != View::Report && !::IntersectRect(&both, &bounds, &itemsArea))
            continue;
        ItemLook look = LookOf(s, i);
        LRESULT answer = CDRF_DODEFAULT;
        const int saved = ::SaveDC(hdc);
        if (s.hot == i && (s.exStyle & LVS_EX_UNDERLINEHOT)) {
            if (!hotFont)
                hotFont = UnderlinedFont(s);
            if (hotFont)
                ::SelectObject(hdc, hotFont);
        }
        if (pre & CDRF_NOTIFYITEMDRAW) {
            const UINT state = s.items[static_cast<size_t>(i)].state;
            cd.nmcd.rc = bounds;
            cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(i);
            cd.nmcd.uItemState = ((state & LVIS_SELECTED) ? CDIS_SELECTED : 0) |
                                 (look.focusRect ? CDIS_FOCUS : 0) | (s.hot == i ? CDIS_HOT : 0);
            cd.nmcd.lItemlParam = s.items[static_cast<size_t>(i)].lParam;
            cd.clrText = look.text;
            cd.clrTextBk = look.back;
            cd.iSubItem = 0;
            answer = CustomDraw(s, cd, CDDS_ITEMPREPAINT);
            if (s.destroyed || !s.valid(i)) {
                ::RestoreDC(hdc, saved);
                break;
            }
            look.text = cd.clrText;
            look.back = cd.clrTextBk;
        }
        if (!(answer & CDRF_SKIPDEFAULT)) {
            if (s.view() == View::Report)
                DrawReportItem(s, hdc, i, cd, answer, look, itemsArea);
            else
                DrawOtherItem(s, hdc, i, look);
        }
        ::RestoreDC(hdc, saved);
        if (!s.destroyed && (answer & CDRF_NOTIFYPOSTPAINT)) {
            cd.iSubItem = 0;
            CustomDraw(s, cd, CDDS_ITEMPOSTPAINT);
        }
    }
    if (hotFont)
        ::DeleteObject(hotFont);
    if (s.destroyed)
        return;
    if (s.view() == View::Report && (s.exStyle & LVS_EX_GRIDLINES) && any)
        DrawGridLines(s, hdc, itemsArea);
    if (pre & CDRF_NOTIFYPOSTPAINT) {
        cd.nmcd.rc = client;
        CustomDraw(s, cd, CDDS_POSTPAINT);
    }
    if (!s.destroyed)
        ::SelectObject(hdc, oldFont);
}

} // namespace zyn::comctl::detail
