// The status bar: placement in the parent by the CCS_ rules and the status font's height,
// part geometry (borders, -1, the grip, simple mode), text types and their answers,
// owner drawing, frames, tab-aligned text measured by extent, the grip's pixels, hit test
// and drag, mouse notifications, icons, part tips and a progress bar living in a part.
//
// The bar's height is the status font's tmHeight + 8, measured here with the font made
// from NONCLIENTMETRICS independently of the bar. Parts lie between y = 2 and H - 2.
#include <algorithm>
#include <functional>
#include <string>

#include "platform/comctl/listview.h"
#include "platform/comctl/progress.h"
#include "platform/comctl/statusbar.h"
#include "platform/comctl/toolbar.h"
#include "platform/comctl/tooltip.h"
#include "platform/comctl/trackbar.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/input.h"
#include "platform/user/modal.h"
#include "tests/comctl/smallctl_support.h"

namespace zyn::test {
namespace {

class StatusBar : public SmallCtlTest {
protected:
    HWND parent = nullptr;
    int H = 0;
    void SetUp() override
    {
        SmallCtlTest::SetUp();
        parent = MakeParent(100, 100, 400, 300);
        H = StatusFontHeight() + 8;
    }
    void TearDown() override
    {
        if (IsWindow(parent))
            DestroyWindow(parent);
        SmallCtlTest::TearDown();
    }
    HWND Make(DWORD style = 0, const wchar_t* text = nullptr)
    {
        HWND bar = CreateStatusWindowW(static_cast<LONG>(WS_CHILD | WS_VISIBLE | style), text, parent, 7);
        sizeTarget = bar;
        return bar;
    }
    static LRESULT Send(HWND h, UINT m, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(h, m, wp, lp); }
    static void Parts(HWND bar, std::vector<int> edges)
    {
        ASSERT_TRUE(Send(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data())));
    }
    static RECT PartRect(HWND bar, WPARAM part)
    {
        RECT r{-1, -1, -1, -1};
        Send(bar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static std::wstring Text(HWND bar, WPARAM part, LRESULT* answer = nullptr)
    {
        const auto len = LOWORD(static_cast<DWORD>(Send(bar, SB_GETTEXTLENGTHW, part)));
        std::wstring buf(static_cast<size_t>(len) + 1, L'#');
        const LRESULT r = Send(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(buf.data()));
        if (answer)
            *answer = r;
        return std::wstring(buf.c_str());
    }
    static LRESULT Packed(int len, UINT type) { return static_cast<LRESULT>(MAKELONG(len, type)); }
    // Columns in [x0, x1) with a pixel other than `bk` in rows [y0, y1).
    static std::vector<int> InkColumns(HWND h, int x0, int x1, int y0, int y1, COLORREF bk)
    {
        std::vector<int> cols;
        for (int x = x0; x < x1; ++x) {
            for (int y = y0; y < y1; ++y) {
                if (At(h, x, y) != bk) {
                    cols.push_back(x);
                    break;
                }
            }
        }
        return cols;
    }
};

::testing::AssertionResult SameRect(const RECT& a, const RECT& b)
{
    if (EqualRect(&a, &b))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << a.left << "," << a.top << "," << a.right << "," << a.bottom
                                         << "} != {" << b.left << "," << b.top << "," << b.right << "," << b.bottom
                                         << "}";
}

TEST_F(StatusBar, PlacesItselfInTheParentByItsStylesAndFontHeight)
{
    struct Row {
        const char* name;
        DWORD style;
        bool madeAt; // created at (10, 50) 150 x 30 instead of the default place
        RECT before, after; // in the parent's client area, 400 x 300 then 500 x 350
    };
    const int h = H;
    const Row rows[] = {
        {"default: bottom", 0, false, {0, 300 - h, 400, 300}, {0, 350 - h, 500, 350}},
        {"CCS_BOTTOM", CCS_BOTTOM, true, {0, 300 - h, 400, 300}, {0, 350 - h, 500, 350}},
        {"CCS_TOP", CCS_TOP, true, {0, 0, 400, h}, {0, 0, 500, h}},
        {"CCS_NOMOVEY keeps y", CCS_NOMOVEY, true, {0, 50, 400, 50 + h}, {0, 50, 500, 50 + h}},
        {"CCS_NOPARENTALIGN keeps place and width", CCS_NOPARENTALIGN, true, {10, 50, 160, 50 + h},
            {10, 50, 160, 50 + h}},
        {"CCS_NORESIZE keeps everything", CCS_NORESIZE, true, {10, 50, 160, 80}, {10, 50, 160, 80}},
        {"CCS_NODIVIDER changes nothing", CCS_NODIVIDER, false, {0, 300 - h, 400, 300}, {0, 350 - h, 500, 350}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HWND bar = r.madeAt ? MakeControl(STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE | r.style, 10, 50, 150, 30, parent)
                            : Make(r.style);
        sizeTarget = bar;
        EXPECT_TRUE(SameRect(ClientRectIn(bar), r.before));
        MoveWindow(parent, 100, 100, 500, 350, TRUE);
        EXPECT_TRUE(SameRect(ClientRectIn(bar), r.after));
        DestroyWindow(bar);
        MoveWindow(parent, 100, 100, 400, 300, TRUE);
    }

    // A minimum height counts the drawing area: the bar is that plus both vertical borders.
    HWND bar = Make(0, L"Ready");
    Send(bar, SB_SETMINHEIGHT, 40);
    Send(bar, WM_SIZE);
    EXPECT_TRUE(SameRect(ClientRectIn(bar), RECT{0, 256, 400, 300}));
    Send(bar, SB_SETMINHEIGHT, 5);
    Send(bar, WM_SIZE);
    EXPECT_TRUE(SameRect(ClientRectIn(bar), RECT{0, 300 - H, 400, 300})) << "the font's height wins";
    // Another font gives another height, measured here in that font.
    HFONT big = CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, big);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    Send(bar, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(Send(bar, WM_GETFONT)), big);
    Send(bar, WM_SIZE);
    EXPECT_TRUE(SameRect(ClientRectIn(bar), RECT{0, 300 - tm.tmHeight - 8, 400, 300}));
    wchar_t text[16] = {};
    EXPECT_EQ(Send(bar, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, L"Ready") << "the window text is part 0's";
    DestroyWindow(bar);
    DeleteObject(big);
}

TEST_F(StatusBar, PartsRunBetweenTheirEdgesWithBordersAndSpacing)
{
    HWND bar = Make();
    int borders[3] = {-1, -1, -1};
    EXPECT_TRUE(Send(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders)));
    EXPECT_EQ(std::vector<int>(borders, borders + 3), (std::vector<int>{0, 2, 2}));
    EXPECT_TRUE(SameRect(PartRect(bar, 0), RECT{0, 2, 400, H - 2})) << "one part reaching the edge at first";

    Parts(bar, {100, 200, -1});
    EXPECT_TRUE(SameRect(PartRect(bar, 0), RECT{0, 2, 100, H - 2}));
    EXPECT_TRUE(SameRect(PartRect(bar, 1), RECT{102, 2, 200, H - 2}));
    EXPECT_TRUE(SameRect(PartRect(bar, 2), RECT{202, 2, 400, H - 2}));
    EXPECT_FALSE(Send(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(borders)));
    EXPECT_TRUE(SameRect(PartRect(bar, SB_SIMPLEID), RECT{0, 2, 400, H - 2}));
    int got[3] = {0, 0, 0};
    EXPECT_EQ(Send(bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(got)), 3);
    EXPECT_EQ(std::vector<int>(got, got + 3), (std::vector<int>{100, 200, -1})) << "as set, -1 included";
    int one[2] = {0, 12345};
    EXPECT_EQ(Send(bar, SB_GETPARTS, 1, reinterpret_cast<LPARAM>(one)), 3);
    EXPECT_EQ(one[1], 12345) << "no more than asked for is written";

    // Texts stay with the parts that stay.
    Send(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"A"));
    Send(bar, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(L"C"));
    Parts(bar, {100, 500});
    EXPECT_EQ(Text(bar, 0), L"A");
    EXPECT_EQ(Send(bar, SB_GETTEXTLENGTHW, 2), 0);
    EXPECT_TRUE(SameRect(PartRect(bar, 1), RECT{102, 2, 400, H - 2})) << "cut at the client's edge";
    Parts(bar, {200, 100});
    EXPECT_TRUE(SameRect(PartRect(bar, 1), RECT{202, 2, 202, H - 2})) << "an edge before its start: empty";
    // Refused: no parts, more than 256, no array.
    std::vector<int> many(257, -1);
    EXPECT_FALSE(Send(bar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(many.data())));
    EXPECT_FALSE(Send(bar, SB_SETPARTS, 257, reinterpret_cast<LPARAM>(many.data())));
    EXPECT_FALSE(Send(bar, SB_SETPARTS, 2, 0));
    EXPECT_EQ(Send(bar, SB_GETPARTS, 0, 0), 2);
    EXPECT_TRUE(Send(bar, SB_SETPARTS, 256, reinterpret_cast<LPARAM>(many.data())));
}

TEST_F(StatusBar, TextTypesAreKeptAndAnsweredInTheLengthWord)
{
    HWND bar = Make(0, L"Ready");
    Parts(bar, {100, 200, -1});
    EXPECT_EQ(Text(bar, 0), L"Ready") << "the creation text is part 0's";
    EXPECT_TRUE(Send(bar, SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L"abc")));
    EXPECT_EQ(Send(bar, SB_GETTEXTLENGTHW, 1), Packed(3, SBT_POPOUT));
    LRESULT answer = 0;
    EXPECT_EQ(Text(bar, 1, &answer), L"abc");
    EXPECT_EQ(answer, Packed(3, SBT_POPOUT));
    // Owner-drawn: the value comes back instead of a length.
    EXPECT_TRUE(Send(bar, SB_SETTEXTW, 2 | SBT_OWNERDRAW, 0x12345678));
    EXPECT_EQ(Text(bar, 2, &answer), L"") << "the buffer still holds a string";
    EXPECT_EQ(answer, 0x12345678);
    EXPECT_EQ(Send(bar, SB_GETTEXTLENGTHW, 2), Packed(0, SBT_OWNERDRAW));
    EXPECT_FALSE(Send(bar, SB_SETTEXTW, 3, reinterpret_cast<LPARAM>(L"x"))) << "no part 3";
    EXPECT_EQ(Send(bar, SB_GETTEXTLENGTHW, 3), 0);
    // The simple part's text is its own.
    EXPECT_TRUE(Send(bar, SB_SETTEXTW, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L"Menu help")));
    EXPECT_EQ(Send(bar, SB_GETTEXTLENGTHW, SB_SIMPLEID), Packed(9, SBT_NOBORDERS));
    EXPECT_EQ(Text(bar, 0), L"Ready");
    // The narrow forms.
    EXPECT_TRUE(Send(bar, SB_SETTEXTA, 0 | SBT_RTLREADING, reinterpret_cast<LPARAM>("narrow")));
    EXPECT_EQ(Text(bar, 0), L"narrow");
    char narrow[8] = {};
    EXPECT_EQ(Send(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(narrow)), Packed(6, SBT_RTLREADING));
    EXPECT_STREQ(narrow, "narrow");
    // WM_SETTEXT writes part 0.
    SetWindowTextW(bar, L"Zed");
    EXPECT_EQ(Text(bar, 0), L"Zed");
    // A length that fits the word is kept; one that does not is refused, losing nothing.
    const std::wstring longest(65535, L'x'), tooLong(65536, L'y');
    EXPECT_TRUE(Send(bar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(longest.c_str())));
    EXPECT_EQ(Send(bar, SB_GETTEXTLENGTHW, 1), Packed(65535, 0));
    EXPECT_FALSE(Send(bar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(tooLong.c_str())));
    EXPECT_EQ(Text(bar, 1), longest);
}

TEST_F(StatusBar, SimpleModeShowsOnePartAndTellsTheParentOnChange)
{
    HWND bar = Make();
    Parts(bar, {100, 200, -1});
    EXPECT_FALSE(Send(bar, SB_ISSIMPLE));
    Send(bar, SB_SIMPLE, TRUE);
    Send(bar, SB_SIMPLE, TRUE);
    EXPECT_TRUE(Send(bar, SB_ISSIMPLE));
    EXPECT_EQ(NotifyCodes(), std::vector<UINT>{SBN_SIMPLEMODECHANGE}) << "once per change";
    Send(bar, SB_SETTEXTW, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L"Help"));
    const COLORREF face = Sys(COLOR_3DFACE);
    EXPECT_EQ(At(bar, 0, 2), face) << "the simple part has no frame";
    EXPECT_EQ(At(bar, 102, 2), face) << "nor are the parts drawn";
    Send(bar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(L"Help"));
    EXPECT_EQ(At(bar, 0, 2), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(At(bar, 399, H - 3), Sys(COLOR_3DHIGHLIGHT));
    Send(bar, SB_SIMPLE, FALSE);
    EXPECT_EQ(NotifyCodes().size(), 2u);
    EXPECT_EQ(At(bar, 102, 2), Sys(COLOR_3DSHADOW)) << "the parts are back";
}

TEST_F(StatusBar, FramesFollowTheTypeAndTheBackgroundColourIsSettable)
{
    HWND bar = Make();
    Parts(bar, {100, 200, -1});
    Send(bar, SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L""));
    Send(bar, SB_SETTEXTW, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L""));
    const COLORREF face = Sys(COLOR_3DFACE), shadow = Sys(COLOR_3DSHADOW), light = Sys(COLOR_3DHIGHLIGHT);
    struct Probe {
        const char* what;
        int x, y;
        COLORREF want;
    };
    const Probe probes[] = {
        {"sunken: shadow top left", 0, 2, shadow},
        {"sunken: shadow left side", 0, 8, shadow},
        {"sunken: highlight bottom right", 99, H - 3, light},
        {"spacing between parts", 100, 8, face},
        {"spacing between parts", 101, 8, face},
        {"popout: highlight top left", 102, 2, light},
        {"popout: shadow bottom right", 199, H - 3, shadow},
        {"no borders", 202, 2, face},
        {"no borders", 399, H - 3, face},
        {"vertical border", 50, 1, face},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(At(bar, p.x, p.y), p.want) << p.what;
    EXPECT_EQ(static_cast<COLORREF>(Send(bar, SB_SETBKCOLOR, 0, RGB(0, 128, 0))), CLR_DEFAULT);
    EXPECT_EQ(At(bar, 101, 8), RGB(0, 128, 0));
    EXPECT_EQ(At(bar, 50, 1), RGB(0, 128, 0));
    EXPECT_EQ(At(bar, 0, 2), shadow);
    EXPECT_EQ(static_cast<COLORREF>(Send(bar, SB_SETBKCOLOR, 0, CLR_DEFAULT)), RGB(0, 128, 0));
    EXPECT_EQ(At(bar, 101, 8), face);
}

TEST_F(StatusBar, OwnerDrawnPartsGoToTheParentWithTheirValue)
{
    HWND bar = Make();
    Parts(bar, {100, 200, -1});
    Send(bar, SB_SETTEXTW, 1 | SBT_OWNERDRAW, 0xABCD);
    Clear();
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
    ASSERT_EQ(drawItems.size(), 1u);
    const DRAWITEMSTRUCT& d = drawItems[0];
    EXPECT_EQ(d.CtlType, 0u);
    EXPECT_EQ(d.CtlID, 7u);
    EXPECT_EQ(d.itemID, 1u);
    EXPECT_EQ(d.hwndItem, bar);
    EXPECT_NE(d.hDC, nullptr);
    EXPECT_EQ(d.itemData, 0xABCDu);
    EXPECT_TRUE(SameRect(d.rcItem, RECT{103, 3, 199, H - 3})) << "the part inside its frame";

    Send(bar, SB_SIMPLE, TRUE);
    Send(bar, SB_SETTEXTW, SB_SIMPLEID | SBT_OWNERDRAW, 5);
    Clear();
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
    ASSERT_EQ(drawItems.size(), 1u);
    EXPECT_EQ(drawItems[0].itemID, SB_SIMPLEID);
    EXPECT_EQ(drawItems[0].itemData, 5u);
    EXPECT_TRUE(SameRect(drawItems[0].rcItem, RECT{1, 3, 399, H - 3}));
}

// A new text paints its own part again and no other (a busy pane must not repaint the bar).
TEST_F(StatusBar, ANewTextRepaintsOnlyItsPart)
{
    HWND bar = Make();
    Parts(bar, {100, 200, -1});
    for (WPARAM part = 0; part < 3; ++part)
        Send(bar, SB_SETTEXTW, part | SBT_OWNERDRAW, 0x10 + part);
    UpdateWindow(bar);
    for (WPARAM part = 0; part < 3; ++part) {
        Clear();
        Send(bar, SB_SETTEXTW, part | SBT_OWNERDRAW, 0x20 + part);
        ASSERT_EQ(drawItems.size(), 1u) << "part " << part;
        EXPECT_EQ(drawItems[0].itemID, part) << "part " << part;
        EXPECT_EQ(drawItems[0].itemData, 0x20 + part) << "part " << part;
    }
}

// A new text paints at once. A parent that still waits for a paint over the bar (an erase
// on a parent that does not clip its children) is painted first, or it would cover the new
// text afterwards; a parent's pending paint elsewhere is left to the loop.
TEST_F(StatusBar, ANewTextPaintsAfterAPendingParentPaintOverTheBar)
{
    HWND bar = Make();
    Parts(bar, {100, 200, -1});
    Send(bar, SB_SETTEXTW, 0 | SBT_OWNERDRAW, 0x10);
    RECT barInParent{};
    GetWindowRect(bar, &barInParent);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&barInParent), 2);
    const struct {
        const char* name;
        bool pending;        // the parent has an update region
        RECT where;          // in the parent's client area
        bool parentPainted;  // the parent's update region is gone after the new text
    } rows[] = {
        {"no pending parent paint", false, {}, true},
        {"pending paint away from the bar", true, {0, 0, 10, 10}, false},
        {"pending paint over the bar", true, barInParent, true},
        {"pending paint over a corner of the bar", true,
            {barInParent.left, barInParent.top, barInParent.left + 1, barInParent.top + 1}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (row.pending)
            InvalidateRect(parent, &row.where, TRUE);
        Clear();
        Send(bar, SB_SETTEXTW, 0 | SBT_OWNERDRAW, 0x20);
        ASSERT_EQ(drawItems.size(), 1u);
        EXPECT_EQ(drawItems[0].itemData, 0x20u);
        EXPECT_FALSE(GetUpdateRect(bar, nullptr, FALSE));
        EXPECT_EQ(GetUpdateRect(parent, nullptr, FALSE) == FALSE, row.parentPainted);
    }
}

TEST_F(StatusBar, TabsAlignTextLeftCentreAndRightAndEachPartClipsItsText)
{
    HWND bar = Make();
    Parts(bar, {300, -1});
    Send(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Left\tMid\tRight"));
    const COLORREF face = Sys(COLOR_3DFACE);
    // The text area of part 0: x 3 .. 297 (frame and padding), rows 3 .. H - 3.
    const int wl = StatusFontExtent(L"Left").cx, wm = StatusFontExtent(L"Mid").cx, wr = StatusFontExtent(L"Right").cx;
    struct Span {
        const char* what;
        int from, to;
    };
    const Span spans[] = {
        {"left", 3, 3 + wl},
        {"centre", (3 + 297 - wm) / 2, (3 + 297 - wm) / 2 + wm},
        {"right", 297 - wr, 297},
    };
    const std::vector<int> ink = InkColumns(bar, 1, 299, 3, H - 3, face);
    ASSERT_FALSE(ink.empty());
    for (const Span& s : spans) {
        const bool any = std::any_of(ink.begin(), ink.end(), [&](int x) { return x >= s.from && x < s.to; });
        EXPECT_TRUE(any) << s.what << " text missing in [" << s.from << ", " << s.to << ")";
    }
    for (int x : ink) {
        const bool inSome =
            std::any_of(std::begin(spans), std::end(spans), [&](const Span& s) { return x >= s.from - 1 && x <= s.to; });
        EXPECT_TRUE(inSome) << "ink at column " << x << " outside the three aligned extents";
    }

    // Without tab parsing the text after the tab follows on the left.
    Send(bar, SB_SETTEXTW, 0 | SBT_NOTABPARSING, reinterpret_cast<LPARAM>(L"Left\tMid"));
    const int whole = StatusFontExtent(L"Left\tMid").cx;
    const std::vector<int> plain = InkColumns(bar, 1, 299, 3, H - 3, face);
    ASSERT_FALSE(plain.empty());
    EXPECT_LE(plain.back(), 3 + whole);

    // A long text stops at its part's frame; the next part stays clean.
    Parts(bar, {60, -1});
    Send(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
    EXPECT_FALSE(InkColumns(bar, 2, 58, 3, H - 3, face).empty());
    EXPECT_TRUE(InkColumns(bar, 60, 400, 3, H - 3, face).size() == 2u) << "only part 1's two frame columns";
}

TEST_F(StatusBar, TheGripIsDrawnHitAndDraggedToSizeTheParent)
{
    DestroyWindow(parent);
    parent = MakeParent(100, 100, 400, 300, WS_POPUP | WS_THICKFRAME | WS_VISIBLE);
    HWND bar = Make(SBARS_SIZEGRIP);
    Parts(bar, {100, -1});
    RECT pc{};
    GetClientRect(parent, &pc);
    const int W = pc.right, g = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_TRUE(SameRect(PartRect(bar, 1), RECT{102, 2, W - g, H - 2})) << "the last part ends at the grip";
    // The grip's ridges: diagonal j (x + y steps from the corner pixel) is shadow for j mod 4
    // = 1 or 2, highlight for 3, for j = 1 .. 12; the rest of the strip is face.
    const COLORREF face = Sys(COLOR_3DFACE), shadow = Sys(COLOR_3DSHADOW), light = Sys(COLOR_3DHIGHLIGHT);
    for (int j = 0; j <= 14; ++j) {
        const COLORREF want = (j == 0 || j > 12 || j % 4 == 0) ? face : (j % 4 == 3 ? light : shadow);
        EXPECT_EQ(At(bar, W - 1 - j, H - 1), want) << "bottom row, diagonal " << j;
        if (j < H) {
            EXPECT_EQ(At(bar, W - 1, H - 1 - j), want) << "right column, diagonal " << j;
        }
    }
    EXPECT_EQ(At(bar, W - 2, H - 3), light) << "diagonal 3 inside the square";
    EXPECT_EQ(At(bar, W - g, 2), face) << "the strip is cleared";

    auto hit = [&](int x, int y) {
        const POINT p = ScreenOf(bar, x, y);
        return static_cast<int>(Send(bar, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)));
    };
    EXPECT_EQ(hit(W - 3, H - 3), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(W - g, 2), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(W - g - 1, H - 3), HTCLIENT);

    // Dragging the grip sizes the parent from its bottom-right corner; the bar follows.
    RECT before{};
    GetWindowRect(parent, &before);
    const POINT at = ScreenOf(bar, W - 4, H - 4);
    user::InjectMouseMove(at.x, at.y);
    user::InjectMouseButton(user::MouseButton::Left, true);
    user::InjectMouseMove(at.x + 30, at.y + 20);
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    RECT after{};
    GetWindowRect(parent, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 30);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 20);
    EXPECT_EQ(after.left, before.left);
    GetClientRect(parent, &pc);
    EXPECT_TRUE(SameRect(ClientRectIn(bar), RECT{0, pc.bottom - H, pc.right, pc.bottom}));

    // A maximised parent has no grip: the part reaches the edge and the corner is plain.
    ShowWindow(parent, SW_MAXIMIZE);
    GetClientRect(parent, &pc);
    EXPECT_TRUE(SameRect(PartRect(bar, 1), RECT{102, 2, pc.right, H - 2}));
    EXPECT_EQ(hit(pc.right - 3, H - 3), HTCLIENT);
    EXPECT_NE(At(bar, pc.right - 4, H - 1), light);
    ShowWindow(parent, SW_RESTORE);

    // A parent that cannot be sized keeps the picture but not the hit.
    HWND fixed = MakeParent(600, 100, 300, 200);
    HWND bar2 = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, nullptr, fixed, 8);
    const POINT corner = ScreenOf(bar2, 297, H - 3);
    EXPECT_EQ(Send(bar2, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTCLIENT);
    EXPECT_EQ(At(bar2, 296, H - 1), light);
    DestroyWindow(fixed);
}

TEST_F(StatusBar, ClicksReportParts)
{
    HWND bar = Make();
    Parts(bar, {100, 200, -1});
    const std::pair<int, int> clicks[] = {{150, 1}, {101, -1}, {10, 0}, {399, 2}};
    for (const auto& [x, part] : clicks) {
        Clear();
        const POINT p = ScreenOf(bar, x, 5);
        user::InjectClick(p.x, p.y);
        Pump();
        Advance(1000);
        EXPECT_EQ(heard, (std::vector<Heard>{Heard{WM_NOTIFY, NM_CLICK, part, bar}})) << "x = " << x;
    }
    // A double click and a right click.
    Clear();
    const POINT p = ScreenOf(bar, 250, 5);
    user::InjectClick(p.x, p.y);
    user::InjectClick(p.x, p.y);
    Pump();
    Advance(1000);
    user::InjectClick(p.x, p.y, user::MouseButton::Right);
    Pump();
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{NM_CLICK, NM_DBLCLK, NM_CLICK, NM_RCLICK}));
    // In simple mode the part is the simple one.
    Send(bar, SB_SIMPLE, TRUE);
    Clear();
    user::InjectClick(p.x, p.y);
    Pump();
    EXPECT_EQ(heard, (std::vector<Heard>{Heard{WM_NOTIFY, NM_CLICK, static_cast<int>(SB_SIMPLEID), bar}}));
}

TEST_F(StatusBar, IconsAreDrawnBeforeTheTextAndStayTheCallers)
{
    std::vector<BYTE> andBits(16 * 2, 0), xorBits(16 * 16 * 4, 0);
    for (size_t i = 0; i < xorBits.size(); i += 4)
        xorBits[i + 2] = 0xFF; // red in BGRX
    HICON icon = CreateIcon(nullptr, 16, 16, 1, 32, andBits.data(), xorBits.data());
    ASSERT_NE(icon, nullptr);
    HWND bar = Make();
    Parts(bar, {150, -1});
    EXPECT_TRUE(Send(bar, SB_SETICON, 0, reinterpret_cast<LPARAM>(icon)));
    EXPECT_TRUE(Send(bar, SB_SETICON, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(icon)));
    EXPECT_FALSE(Send(bar, SB_SETICON, 9, reinterpret_cast<LPARAM>(icon)));
    EXPECT_EQ(reinterpret_cast<HICON>(Send(bar, SB_GETICON, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(Send(bar, SB_GETICON, static_cast<WPARAM>(-1))), icon);
    EXPECT_EQ(Send(bar, SB_GETICON, 1), 0);
    Send(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"abc"));
    // The icon 2 pixels inside the frame (x 3 .. 18), centred in rows 3 .. H - 3; the text after it.
    const int y = 3 + std::max(0, (H - 6 - 16) / 2);
    EXPECT_EQ(At(bar, 3, y), RGB(255, 0, 0));
    EXPECT_EQ(At(bar, 18, y), RGB(255, 0, 0));
    EXPECT_NE(At(bar, 19, y), RGB(255, 0, 0));
    const std::vector<int> ink = InkColumns(bar, 19, 149, 3, H - 3, Sys(COLOR_3DFACE));
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.front(), 21) << "text starts 2 pixels after the icon";
    DestroyWindow(bar);
    EXPECT_TRUE(DestroyIcon(icon)) << "the bar did not destroy the caller's icon";
}

TEST_F(StatusBar, PartTipsAreKeptAndShownOverTheirPart)
{
    HWND bar = Make(SBARS_TOOLTIPS);
    Parts(bar, {100, 200, -1});
    Send(bar, SB_SETTIPTEXTW, 1, reinterpret_cast<LPARAM>(L"Tip one"));
    wchar_t buf[64] = {};
    Send(bar, SB_GETTIPTEXTW, MAKEWPARAM(1, 64), reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, L"Tip one");
    Send(bar, SB_GETTIPTEXTW, MAKEWPARAM(1, 4), reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, L"Tip") << "cut to the buffer";
    char narrow[64] = {};
    Send(bar, SB_GETTIPTEXTA, MAKEWPARAM(1, 64), reinterpret_cast<LPARAM>(narrow));
    EXPECT_STREQ(narrow, "Tip one");
    const HWND tip = FindWindowW(TOOLTIPS_CLASSW, nullptr);
    ASSERT_NE(tip, nullptr);
    const POINT p = ScreenOf(bar, 150, 5);
    MoveTo(p.x, p.y);
    Advance(2000);
    EXPECT_TRUE(Visible(tip));
    const POINT q = ScreenOf(bar, 50, 5);
    MoveTo(q.x, q.y);
    Advance(2000);
    EXPECT_FALSE(Visible(tip)) << "part 0 has no tip";
    DestroyWindow(bar);
    EXPECT_FALSE(IsWindow(tip));
}

TEST_F(StatusBar, AProgressBarInsideAPartStaysDrawnWhenThePartChanges)
{
    HWND bar = Make();
    Parts(bar, {100, 250, -1});
    const RECT r = PartRect(bar, 1);
    HWND pb = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | PBS_SMOOTH,
        r.left + 2, r.top + 2, r.right - r.left - 4, r.bottom - r.top - 4, bar, nullptr, nullptr, nullptr);
    ASSERT_NE(pb, nullptr);
    SendMessageW(pb, PBM_SETPOS, 100, 0);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    EXPECT_EQ(At(bar, x, y), Sys(COLOR_HIGHLIGHT));
    Send(bar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"50%"));
    Send(bar, WM_SIZE);
    EXPECT_EQ(At(bar, x, y), Sys(COLOR_HIGHLIGHT)) << "the bar's repaint did not cover its child";
}


// What a parent hears while a control is made: the controls that notify ask which form of
// notification it takes (WM_NOTIFYFORMAT, NF_QUERY, naming themselves); the parent learns of
// its own child only (WM_PARENTNOTIFY), not of the parts a control makes for itself; a
// tooltip has its frame as WS_BORDER whatever its creator asked.
TEST_F(StatusBar, MakingAControlAsksTheParentsNotifyFormatAndAnnouncesOnlyItself)
{
    const struct {
        const char* name;
        const wchar_t* cls;
        DWORD style;
        bool asks;
    } rows[] = {
        {"status bar", STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE, true},
        {"list view with its header", WC_LISTVIEWW, WS_CHILD | WS_VISIBLE | LVS_REPORT, true},
        {"toolbar", TOOLBARCLASSNAMEW, WS_CHILD | WS_VISIBLE, true},
        {"trackbar", TRACKBAR_CLASSW, WS_CHILD | WS_VISIBLE, false},
    };
    for (const auto& row : rows) {
        Clear();
        HWND ctl = MakeControl(row.cls, row.style, 0, 0, 200, 100, parent);
        ASSERT_NE(ctl, nullptr) << row.name;
        std::vector<Heard> want;
        if (row.asks)
            want.push_back(Heard{WM_NOTIFYFORMAT, static_cast<UINT>(NF_QUERY), 0, ctl});
        want.push_back(Heard{WM_PARENTNOTIFY, WM_CREATE, 0, ctl});
        EXPECT_EQ(family, want) << row.name;
        DestroyWindow(ctl);
    }
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & WS_BORDER);
    DestroyWindow(tip);
}

// The control's messages being handled, outermost first, while the test's subclass sees them.
std::vector<UINT> handling;

LRESULT NoteHandling(HWND h, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    handling.push_back(m);
    const LRESULT r = DefSubclassProc(h, m, wp, lp);
    handling.pop_back();
    return r;
}

// Custom draw comes with the control's own paint: a change of state (by a message, a click
// or a key) only invalidates, and NM_CUSTOMDRAW is sent when WM_PAINT comes, never from
// inside the message that made the change.
TEST_F(StatusBar, CustomDrawComesWithThePaintNotWithTheChange)
{
    // Two check buttons on a toolbar, three rows in a report list.
    const auto fill = [](HWND ctl, const wchar_t* cls) {
        if (cls == TOOLBARCLASSNAMEW) {
            const TBBUTTON b[] = {{0, 1, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0}, {0, 2, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0}};
            SendMessageW(ctl, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
            SendMessageW(ctl, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(b));
        } else if (cls == WC_LISTVIEWW) {
            LVCOLUMNW col{};
            col.mask = LVCF_WIDTH;
            col.cx = 150;
            SendMessageW(ctl, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.pszText = const_cast<wchar_t*>(L"item");
            for (item.iItem = 0; item.iItem < 3; ++item.iItem)
                SendMessageW(ctl, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    };
    const auto click = [](HWND ctl, int x, int y) {
        // Both buttons queued at once, so a press that waits to tell a click from a drag ends.
        const POINT at = ScreenOf(ctl, x, y);
        user::InjectMouseMove(at.x, at.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        user::InjectMouseButton(user::MouseButton::Left, false);
    };
    const struct {
        const char* name;
        const wchar_t* cls;
        DWORD style;
        std::function<void(HWND)> act;
    } rows[] = {
        {"toolbar: TB_CHECKBUTTON", TOOLBARCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN,
            [](HWND tb) { SendMessageW(tb, TB_CHECKBUTTON, 2, TRUE); }},
        {"toolbar: a click", TOOLBARCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN, [&](HWND tb) { click(tb, 10, 10); }},
        {"trackbar: TBM_SETPOS with a redraw", TRACKBAR_CLASSW, 0, [](HWND tr) { SendMessageW(tr, TBM_SETPOS, TRUE, 50); }},
        {"trackbar: a key", TRACKBAR_CLASSW, 0, [&](HWND tr) {
             Focus(parent, tr);
             Key(VK_RIGHT);
         }},
        {"list view: a click on an item", WC_LISTVIEWW, LVS_REPORT, [&](HWND list) {
             RECT rc{LVIR_LABEL, 0, 0, 0};
             SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
             click(list, rc.left + 5, (rc.top + rc.bottom) / 2);
         }},
    };
    for (const auto& row : rows) {
        HWND ctl = MakeControl(row.cls, WS_CHILD | WS_VISIBLE | row.style, 10, 10, 200, 80, parent);
        ASSERT_NE(ctl, nullptr) << row.name;
        fill(ctl, row.cls);
        Pump();
        ASSERT_TRUE(SetWindowSubclass(ctl, &NoteHandling, 1, 0)) << row.name;
        std::vector<std::vector<UINT>> seen; // what the control was handling at each notice
        onCustomDraw = [&](const NMCUSTOMDRAW& cd) -> LRESULT {
            if (cd.hdr.hwndFrom == ctl)
                seen.push_back(handling);
            return CDRF_DODEFAULT;
        };
        row.act(ctl);
        Pump();
        ASSERT_FALSE(seen.empty()) << row.name << ": the change was painted";
        for (const auto& stack : seen)
            EXPECT_EQ(stack, std::vector<UINT>{WM_PAINT}) << row.name;
        onCustomDraw = nullptr;
        DestroyWindow(ctl);
    }
}

} // namespace
} // namespace zyn::test
