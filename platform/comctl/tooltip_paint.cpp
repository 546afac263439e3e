// The tooltip's look and size: the classic tip is the info-background colour inside a
// 1-pixel window-frame line (the window's WS_BORDER), with the text in the info-text colour inset by 2 pixels of
// padding and the margins. Brushes are made for each paint from the colours of that
// moment, so a system colour change shows at the next paint.
#include <algorithm>

#include "platform/comctl/tooltip_state.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {

namespace {

// The whole inset between the window edge and the text.
RECT Inset(const ToolTipState& s)
{
    const int edge = kFrame + kPadding;
    return RECT{edge + s.margin.left, edge + s.margin.top, edge + s.margin.right, edge + s.margin.bottom};
}

} // namespace

void UseSystemFont(ToolTipState& s)
{
    const bool appFont = s.font && s.font != s.ownFont;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    HFONT made = nullptr;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        made = ::CreateFontIndirectW(&ncm.lfStatusFont);
    if (!made)
        return; // keep what we have rather than draw with nothing
    if (s.ownFont)
        ::DeleteObject(s.ownFont);
    s.ownFont = made;
    if (!appFont)
        s.font = made;
}

UINT TextFlags(const ToolTipState& s)
{
    UINT flags = DT_NOPREFIX;
    if (::GetWindowLongPtrW(s.self, GWL_STYLE) & TTS_NOPREFIX)
        flags |= DT_EXPANDTABS; // tabs are kept only with TTS_NOPREFIX
    flags |= s.maxTipWidth < 0 ? DT_SINGLELINE : DT_WORDBREAK;
    return flags;
}

SIZE TipSize(ToolTipState& s, const std::wstring& text)
{
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, s.font ? static_cast<HGDIOBJ>(s.font) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, std::max(s.maxTipWidth, 0), 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFlags(s) | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    const RECT in = Inset(s);
    return SIZE{r.right - r.left + in.left + in.right, r.bottom - r.top + in.top + in.bottom};
}

RECT AdjustRect(const ToolTipState& s, RECT rc, bool larger)
{
    const RECT in = Inset(s);
    const int sign = larger ? 1 : -1;
    rc.left -= sign * in.left;
    rc.top -= sign * in.top;
    rc.right += sign * in.right;
    rc.bottom += sign * in.bottom;
    return rc;
}

void Paint(ToolTipState& s, HDC hdc)
{
    // The frame line is the window's WS_BORDER, drawn with the non-client area.
    RECT rc{};
    ::GetClientRect(s.self, &rc);
    HBRUSH back = ::CreateSolidBrush(s.bkColor.value_or(::GetSysColor(COLOR_INFOBK)));
    ::FillRect(hdc, &rc, back);
    ::DeleteObject(back);
    ::InflateRect(&rc, kFrame, kFrame); // the window rectangle, in client coordinates
    if (s.shownText.empty())
        return;
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(hdc, s.textColor.value_or(::GetSysColor(COLOR_INFOTEXT)));
    HGDIOBJ oldFont =
        ::SelectObject(hdc, s.font ? static_cast<HGDIOBJ>(s.font) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT text = AdjustRect(s, rc, false);
    ::DrawTextW(hdc, s.shownText.c_str(), static_cast<int>(s.shownText.size()), &text, TextFlags(s));
    ::SelectObject(hdc, oldFont);
    ::SetTextColor(hdc, oldColour);
    ::SetBkMode(hdc, oldMode);
}

RECT PlaceBelowCursor(POINT cursor, SIZE size, const RECT& work, int cursorDrop)
{
    RECT r{cursor.x, cursor.y + cursorDrop, cursor.x + size.cx, cursor.y + cursorDrop + size.cy};
    if (r.right > work.right)
        ::OffsetRect(&r, work.right - r.right, 0);
    if (r.left < work.left)
        ::OffsetRect(&r, work.left - r.left, 0);
    if (r.bottom > work.bottom) // no room below: just above the cursor's hot spot
        ::OffsetRect(&r, 0, cursor.y - size.cy - r.top);
    if (r.top < work.top)
        ::OffsetRect(&r, 0, work.top - r.top);
    return r;
}

RECT PlaceCentred(const RECT& tool, SIZE size, const RECT& work)
{
    const int x = (tool.left + tool.right) / 2 - size.cx / 2;
    RECT r{x, tool.bottom, x + size.cx, tool.bottom + size.cy};
    if (r.right > work.right)
        ::OffsetRect(&r, work.right - r.right, 0);
    if (r.left < work.left)
        ::OffsetRect(&r, work.left - r.left, 0);
    if (r.bottom > work.bottom)
        ::OffsetRect(&r, 0, tool.top - size.cy - r.top);
    if (r.top < work.top)
        ::OffsetRect(&r, 0, work.top - r.top);
    return r;
}

RECT PlaceTracking(POINT pt, SIZE size, const RECT& work, bool absolute)
{
    RECT r{pt.x, pt.y, pt.x + size.cx, pt.y + size.cy};
    if (absolute)
        return r;
    if (r.right > work.right)
        ::OffsetRect(&r, work.right - r.right, 0);
    if (r.left < work.left)
        ::OffsetRect(&r, work.left - r.left, 0);
    if (r.bottom > work.bottom)
        ::OffsetRect(&r, 0, work.bottom - r.bottom);
    if (r.top < work.top)
        ::OffsetRect(&r, 0, work.top - r.top);
    return r;
}

RECT WorkAreaAt(POINT pt)
{
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (::GetMonitorInfoW(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi))
        return mi.rcWork;
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

int CursorDrop() { return ::GetSystemMetrics(SM_CYCURSOR) * 5 / 8; }

} // namespace zyn::comctl::detail
