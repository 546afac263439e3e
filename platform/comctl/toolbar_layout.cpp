// Toolbar layout: the button size from the bitmap size, padding and texts, the width of
// each item, rows and wrapping (TBSTATE_WRAP, TBSTYLE_WRAPABLE, TB_SETROWS), the item
// rectangles, hit testing and the size messages. The rules are written in toolbar.h.
#include <algorithm>
#include <climits>

#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::tb {

namespace {

// The drop-down arrow part: the width of Marlett's down arrow ('6') at the height of a
// menu check mark, as the toolbars built on this control measure it too.
int MeasureArrowWidth()
{
    LOGFONTW lf{};
    lf.lfHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SYMBOL_CHARSET;
    wcscpy(lf.lfFaceName, L"Marlett");
    HFONT font = ::CreateFontIndirectW(&lf);
    HDC dc = ::GetDC(nullptr);
    int width = 0;
    if (font && dc) {
        HGDIOBJ old = ::SelectObject(dc, font);
        if (!::GetCharWidth32W(dc, L'6', L'6', &width))
            width = 0;
        ::SelectObject(dc, old);
    }
    if (dc)
        ::ReleaseDC(nullptr, dc);
    if (font)
        ::DeleteObject(font);
    return width;
}

int ClampWidth(const ToolbarState& s, int w)
{
    if (s.minWidth > 0)
        w = std::max(w, s.minWidth);
    if (s.maxWidth > 0)
        w = std::min(w, s.maxWidth);
    return w;
}

// Positions along a row stay far inside 32 bits whatever widths a damaged saved state
// gave its items (each at most kMaxItemExtent): sums saturate here.
constexpr int kMaxItemExtent = 0x7FFF;
constexpr int64_t kMaxRowExtent = 0x3FFFFFFF;
int Advance(int x, int w) { return static_cast<int>(std::min<int64_t>(int64_t{x} + w, kMaxRowExtent)); }

// Text extents and the common button size.
void Measure(ToolbarState& s)
{
    const DWORD style = s.Style();
    const bool list = (style & TBSTYLE_LIST) != 0;
    s.arrowWidth = MeasureArrowWidth();
    s.textHeight = 0;
    s.textWidth = 0;
    HDC dc = ::GetDC(s.self);
    HGDIOBJ old = dc ? ::SelectObject(dc, CurrentFont(s)) : nullptr;
    bool anyText = false;
    for (Button& b : s.buttons) {
        b.textCx = 0;
        if (b.IsSeparator() || !ShowsText(s, b) || !dc)
            continue;
        const std::wstring text = TextOf(s, b);
        RECT rc{0, 0, 0, 0};
        const UINT flags = DT_CALCRECT | DT_SINGLELINE | ((b.style & BTNS_NOPREFIX) ? DT_NOPREFIX : 0u);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, flags);
        b.textCx = rc.right - rc.left;
        anyText = true;
        if (!(b.style & BTNS_AUTOSIZE))
            s.textWidth = std::max(s.textWidth, b.textCx);
    }
    if (anyText && dc) {
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        s.textHeight = tm.tmHeight;
    }
    if (dc) {
        ::SelectObject(dc, old);
        ::ReleaseDC(s.self, dc);
    }
    const int rowsHeight = s.textHeight * s.maxTextRows;
    const SIZE frame = ButtonFrame(s);
    SIZE natural{};
    if (list) {
        natural.cx = s.bitmap.cx + (s.textWidth ? s.textWidth + kListTextGap : 0) + frame.cx;
        natural.cy = std::max<int>(s.bitmap.cy, rowsHeight) + frame.cy;
    } else {
        natural.cx = std::max<int>(s.bitmap.cx, s.textWidth) + frame.cx;
        natural.cy = s.bitmap.cy + frame.cy + rowsHeight;
    }
    SIZE size = natural;
    if (s.buttonSet) {
        // A set size stands; texts may only make it larger.
        size.cx = s.buttonSet->cx > 0 ? s.buttonSet->cx : natural.cx;
        size.cy = s.buttonSet->cy > 0 ? s.buttonSet->cy : natural.cy;
        if (anyText) {
            size.cx = std::max(size.cx, natural.cx);
            size.cy = std::max(size.cy, natural.cy);
        }
    }
    size.cx = ClampWidth(s, size.cx);
    s.button = size;
}

bool Vertical(const ToolbarState& s) { return (s.Style() & CCS_VERT) != 0; }

// Sets the wrap states for a width; the number of rows.
int WrapAt(ToolbarState& s, int width)
{
    int rows = 1;
    int x = s.indent;
    int rowStart = 0;
    bool rowHasItem = false;
    for (int i = 0; i < s.Count(); ++i) {
        Button& b = s.buttons[static_cast<size_t>(i)];
        b.state &= static_cast<BYTE>(~TBSTATE_WRAP);
        if (b.IsHidden())
            continue;
        const int w = Width(s, b);
        if (!rowHasItem || int64_t{x} + w <= width) {
            x = Advance(x, w);
            rowHasItem = true;
            continue;
        }
        // Break at the last plain separator of the row (the item itself included), else
        // after the last item before this one that is no window-holding separator.
        int at = -1;
        for (int j = i; j >= rowStart; --j) {
            const Button& c = s.buttons[static_cast<size_t>(j)];
            if (!c.IsHidden() && c.IsSeparator() && c.command == 0) {
                at = j;
                break;
            }
        }
        if (at < 0) {
            for (int j = i - 1; j >= rowStart; --j) {
                const Button& c = s.buttons[static_cast<size_t>(j)];
                if (!c.IsHidden() && !(c.IsSeparator() && c.command != 0)) {
                    at = j;
                    break;
                }
            }
        }
        if (at < 0) {
            x = Advance(x, w);
            continue;
        }
        s.buttons[static_cast<size_t>(at)].state |= TBSTATE_WRAP;
        ++rows;
        rowStart = at + 1;
        x = s.indent;
        rowHasItem = false;
        i = at; // the loop goes on after the break point
    }
    return rows;
}

int ClientWidth(const ToolbarState& s)
{
    RECT rc{};
    ::GetClientRect(s.self, &rc);
    return rc.right - rc.left;
}

// Places the items by their wrap states.
void Place(ToolbarState& s)
{
    const bool vertical = Vertical(s);
    const bool flat = s.Flat();
    int x = s.indent, y = 0, row = 0;
    int lastVisible = -1;
    for (int i = 0; i < s.Count(); ++i)
        if (!s.buttons[static_cast<size_t>(i)].IsHidden())
            lastVisible = i;
    for (int i = 0; i < s.Count(); ++i) {
        Button& b = s.buttons[static_cast<size_t>(i)];
        b.row = row;
        if (b.IsHidden()) {
            b.rect = RECT{};
            continue;
        }
        const int w = Width(s, b);
        if (vertical) {
            const int h = b.IsSeparator() ? w : s.button.cy;
            b.rect = RECT{s.indent, y, Advance(s.indent, b.IsSeparator() ? s.button.cx : w), Advance(y, h)};
            y = Advance(y, h);
            if (i != lastVisible)
                ++row;
            continue;
        }
        b.rect = RECT{x, y, Advance(x, w), Advance(y, s.button.cy)};
        x = Advance(x, w);
        if ((b.state & TBSTATE_WRAP) && i != lastVisible) {
            y = Advance(y, s.button.cy);
            if (b.IsSeparator())
                y = Advance(y, flat ? w : w * 2 / 3);
            x = s.indent;
            ++row;
        }
    }
    s.rows = row + 1;
}

void DoLayout(ToolbarState& s, bool wrap)
{
    if (s.destroyed)
        return;
    Measure(s);
    const int width = ClientWidth(s);
    if (wrap && (s.Style() & TBSTYLE_WRAPABLE) && !Vertical(s) && width > 0)
        WrapAt(s, width);
    Place(s);
}

// The narrowest width giving at most `rows` rows (the widths tried are 0 .. one row).
int NarrowestFor(ToolbarState& s, int rows, int oneRow)
{
    int lo = 0, hi = oneRow;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (WrapAt(s, mid) <= rows)
            hi = mid;
        else
            lo = mid + 1;
    }
    return hi;
}

LRESULT SetRows(ToolbarState& s, int wanted, bool larger, RECT* out)
{
    Measure(s);
    int oneRow = s.indent;
    for (const Button& b : s.buttons)
        if (!b.IsHidden())
            oneRow = Advance(oneRow, Width(s, b));
    wanted = std::max(wanted, 1);
    int width = NarrowestFor(s, wanted, oneRow);
    const int got = WrapAt(s, width);
    if (got < wanted && larger && width > 0) {
        // `wanted` rows cannot be had: the next count above it, at its narrowest width.
        const int more = WrapAt(s, width - 1);
        width = NarrowestFor(s, more, oneRow);
    }
    WrapAt(s, width);
    Place(s);
    const SIZE size = ContentSize(s);
    if (out)
        *out = RECT{0, 0, size.cx, size.cy};
    if (!(s.Style() & CCS_NORESIZE)) {
        RECT win{}, client{};
        ::GetWindowRect(s.self, &win);
        ::GetClientRect(s.self, &client);
        const int ncx = (win.right - win.left) - client.right;
        const int ncy = (win.bottom - win.top) - client.bottom;
        ::SetWindowPos(s.self, nullptr, 0, 0, size.cx + ncx, size.cy + ncy,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayoutKeepingWraps(s);
    SyncTools(s);
    Redraw(s);
    return 0;
}

} // namespace

bool ShowsText(const ToolbarState& s, const Button& b)
{
    if (s.maxTextRows <= 0)
        return false;
    if ((s.exStyle & TBSTYLE_EX_MIXEDBUTTONS) && (s.Style() & TBSTYLE_LIST) && !(b.style & BTNS_SHOWTEXT))
        return false;
    if (b.ownText)
        return !b.ownText->empty();
    return b.stringIndex >= 0 && static_cast<size_t>(b.stringIndex) < s.strings.size() &&
        !s.strings[static_cast<size_t>(b.stringIndex)].empty();
}

bool HasArrowPart(const ToolbarState& s, const Button& b)
{
    return (b.style & BTNS_DROPDOWN) && (s.exStyle & TBSTYLE_EX_DRAWDDARROWS) && !(b.style & BTNS_WHOLEDROPDOWN);
}

int Width(const ToolbarState& s, const Button& b)
{
    if (b.IsSeparator())
        return b.image > 0 ? std::min(b.image, kMaxItemExtent) : kDefaultSeparator;
    int w = 0;
    if (b.cx > 0) {
        w = std::min<int>(b.cx, kMaxItemExtent);
    } else if (b.style & BTNS_AUTOSIZE) {
        const bool list = (s.Style() & TBSTYLE_LIST) != 0;
        const int image = b.image == I_IMAGENONE ? 0 : s.bitmap.cx;
        const int frame = ButtonFrame(s).cx;
        if (list)
            w = image + (b.textCx ? (image ? kListTextGap : 0) + b.textCx : 0) + frame;
        else
            w = std::max(image, b.textCx) + frame;
        w = ClampWidth(s, w);
    } else {
        w = s.button.cx;
    }
    if (HasArrowPart(s, b) || (b.style & BTNS_WHOLEDROPDOWN))
        w += s.arrowWidth;
    return w;
}

RECT ArrowRect(const ToolbarState& s, const Button& b)
{
    if (!HasArrowPart(s, b) && !(b.style & BTNS_WHOLEDROPDOWN))
        return RECT{};
    RECT r = b.rect;
    r.left = std::max(r.left, r.right - s.arrowWidth);
    return r;
}

SIZE ButtonFrame(const ToolbarState& s)
{
    // The documented initial sizes (16 x 15 images on 24 x 22 buttons) are one pixel more
    // each way than image + padding; a set image size gives image + padding exactly.
    const int extra = s.bitmapSet ? 0 : 1;
    return SIZE{s.padding.cx + extra, s.padding.cy + extra};
}

void Layout(ToolbarState& s) { DoLayout(s, true); }
void LayoutKeepingWraps(ToolbarState& s) { DoLayout(s, false); }

SIZE ContentSize(const ToolbarState& s)
{
    SIZE size{0, 0};
    for (const Button& b : s.buttons) {
        if (b.IsHidden())
            continue;
        size.cx = std::max<LONG>(size.cx, b.rect.right);
        size.cy = std::max<LONG>(size.cy, b.rect.bottom);
    }
    return size;
}

int HitTest(const ToolbarState& s, POINT pt)
{
    const int count = s.Count();
    for (int i = 0; i < count; ++i) {
        const Button& b = s.buttons[static_cast<size_t>(i)];
        if (!b.IsHidden() && ::PtInRect(&b.rect, pt))
            return b.IsSeparator() ? -(i + 1) : i;
    }
    // The row the point is in: the last row starting at or above it.
    int row = -1, rowBottom = 0, lastRow = -1;
    for (const Button& b : s.buttons) {
        if (b.IsHidden())
            continue;
        lastRow = std::max(lastRow, b.row);
        if (b.rect.top <= pt.y && b.row >= row) {
            row = b.row;
            rowBottom = std::max<int>(rowBottom, b.rect.bottom);
        }
    }
    if (lastRow < 0)
        return -(count + 1);
    if (row < 0)
        row = 0;
    int rowRight = INT_MIN;
    for (const Button& b : s.buttons)
        if (!b.IsHidden() && b.row == row)
            rowRight = std::max<int>(rowRight, b.rect.right);
    if (row == lastRow && (pt.y >= rowBottom || pt.x >= rowRight))
        return -(count + 1);
    int best = -1;
    int bestDistance = INT_MAX;
    for (int i = 0; i < count; ++i) {
        const Button& b = s.buttons[static_cast<size_t>(i)];
        if (b.IsHidden() || b.IsSeparator() || b.row != row)
            continue;
        const int d = pt.x < b.rect.left ? b.rect.left - pt.x : (pt.x >= b.rect.right ? pt.x - b.rect.right + 1 : 0);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best < 0 ? -(count + 1) : -(best + 1);
}

bool InsertMarkHitTest(const ToolbarState& s, POINT pt, TBINSERTMARK& out)
{
    for (int i = 0; i < s.Count(); ++i) {
        const Button& b = s.buttons[static_cast<size_t>(i)];
        if (b.IsHidden() || !::PtInRect(&b.rect, pt))
            continue;
        const int mid = b.rect.left + (b.rect.right - b.rect.left) / 2;
        out = TBINSERTMARK{i, pt.x < mid ? 0u : TBIMHT_AFTER};
        return true;
    }
    const int j = -HitTest(s, pt) - 1;
    if (s.Count() == 0)
        out = TBINSERTMARK{-1, TBIMHT_BACKGROUND};
    else if (j >= s.Count())
        out = TBINSERTMARK{s.Count() - 1, TBIMHT_AFTER | TBIMHT_BACKGROUND};
    else
        out = TBINSERTMARK{j, TBIMHT_BACKGROUND};
    return false;
}

void AutoSize(ToolbarState& s)
{
    const DWORD style = s.Style();
    const HWND parent = ::GetParent(s.self);
    if ((style & CCS_NORESIZE) || !parent) {
        Changed(s);
        return;
    }
    RECT pc{}, win{}, client{};
    ::GetClientRect(parent, &pc);
    ::GetWindowRect(s.self, &win);
    ::GetClientRect(s.self, &client);
    const int ncx = (win.right - win.left) - client.right;
    const int ncy = (win.bottom - win.top) - client.bottom;
    POINT pos{win.left, win.top};
    ::ScreenToClient(parent, &pos);
    const bool vertical = (style & CCS_VERT) != 0;
    // First the side that follows the parent, so that wrapping sees the final width.
    int cx = vertical ? (win.right - win.left) : pc.right;
    int cy = vertical ? pc.bottom : (win.bottom - win.top);
    ::SetWindowPos(s.self, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (s.destroyed)
        return;
    Layout(s);
    const SIZE content = ContentSize(s);
    if (vertical)
        cx = std::max<int>(content.cx, s.button.cx) + ncx;
    else
        cy = std::max<int>(content.cy, s.button.cy) + ncy;
    int x = pos.x, y = pos.y;
    if (!(style & CCS_NOPARENTALIGN)) {
        const DWORD align = style & CCS_BOTTOM;
        if (vertical) {
            y = 0;
            if (align == CCS_BOTTOM)
                x = pc.right - cx;
            else if (align == CCS_TOP)
                x = 0;
        } else {
            x = 0;
            if (align == CCS_BOTTOM)
                y = pc.bottom - cy;
            else if (align == CCS_TOP || align == 0)
                y = 0;
        }
    }
    ::SetWindowPos(s.self, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    Changed(s);
}

LRESULT HandleLayoutMessage(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled)
{
    handled = true;
    switch (msg) {
    case TB_SETBUTTONSIZE:
        s.buttonSet = SIZE{LOWORD(static_cast<DWORD>(lp)), HIWORD(static_cast<DWORD>(lp))};
        Changed(s);
        return TRUE;
    case TB_GETBUTTONSIZE:
        return MAKELONG(static_cast<WORD>(s.button.cx), static_cast<WORD>(s.button.cy));
    case TB_SETBUTTONWIDTH: {
        const int lo = LOWORD(static_cast<DWORD>(lp)), hi = HIWORD(static_cast<DWORD>(lp));
        if (hi > 0 && hi < lo)
            return FALSE;
        s.minWidth = lo;
        s.maxWidth = hi;
        Changed(s);
        return TRUE;
    }
    case TB_SETINDENT:
        // An indent beyond any screen (a damaged saved state) is refused.
        if (static_cast<int>(wp) < -kMaxItemExtent || static_cast<int>(wp) > kMaxItemExtent)
            return FALSE;
        s.indent = static_cast<int>(wp);
        Changed(s);
        return TRUE;
    case TB_SETPADDING: {
        const LRESULT old = MAKELONG(static_cast<WORD>(s.padding.cx), static_cast<WORD>(s.padding.cy));
        s.padding = SIZE{LOWORD(static_cast<DWORD>(lp)), HIWORD(static_cast<DWORD>(lp))};
        Changed(s);
        return old;
    }
    case TB_GETPADDING:
        return MAKELONG(static_cast<WORD>(s.padding.cx), static_cast<WORD>(s.padding.cy));
    case TB_SETMAXTEXTROWS:
        if (static_cast<int>(wp) < 0)
            return FALSE;
        s.maxTextRows = static_cast<int>(wp);
        Changed(s);
        return TRUE;
    case TB_GETTEXTROWS:
        return s.maxTextRows;
    case TB_AUTOSIZE:
        AutoSize(s);
        return 0;
    case TB_SETROWS:
        return SetRows(s, LOWORD(static_cast<DWORD>(wp)), HIWORD(static_cast<DWORD>(wp)) != 0,
            reinterpret_cast<RECT*>(lp));
    case TB_GETROWS:
        return s.rows;
    case TB_GETITEMRECT:
    case TB_GETRECT: {
        const int i = msg == TB_GETITEMRECT ? static_cast<int>(wp) : IndexOfCommand(s, static_cast<int>(wp));
        const Button* b = s.At(i);
        if (!b || !lp || b->IsHidden())
            return FALSE;
        *reinterpret_cast<RECT*>(lp) = b->rect;
        return TRUE;
    }
    case TB_GETMAXSIZE:
        if (!lp)
            return FALSE;
        *reinterpret_cast<SIZE*>(lp) = ContentSize(s);
        return TRUE;
    case TB_GETIDEALSIZE: {
        if (!lp)
            return FALSE;
        auto* size = reinterpret_cast<SIZE*>(lp);
        if (wp) {
            size->cy = ContentSize(s).cy;
        } else {
            int w = s.indent;
            for (const Button& b : s.buttons)
                if (!b.IsHidden())
                    w = Advance(w, Width(s, b));
            size->cx = w;
        }
        return TRUE;
    }
    case TB_HITTEST:
        if (!lp)
            return -(s.Count() + 1);
        return HitTest(s, *reinterpret_cast<const POINT*>(lp));
    default:
        handled = false;
        return 0;
    }
}

} // namespace zyn::comctl::tb
