#include "frames/log_print.h"

#include <algorithm>

#include "platform/base/tchar.h"
#include "platform/gdi/wingdi.h"

namespace zyn::frames {

namespace {

// The lines are measured and drawn alike. DT_EDITCONTROL breaks a word wider than the
// page instead of letting it run off the paper.
constexpr UINT kLineFlags =
    DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | DT_EXTERNALLEADING | DT_NOPREFIX | DT_EDITCONTROL;
constexpr int kPointSize = 10;

class Printer {
public:
    Printer(HDC hdc, const CString& prefix, const CString& path) : m_hdc(hdc), m_prefix(prefix), m_path(path) {}

    bool StartPage()
    {
        if (::StartPage(m_hdc) <= 0)
            return false;
        ++m_page;
        ::GetClipBox(m_hdc, &m_area);
        m_top = m_area.top;
        CString header;
        header.Format(L"%s%s\nPage: %d\n\n", m_prefix.GetString(), m_path.GetString(), m_page);
        Draw(header, m_top);
        m_top += Measure(header);
        m_bodyTop = m_top;
        return true;
    }
    bool NextPage() { return ::EndPage(m_hdc) > 0 && StartPage(); }

    int Measure(const CString& text) const
    {
        RECT r{m_area.left, 0, m_area.right, 0};
        // The answer is the height even for an empty text (one line).
        return ::DrawTextW(m_hdc, text.GetString(), text.GetLength(), &r, kLineFlags | DT_CALCRECT);
    }
    void Draw(const CString& text, int top) const
    {
        RECT r{m_area.left, top, m_area.right, m_area.bottom};
        ::DrawTextW(m_hdc, text.GetString(), text.GetLength(), &r, kLineFlags);
    }

    bool PrintLine(const CString& line)
    {
        const CString text = RemoveLogTabs(line.GetString());
        const int height = Measure(text);
        if (m_top + height > m_area.bottom && m_top > m_bodyTop && !NextPage())
            return false;
        if (m_top + height <= m_area.bottom) {
            Draw(text, m_top);
            m_top += height;
            return true;
        }
        // Taller than the room a page has: as many whole rows as fit on each page, the
        // rest drawn again shifted up on the next one, clipped to the rows it shows.
        const int rowHeight = std::max(1, RowHeight());
        int shown = 0;
        while (shown < height) {
            const int rows = std::max(1, (m_area.bottom - m_top) / rowHeight);
            const int part = std::min(rows * rowHeight, height - shown);
            const int saved = ::SaveDC(m_hdc);
            ::IntersectClipRect(m_hdc, m_area.left, m_top, m_area.right, m_top + part);
            Draw(text, m_top - shown);
            ::RestoreDC(m_hdc, saved);
            shown += part;
            m_top += part;
            if (shown < height && !NextPage())
                return false;
        }
        return true;
    }

    int Pages() const { return m_page; }

private:
    int RowHeight() const
    {
        TEXTMETRICW tm{};
        ::GetTextMetricsW(m_hdc, &tm);
        return tm.tmHeight + tm.tmExternalLeading;
    }

    HDC m_hdc;
    const CString& m_prefix;
    const CString& m_path;
    RECT m_area{};
    int m_top = 0;
    int m_bodyTop = 0;
    int m_page = 0;
};

} // namespace

CString RemoveLogTabs(const wchar_t* text)
{
    CString out;
    if (!text)
        return out;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\t')
            out += L"    ";
        else
            out += *p;
    }
    return out;
}

int PrintLogLines(HDC hdc, const CString& headerPrefix, const CString& path, const std::vector<CString>& lines)
{
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = path.GetString();
    if (::StartDocW(hdc, &doc) <= 0)
        return -1;
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(kPointSize, ::GetDeviceCaps(hdc, LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    wcscpy(lf.lfFaceName, L"Courier New");
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ oldFont = font ? ::SelectObject(hdc, font) : nullptr;

    Printer printer(hdc, headerPrefix, path);
    bool ok = printer.StartPage();
    for (size_t i = 0; ok && i < lines.size(); ++i)
        ok = printer.PrintLine(lines[i]);
    if (ok)
        ok = ::EndPage(hdc) > 0 && ::EndDoc(hdc) > 0;
    if (!ok)
        ::AbortDoc(hdc);

    if (oldFont)
        ::SelectObject(hdc, oldFont);
    if (font)
        ::DeleteObject(font);
    return ok ? printer.Pages() : -1;
}

} // namespace zyn::frames
