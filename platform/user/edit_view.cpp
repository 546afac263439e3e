// An edit control's geometry: the formatting rectangle, character widths, scrolling, the
// caret's place, the scroll bars and painting.
#include <algorithm>

#include "platform/gdi/sysmetrics.h"
#include "platform/user/caret.h"
#include "platform/user/caret_internal.h"
#include "platform/user/edit.h"
#include "platform/user/edit_internal.h"
#include "platform/user/messages.h"
#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

constexpr uint32_t kBlock = 64;

bool Password(const EditState& s) { return !s.Multi() && (s.style & ES_PASSWORD) && s.passwordChar; }

int FormatWidth(const EditState& s) { return std::max<int>(0, s.fmt.right - s.fmt.left); }

int32_t MaxFirstLine(const EditState& s)
{
    return std::max<int32_t>(0, s.text.LineCount() - VisibleLines(s));
}

int MaxLineWidth(EditState& s)
{
    int w = 0;
    for (int32_t i = 0; i < s.text.LineCount(); ++i)
        w = std::max(w, s.text.LineWidth(i));
    return w;
}

} // namespace

int CharWidth(EditState& s, wchar_t c)
{
    const auto code = static_cast<uint32_t>(c);
    const uint32_t page = code / kBlock;
    if (page == s.lastPage && s.lastWidths)
        return (*s.lastWidths)[code % kBlock];
    auto it = s.widths.find(page);
    if (it == s.widths.end()) {
        int buf[kBlock] = {};
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = dc ? SelectObject(dc, FontOrSystem(s.font)) : nullptr;
        const UINT first = page * kBlock;
        if (!dc || first > 0x10FFFF || !GetCharWidth32W(dc, first, std::min<UINT>(first + kBlock - 1, 0x10FFFF), buf))
            std::fill(std::begin(buf), std::end(buf), std::max(1, s.fi.aveWidth));
        if (dc) {
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        std::array<int16_t, kBlock> widths{};
        for (UINT i = 0; i < kBlock; ++i)
            widths[i] = static_cast<int16_t>(std::clamp(buf[i], 0, 0x7FFF));
        it = s.widths.emplace(page, widths).first;
    }
    s.lastPage = page;
    s.lastWidths = &it->second;
    return it->second[code % kBlock];
}

bool Wraps(const EditState& s) { return s.Multi() && !(s.style & ES_AUTOHSCROLL) && !(s.style & WS_HSCROLL); }

bool CanScrollH(const EditState& s) { return !Wraps(s); }

int LineHeight(const EditState& s) { return std::max(1, s.fi.height); }

int VisibleLines(const EditState& s)
{
    if (!s.Multi())
        return 1;
    return std::max(1, (s.fmt.bottom - s.fmt.top) / LineHeight(s));
}

void ResetFormatRect(EditState& s)
{
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    rc.left += s.leftMargin;
    rc.right -= s.rightMargin;
    if (rc.right < rc.left)
        rc.right = rc.left;
    s.fmt = rc;
}

void Reformat(EditState& s)
{
    EditMetrics m;
    EditState* ps = &s;
    if (Password(s)) {
        const int w = CharWidth(s, s.passwordChar);
        m.charWidth = [w](wchar_t) { return w; };
    } else {
        m.charWidth = [ps](wchar_t c) { return CharWidth(*ps, c); };
    }
    const int unit = std::max(1, s.fi.baseUnitX);
    for (int dlu : s.tabStopsDlu)
        if (s.tabStopsDlu.size() > 1)
            m.tabStops.push_back(dlu * unit / 4);
    m.tabInterval = s.tabStopsDlu.size() == 1 ? std::max(1, s.tabStopsDlu[0] * unit / 4) : 32 * unit / 4;
    s.wrapWidth = Wraps(s) ? std::max(1, FormatWidth(s)) : 0;
    s.text.Configure(s.Multi(), s.wrapWidth, std::move(m));
    s.anchor = std::min(s.anchor, s.text.Length());
    s.caret = std::min(s.caret, s.text.Length());
}

int LineLeft(EditState& s, int32_t line)
{
    int x = s.fmt.left - s.xOffset;
    if (s.style & (ES_CENTER | ES_RIGHT)) {
        const int avail = FormatWidth(s);
        const int w = s.text.LineWidth(line);
        if (w < avail) {
            if (s.style & ES_CENTER)
                x += (avail - w) / 2;
            else
                x += avail - w - 1; // the caret after the last character stays inside
        }
    }
    return x;
}

POINT PosOfChar(EditState& s, int32_t pos)
{
    const int32_t line = s.text.LineFromChar(pos);
    const int top = s.Multi() ? s.firstLine : 0;
    return POINT{LineLeft(s, line) + s.text.XOf(line, pos), s.fmt.top + (line - top) * LineHeight(s)};
}

int32_t CharFromPoint(EditState& s, POINT pt)
{
    int32_t line = 0;
    if (s.Multi()) {
        const int dy = pt.y - s.fmt.top;
        const int rows = dy >= 0 ? dy / LineHeight(s) : -((-dy + LineHeight(s) - 1) / LineHeight(s));
        line = std::clamp<int32_t>(s.firstLine + rows, 0, s.text.LineCount() - 1);
    }
    return s.text.CharAt(line, pt.x - LineLeft(s, line));
}

int ClampSingleLineOffset(EditState& s, int xOffset)
{
    if (s.Multi() || !CanScrollH(s))
        return xOffset;
    // Never leave empty room on the right while text is scrolled off on the left.
    const int width = std::max(1, FormatWidth(s));
    const int align = LineLeft(s, 0) + s.xOffset - s.fmt.left;
    return std::min(xOffset, std::max(0, align + s.text.LineWidth(0) + 1 - width));
}

void ScrollToCaret(EditState& s)
{
    int32_t first = s.firstLine;
    int x = s.xOffset;
    const int32_t line = s.text.LineFromChar(s.caret);
    if (s.Multi()) {
        const int vis = VisibleLines(s);
        if (line < first)
            first = line;
        else if (line >= first + vis)
            first = line - vis + 1;
    }
    if (CanScrollH(s)) {
        const int width = std::max(1, FormatWidth(s));
        const int align = LineLeft(s, line) + s.xOffset - s.fmt.left;
        x = ClampSingleLineOffset(s, x);
        const int cx = align + s.text.XOf(line, s.caret);
        if (cx < x)
            x = std::max(0, cx - width / 3);
        else if (cx >= x + width)
            x = cx - (width - width / 3);
    }
    ScrollTo(s, first, x);
}

void ScrollTo(EditState& s, int32_t firstLine, int xOffset)
{
    firstLine = s.Multi() ? std::clamp<int32_t>(firstLine, 0, MaxFirstLine(s)) : 0;
    xOffset = CanScrollH(s) ? std::max(0, xOffset) : 0;
    if (firstLine != s.firstLine || xOffset != s.xOffset) {
        s.firstLine = firstLine;
        s.xOffset = xOffset;
        Redraw(s);
    }
    UpdateScrollBars(s);
    UpdateCaret(s);
}

void UpdateScrollBars(EditState& s)
{
    if (!s.Multi())
        return;
    const LONG_PTR style = GetWindowLongPtrW(s.hwnd, GWL_STYLE);
    if (style & WS_VSCROLL) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0,
            std::max(0, s.text.LineCount() - 1), static_cast<UINT>(VisibleLines(s)), s.firstLine, 0};
        SetScrollInfo(s.hwnd, SB_VERT, &si, TRUE);
    }
    if (style & WS_HSCROLL) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0,
            std::max(0, MaxLineWidth(s)), static_cast<UINT>(FormatWidth(s)), s.xOffset, 0};
        SetScrollInfo(s.hwnd, SB_HORZ, &si, TRUE);
    }
}

void UpdateCaret(EditState& s)
{
    HWND owner = nullptr;
    RECT rc{};
    bool blinking = false;
    if (!s.focused || !CaretInfo(&owner, &rc, &blinking) || owner != s.hwnd)
        return;
    POINT pt = PosOfChar(s, s.caret);
    if (s.Multi()) {
        const int32_t line = s.text.LineFromChar(s.caret);
        if (line < s.firstLine || line >= s.firstLine + VisibleLines(s) + 1)
            pt.y = -LineHeight(s) - 1; // out of sight
    }
    SetCaretPos(pt.x, pt.y);
}

void Redraw(EditState& s) { InvalidateRect(s.hwnd, nullptr, FALSE); }

bool SelectionShown(const EditState& s) { return s.HasSel() && (s.focused || (s.style & ES_NOHIDESEL)); }

namespace {

// Draws one line: unselected runs in the text colour, selected runs on the highlight.
void DrawLine(EditState& s, HDC dc, int32_t line, int y, COLORREF textColor, bool showSel)
{
    const EditLine& l = s.text.Line(line);
    const int lh = LineHeight(s);
    const bool password = Password(s);
    const int32_t selA = showSel ? s.SelStart() : -1, selB = showSel ? s.SelEnd() : -1;
    const std::wstring& text = s.text.Text();
    int x = LineLeft(s, line);
    std::wstring run;
    std::vector<INT> dx;
    int runX = x;
    bool runSel = false;
    auto flush = [&]() {
        if (run.empty())
            return;
        int w = 0;
        for (int d : dx)
            w += d;
        if (runSel) {
            RECT r{runX, y, runX + w, y + lh};
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, textColor);
        }
        ExtTextOutW(dc, runX, y, 0, nullptr, run.data(), static_cast<UINT>(run.size()), dx.data());
        run.clear();
        dx.clear();
    };
    int rel = 0; // offset from the line start, for tab stops
    for (int32_t i = l.start; i < l.start + l.length; ++i) {
        const wchar_t c = text[static_cast<size_t>(i)];
        const int w = s.text.Advance(c, rel);
        rel += w;
        const bool sel = i >= selA && i < selB;
        if (x + w <= s.fmt.left) { // left of the view
            x += w;
            continue;
        }
        if (x >= s.fmt.right)
            break;
        if (run.empty() || sel != runSel) {
            flush();
            runX = x;
            runSel = sel;
        }
        run.push_back(password ? s.passwordChar : (c == L'\t' ? L' ' : c));
        dx.push_back(w);
        x += w;
    }
    flush();
}

} // namespace

void Paint(EditState& s, HDC dc, const RECT& area)
{
    const LONG_PTR style = GetWindowLongPtrW(s.hwnd, GWL_STYLE);
    const bool disabled = (style & WS_DISABLED) != 0;
    const UINT msg = (disabled || (s.style & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    HBRUSH brush = CtlColor(s.hwnd, dc, msg);
    if (!IsWindow(s.hwnd))
        return;
    RECT client{};
    GetClientRect(s.hwnd, &client);
    RECT fill{};
    if (IntersectRect(&fill, &client, &area))
        FillRect(dc, &fill, brush);
    const COLORREF textColor = disabled ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    IntersectClipRect(dc, s.fmt.left, s.fmt.top, s.fmt.right, s.fmt.bottom);
    const bool showSel = SelectionShown(s);
    const int lh = LineHeight(s);
    const int32_t first = s.Multi() ? s.firstLine : 0;
    for (int32_t i = first; i < s.text.LineCount(); ++i) {
        const int y = s.fmt.top + (i - first) * lh;
        if (y >= s.fmt.bottom || y >= area.bottom)
            break;
        if (y + lh <= area.top)
            continue;
        DrawLine(s, dc, i, y, textColor, showSel);
        if (!s.Multi())
            break;
    }
    RestoreDC(dc, saved);
}

void OnVScroll(EditState& s, WORD code, bool notify)
{
    if (!s.Multi())
        return;
    if (notify) {
        Notify(s.hwnd, EN_VSCROLL);
        if (!IsWindow(s.hwnd))
            return;
    }
    int32_t first = s.firstLine;
    const int vis = VisibleLines(s);
    switch (code) {
    case SB_LINEUP: --first; break;
    case SB_LINEDOWN: ++first; break;
    case SB_PAGEUP: first -= vis; break;
    case SB_PAGEDOWN: first += vis; break;
    case SB_TOP: first = 0; break;
    case SB_BOTTOM: first = s.text.LineCount(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 16 bits of the message would cut a long text's line number.
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(s.hwnd, SB_VERT, &si))
            first = si.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(s, first, s.xOffset);
}

void OnHScroll(EditState& s, WORD code, bool notify)
{
    if (!CanScrollH(s))
        return;
    if (notify) {
        Notify(s.hwnd, EN_HSCROLL);
        if (!IsWindow(s.hwnd))
            return;
    }
    int x = s.xOffset;
    const int step = std::max(1, s.fi.aveWidth);
    switch (code) {
    case SB_LINELEFT: x -= step; break;
    case SB_LINERIGHT: x += step; break;
    case SB_PAGELEFT: x -= FormatWidth(s); break;
    case SB_PAGERIGHT: x += FormatWidth(s); break;
    case SB_LEFT: x = 0; break;
    case SB_RIGHT: x = MaxLineWidth(s); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(s.hwnd, SB_HORZ, &si))
            x = si.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(s, s.firstLine, x);
}

} // namespace zyn::user::ctl
