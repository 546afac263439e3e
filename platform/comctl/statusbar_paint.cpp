// Classic painting of the status bar: background, part frames, icons, tab-aligned text,
// owner-drawn parts and the size grip (the rules are in statusbar.h).
#include <string_view>

#include "platform/comctl/statusbar_state.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/control_common.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {
namespace {

void DrawFrame(HDC hdc, const RECT& r, UINT type)
{
    if (type & SBT_NOBORDERS)
        return;
    RECT e = r;
    DrawEdge(hdc, &e, (type & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

void DrawPartText(HDC hdc, const SbPart& p, RECT area)
{
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (p.type & SBT_RTLREADING)
        flags |= DT_RTLREADING;
    const std::wstring_view text = p.text;
    if (p.type & SBT_NOTABPARSING) {
        zyn::user::DrawControlText(hdc, text, area, flags | DT_LEFT, true);
        return;
    }
    // Up to the first tab on the left, then centred, then (after a second tab) on the right.
    const size_t tab1 = text.find(L'\t');
    const size_t tab2 = tab1 == std::wstring_view::npos ? tab1 : text.find(L'\t', tab1 + 1);
    const std::wstring_view left = text.substr(0, tab1);
    std::wstring_view centre, right;
    if (tab1 != std::wstring_view::npos) {
        centre = text.substr(tab1 + 1, tab2 == std::wstring_view::npos ? std::wstring_view::npos : tab2 - tab1 - 1);
        if (tab2 != std::wstring_view::npos)
            right = text.substr(tab2 + 1);
    }
    if (!left.empty())
        zyn::user::DrawControlText(hdc, left, area, flags | DT_LEFT, true);
    if (!centre.empty())
        zyn::user::DrawControlText(hdc, centre, area, flags | DT_CENTER, true);
    if (!right.empty())
        zyn::user::DrawControlText(hdc, right, area, flags | DT_RIGHT, true);
}

void DrawPart(const StatusBarState& s, HDC hdc, const SbPart& p, const RECT& r, UINT itemId)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    DrawFrame(hdc, r, p.type);
    const RECT inner{r.left + kSbFrame, r.top + kSbFrame, r.right - kSbFrame, r.bottom - kSbFrame};
    if (inner.right <= inner.left || inner.bottom <= inner.top)
        return;
    const int saved = SaveDC(hdc);
    IntersectClipRect(hdc, inner.left, inner.top, inner.right, inner.bottom);
    if (p.type & SBT_OWNERDRAW) {
        zyn::user::SendDrawItem(s.self, 0, itemId, 0, 0, hdc, inner, static_cast<ULONG_PTR>(p.data));
    } else {
        RECT text{inner.left + kSbTextPadX, inner.top, inner.right - kSbTextPadX, inner.bottom};
        if (p.icon) {
            const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
            const int y = inner.top + ((inner.bottom - inner.top) - cy) / 2;
            DrawIconEx(hdc, text.left, y, p.icon, cx, cy, 0, nullptr, DI_NORMAL);
            text.left += cx + kSbTextPadX;
        }
        if (!p.text.empty())
            DrawPartText(hdc, p, text);
    }
    RestoreDC(hdc, saved);
}

} // namespace

void PaintStatusBar(StatusBarState& s, HDC hdc)
{
    RECT client{};
    ::GetClientRect(s.self, &client);
    const COLORREF bk = s.bkColor == CLR_DEFAULT ? GetSysColor(COLOR_3DFACE) : s.bkColor;
    const HBRUSH bkBrush = CreateSolidBrush(bk);
    FillRect(hdc, &client, bkBrush);
    DeleteObject(bkBrush);

    const SbLayout l = LayoutOf(s);
    zyn::user::DcSelection font(hdc, s.font);
    const COLORREF oldText = SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    if (s.simple) {
        DrawPart(s, hdc, s.simplePart, l.simple, SB_SIMPLEID);
    } else {
        // Parts outside the clip are skipped: a changed text repaints its part alone, and
        // an owner-drawn neighbour is not asked to draw for nothing.
        for (size_t i = 0; i < l.parts.size() && i < s.parts.size(); ++i) {
            if (::RectVisible(hdc, &l.parts[i]))
                DrawPart(s, hdc, s.parts[i], l.parts[i], static_cast<UINT>(i));
        }
    }
    SetTextColor(hdc, oldText);
    if (l.grip.right > l.grip.left) {
        RECT g = l.grip;
        DrawFrameControl(hdc, &g, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}

} // namespace zyn::comctl::detail
