// Toolbar painting: the custom-draw cycle and the classic look.
//
// The cycle of one paint (NM_CUSTOMDRAW with NMTBCUSTOMDRAW to the notify window):
//   CDDS_PREPAINT (rc: the client area). Its answer holds for the whole paint:
//     CDRF_SKIPDEFAULT       no item is drawn, nor the insert mark;
//     CDRF_NOTIFYITEMDRAW    each visible button (not separators) gets CDDS_ITEMPREPAINT
//                            (dwItemSpec: its command, lItemlParam: its data, uItemState:
//                            CDIS_*, rc: its rectangle, rcText: where its text goes, the
//                            colours below filled with their defaults; the handler may
//                            change them);
//     CDRF_NOTIFYPOSTPAINT   CDDS_POSTPAINT after everything;
//     TBCDRF_* bits          apply to every item (as if each item answered them).
//   CDDS_ITEMPREPAINT answers: CDRF_SKIPDEFAULT (the item is left as it is: nothing of it
//   is drawn), CDRF_NEWFONT (the item's text is drawn in the font the handler selected),
//   CDRF_NOTIFYPOSTPAINT (CDDS_ITEMPOSTPAINT after the item), and
//     TBCDRF_NOEDGES         no edges;
//     TBCDRF_HILITEHOTTRACK  a hot button's background is filled with clrHighlightHotTrack;
//     TBCDRF_NOOFFSET        a pressed or checked button's image and text stay in place;
//     TBCDRF_NOMARK          a TBSTATE_MARKED button is not filled with clrMark;
//     TBCDRF_NOETCHEDEFFECT  disabled images and texts are drawn flat in COLOR_3DSHADOW
//                            instead of embossed;
//     TBCDRF_BLENDICON       a hot button's image is blended 50% with COLOR_HIGHLIGHT;
//     TBCDRF_NOBACKGROUND    no background (checked dither, mark, hot fill).
//   With TBSTYLE_CUSTOMERASE, WM_ERASEBKGND is announced with CDDS_PREERASE (an answer
//   CDRF_SKIPDEFAULT: nothing is erased) and, on CDRF_NOTIFYPOSTERASE, CDDS_POSTERASE.
//
// The classic look of a button (rectangle r; the drop-down arrow part a, the rest b):
//   background  COLOR_BTNFACE (erase); a TBSTATE_MARKED button is filled with clrMark; a
//               checked button that is not pressed with the dither brush (hbrMonoDither,
//               a checkerboard of clrBtnFace and clrBtnHighlight) inside its edges.
//   edges       3-D toolbars: EDGE_RAISED, or EDGE_SUNKEN when pressed or checked, around
//               b and a separately; flat toolbars: BDR_RAISEDINNER when hot, BDR_SUNKENOUTER
//               when pressed or checked, nothing otherwise (a hot split button frames both
//               parts).
//   image       centred in b horizontally, padding.cy / 2 from the top (list toolbars:
//               padding.cx / 2 from the left, centred vertically); pressed or checked: one
//               pixel right and down. From the hot list when hot, the pressed list when
//               pressed, the disabled list when disabled; without a disabled list the
//               normal image is drawn embossed (its opaque pixels that are not white:
//               COLOR_3DHIGHLIGHT one pixel right and down, then COLOR_3DSHADOW in place).
//   text        below the image, centred (list toolbars: right of it, centred vertically),
//               in clrText, embossed when disabled, ending in an ellipsis when too long.
//   arrow       a 5-pixel-wide, 3-row downward triangle centred in a (BTNS_WHOLEDROPDOWN:
//               in the right arrow-width of r), COLOR_BTNTEXT (COLOR_3DSHADOW disabled).
//   separators  flat toolbars: an etched line, COLOR_3DSHADOW then COLOR_3DHIGHLIGHT, down
//               the middle (left column at left + width / 2 - 1); a wrapping separator
//               draws it across the client width in the middle of the gap below its row.
//               3-D toolbars leave separators blank.
#include <algorithm>

#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::tb {

namespace {

constexpr LRESULT kTbcdrfMask = 0x00FF0000;

HBRUSH Dither(ToolbarState& s)
{
    if (!s.dither) {
        // An 8x8 checkerboard, one bit per pixel, rows padded to 16 bits.
        static const WORD bits[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
        HBITMAP bmp = ::CreateBitmap(8, 8, 1, 1, bits);
        if (bmp) {
            s.dither = ::CreatePatternBrush(bmp);
            ::DeleteObject(bmp);
        }
    }
    return s.dither;
}

void Fill(HDC dc, const RECT& r, COLORREF c)
{
    const COLORREF old = ::SetBkColor(dc, c);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void HLine(HDC dc, int x0, int x1, int y, COLORREF c) { Fill(dc, RECT{x0, y, x1, y + 1}, c); }
void VLine(HDC dc, int x, int y0, int y1, COLORREF c) { Fill(dc, RECT{x, y0, x + 1, y1}, c); }

UINT ItemState(const ToolbarState& s, const Button& b, int index)
{
    UINT st = 0;
    if (b.state & TBSTATE_PRESSED)
        st |= CDIS_SELECTED;
    if (b.state & TBSTATE_CHECKED)
        st |= CDIS_CHECKED;
    if (!b.IsEnabled())
        st |= CDIS_DISABLED;
    if (b.state & TBSTATE_INDETERMINATE)
        st |= CDIS_INDETERMINATE;
    if (b.state & TBSTATE_MARKED)
        st |= CDIS_MARKED;
    if (s.hot == index)
        st |= CDIS_HOT;
    return st;
}

// The part of a button that holds its image and text.
RECT ContentRect(const ToolbarState& s, const Button& b)
{
    RECT r = b.rect;
    if (HasArrowPart(s, b) || (b.style & BTNS_WHOLEDROPDOWN))
        r.right = std::max(r.left, r.right - s.arrowWidth);
    return r;
}

RECT TextRect(const ToolbarState& s, const Button& b)
{
    const RECT c = ContentRect(s, b);
    if (s.Style() & TBSTYLE_LIST) {
        const int image = b.image == I_IMAGENONE ? 0 : s.bitmap.cx + kListTextGap;
        return RECT{c.left + s.padding.cx / 2 + image, c.top, c.right - s.padding.cx / 2, c.bottom};
    }
    const int top = c.top + s.padding.cy / 2 + s.bitmap.cy;
    return RECT{c.left + 1, top, c.right - 1, top + s.textHeight * std::max(1, s.maxTextRows)};
}

void DefaultColours(ToolbarState& s, NMTBCUSTOMDRAW& cd)
{
    cd.hbrMonoDither = Dither(s);
    cd.clrText = ::GetSysColor(COLOR_BTNTEXT);
    cd.clrMark = ::GetSysColor(COLOR_HIGHLIGHT);
    cd.clrTextHighlight = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    cd.clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    cd.clrBtnHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    cd.clrHighlightHotTrack = ::GetSysColor(COLOR_HIGHLIGHT);
    cd.nStringBkMode = TRANSPARENT;
    cd.nHLStringBkMode = OPAQUE;
    cd.iListGap = kListTextGap;
}

void DrawImage(ToolbarState& s, HDC dc, const Button& b, int x, int y, bool hot, bool pressed, bool disabled,
    LRESULT flags)
{
    HIMAGELIST normal = NormalList(s);
    if (b.image < 0)
        return;
    if (disabled) {
        if (s.disabled && b.image < ::ImageList_GetImageCount(s.disabled)) {
            ::ImageList_Draw(s.disabled, b.image, dc, x, y, ILD_TRANSPARENT);
            return;
        }
        if (!normal || b.image >= ::ImageList_GetImageCount(normal))
            return;
        HICON icon = ::ImageList_GetIcon(normal, b.image, ILD_TRANSPARENT);
        if (!icon)
            return;
        if (flags & TBCDRF_NOETCHEDEFFECT)
            ::DrawStateW(dc, ::GetSysColorBrush(COLOR_3DSHADOW), nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y,
                s.bitmap.cx, s.bitmap.cy, DST_ICON | DSS_MONO);
        else
            ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, s.bitmap.cx, s.bitmap.cy,
                DST_ICON | DSS_DISABLED);
        ::DestroyIcon(icon);
        return;
    }
    HIMAGELIST list = normal;
    if (hot && s.hotList && b.image < ::ImageList_GetImageCount(s.hotList))
        list = s.hotList;
    else if (pressed && s.pressedList && b.image < ::ImageList_GetImageCount(s.pressedList))
        list = s.pressedList;
    if (!list || b.image >= ::ImageList_GetImageCount(list))
        return;
    UINT style = ILD_TRANSPARENT;
    if (hot && (flags & TBCDRF_BLENDICON))
        style |= ILD_BLEND50;
    ::ImageList_DrawEx(list, b.image, dc, x, y, 0, 0, CLR_NONE, CLR_DEFAULT, style);
}

void DrawArrow(HDC dc, const RECT& a, bool disabled, int offset)
{
    const COLORREF c = ::GetSysColor(disabled ? COLOR_3DSHADOW : COLOR_BTNTEXT);
    const int x0 = a.left + (a.right - a.left - 5) / 2 + offset;
    const int y0 = a.top + (a.bottom - a.top - 3) / 2 + offset;
    for (int row = 0; row < 3; ++row)
        HLine(dc, x0 + row, x0 + 5 - row, y0 + row, c);
}

void DrawSeparator(ToolbarState& s, HDC dc, const Button& b, const RECT& client)
{
    if (!s.Flat())
        return;
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW), light = ::GetSysColor(COLOR_3DHIGHLIGHT);
    const RECT& r = b.rect;
    const int w = r.right - r.left;
    if (s.Style() & CCS_VERT) {
        const int y = r.top + (r.bottom - r.top) / 2 - 1;
        HLine(dc, r.left, r.right, y, shadow);
        HLine(dc, r.left, r.right, y + 1, light);
        return;
    }
    const int x = r.left + w / 2 - 1;
    VLine(dc, x, r.top, r.bottom, shadow);
    VLine(dc, x + 1, r.top, r.bottom, light);
    if (b.state & TBSTATE_WRAP) {
        const int y = r.bottom + w / 2 - 1;
        HLine(dc, client.left, client.right, y, shadow);
        HLine(dc, client.left, client.right, y + 1, light);
    }
}

void DrawEdges(ToolbarState& s, HDC dc, const Button& b, bool pressed, bool checked, bool hot, bool dropPressed)
{
    RECT body = b.rect;
    RECT arrow{};
    if (HasArrowPart(s, b)) {
        arrow = ArrowRect(s, b);
        body.right = arrow.left;
    }
    const bool down = pressed || checked;
    if (!s.Flat()) {
        ::DrawEdge(dc, &body, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (arrow.right > arrow.left)
            ::DrawEdge(dc, &arrow, dropPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        return;
    }
    if (down)
        ::DrawEdge(dc, &body, BDR_SUNKENOUTER, BF_RECT);
    else if (hot)
        ::DrawEdge(dc, &body, BDR_RAISEDINNER, BF_RECT);
    if (arrow.right > arrow.left) {
        if (dropPressed)
            ::DrawEdge(dc, &arrow, BDR_SUNKENOUTER, BF_RECT);
        else if (hot || down)
            ::DrawEdge(dc, &arrow, BDR_RAISEDINNER, BF_RECT);
    }
}

void DrawText(ToolbarState& s, HDC dc, const Button& b, const NMTBCUSTOMDRAW& cd, RECT rc, bool disabled,
    bool highlighted, LRESULT flags)
{
    const std::wstring text = TextOf(s, b);
    const bool list = (s.Style() & TBSTYLE_LIST) != 0;
    UINT dt = DT_END_ELLIPSIS | (list ? (DT_LEFT | DT_VCENTER | DT_SINGLELINE) : DT_CENTER | DT_TOP);
    if (!list)
        dt |= s.maxTextRows > 1 ? DT_WORDBREAK : DT_SINGLELINE;
    if (b.style & BTNS_NOPREFIX)
        dt |= DT_NOPREFIX;
    dt = (dt & ~s.drawTextMask) | s.drawTextFlags;
    if (disabled) {
        if (flags & TBCDRF_NOETCHEDEFFECT) {
            const COLORREF old = ::SetTextColor(dc, ::GetSysColor(COLOR_3DSHADOW));
            const int mode = ::SetBkMode(dc, TRANSPARENT);
            ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, dt);
            ::SetBkMode(dc, mode);
            ::SetTextColor(dc, old);
        } else {
            zyn::user::DrawControlText(dc, text, rc, dt, false);
        }
        return;
    }
    const COLORREF oldText = ::SetTextColor(dc, highlighted ? cd.clrTextHighlight : cd.clrText);
    const int mode = ::SetBkMode(dc, highlighted ? cd.nHLStringBkMode : cd.nStringBkMode);
    const COLORREF oldBk = ::SetBkColor(dc, highlighted ? cd.clrMark : cd.clrBtnFace);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, dt);
    ::SetBkColor(dc, oldBk);
    ::SetBkMode(dc, mode);
    ::SetTextColor(dc, oldText);
}

void DrawButton(ToolbarState& s, HDC dc, int index, const NMTBCUSTOMDRAW& cd, LRESULT flags, bool newFont)
{
    const Button& b = s.buttons[static_cast<size_t>(index)];
    const bool pressed = (b.state & TBSTATE_PRESSED) != 0;
    const bool checked = (b.state & TBSTATE_CHECKED) != 0;
    const bool disabled = !b.IsEnabled() || (b.state & TBSTATE_INDETERMINATE);
    const bool hot = s.hot == index && !disabled;
    const bool marked = (b.state & TBSTATE_MARKED) && !(flags & TBCDRF_NOMARK);
    const bool dropPressed = s.dropIndex == index && HasArrowPart(s, b);
    const bool bodyPressed = pressed;
    RECT body = b.rect;
    if (HasArrowPart(s, b))
        body.right = ArrowRect(s, b).left;

    if (!(flags & TBCDRF_NOBACKGROUND)) {
        if (marked) {
            Fill(dc, b.rect, cd.clrMark);
        } else if (hot && (flags & TBCDRF_HILITEHOTTRACK)) {
            Fill(dc, b.rect, cd.clrHighlightHotTrack);
        } else if (checked && !bodyPressed && cd.hbrMonoDither) {
            const int inset = s.Flat() ? 1 : 2;
            RECT in{body.left + inset, body.top + inset, body.right - inset, body.bottom - inset};
            const COLORREF t = ::SetTextColor(dc, cd.clrBtnFace);
            const COLORREF k = ::SetBkColor(dc, cd.clrBtnHighlight);
            ::SetBrushOrgEx(dc, b.rect.left, b.rect.top, nullptr);
            ::FillRect(dc, &in, cd.hbrMonoDither);
            ::SetBkColor(dc, k);
            ::SetTextColor(dc, t);
        }
    }
    if (!(flags & TBCDRF_NOEDGES))
        DrawEdges(s, dc, b, bodyPressed, checked, hot, dropPressed);

    const int offset = ((bodyPressed || checked) && !(flags & TBCDRF_NOOFFSET)) ? 1 : 0;
    const RECT c = ContentRect(s, b);
    const bool list = (s.Style() & TBSTYLE_LIST) != 0;
    if (b.image != I_IMAGENONE) {
        int x, y;
        if (list) {
            x = c.left + s.padding.cx / 2;
            y = c.top + (c.bottom - c.top - s.bitmap.cy) / 2;
        } else {
            x = c.left + (c.right - c.left - s.bitmap.cx) / 2;
            y = c.top + s.padding.cy / 2;
        }
        DrawImage(s, dc, b, x + offset, y + offset, hot, bodyPressed, disabled, flags);
    }
    if (ShowsText(s, b)) {
        RECT rc = cd.rcText;
        ::OffsetRect(&rc, offset, offset);
        HGDIOBJ old = newFont ? nullptr : ::SelectObject(dc, CurrentFont(s));
        DrawText(s, dc, b, cd, rc, disabled, marked, flags);
        if (old)
            ::SelectObject(dc, old);
    }
    if (HasArrowPart(s, b) || (b.style & BTNS_WHOLEDROPDOWN)) {
        const RECT a = ArrowRect(s, b);
        DrawArrow(dc, a, disabled, (b.style & BTNS_WHOLEDROPDOWN) ? offset : (dropPressed ? 1 : 0));
    }
}

void DrawInsertMark(ToolbarState& s, HDC dc)
{
    const Button* b = s.At(s.mark.iButton);
    if (!b || b->IsHidden())
        return;
    const COLORREF c = s.markColor.value_or(::GetSysColor(COLOR_BTNTEXT));
    const int x = (s.mark.dwFlags & TBIMHT_AFTER) ? b->rect.right : b->rect.left;
    const int top = b->rect.top, bottom = b->rect.bottom;
    Fill(dc, RECT{x - 1, top, x + 1, bottom}, c);
    Fill(dc, RECT{x - 3, top, x + 3, top + 1}, c);
    Fill(dc, RECT{x - 3, bottom - 1, x + 3, bottom}, c);
}

LRESULT SendDraw(ToolbarState& s, NMTBCUSTOMDRAW& cd, DWORD stage)
{
    cd.nmcd.dwDrawStage = stage;
    return Notify(s, NM_CUSTOMDRAW, cd.nmcd.hdr);
}

} // namespace

HFONT CurrentFont(ToolbarState& s) { return zyn::user::FontOrSystem(s.font); }

void Paint(ToolbarState& s, HDC hdc, const RECT* update)
{
    if (!hdc || s.destroyed)
        return;
    RECT client{};
    ::GetClientRect(s.self, &client);
    const int saved = ::SaveDC(hdc);
    ::SelectObject(hdc, CurrentFont(s));
    NMTBCUSTOMDRAW cd{};
    cd.nmcd.hdc = hdc;
    cd.nmcd.rc = client;
    DefaultColours(s, cd);
    const LRESULT first = SendDraw(s, cd, CDDS_PREPAINT);
    if (s.destroyed) {
        ::RestoreDC(hdc, saved);
        return;
    }
    if (!(first & CDRF_SKIPDEFAULT)) {
        for (int i = 0; i < s.Count(); ++i) {
            const Button& b = s.buttons[static_cast<size_t>(i)];
            if (b.IsHidden())
                continue;
            RECT dummy;
            if (update && !::IntersectRect(&dummy, &b.rect, update) && !(b.state & TBSTATE_WRAP))
                continue;
            if ((s.exStyle & TBSTYLE_EX_HIDECLIPPEDBUTTONS) && b.rect.right > client.right)
                continue;
            if (b.IsSeparator()) {
                DrawSeparator(s, hdc, b, client);
                continue;
            }
            NMTBCUSTOMDRAW item{};
            item.nmcd.hdc = hdc;
            DefaultColours(s, item);
            item.nmcd.rc = b.rect;
            item.nmcd.dwItemSpec = static_cast<DWORD_PTR>(static_cast<UINT>(b.command));
            item.nmcd.lItemlParam = static_cast<LPARAM>(b.data);
            item.nmcd.uItemState = ItemState(s, b, i);
            item.rcText = TextRect(s, b);
            LRESULT answer = 0;
            if (first & CDRF_NOTIFYITEMDRAW) {
                answer = SendDraw(s, item, CDDS_ITEMPREPAINT);
                // The handler may have changed the toolbar: go on only while it holds.
                if (s.destroyed || i >= s.Count())
                    break;
            }
            if (!(answer & CDRF_SKIPDEFAULT))
                DrawButton(s, hdc, i, item, answer | (first & kTbcdrfMask), (answer & CDRF_NEWFONT) != 0);
            if (answer & CDRF_NEWFONT)
                ::SelectObject(hdc, CurrentFont(s));
            if ((first & CDRF_NOTIFYITEMDRAW) && (answer & CDRF_NOTIFYPOSTPAINT)) {
                item.nmcd.uItemState = ItemState(s, s.buttons[static_cast<size_t>(i)], i);
                SendDraw(s, item, CDDS_ITEMPOSTPAINT);
                if (s.destroyed || i >= s.Count())
                    break;
            }
        }
        if (!s.destroyed)
            DrawInsertMark(s, hdc);
    }
    if (!s.destroyed && (first & CDRF_NOTIFYPOSTPAINT)) {
        cd.nmcd.rc = client;
        SendDraw(s, cd, CDDS_POSTPAINT);
    }
    ::RestoreDC(hdc, saved);
}

LRESULT Erase(ToolbarState& s, HDC hdc)
{
    if (!hdc || s.destroyed)
        return 1;
    RECT client{};
    ::GetClientRect(s.self, &client);
    const bool custom = (s.Style() & TBSTYLE_CUSTOMERASE) != 0;
    NMTBCUSTOMDRAW cd{};
    cd.nmcd.hdc = hdc;
    cd.nmcd.rc = client;
    DefaultColours(s, cd);
    LRESULT answer = 0;
    if (custom) {
        answer = SendDraw(s, cd, CDDS_PREERASE);
        if (s.destroyed)
            return 1;
        if (answer & CDRF_SKIPDEFAULT)
            return 1;
    }
    bool done = false;
    const HWND parent = ::GetParent(s.self);
    if ((s.Style() & TBSTYLE_TRANSPARENT) && parent) {
        // The parent paints its own background under us.
        POINT origin{0, 0};
        ::MapWindowPoints(s.self, parent, &origin, 1);
        POINT old{};
        ::OffsetViewportOrgEx(hdc, -origin.x, -origin.y, &old);
        done = ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) != 0;
        ::SetViewportOrgEx(hdc, old.x, old.y, nullptr);
    }
    if (!done)
        ::FillRect(hdc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    if (custom && (answer & CDRF_NOTIFYPOSTERASE) && !s.destroyed)
        SendDraw(s, cd, CDDS_POSTERASE);
    return 1;
}

void PaintNonClient(ToolbarState& s)
{
    if (s.Style() & CCS_NODIVIDER)
        return;
    HDC dc = ::GetWindowDC(s.self);
    if (!dc)
        return;
    RECT win{};
    ::GetWindowRect(s.self, &win);
    const int w = win.right - win.left;
    HLine(dc, 0, w, 0, ::GetSysColor(COLOR_3DSHADOW));
    HLine(dc, 0, w, 1, ::GetSysColor(COLOR_3DHIGHLIGHT));
    ::ReleaseDC(s.self, dc);
}

} // namespace zyn::comctl::tb
