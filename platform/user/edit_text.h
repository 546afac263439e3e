#pragma once
// The text of an edit control and its division into lines, without a window.
//
// EditText holds the characters and a table of lines (start, length without the break,
// length of the break: 0 for a wrap or the end, 1 for LF, 2 for CR LF). Setting the text
// builds the table in one pass (no measuring unless words wrap), so a text of several
// megabytes is indexed in linear time; a replacement re-lays out only the paragraphs it
// touches and shifts the starts of the lines after them. Widths come from a character
// width function (a tab advances to the next tab stop); wrapping breaks after the last
// white space that fits, hangs the spaces at the end of the line, and breaks a word that
// is wider than the line where it stops fitting.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zyn::user::ctl {

struct EditLine {
    int32_t start = 0;
    int32_t length = 0;  // characters shown (the break not counted)
    int32_t brk = 0;     // 0: wrapped or last line, 1: LF, 2: CR LF
};

struct EditMetrics {
    std::function<int(wchar_t)> charWidth;  // advance of one character (tabs not asked)
    std::vector<int> tabStops;              // pixels from the line start; after the last: every
    int tabInterval = 32;                   // `tabInterval` pixels
};

class EditText {
public:
    // `multiLine`: split at line breaks; `wrapWidth` > 0: wrap words too.
    void Configure(bool multiLine, int wrapWidth, EditMetrics metrics);
    const std::wstring& Text() const { return m_text; }
    int32_t Length() const { return static_cast<int32_t>(m_text.size()); }
    void SetText(std::wstring text);
    // Replaces [pos, pos + count) with `insert`; positions are clamped to the text.
    void Replace(int32_t pos, int32_t count, std::wstring_view insert);
    // Lays out again (after the width, font or tab stops changed).
    void Relayout();

    int32_t LineCount() const { return static_cast<int32_t>(m_lines.size()); }
    const EditLine& Line(int32_t i) const { return m_lines[static_cast<size_t>(i)]; }
    // The line holding a position; a position at a wrap belongs to the next line, the end
    // of a line before its break to that line.
    int32_t LineFromChar(int32_t pos) const;

    // Pixel offset of `pos` from the start of its line `line`.
    int XOf(int32_t line, int32_t pos) const;
    // The position on `line` nearest to pixel offset `x`.
    int32_t CharAt(int32_t line, int x) const;
    int LineWidth(int32_t line) const;
    int Advance(wchar_t c, int x) const;

    // Moves over a CR LF as one unit.
    int32_t NextPos(int32_t pos) const;
    int32_t PrevPos(int32_t pos) const;
    // Word moves and the word at a position (words are runs of non-space characters).
    int32_t NextWordStart(int32_t pos) const;
    int32_t PrevWordStart(int32_t pos) const;
    void WordAt(int32_t pos, int32_t* start, int32_t* end) const;

private:
    // Lays out text[from, to) (whole paragraphs) into `out`; `toEnd`: the region runs to
    // the end of the text, so it ends with a last line even when that line is empty.
    void LayoutRange(int32_t from, int32_t to, bool toEnd, std::vector<EditLine>& out) const;
    void WrapParagraph(int32_t from, int32_t end, int32_t brk, std::vector<EditLine>& out) const;

    std::wstring m_text;
    std::vector<EditLine> m_lines{EditLine{}};
    bool m_multi = false;
    int m_wrap = 0;
    EditMetrics m_metrics;
};

} // namespace zyn::user::ctl
