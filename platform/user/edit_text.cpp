// The text of an edit control and its line table.
#include "platform/user/edit_text.h"

#include <algorithm>
#include <cwchar>

#include "platform/base/charcase.h"

namespace zyn::user::ctl {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDelimiter(wchar_t c) { return base::IsSpaceChar(c); }

} // namespace

void EditText::Configure(bool multiLine, int wrapWidth, EditMetrics metrics)
{
    m_multi = multiLine;
    m_wrap = multiLine ? std::max(0, wrapWidth) : 0;
    m_metrics = std::move(metrics);
    if (m_metrics.tabInterval <= 0)
        m_metrics.tabInterval = 1;
    Relayout();
}

void EditText::SetText(std::wstring text)
{
    m_text = std::move(text);
    Relayout();
}

void EditText::Relayout()
{
    std::vector<EditLine> lines;
    LayoutRange(0, Length(), true, lines);
    m_lines = std::move(lines);
}

int EditText::Advance(wchar_t c, int x) const
{
    if (c == L'\t' && m_multi) {
        for (int stop : m_metrics.tabStops)
            if (stop > x)
                return stop - x;
        const int base = m_metrics.tabStops.empty() ? 0 : m_metrics.tabStops.back();
        const int step = m_metrics.tabInterval;
        const int next = base + ((x - base) / step + 1) * step;
        return next - x;
    }
    return m_metrics.charWidth ? m_metrics.charWidth(c) : 1;
}

void EditText::WrapParagraph(int32_t from, int32_t end, int32_t brk, std::vector<EditLine>& out) const
{
    if (m_wrap <= 0) {
        out.push_back(EditLine{from, end - from, brk});
        return;
    }
    int32_t lineStart = from;
    int x = 0;
    int32_t lastBreak = -1; // just after the last run of blanks on this line
    int xAtBreak = 0;
    for (int32_t i = from; i < end; ++i) {
        const wchar_t c = m_text[static_cast<size_t>(i)];
        const int w = Advance(c, x);
        if (IsBlank(c)) {
            // Blanks never push to the next line; they hang at the end of this one.
            x += w;
            lastBreak = i + 1;
            xAtBreak = x;
            continue;
        }
        if (x + w > m_wrap && i > lineStart) {
            if (lastBreak > lineStart) {
                out.push_back(EditLine{lineStart, lastBreak - lineStart, 0});
                x -= xAtBreak; // the characters after the blanks carry over (no tabs among them)
                lineStart = lastBreak;
            } else {
                out.push_back(EditLine{lineStart, i - lineStart, 0});
                x = 0;
                lineStart = i;
            }
            lastBreak = -1;
            if (x + w > m_wrap && i > lineStart) {
                // The word carried over is itself wider than the line.
                out.push_back(EditLine{lineStart, i - lineStart, 0});
                x = 0;
                lineStart = i;
            }
        }
        x += w;
    }
    out.push_back(EditLine{lineStart, end - lineStart, brk});
}

void EditText::LayoutRange(int32_t from, int32_t to, bool toEnd, std::vector<EditLine>& out) const
{
    if (!m_multi) {
        out.push_back(EditLine{0, Length(), 0});
        return;
    }
    const wchar_t* data = m_text.data();
    int32_t pos = from;
    bool endedWithBreak = true; // nothing laid out yet counts as "after a break"
    while (pos < to) {
        const wchar_t* nl = std::wmemchr(data + pos, L'\n', static_cast<size_t>(to - pos));
        if (!nl) {
            WrapParagraph(pos, to, 0, out);
            endedWithBreak = false;
            pos = to;
            break;
        }
        const int32_t at = static_cast<int32_t>(nl - data);
        int32_t end = at;
        int32_t brk = 1;
        if (at > pos && data[at - 1] == L'\r') {
            end = at - 1;
            brk = 2;
        }
        WrapParagraph(pos, end, brk, out);
        endedWithBreak = true;
        pos = at + 1;
    }
    if (toEnd && endedWithBreak)
        out.push_back(EditLine{to, 0, 0});
}

void EditText::Replace(int32_t pos, int32_t count, std::wstring_view insert)
{
    const int32_t len = Length();
    pos = std::clamp(pos, 0, len);
    count = std::clamp(count, 0, len - pos);
    if (!m_multi) {
        m_text.replace(static_cast<size_t>(pos), static_cast<size_t>(count), insert);
        m_lines.assign(1, EditLine{0, Length(), 0});
        return;
    }
    // The paragraphs the change touches: from the start of the paragraph holding `pos`
    // to the end (break included) of the one holding the last replaced character.
    int32_t first = LineFromChar(pos);
    if (first > 0)
        --first;
    while (first > 0 && m_lines[static_cast<size_t>(first) - 1].brk == 0)
        --first;
    const int32_t last = LineCount() - 1;
    int32_t e = LineFromChar(pos + count);
    while (e < last && m_lines[static_cast<size_t>(e)].brk == 0)
        ++e;
    const EditLine& le = m_lines[static_cast<size_t>(e)];
    const int32_t oldEnd = e == last ? len : le.start + le.length + le.brk;
    if (oldEnd == len)
        e = last; // the region reaches the end: the empty line after a final break is laid out again too
    const int32_t from = m_lines[static_cast<size_t>(first)].start;

    m_text.replace(static_cast<size_t>(pos), static_cast<size_t>(count), insert);
    const int32_t delta = static_cast<int32_t>(insert.size()) - count;
    const int32_t newEnd = oldEnd + delta;
    std::vector<EditLine> fresh;
    LayoutRange(from, newEnd, newEnd == Length(), fresh);
    for (size_t i = static_cast<size_t>(e) + 1; i < m_lines.size(); ++i)
        m_lines[i].start += delta;
    m_lines.erase(m_lines.begin() + first, m_lines.begin() + e + 1);
    m_lines.insert(m_lines.begin() + first, fresh.begin(), fresh.end());
    if (m_lines.empty())
        m_lines.push_back(EditLine{0, 0, 0});
}

int32_t EditText::LineFromChar(int32_t pos) const
{
    if (m_lines.size() <= 1)
        return 0;
    auto it = std::upper_bound(m_lines.begin(), m_lines.end(), pos,
        [](int32_t p, const EditLine& l) { return p < l.start; });
    if (it == m_lines.begin())
        return 0;
    return static_cast<int32_t>(it - m_lines.begin()) - 1;
}

int EditText::XOf(int32_t line, int32_t pos) const
{
    const EditLine& l = Line(line);
    const int32_t end = std::clamp(pos, l.start, l.start + l.length);
    int x = 0;
    for (int32_t i = l.start; i < end; ++i)
        x += Advance(m_text[static_cast<size_t>(i)], x);
    return x;
}

int32_t EditText::CharAt(int32_t line, int x) const
{
    const EditLine& l = Line(line);
    int cx = 0;
    for (int32_t i = l.start; i < l.start + l.length; ++i) {
        const int w = Advance(m_text[static_cast<size_t>(i)], cx);
        if (x < cx + (w + 1) / 2)
            return i;
        cx += w;
    }
    return l.start + l.length;
}

int EditText::LineWidth(int32_t line) const
{
    const EditLine& l = Line(line);
    return XOf(line, l.start + l.length);
}

int32_t EditText::NextPos(int32_t pos) const
{
    const int32_t len = Length();
    if (pos >= len)
        return len;
    if (m_multi && m_text[static_cast<size_t>(pos)] == L'\r' && pos + 1 < len &&
        m_text[static_cast<size_t>(pos) + 1] == L'\n')
        return pos + 2;
    return pos + 1;
}

int32_t EditText::PrevPos(int32_t pos) const
{
    if (pos <= 0)
        return 0;
    if (m_multi && pos >= 2 && m_text[static_cast<size_t>(pos) - 1] == L'\n' &&
        m_text[static_cast<size_t>(pos) - 2] == L'\r')
        return pos - 2;
    return pos - 1;
}

int32_t EditText::NextWordStart(int32_t pos) const
{
    const int32_t len = Length();
    pos = std::clamp(pos, 0, len);
    while (pos < len && !IsDelimiter(m_text[static_cast<size_t>(pos)]))
        ++pos;
    while (pos < len && IsDelimiter(m_text[static_cast<size_t>(pos)]))
        ++pos;
    return pos;
}

int32_t EditText::PrevWordStart(int32_t pos) const
{
    pos = std::clamp(pos, 0, Length());
    while (pos > 0 && IsDelimiter(m_text[static_cast<size_t>(pos) - 1]))
        --pos;
    while (pos > 0 && !IsDelimiter(m_text[static_cast<size_t>(pos) - 1]))
        --pos;
    return pos;
}

void EditText::WordAt(int32_t pos, int32_t* start, int32_t* end) const
{
    const int32_t len = Length();
    if (len == 0) {
        *start = *end = 0;
        return;
    }
    pos = std::clamp(pos, 0, len - 1);
    const bool delim = IsDelimiter(m_text[static_cast<size_t>(pos)]);
    int32_t s = pos, e = pos;
    while (s > 0 && IsDelimiter(m_text[static_cast<size_t>(s) - 1]) == delim)
        --s;
    while (e < len && IsDelimiter(m_text[static_cast<size_t>(e)]) == delim)
        ++e;
    *start = s;
    *end = e;
}

} // namespace zyn::user::ctl
