// TextOut, ExtTextOut, TabbedTextOut and GrayString: where text lands for each alignment,
// what the background modes paint, rotation, clipping, aliasing, decorations.
#include <vector>

#include "tests/gditext/text_test_support.h"
#include "tests/support/font_extent.h"

using namespace zyn::test;

namespace {
class TextOut : public GdiTest {};
constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kBk = RGB(0, 0, 255);     // the DC's background colour (opaque cells)
constexpr COLORREF kInk = RGB(0, 0, 0);
const std::wstring kText = L"Hello World";

RECT Cell(int x, int y, SIZE s) { return RECT{x, y, x + s.cx, y + s.cy}; }

// The current position, set and read on the DC itself.
void SetCp(HDC dc, int x, int y) { zyn::gdi::DcFromHandle(dc)->st.curPos = POINT{x, y}; }
POINT Cp(HDC dc) { return zyn::gdi::DcFromHandle(dc)->st.curPos; }
} // namespace

TEST_F(TextOut, OpaqueBackgroundFillsExactlyTheCell)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(200, 40, f);
    SetBkColor(c, kBk);
    SetBkMode(c, OPAQUE);
    const SIZE s = Extent(c, kText);
    ASSERT_TRUE(TextOutW(c, 10, 5, kText.c_str(), static_cast<int>(kText.size())));
    EXPECT_TRUE(SameRect(c.Painted(), Cell(10, 5, s)));
    EXPECT_TRUE(SameRect(c.Bounds([](COLORREF p) { return p == kBk; }), Cell(10, 5, s)));
}

TEST_F(TextOut, TransparentBackgroundPaintsOnlyInk)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(200, 40, f);
    SetBkColor(c, kBk);
    SetBkMode(c, TRANSPARENT);
    const SIZE s = Extent(c, kText);
    ASSERT_TRUE(TextOutW(c, 10, 5, kText.c_str(), static_cast<int>(kText.size())));
    EXPECT_EQ(c.Count([](COLORREF p) { return p == kBk; }), 0);
    const RECT ink = c.Painted();
    EXPECT_TRUE(Inside(ink, Cell(10, 5, s)));
    EXPECT_GT(ink.right - ink.left, s.cx * 3 / 4);
    EXPECT_GT(c.Count([](COLORREF p) { return p == kInk; }), 20);
}

TEST_F(TextOut, AlignmentPlacesTheCell)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(300, 80, f);
    SetBkColor(c, kBk);
    const SIZE s = Extent(c, kText);
    const TEXTMETRICW tm = Metrics(c);
    struct Case {
        UINT align;
        RECT cell;
    } cases[] = {
        {TA_LEFT | TA_TOP, RECT{150, 40, 150 + s.cx, 40 + s.cy}},
        {TA_RIGHT | TA_TOP, RECT{150 - s.cx, 40, 150, 40 + s.cy}},
        {TA_CENTER | TA_TOP, RECT{150 - s.cx / 2, 40, 150 - s.cx / 2 + s.cx, 40 + s.cy}},
        {TA_LEFT | TA_BOTTOM, RECT{150, 40 - s.cy, 150 + s.cx, 40}},
        {TA_LEFT | TA_BASELINE, RECT{150, 40 - tm.tmAscent, 150 + s.cx, 40 + tm.tmDescent}},
        {TA_RIGHT | TA_BASELINE, RECT{150 - s.cx, 40 - tm.tmAscent, 150, 40 + tm.tmDescent}},
    };
    for (const Case& k : cases) {
        c.Clear();
        SetTextAlign(c, k.align);
        ASSERT_TRUE(TextOutW(c, 150, 40, kText.c_str(), static_cast<int>(kText.size())));
        EXPECT_TRUE(SameRect(c.Painted(), k.cell)) << "align " << k.align;
    }
    SetTextAlign(c, TA_LEFT | TA_TOP);
}

TEST_F(TextOut, UpdateCpAdvancesThePosition)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(300, 40, f);
    SetBkColor(c, kBk);
    const SIZE hello = Extent(c, L"Hello"), all = Extent(c, kText);
    SetTextAlign(c, TA_UPDATECP);
    SetCp(c, 5, 5);
    ASSERT_TRUE(TextOutW(c, 100, 100, L"Hello", 5)); // x and y are ignored
    POINT cp = Cp(c);
    EXPECT_EQ(cp.x, 5 + hello.cx);
    EXPECT_EQ(cp.y, 5);
    ASSERT_TRUE(TextOutW(c, 0, 0, L" World", 6));
    cp = Cp(c);
    EXPECT_EQ(cp.x, 5 + all.cx);
    EXPECT_TRUE(SameRect(c.Painted(), Cell(5, 5, all)));
    // Right-aligned text ends at the position and moves it to the text's start.
    SetTextAlign(c, TA_UPDATECP | TA_RIGHT);
    SetCp(c, 250, 20);
    TextOutW(c, 0, 0, L"Hello", 5);
    cp = Cp(c);
    EXPECT_EQ(cp.x, 250 - hello.cx);
    SetTextAlign(c, TA_LEFT | TA_TOP);
}

TEST_F(TextOut, ExtTextOutOpaqueClippedAndSpaced)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(200, 40, f);
    SetBkColor(c, kBk);
    SetBkMode(c, TRANSPARENT);
    // ETO_OPAQUE fills its rectangle whatever the background mode, text or not.
    RECT r{20, 4, 90, 30};
    ASSERT_TRUE(ExtTextOutW(c, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
    EXPECT_TRUE(SameRect(c.Bounds([](COLORREF p) { return p == kBk; }), r));

    // ETO_CLIPPED keeps the ink inside.
    c.Clear();
    RECT clip{12, 5, 40, 15};
    ASSERT_TRUE(ExtTextOutW(c, 10, 3, ETO_CLIPPED, &clip, kText.c_str(), static_cast<UINT>(kText.size()), nullptr));
    const RECT ink = c.Painted();
    EXPECT_GT(ink.right, ink.left);
    EXPECT_TRUE(Inside(ink, clip));

    // lpDx spaces the characters: the cell is the sum of the distances.
    c.Clear();
    SetBkMode(c, OPAQUE);
    std::vector<INT> dx(kText.size(), 11);
    ASSERT_TRUE(ExtTextOutW(c, 3, 3, 0, nullptr, kText.c_str(), static_cast<UINT>(kText.size()), dx.data()));
    EXPECT_TRUE(SameRect(c.Painted(), RECT{3, 3, 3 + 11 * static_cast<LONG>(kText.size()), 3 + Metrics(c).tmHeight}));

    EXPECT_FALSE(ExtTextOutW(c, 0, 0, 0, nullptr, nullptr, 3, nullptr));
    EXPECT_FALSE(TextOutW(c, 0, 0, L"abc", -1));
    EXPECT_FALSE(TextOutW(nullptr, 0, 0, L"abc", 3));
}

TEST_F(TextOut, DcClipRegionLimitsText)
{
    Obj<HFONT> f(MakeFont(-20));
    Canvas c(200, 40, f);
    IntersectClipRect(c, 30, 0, 60, 40);
    SetBkMode(c, OPAQUE);
    SetBkColor(c, kBk);
    TextOutW(c, 5, 5, kText.c_str(), static_cast<int>(kText.size()));
    EXPECT_TRUE(SameRect(c.Painted(), RECT{30, 5, 60, 5 + Metrics(c).tmHeight}));
    SelectClipRgn(c, nullptr);
}

TEST_F(TextOut, EscapementTurnsTheText)
{
    Obj<HFONT> flat(MakeFont(-13));
    Obj<HFONT> up(MakeFont(-13, L"Tahoma", FW_NORMAL, 900));
    Obj<HFONT> down(MakeFont(-13, L"Tahoma", FW_NORMAL, 2700));
    Canvas c(300, 300, flat);
    SetBkColor(c, kBk);
    const SIZE s = Extent(c, kText);
    // 900: the text reads upwards from the reference point; its cell lies to the right.
    SelectObject(c, up);
    TextOutW(c, 150, 150, kText.c_str(), static_cast<int>(kText.size()));
    RECT painted = c.Painted();
    EXPECT_TRUE(SameRect(painted, RECT{150, 150 - s.cx, 150 + s.cy, 150}));
    EXPECT_GT(painted.bottom - painted.top, painted.right - painted.left); // tall, not wide
    // The same with a transparent background: the ink stays in that cell.
    c.Clear();
    SetBkMode(c, TRANSPARENT);
    TextOutW(c, 150, 150, kText.c_str(), static_cast<int>(kText.size()));
    EXPECT_TRUE(Inside(c.Painted(), RECT{150, 150 - s.cx, 150 + s.cy, 150}));
    EXPECT_GT(c.Painted().bottom - c.Painted().top, s.cx * 3 / 4);
    // 2700: downwards, the cell to the left.
    c.Clear();
    SetBkMode(c, OPAQUE);
    SelectObject(c, down);
    TextOutW(c, 150, 150, kText.c_str(), static_cast<int>(kText.size()));
    EXPECT_TRUE(SameRect(c.Painted(), RECT{150 - s.cy, 150, 150, 150 + s.cx}));
    SelectObject(c, flat);
}

TEST_F(TextOut, AliasedTextUsesOnlyTwoColours)
{
    auto isMix = [](COLORREF p) { return p != kInk && p != kBack; };
    // Tahoma's grid-fitting table asks for grey from 17 pixels up, and for none below.
    Obj<HFONT> smooth(MakeFont(-20));
    Obj<HFONT> sharp(MakeFont(-20, L"Tahoma", FW_NORMAL, 0, NONANTIALIASED_QUALITY));
    for (const int em : {11, 13, 16}) {
        if (!MetricFacesInstalled())
            break;
        Obj<HFONT> dialogSize(MakeFont(-em));
        Canvas c(200, 40, dialogSize);
        SetBkMode(c, TRANSPARENT);
        TextOutW(c, 5, 5, kText.c_str(), static_cast<int>(kText.size()));
        EXPECT_EQ(c.Count(isMix), 0) << em << " pixels: drawn for one bit, as its table asks";
        EXPECT_GT(c.Count([](COLORREF p) { return p == kInk; }), 20) << em;
    }
    {
        Canvas c(200, 40, smooth);
        SetBkMode(c, TRANSPARENT);
        TextOutW(c, 5, 5, kText.c_str(), static_cast<int>(kText.size()));
        EXPECT_GT(c.Count(isMix), 0); // grey edges
    }
    RECT colourInk{};
    {
        Canvas c(200, 40, sharp);
        SetBkMode(c, TRANSPARENT);
        TextOutW(c, 5, 5, kText.c_str(), static_cast<int>(kText.size()));
        EXPECT_EQ(c.Count(isMix), 0);
        colourInk = c.Painted();
    }
    {
        // A 1-bit surface takes even a smooth font aliased, and extents do not change.
        Canvas c(200, 40, smooth, kBack, true);
        SetBkMode(c, TRANSPARENT);
        const SIZE s = Extent(c, kText);
        TextOutW(c, 5, 5, kText.c_str(), static_cast<int>(kText.size()));
        EXPECT_GT(c.Count([](COLORREF p) { return p == kInk; }), 20);
        EXPECT_TRUE(Inside(c.Painted(), Cell(5, 5, s)));
        EXPECT_NEAR(c.Painted().left, colourInk.left, 1);
        EXPECT_NEAR(c.Painted().right, colourInk.right, 1);
    }
}

TEST_F(TextOut, UnderlineAndStrikeOutSpanTheCell)
{
    Obj<HFONT> under(MakeFont(-16, L"Arial", FW_NORMAL, 0, DEFAULT_QUALITY, false, true));
    Obj<HFONT> strike(MakeFont(-16, L"Arial", FW_NORMAL, 0, DEFAULT_QUALITY, false, false, true));
    for (HFONT f : {under.get(), strike.get()}) {
        Canvas c(200, 40, f);
        SetBkMode(c, TRANSPARENT);
        const SIZE s = Extent(c, L"a b");
        TextOutW(c, 10, 5, L"a b", 3);
        // Some row is ink all along the cell, across the gap between the letters too.
        int fullRows = 0;
        for (int y = 5; y < 5 + s.cy; ++y) {
            bool full = true;
            for (int x = 10; x < 10 + s.cx; ++x)
                full = full && c.At(x, y) == kInk;
            fullRows += full ? 1 : 0;
        }
        EXPECT_GE(fullRows, 1);
        EXPECT_TRUE(Inside(c.Painted(), Cell(10, 5, s)));
    }
}

TEST_F(TextOut, RepeatedTextGivesTheSamePixels)
{
    Obj<HFONT> f(MakeFont(-12, L"Segoe UI", FW_BOLD));
    Canvas a(200, 30, f), b(200, 30, f);
    SetBkMode(a, TRANSPARENT);
    SetBkMode(b, TRANSPARENT);
    TextOutW(a, 3, 3, kText.c_str(), static_cast<int>(kText.size()));
    TextOutW(b, 3, 3, kText.c_str(), static_cast<int>(kText.size()));
    TextOutW(b, 3, 3, kText.c_str(), 0);
    int diff = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            diff += a.At(x, y) != b.At(x, y) ? 1 : 0;
    EXPECT_EQ(diff, 0);
}

TEST_F(TextOut, TabbedTextExtentsAndOutput)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(400, 40, f);
    const int ave = Metrics(c).tmAveCharWidth;
    const LONG wa = Extent(c, L"a").cx, wb = Extent(c, L"b").cx;
    // Default stops every eight average widths.
    DWORD e = GetTabbedTextExtentW(c, L"a\tb", 3, 0, nullptr);
    EXPECT_EQ(LOWORD(e), 8 * ave + wb);
    EXPECT_EQ(HIWORD(e), Metrics(c).tmHeight);
    // One value: the interval.
    const INT every = 30;
    e = GetTabbedTextExtentW(c, L"a\tb\tb", 5, 1, &every);
    EXPECT_EQ(LOWORD(e), 60 + wb);
    // Several: the stops themselves; past the last one a tab counts as a space.
    const INT stops[] = {25, 70};
    e = GetTabbedTextExtentW(c, L"a\tb\tb\tb", 7, 2, stops);
    EXPECT_EQ(LOWORD(e), 70 + wb + Extent(c, L" ").cx + wb);
    EXPECT_LT(wa, 25);

    SetBkMode(c, OPAQUE);
    SetBkColor(c, kBk);
    const LONG r = TabbedTextOutW(c, 10, 5, L"a\tb", 3, 1, &every, 10);
    EXPECT_EQ(LOWORD(r), 30 + wb);
    EXPECT_TRUE(SameRect(c.Painted(), RECT{10, 5, 10 + 30 + wb, 5 + Metrics(c).tmHeight}));
    // The origin shifts the stops.
    c.Clear();
    TabbedTextOutW(c, 10, 5, L"a\tb", 3, 1, &every, 0);
    EXPECT_TRUE(SameRect(c.Painted(), RECT{10, 5, 30 + wb, 5 + Metrics(c).tmHeight}));
}

namespace {
BOOL DrawCallback(HDC dc, LPARAM data, int)
{
    TextOutW(dc, 0, 0, reinterpret_cast<LPCWSTR>(data), 4);
    return TRUE;
}
BOOL RefuseCallback(HDC, LPARAM, int) { return FALSE; }
} // namespace

TEST_F(TextOut, GrayStringDrawsHalfTheInkInTheBrushColour)
{
    Obj<HFONT> f(MakeFont(-16, L"Arial", FW_BOLD));
    Canvas c(200, 40, f);
    Obj<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    ASSERT_TRUE(GrayStringW(c, red, nullptr, reinterpret_cast<LPARAM>(L"Grey text"), 0, 5, 5, 0, 0));
    const int painted = c.Count([](COLORREF p) { return p != kBack; });
    EXPECT_GT(painted, 10);
    EXPECT_EQ(c.Count([](COLORREF p) { return p == RGB(255, 0, 0); }), painted);
    // A checkerboard: no two painted pixels side by side.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x + 1 < 200; ++x)
            EXPECT_FALSE(c.At(x, y) != kBack && c.At(x + 1, y) != kBack);
    EXPECT_TRUE(Inside(c.Painted(), Cell(5, 5, Extent(c, L"Grey text"))));

    // Through a callback that draws into a 1-bit bitmap.
    c.Clear();
    ASSERT_TRUE(GrayStringW(c, red, DrawCallback, reinterpret_cast<LPARAM>(L"Grey"), 4, 5, 5, 60, 20));
    EXPECT_GT(c.Count([](COLORREF p) { return p == RGB(255, 0, 0); }), 5);
    EXPECT_TRUE(Inside(c.Painted(), RECT{5, 5, 65, 25}));
    // A callback that fails: nothing drawn, FALSE.
    c.Clear();
    EXPECT_FALSE(GrayStringW(c, red, RefuseCallback, 0, 0, 5, 5, 60, 20));
    EXPECT_EQ(c.Count([](COLORREF p) { return p != kBack; }), 0);
    // A callback cannot be measured for: a size is required.
    EXPECT_FALSE(GrayStringW(c, red, DrawCallback, reinterpret_cast<LPARAM>(L"Grey"), 4, 5, 5, 0, 0));
    EXPECT_FALSE(GrayStringW(c, red, nullptr, 0, 0, 5, 5, 0, 0));
}

TEST_F(TextOut, ExtremeSpacingAndCoordinatesDoNotOverflow)
{
    Obj<HFONT> f(MakeFont(-13));
    Canvas c(100, 40, f);
    SetBkMode(c, OPAQUE);
    SetTextCharacterExtra(c, INT32_MAX);
    SIZE sz{};
    EXPECT_TRUE(GetTextExtentPoint32W(c, L"abc", 3, &sz));
    EXPECT_EQ(sz.cx, INT32_MAX); // saturated, not wrapped
    EXPECT_TRUE(TextOutW(c, 0, 0, L"abc", 3));
    EXPECT_TRUE(TextOutW(c, INT32_MAX, INT32_MIN, L"abc", 3));
    RECT r{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    DrawTextW(c, L"a b c\td", -1, &r, DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER);
    DrawTextW(c, L"a b c d", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    SetTextCharacterExtra(c, INT32_MIN);
    EXPECT_TRUE(TextOutW(c, 5, 5, L"abc", 3));
    DrawTextW(c, L"a b c d", -1, &r, DT_WORDBREAK | DT_PATH_ELLIPSIS);
    SetTextCharacterExtra(c, 0);
    const INT huge[] = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX};
    EXPECT_TRUE(ExtTextOutW(c, 10, 10, 0, nullptr, L"abc", 3, huge));
    EXPECT_TRUE(ExtTextOutW(c, 10, 10, ETO_PDY, nullptr, L"abc", 3, huge));
    DRAWTEXTPARAMS p{sizeof(DRAWTEXTPARAMS), INT32_MAX, INT32_MAX, INT32_MIN, 0};
    wchar_t text[] = L"x\ty";
    RECT small{0, 0, 50, 20};
    DrawTextExW(c, text, -1, &small, DT_EXPANDTABS | DT_CALCRECT, &p);
    const INT stops[] = {INT32_MAX, INT32_MIN};
    TabbedTextOutW(c, 0, 0, L"a\tb\tc", 5, 2, stops, INT32_MIN);
    GetTabbedTextExtentW(c, L"a\tb", 3, 1, stops);
}
