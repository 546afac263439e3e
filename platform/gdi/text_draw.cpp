// DrawText and DrawTextEx: mnemonic prefixes, line breaks, word wrapping, tabs, ellipses,
// alignment, clipping and the calculated rectangle.
//
// The pipeline: the text is cut into hard lines (CR, LF or CR LF; one line with
// DT_SINGLELINE); each hard line's prefixes are resolved into display characters that
// remember which source characters they came from; DT_WORDBREAK wraps display lines at
// spaces; an ellipsis flag shortens each line that is wider than the rectangle; then every
// line is laid out once and either measured (DT_CALCRECT) or painted. Measuring and
// painting share that layout, so the calculated rectangle is exactly the painted cell area.
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/font_realize.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/text_layout.h"
#include "platform/gdi/text_render.h"
#include "platform/gdi/wingdi.h"

using namespace zyn::gdi;

namespace {

// A character as shown, with the source characters it stands for ([srcBegin, srcEnd);
// -1 for an inserted ellipsis dot).
struct DispChar {
    wchar_t ch = 0;
    int srcBegin = -1;
    int srcEnd = -1;
    bool mnemonic = false;
};
using DispLine = std::vector<DispChar>;

struct Line {
    DispLine chars;
    bool shortened = false;  // an ellipsis changed it
    int srcBegin = 0, srcEnd = 0; // the source range the line shows (before shortening)
    TextRun run;
};

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsWide(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
        (c >= 0xFF00 && c <= 0xFF60) || (c >= 0x20000 && c <= 0x3FFFF);
}

class Measurer {
public:
    Measurer(RealizedFont::Access& a, int extra, const TabStops& tabs) : m_a(a), m_extra(extra), m_tabs(tabs)
    {
        m_space = a.Advance(U' ');
    }
    // The advance of `c` placed at `u`.
    int Advance(wchar_t c, int u)
    {
        if (c == L'\t' && m_tabs.expand)
            return NextTabStop(m_tabs, u, m_space) - u;
        return TextCoord(static_cast<int64_t>(m_a.Advance(static_cast<char32_t>(c))) + m_extra);
    }
    int Width(const DispLine& d, size_t b, size_t e, int u0 = 0)
    {
        int u = u0;
        for (size_t i = b; i < e; ++i)
            u = TextCoord(static_cast<int64_t>(u) + Advance(d[i].ch, u));
        return u - u0;
    }

private:
    RealizedFont::Access& m_a;
    int m_extra;
    const TabStops& m_tabs;
    int m_space = 0;
};

// Resolves '&' prefixes in text[b, e).
DispLine Display(const wchar_t* text, int b, int e, bool prefixes)
{
    DispLine d;
    d.reserve(static_cast<size_t>(e - b));
    for (int i = b; i < e;) {
        const wchar_t c = text[i];
        if (c == L'&' && prefixes) {
            if (i + 1 >= e) {
                ++i; // a lone '&' at the end shows nothing
                continue;
            }
            if (text[i + 1] == L'&')
                d.push_back(DispChar{L'&', i, i + 2, false});
            else
                d.push_back(DispChar{text[i + 1], i, i + 2, true});
            i += 2;
            continue;
        }
        d.push_back(DispChar{c, i, i + 1, false});
        ++i;
    }
    return d;
}

// Cuts a display line into wrapped lines [begin, end).
void Wrap(const DispLine& d, int avail, UINT flags, Measurer& m, std::vector<std::pair<size_t, size_t>>& out)
{
    const size_t n = d.size();
    if (n == 0) {
        out.emplace_back(0, 0);
        return;
    }
    const bool wideBreaks = !(flags & DT_NOFULLWIDTHCHARBREAK);
    size_t pos = 0;
    while (pos < n) {
        int u = 0;
        size_t i = pos;
        while (i < n) {
            const int adv = m.Advance(d[i].ch, u);
            // Spaces may hang past the edge: the line breaks at them.
            if (static_cast<int64_t>(u) + adv > avail && !IsSpace(d[i].ch))
                break;
            u = TextCoord(static_cast<int64_t>(u) + adv);
            ++i;
        }
        if (i == n) {
            out.emplace_back(pos, n);
            break;
        }
        // The last break opportunity at or before i: a space, or a side of a wide character.
        size_t lineEnd = pos, next = pos;
        bool found = false;
        for (size_t k = i; k > pos; --k) {
            if (IsSpace(d[k - 1].ch) || IsSpace(d[k].ch)) {
                size_t s = IsSpace(d[k].ch) ? k : k - 1; // a space index
                lineEnd = s;
                while (lineEnd > pos && IsSpace(d[lineEnd - 1].ch))
                    --lineEnd;
                next = s;
                while (next < n && IsSpace(d[next].ch))
                    ++next;
                found = lineEnd > pos;
                if (found)
                    break;
            }
            if (wideBreaks && (IsWide(d[k - 1].ch) || IsWide(d[k].ch))) {
                lineEnd = next = k;
                found = true;
                break;
            }
        }
        if (!found) {
            if (flags & DT_EDITCONTROL) {
                // An edit control breaks a word that is wider than the line.
                lineEnd = next = std::max(i, pos + 1);
            } else {
                // Otherwise the word stays whole and runs past the edge.
                size_t j = i;
                while (j < n && !IsSpace(d[j].ch))
                    ++j;
                lineEnd = j;
                next = j;
                while (next < n && IsSpace(d[next].ch))
                    ++next;
            }
        }
        out.emplace_back(pos, lineEnd);
        pos = next;
    }
}

DispLine Dots(int count = 3)
{
    return DispLine(static_cast<size_t>(count), DispChar{L'.', -1, -1, false});
}

// Prefix widths: w[k] = width of d[0, k).
std::vector<int> PrefixWidths(const DispLine& d, Measurer& m)
{
    std::vector<int> w(d.size() + 1, 0);
    for (size_t i = 0; i < d.size(); ++i)
        w[i + 1] = TextCoord(static_cast<int64_t>(w[i]) + m.Advance(d[i].ch, w[i]));
    return w;
}

// "abc..." : the longest start that fits with the dots.
DispLine EndEllipsis(const DispLine& d, int avail, Measurer& m)
{
    const std::vector<int> w = PrefixWidths(d, m);
    const DispLine dots = Dots();
    size_t k = d.size();
    while (k > 0 && static_cast<int64_t>(w[k]) + m.Width(dots, 0, dots.size(), w[k]) > avail)
        --k;
    DispLine r(d.begin(), d.begin() + static_cast<ptrdiff_t>(k));
    r.insert(r.end(), dots.begin(), dots.end());
    return r;
}

// "C:\ab...\file.txt": as much of the start as fits before the last path component; a
// text without a separator loses its middle.
DispLine PathEllipsis(const DispLine& d, int avail, UINT flags, Measurer& m)
{
    const DispLine dots = Dots();
    const int dotsW = m.Width(dots, 0, dots.size());
    const std::vector<int> w = PrefixWidths(d, m);
    const size_t n = d.size();
    size_t sep = n;
    for (size_t i = n; i > 0; --i) {
        if (d[i - 1].ch == L'\\' || d[i - 1].ch == L'/') {
            sep = i - 1;
            break;
        }
    }
    auto join = [&](size_t head, size_t tailFrom) {
        DispLine r(d.begin(), d.begin() + static_cast<ptrdiff_t>(head));
        r.insert(r.end(), dots.begin(), dots.end());
        r.insert(r.end(), d.begin() + static_cast<ptrdiff_t>(tailFrom), d.end());
        return r;
    };
    if (sep < n) {
        const int tailW = w[n] - w[sep];
        for (size_t k = sep + 1; k-- > 0;) {
            if (static_cast<int64_t>(w[k]) + dotsW + tailW <= avail)
                return join(k, sep);
        }
        DispLine r = join(0, sep);
        if (flags & DT_END_ELLIPSIS)
            return EndEllipsis(r, avail, m);
        return r;
    }
    for (size_t t = n; t-- > 0;) {
        const size_t head = (t + 1) / 2, tail = t / 2;
        if (static_cast<int64_t>(w[head]) + dotsW + (w[n] - w[n - tail]) <= avail)
            return join(head, n - tail);
    }
    return dots;
}

std::shared_ptr<const RealizedFont> SystemFont(const Dc& dc)
{
    if (auto stock = std::dynamic_pointer_cast<FontObj>(StockObject(SYSTEM_FONT)))
        return RealizedFontOf(*stock);
    return RealizedFontOf(dc);
}

int DrawTextCore(HDC hdc, const wchar_t* text, LPWSTR writable, int count, LPRECT rc, UINT format,
    DRAWTEXTPARAMS* dtp)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    if (!rc || (!text && count != 0) || (dtp && dtp->cbSize != sizeof(DRAWTEXTPARAMS))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t len = count < 0 ? std::wcslen(text) : static_cast<size_t>(count);
    if (len > static_cast<size_t>(kMaxTextChars)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    UINT flags = format;
    int tabChars = 8;
    if (flags & DT_TABSTOP) {
        // The tab length (in average character widths) sits in bits 8-15.
        tabChars = static_cast<int>((flags >> 8) & 0xFF);
        flags &= ~0xFF00u;
        if (tabChars == 0)
            tabChars = 8;
    }
    if (dtp && dtp->iTabLength > 0)
        tabChars = dtp->iTabLength;
    if (dtp)
        dtp->uiLengthDrawn = 0;
    auto font = (flags & DT_INTERNAL) ? SystemFont(*dc) : RealizedFontOf(*dc);
    const TEXTMETRICW& tm = font->Metrics();
    const int lineH = tm.tmHeight + ((flags & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    // Empty text paints nothing and measures to an empty rectangle, but measuring still
    // answers the height of one line, as callers that size a control from it expect.
    if (len == 0) {
        if (flags & DT_CALCRECT) {
            rc->right = rc->left;
            rc->bottom = rc->top;
            return lineH;
        }
        return 0;
    }
    const int leftM = dtp ? TextCoord(dtp->iLeftMargin) : 0, rightM = dtp ? TextCoord(dtp->iRightMargin) : 0;
    const int x0 = TextCoord(static_cast<int64_t>(rc->left) + leftM);
    const int avail = TextCoord(static_cast<int64_t>(rc->right) - rightM - x0);
    const bool single = (flags & DT_SINGLELINE) != 0;
    const bool prefixes = !(flags & DT_NOPREFIX);

    TabStops tabs;
    tabs.expand = (flags & DT_EXPANDTABS) != 0;
    tabs.interval = std::max(1, TextCoord(static_cast<int64_t>(tabChars) * std::max<int>(1, tm.tmAveCharWidth)));

    // Hard lines.
    std::vector<std::pair<int, int>> hard;
    const int n = static_cast<int>(len);
    if (single) {
        hard.emplace_back(0, n);
    } else {
        int b = 0;
        while (b < n) {
            int e = b;
            while (e < n && text[e] != L'\r' && text[e] != L'\n')
                ++e;
            hard.emplace_back(b, e);
            if (e < n && text[e] == L'\r' && e + 1 < n && text[e + 1] == L'\n')
                e += 2;
            else if (e < n)
                e += 1;
            b = e;
        }
    }

    std::vector<Line> lines;
    {
        auto access = font->Lock();
        Measurer m(access, dc->st.charExtra, tabs);
        for (const auto& [b, e] : hard) {
            DispLine d = Display(text, b, e, prefixes);
            std::vector<std::pair<size_t, size_t>> parts;
            if ((flags & DT_WORDBREAK) && !single)
                Wrap(d, avail, flags, m, parts);
            else
                parts.emplace_back(0, d.size());
            for (const auto& [pb, pe] : parts) {
                Line line;
                line.chars.assign(d.begin() + static_cast<ptrdiff_t>(pb), d.begin() + static_cast<ptrdiff_t>(pe));
                line.srcBegin = line.chars.empty() ? b : line.chars.front().srcBegin;
                line.srcEnd = line.chars.empty() ? b : line.chars.back().srcEnd;
                if ((flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) && !line.chars.empty() &&
                    m.Width(line.chars, 0, line.chars.size()) > avail) {
                    line.chars = (flags & DT_PATH_ELLIPSIS) ? PathEllipsis(line.chars, avail, flags, m)
                                                            : EndEllipsis(line.chars, avail, m);
                    line.shortened = true;
                }
                // Lay the line out once; measuring and painting both use this.
                std::wstring s;
                s.reserve(line.chars.size());
                for (const DispChar& c : line.chars)
                    s.push_back(c.ch);
                LayoutRun(access, s.data(), static_cast<int>(s.size()), dc->st.charExtra, &tabs, line.run);
                if (!(flags & DT_HIDEPREFIX)) {
                    for (size_t i = 0; i < line.chars.size(); ++i) {
                        if (!line.chars[i].mnemonic)
                            continue;
                        const int u0 = line.run.pos[i];
                        const int u1 = i + 1 < line.chars.size() ? line.run.pos[i + 1] : line.run.width;
                        line.run.marks.emplace_back(u0, u1);
                    }
                }
                lines.push_back(std::move(line));
            }
        }
    }

    // Vertical placement.
    const int total = TextCoord(static_cast<int64_t>(lines.size()) * lineH);
    int64_t y = rc->top;
    int result = total;
    if (single && (flags & (DT_VCENTER | DT_BOTTOM))) {
        if (flags & DT_BOTTOM)
            y = static_cast<int64_t>(rc->bottom) - lineH;
        else
            y = rc->top + (static_cast<int64_t>(rc->bottom) - rc->top - lineH) / 2;
        result = TextCoord(y - rc->top + lineH);
    }

    UINT lengthDrawn = static_cast<UINT>(len);
    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const Line& l : lines)
            widest = std::max(widest, l.run.width);
        rc->right = TextCoord(static_cast<int64_t>(rc->left) + leftM + widest + rightM);
        rc->bottom = TextCoord(static_cast<int64_t>(rc->top) + total);
    } else {
        DrawScope scope(*dc);
        DcTextSink sink(*dc);
        RunStyle st;
        st.text = dc->st.textColor;
        st.back = dc->st.bkColor;
        st.opaque = dc->st.bkMode == OPAQUE && !(flags & DT_PREFIXONLY);
        st.glyphs = !(flags & DT_PREFIXONLY);
        if (!(flags & DT_NOCLIP)) {
            st.clip = true;
            st.clipRect = dc->ToDevice(*rc);
        }
        int64_t ly = y;
        for (size_t i = 0; i < lines.size(); ++i, ly += lineH) {
            const Line& l = lines[i];
            // An edit control does not show a partly visible last line.
            if ((flags & DT_EDITCONTROL) && i > 0 && ly + lineH > rc->bottom) {
                lengthDrawn = static_cast<UINT>(std::max(0, lines[i - 1].srcEnd));
                break;
            }
            int64_t lx = x0;
            if (flags & DT_CENTER)
                lx = x0 + (static_cast<int64_t>(avail) - l.run.width) / 2;
            else if (flags & DT_RIGHT)
                lx = static_cast<int64_t>(x0) + avail - l.run.width;
            const POINT at = dc->ToDevice(POINT{TextCoord(lx), TextCoord(ly)});
            PaintRun(sink, *font, at, l.run, st);
            if (dc->kind == DcKind::Printer && st.glyphs)
                NotePrinterRun(*dc, l.run, RotateRect(at, font->Quarter(), 0, 0, l.run.width, lineH));
        }
    }
    if (dtp)
        dtp->uiLengthDrawn = lengthDrawn;

    // DT_MODIFYSTRING: the caller's text becomes what is shown, never past its buffer.
    if (writable && (flags & DT_MODIFYSTRING) && (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))) {
        std::wstring out(text, len);
        bool changed = false;
        for (size_t i = lines.size(); i-- > 0;) {
            const Line& l = lines[i];
            if (!l.shortened)
                continue;
            std::wstring rep;
            for (const DispChar& c : l.chars) {
                if (c.srcBegin < 0)
                    rep.push_back(c.ch);
                else
                    rep.append(text + c.srcBegin, static_cast<size_t>(c.srcEnd - c.srcBegin));
            }
            out.replace(static_cast<size_t>(l.srcBegin), static_cast<size_t>(l.srcEnd - l.srcBegin), rep);
            changed = true;
        }
        if (changed) {
            // A count of -1 means the buffer holds the text and its terminator; otherwise
            // exactly `count` characters.
            const size_t room = len;
            const size_t copy = std::min(out.size(), room);
            std::copy_n(out.data(), copy, writable);
            if (count < 0 || copy < room)
                writable[copy] = L'\0';
            if (out.size() > room)
                SetLastError(ERROR_INSUFFICIENT_BUFFER);
        }
    }
    return result;
}

} // namespace

int DrawTextExW(HDC hdc, LPWSTR lpchText, int cchText, LPRECT lprc, UINT format, DRAWTEXTPARAMS* lpdtp)
{
    return DrawTextCore(hdc, lpchText, lpchText, cchText, lprc, format, lpdtp);
}

int DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    // The text is read-only here: DT_MODIFYSTRING needs DrawTextEx.
    return DrawTextCore(hdc, lpchText, nullptr, cchText, lprc, format, nullptr);
}

int DrawText(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    return DrawTextW(hdc, lpchText, cchText, lprc, format);
}
