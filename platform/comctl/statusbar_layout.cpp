// The status bar's geometry: part rectangles, the grip, the bar's height and its place in
// the parent (the rules are in statusbar.h).
#include <algorithm>

#include "platform/comctl/statusbar_state.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {
namespace {

DWORD StyleOf(HWND h) { return static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_STYLE)); }

} // namespace

StatusBarState::~StatusBarState()
{
    if (ownFont)
        ::DeleteObject(ownFont);
}

bool GripShown(const StatusBarState& s)
{
    if (!(StyleOf(s.self) & SBARS_SIZEGRIP))
        return false;
    const HWND parent = ::GetParent(s.self);
    return !parent || !::IsZoomed(parent);
}

SbLayout LayoutStatusBar(const StatusBarState& s, int clientWidth, int clientHeight, bool gripShown)
{
    SbLayout l;
    int limit = clientWidth;
    if (gripShown) {
        const int gw = std::min(clientWidth, ::GetSystemMetrics(SM_CXVSCROLL));
        l.grip = RECT{clientWidth - gw, 0, clientWidth, clientHeight};
        limit = clientWidth - gw;
    }
    const int top = kSbVertBorder, bottom = std::max(top, clientHeight - kSbVertBorder);
    int left = kSbHorzBorder;
    l.parts.reserve(s.edges.size());
    for (const int edge : s.edges) {
        const int end = edge < 0 ? clientWidth : edge; // -1 reaches the right edge
        const int right = std::max(left, std::min(end, limit));
        l.parts.push_back(RECT{std::min(left, right), top, right, bottom});
        left = end + kSbSpacing;
    }
    l.simple = RECT{kSbHorzBorder, top, std::max(kSbHorzBorder, limit), bottom};
    return l;
}

SbLayout LayoutOf(const StatusBarState& s)
{
    RECT rc{};
    ::GetClientRect(s.self, &rc);
    return LayoutStatusBar(s, rc.right - rc.left, rc.bottom - rc.top, GripShown(s));
}

int BarHeight(const StatusBarState& s)
{
    TEXTMETRICW tm{};
    HDC dc = ::GetDC(s.self);
    if (dc) {
        const HGDIOBJ old = s.font ? ::SelectObject(dc, s.font) : nullptr;
        ::GetTextMetricsW(dc, &tm);
        if (old)
            ::SelectObject(dc, old);
        ::ReleaseDC(s.self, dc);
    }
    const int fromFont = tm.tmHeight + 2 * (kSbFrame + kSbTextPadY);
    return std::max(fromFont, s.minHeight) + 2 * kSbVertBorder;
}

void PlaceStatusBar(StatusBarState& s)
{
    const DWORD style = StyleOf(s.self);
    if ((style & CCS_NORESIZE) || s.placing)
        return;
    const HWND parent = (style & WS_CHILD) ? ::GetParent(s.self) : nullptr;
    if (!parent)
        return;
    RECT pc{}, wr{}, cr{};
    ::GetClientRect(parent, &pc);
    ::GetWindowRect(s.self, &wr);
    ::GetClientRect(s.self, &cr);
    // The frame (if any) comes on top of the client height.
    const int h = BarHeight(s) + (wr.bottom - wr.top) - (cr.bottom - cr.top);
    POINT at{wr.left, wr.top};
    ::ScreenToClient(parent, &at);
    s.placing = true;
    if (style & CCS_NOPARENTALIGN) {
        ::SetWindowPos(s.self, nullptr, 0, 0, wr.right - wr.left, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const DWORD align = style & 0x3;
        int y = pc.bottom - h;        // CCS_BOTTOM, and the default
        if (align == CCS_TOP)
            y = pc.top;
        else if (align == CCS_NOMOVEY)
            y = at.y;
        ::SetWindowPos(s.self, nullptr, pc.left, y, pc.right - pc.left, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    s.placing = false;
}

int PartFromPoint(const StatusBarState& s, POINT pt)
{
    const SbLayout l = LayoutOf(s);
    if (s.simple)
        return static_cast<int>(SB_SIMPLEID);
    for (size_t i = 0; i < l.parts.size(); ++i) {
        const RECT& r = l.parts[i];
        if (pt.x >= r.left && pt.x < r.right)
            return static_cast<int>(i);
    }
    return -1;
}

void MakeStatusFont(StatusBarState& s)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    HFONT made = nullptr;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        made = ::CreateFontIndirectW(&ncm.lfStatusFont);
    const bool usingOwn = s.font == s.ownFont;
    if (s.ownFont)
        ::DeleteObject(s.ownFont);
    s.ownFont = made;
    if (usingOwn || !s.font)
        s.font = made;
}

} // namespace zyn::comctl::detail
