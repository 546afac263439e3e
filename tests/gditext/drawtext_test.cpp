// DrawText and DrawTextEx: the calculated rectangle against the painted one, line breaking,
// ellipses and DT_MODIFYSTRING, prefixes, tabs, margins, clipping, vertical placement.
#include <cwchar>
#include <string>
#include <vector>

#include "tests/gditext/text_test_support.h"

using namespace zyn::test;

namespace {
class DrawText : public GdiTest {};
constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kBk = RGB(0, 0, 255);

RECT Calc(HDC dc, const std::wstring& s, RECT r, UINT flags)
{
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, flags | DT_CALCRECT);
    return r;
}
int Lines(HDC dc, const std::wstring& s, int width, UINT flags)
{
    RECT r{0, 0, width, 0};
    const int h = DrawTextW(dc, s.c_str(), -1, &r, flags | DT_CALCRECT);
    EXPECT_EQ(h, r.bottom - r.top);
    return h / Metrics(dc).tmHeight;
}
} // namespace

TEST_F(DrawText, CalcRectIsExactlyThePaintedArea)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(400, 200, f);
    SetBkMode(c, OPAQUE);
    SetBkColor(c, kBk);
    struct Case {
        const wchar_t* text;
        RECT rect;
        UINT flags;
    } cases[] = {
        {L"Single line of text", {10, 10, 300, 50}, DT_SINGLELINE},
        {L"Single line, centred", {10, 10, 300, 50}, DT_SINGLELINE | DT_CENTER | DT_VCENTER},
        {L"Right aligned", {10, 10, 300, 50}, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM},
        {L"Several words that wrap onto a few lines in a narrow box", {20, 20, 140, 20}, DT_WORDBREAK},
        {L"Several words that wrap onto a few lines, centred", {20, 20, 140, 20}, DT_WORDBREAK | DT_CENTER},
        {L"First line\nSecond, longer line\nThird", {5, 5, 5, 5}, 0},
        {L"Ellipsis at the end of a long single line", {10, 10, 150, 30}, DT_SINGLELINE | DT_END_ELLIPSIS},
        {L"&File and &&more", {10, 10, 300, 30}, DT_SINGLELINE},
        {L"a\tb\tc", {10, 10, 300, 30}, DT_SINGLELINE | DT_EXPANDTABS},
    };
    for (const Case& k : cases) {
        c.Clear();
        const RECT calc = Calc(c, k.text, k.rect, k.flags);
        EXPECT_GT(calc.right, calc.left) << k.text;
        RECT draw = calc;
        DrawTextW(c, k.text, -1, &draw, k.flags);
        EXPECT_TRUE(SameRect(c.Painted(), calc)) << k.text;
    }
}

TEST_F(DrawText, SingleLineMeasuresLikeTheExtent)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(10, 10, f);
    const RECT r = Calc(c, L"Measured caption", RECT{3, 4, 3, 4}, DT_SINGLELINE);
    const SIZE s = Extent(c, L"Measured caption");
    EXPECT_TRUE(SameRect(r, RECT{3, 4, 3 + s.cx, 4 + s.cy}));
}

TEST_F(DrawText, ReturnValueIsTheTextHeight)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(10, 10, f);
    const int h = Metrics(c).tmHeight;
    RECT r{0, 0, 200, 100};
    EXPECT_EQ(DrawTextW(c, L"one\ntwo\nthree", -1, &r, DT_NOCLIP), 3 * h);
    r = RECT{0, 10, 200, 100};
    EXPECT_EQ(DrawTextW(c, L"centred", -1, &r, DT_SINGLELINE | DT_VCENTER), (90 - h) / 2 + h);
    EXPECT_EQ(DrawTextW(c, L"bottom", -1, &r, DT_SINGLELINE | DT_BOTTOM), 90);
    // Without DT_SINGLELINE the vertical flags do nothing.
    EXPECT_EQ(DrawTextW(c, L"top", -1, &r, DT_VCENTER), h);
}

TEST_F(DrawText, LineBreaksAndWordWrapping)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(10, 10, f);
    const LONG two = Extent(c, L"word word").cx;
    EXPECT_EQ(Lines(c, L"word word word word", two, DT_WORDBREAK), 2);
    EXPECT_EQ(Lines(c, L"word word word word", two - 1, DT_WORDBREAK), 4);
    EXPECT_EQ(Lines(c, L"word word word word", two, 0), 1);
    // Spaces at a break are dropped, so they do not widen the line.
    RECT r = Calc(c, L"word word     word word", RECT{0, 0, two, 0}, DT_WORDBREAK);
    EXPECT_EQ(r.right, two);
    EXPECT_EQ(r.bottom, 2 * Metrics(c).tmHeight);
    // Hard breaks: CR, LF and CR LF; a final break adds no line.
    EXPECT_EQ(Lines(c, L"one\ntwo\r\nthree\rfour", 1000, 0), 4);
    EXPECT_EQ(Lines(c, L"one\n", 1000, 0), 1);
    EXPECT_EQ(Lines(c, L"one\n\nthree", 1000, 0), 3);
    EXPECT_EQ(Lines(c, L"one\ntwo", 1000, DT_SINGLELINE), 1);
    // A word wider than the line stays whole and widens the rectangle...
    const std::wstring longWord = L"a incomprehensibilities b";
    r = Calc(c, longWord, RECT{0, 0, Extent(c, L"a b").cx, 0}, DT_WORDBREAK);
    EXPECT_EQ(r.right, Extent(c, L"incomprehensibilities").cx);
    EXPECT_EQ(r.bottom, 3 * Metrics(c).tmHeight);
    // ...unless the text behaves like an edit control, which breaks it.
    const LONG narrow = Extent(c, L"incompre").cx;
    r = Calc(c, longWord, RECT{0, 0, narrow, 0}, DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_LE(r.right, narrow);
    EXPECT_GE(r.bottom, 4 * Metrics(c).tmHeight);
    // No room at all: a word a line.
    EXPECT_EQ(Lines(c, L"aa bb cc", 0, DT_WORDBREAK), 3);
}

TEST_F(DrawText, EndAndWordEllipsisModifyTheString)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(400, 40, f);
    const std::wstring original = L"The quick brown fox jumps over the lazy dog";
    const LONG avail = Extent(c, L"The quick brown").cx;
    for (UINT kind : {DT_END_ELLIPSIS, DT_WORD_ELLIPSIS}) {
        std::vector<wchar_t> buf(original.begin(), original.end());
        buf.push_back(L'\0');
        buf.push_back(L'#'); // must survive
        RECT r{0, 0, avail, 20};
        DrawTextExW(c, buf.data(), -1, &r, DT_SINGLELINE | kind | DT_MODIFYSTRING, nullptr);
        const std::wstring shown = buf.data();
        ASSERT_GE(shown.size(), 3u);
        EXPECT_EQ(shown.substr(shown.size() - 3), L"...");
        EXPECT_EQ(original.compare(0, shown.size() - 3, shown, 0, shown.size() - 3), 0) << shown;
        EXPECT_LE(Extent(c, shown).cx, avail);
        EXPECT_GT(Extent(c, shown + L"x").cx + Extent(c, L"...").cx, avail - Extent(c, L"W").cx);
        EXPECT_EQ(buf.back(), L'#');
        // The calculated rectangle is the shortened text's.
        RECT calc{0, 0, avail, 20};
        DrawTextW(c, original.c_str(), -1, &calc, DT_SINGLELINE | kind | DT_CALCRECT);
        EXPECT_EQ(calc.right, Extent(c, shown).cx);
    }
    // Text that fits is left alone; without DT_MODIFYSTRING the buffer is never touched.
    std::wstring fits = L"Fits";
    RECT r{0, 0, 300, 20};
    DrawTextExW(c, fits.data(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_EQ(fits, L"Fits");
    std::wstring kept = original;
    r = RECT{0, 0, 30, 20};
    DrawTextExW(c, kept.data(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS, nullptr);
    EXPECT_EQ(kept, original);
}

TEST_F(DrawText, ModifyStringNeverWritesPastTheBuffer)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(100, 40, f);
    // "ab" in one pixel becomes "...", longer than the two characters given.
    wchar_t buf[4] = {L'a', L'b', L'#', L'#'};
    RECT r{0, 0, 1, 20};
    SetLastError(0);
    DrawTextExW(c, buf, 2, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_EQ(buf[0], L'.');
    EXPECT_EQ(buf[1], L'.');
    EXPECT_EQ(buf[2], L'#');
    EXPECT_EQ(buf[3], L'#');
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    // With -1 the terminator's slot is the limit.
    wchar_t z[5] = {L'a', L'b', L'\0', L'#', L'#'};
    DrawTextExW(c, z, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_STREQ(z, L"..");
    EXPECT_EQ(z[3], L'#');
    // A shorter result is terminated inside the given count.
    wchar_t longer[] = L"abcdefghijklmnopqrstuvwxyz";
    r = RECT{0, 0, Extent(c, L"abcdefgh").cx, 20};
    DrawTextExW(c, longer, 26, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_EQ(std::wcslen(longer) + 3, std::wstring(longer).find(L"...") + 6);
}

TEST_F(DrawText, PathEllipsisKeepsTheLastComponent)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(400, 40, f);
    const std::wstring path = L"C:\\Program Files\\Zyn\\Common\\settings.ini";
    const LONG avail = Extent(c, L"C:\\Prog...\\settings.ini").cx;
    std::wstring buf = path;
    buf.push_back(L'\0');
    RECT r{0, 0, avail, 20};
    DrawTextExW(c, buf.data(), -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    const std::wstring shown = buf.c_str();
    EXPECT_EQ(shown.substr(0, 6), L"C:\\Pro");
    EXPECT_NE(shown.find(L"...\\settings.ini"), std::wstring::npos) << shown;
    EXPECT_LE(Extent(c, shown).cx, avail);
    // Too narrow even for the file name: the dots and the name, end-ellipsised on request.
    buf = path + L'\0';
    r = RECT{0, 0, Extent(c, L"...\\sett").cx, 20};
    DrawTextExW(c, buf.data(), -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_EQ(std::wstring(buf.c_str()).substr(0, 3), L"...");
    EXPECT_LE(Extent(c, buf.c_str()).cx, r.right);
    // Without a separator the middle goes.
    buf = L"abcdefghijklmnopqrstuvwxyz";
    buf.push_back(L'\0');
    r = RECT{0, 0, Extent(c, L"abcd...wxyz").cx, 20};
    DrawTextExW(c, buf.data(), -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    const std::wstring mid = buf.c_str();
    EXPECT_EQ(mid.front(), L'a');
    EXPECT_EQ(mid.back(), L'z');
    EXPECT_NE(mid.find(L"..."), std::wstring::npos);
}

TEST_F(DrawText, PrefixCharacters)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(200, 40, f);
    auto width = [&](const wchar_t* s, UINT flags = 0) {
        RECT r = Calc(c, s, RECT{0, 0, 0, 0}, DT_SINGLELINE | flags);
        return r.right;
    };
    EXPECT_EQ(width(L"&File"), Extent(c, L"File").cx);
    EXPECT_EQ(width(L"A&&B"), Extent(c, L"A&B").cx);
    EXPECT_EQ(width(L"Save&"), Extent(c, L"Save").cx);
    EXPECT_EQ(width(L"&&"), Extent(c, L"&").cx);
    EXPECT_EQ(width(L"A&&B", DT_NOPREFIX), Extent(c, L"A&&B").cx);
    EXPECT_EQ(width(L"Save&", DT_NOPREFIX), Extent(c, L"Save&").cx);

    // "&F" underlines the F: more ink than "F" alone, below the baseline, under the F.
    SetBkMode(c, TRANSPARENT);
    auto draw = [&](const wchar_t* s, UINT flags) {
        c.Clear();
        RECT r{10, 5, 190, 35};
        DrawTextW(c, s, -1, &r, DT_SINGLELINE | flags);
        return c.Count([](COLORREF p) { return p != kBack; });
    };
    const int plain = draw(L"File", 0);
    const RECT plainInk = c.Painted();
    const int mnemonic = draw(L"&File", 0);
    EXPECT_GT(mnemonic, plain);
    EXPECT_GT(c.Painted().bottom, plainInk.bottom);
    EXPECT_EQ(draw(L"&File", DT_HIDEPREFIX), plain);
    // DT_PREFIXONLY: just the underline, under the F.
    draw(L"&File", DT_PREFIXONLY);
    const RECT underline = c.Painted();
    EXPECT_GT(underline.right, underline.left);
    EXPECT_EQ(underline.left, 10);
    EXPECT_EQ(underline.right, 10 + Extent(c, L"F").cx);
    EXPECT_LE(underline.bottom - underline.top, 2);
    EXPECT_GE(underline.top, 5 + Metrics(c).tmAscent);
}

TEST_F(DrawText, TabsMarginsAndParameters)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(10, 10, f);
    const int ave = Metrics(c).tmAveCharWidth;
    const LONG wb = Extent(c, L"b").cx;
    EXPECT_EQ(Calc(c, L"a\tb", RECT{}, DT_SINGLELINE | DT_EXPANDTABS).right, 8 * ave + wb);
    // Without DT_EXPANDTABS a tab is a character like any other (and takes no room).
    EXPECT_EQ(Calc(c, L"a\tb", RECT{}, DT_SINGLELINE).right, Extent(c, L"a\tb").cx);

    DRAWTEXTPARAMS p{};
    p.cbSize = sizeof p;
    p.iTabLength = 2;
    p.iLeftMargin = 5;
    p.iRightMargin = 7;
    wchar_t text[] = L"a\tb";
    RECT r{10, 10, 10, 10};
    const int h = DrawTextExW(c, text, -1, &r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT, &p);
    EXPECT_EQ(h, Metrics(c).tmHeight);
    EXPECT_EQ(r.right, 10 + 5 + 2 * ave + wb + 7);
    EXPECT_EQ(p.uiLengthDrawn, 3u);
    p.cbSize = 4;
    EXPECT_EQ(DrawTextExW(c, text, -1, &r, DT_SINGLELINE, &p), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(DrawText, TabStopFlagCarriesTheTabLength)
{
    // Bits 8-15 hold the tab length, so they are not flags then (0x400 is not DT_CALCRECT).
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(300, 40, f);
    SetBkMode(c, OPAQUE);
    SetBkColor(c, kBk);
    const int ave = Metrics(c).tmAveCharWidth;
    RECT r{10, 5, 290, 35};
    const int h = DrawTextW(c, L"a\tb", -1, &r, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4u << 8));
    EXPECT_EQ(h, Metrics(c).tmHeight);
    EXPECT_TRUE(SameRect(r, RECT{10, 5, 290, 35})); // drawn, not measured
    EXPECT_TRUE(SameRect(c.Painted(), RECT{10, 5, 10 + 4 * ave + Extent(c, L"b").cx, 5 + h}));
}

TEST_F(DrawText, ClippingToTheRectangle)
{
    Obj<HFONT> f(MakeFont(-20));
    Canvas c(300, 60, f);
    SetBkMode(c, TRANSPARENT);
    RECT r{20, 10, 60, 20};
    DrawTextW(c, L"Much wider than its box", -1, &r, DT_SINGLELINE);
    EXPECT_TRUE(Inside(c.Painted(), r));
    c.Clear();
    DrawTextW(c, L"Much wider than its box", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(c.Painted().right, 60);
    EXPECT_GT(c.Painted().bottom, 20);
}

TEST_F(DrawText, EditControlHidesAPartialLastLine)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(300, 100, f);
    SetBkMode(c, OPAQUE);
    SetBkColor(c, kBk);
    const int h = Metrics(c).tmHeight;
    RECT r{0, 0, 300, h + h / 2};
    DrawTextW(c, L"one\ntwo\nthree", -1, &r, DT_EDITCONTROL);
    EXPECT_EQ(c.Painted().bottom, h);
    c.Clear();
    DrawTextW(c, L"one\ntwo\nthree", -1, &r, 0);
    EXPECT_EQ(c.Painted().bottom, r.bottom); // clipped, but the second line shows in part
}

TEST_F(DrawText, ExternalLeadingAndInternalFont)
{
    Obj<HFONT> big(MakeFont(-60));
    Canvas c(10, 10, big);
    const TEXTMETRICW tm = Metrics(c);
    EXPECT_EQ(Calc(c, L"a\nb", RECT{}, 0).bottom, 2 * tm.tmHeight);
    EXPECT_EQ(Calc(c, L"a\nb", RECT{}, DT_EXTERNALLEADING).bottom, 2 * (tm.tmHeight + tm.tmExternalLeading));
    // DT_INTERNAL measures with the system font, whatever is selected.
    EXPECT_EQ(Calc(c, L"a", RECT{}, DT_SINGLELINE | DT_INTERNAL).bottom, 16);
}

TEST_F(DrawText, RotatedFontDrawsUpwardsFromTheBottomLeft)
{
    Obj<HFONT> flat(MakeFont(-13));
    Obj<HFONT> up(MakeFont(-13, L"Tahoma", FW_NORMAL, 900));
    Canvas c(200, 200, up);
    SetBkMode(c, OPAQUE);
    SetBkColor(c, kBk);
    const SIZE s = Extent(c, L"Toolbar");
    // Measuring reports the unrotated extents.
    EXPECT_TRUE(SameRect(Calc(c, L"Toolbar", RECT{10, 10, 10, 10}, DT_SINGLELINE), RECT{10, 10, 10 + s.cx, 10 + s.cy}));
    // DT_BOTTOM puts the reference point at the bottom-left less a line; the text goes up.
    RECT r{20, 20, 180, 150};
    DrawTextW(c, L"Toolbar", -1, &r, DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP);
    const RECT painted = c.Bounds([](COLORREF p) { return p == kBk; });
    EXPECT_TRUE(SameRect(painted, RECT{20, 150 - s.cy - s.cx, 20 + s.cy, 150 - s.cy}));
    EXPECT_GT(painted.bottom - painted.top, painted.right - painted.left);
}

TEST_F(DrawText, EmptyAndBadArguments)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(10, 10, f);
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(c, &tm));
    // Measuring empty text: an empty rectangle, but the height of one line.
    struct Empty {
        const wchar_t* text;
        int count;
        UINT flags;
        int height;
    };
    const Empty empties[] = {
        {L"", -1, DT_CALCRECT, tm.tmHeight},
        {L"abc", 0, DT_CALCRECT | DT_SINGLELINE, tm.tmHeight},
        {L"", -1, DT_CALCRECT | DT_WORDBREAK | DT_EXTERNALLEADING, tm.tmHeight + tm.tmExternalLeading},
        {L"", -1, DT_CENTER, 0}, // drawing it paints nothing and answers 0
    };
    for (const Empty& e : empties) {
        RECT r{5, 5, 100, 100};
        EXPECT_EQ(DrawTextW(c, e.text, e.count, &r, e.flags), e.height) << std::hex << e.flags;
        if (e.flags & DT_CALCRECT) {
            EXPECT_TRUE(SameRect(r, RECT{5, 5, 5, 5})) << std::hex << e.flags;
        }
    }
    EXPECT_GT(tm.tmHeight, 10);
    RECT r{5, 5, 100, 100};
    EXPECT_EQ(DrawTextW(c, nullptr, 0, &r, 0), 0);
    EXPECT_EQ(DrawTextW(c, L"x", 1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(DrawTextW(c, nullptr, 5, &r, 0), 0);
    EXPECT_EQ(DrawTextW(nullptr, L"x", 1, &r, 0), 0);
}

TEST_F(DrawText, MarlettGlyphMeasuresItsCell)
{
    Obj<HFONT> m(CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"Marlett"));
    Canvas c(60, 60, m);
    EXPECT_TRUE(SameRect(Calc(c, L"6", RECT{4, 4, 4, 4}, DT_SINGLELINE), RECT{4, 4, 17, 17}));
    // Centred in a box the arrow lands in the middle, all of it inside the cell.
    SetBkMode(c, TRANSPARENT);
    RECT box{10, 10, 50, 50};
    DrawTextW(c, L"6", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = c.Painted();
    EXPECT_TRUE(Inside(ink, RECT{23, 23, 36, 36}));
    EXPECT_EQ(ink.left - 23, 36 - ink.right); // odd cell, odd arrow: centred exactly
}
