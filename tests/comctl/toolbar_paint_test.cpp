// Toolbar painting: the custom-draw cycle (which notifications, in which order, for each
// answer), what CDRF_SKIPDEFAULT leaves alone, the TBCDRF_ answers, and the classic look
// read back as pixels at positions worked out from the geometry (24 x 22 buttons, the
// image 4 pixels in and 3 down, DrawEdge's documented colour layers).
#include "platform/user/paint.h"
#include "tests/comctl/toolbar_test_support.h"

namespace zyn::test {
namespace {

using ToolbarPaint = ToolbarTest;

constexpr COLORREF kRed = RGB(255, 0, 0);

std::vector<DWORD> Stages()
{
    std::vector<DWORD> out;
    for (const TbEvent& e : ToolbarTest::Events())
        if (e.msg == WM_NOTIFY && e.code == NM_CUSTOMDRAW)
            out.push_back(e.stage | (e.stage & CDDS_ITEM ? static_cast<DWORD>(e.spec) << 24 : 0));
    return out;
}

void Repaint(HWND tb)
{
    ToolbarTest::Events().clear();
    InvalidateRect(tb, nullptr, TRUE);
    UpdateWindow(tb);
}

COLORREF Sys(int i) { return GetSysColor(i); }

TEST_F(ToolbarPaint, TheCycleFollowsTheAnswers)
{
    constexpr DWORD I1 = 1u << 24, I2 = 2u << 24;
    struct Row {
        const char* name;
        DWORD style;
        LRESULT first, item, erase;
        std::vector<DWORD> want;
    };
    const Row rows[] = {
        {"default", 0, CDRF_DODEFAULT, 0, 0, {CDDS_PREPAINT}},
        {"items", 0, CDRF_NOTIFYITEMDRAW, 0, 0, {CDDS_PREPAINT, CDDS_ITEMPREPAINT | I1, CDDS_ITEMPREPAINT | I2}},
        {"items with post-paint", 0, CDRF_NOTIFYITEMDRAW, CDRF_NOTIFYPOSTPAINT, 0,
            {CDDS_PREPAINT, CDDS_ITEMPREPAINT | I1, CDDS_ITEMPOSTPAINT | I1, CDDS_ITEMPREPAINT | I2,
                CDDS_ITEMPOSTPAINT | I2}},
        {"post-paint", 0, CDRF_NOTIFYPOSTPAINT, 0, 0, {CDDS_PREPAINT, CDDS_POSTPAINT}},
        {"items and post-paint", 0, CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT, 0, 0,
            {CDDS_PREPAINT, CDDS_ITEMPREPAINT | I1, CDDS_ITEMPREPAINT | I2, CDDS_POSTPAINT}},
        {"skip default asks no items", 0, CDRF_SKIPDEFAULT | CDRF_NOTIFYITEMDRAW, 0, 0, {CDDS_PREPAINT}},
        {"item post-paint ignored without item draw", 0, CDRF_DODEFAULT, CDRF_NOTIFYPOSTPAINT, 0, {CDDS_PREPAINT}},
        {"custom erase", TBSTYLE_CUSTOMERASE, 0, 0, 0, {CDDS_PREERASE, CDDS_PREPAINT}},
        {"custom erase with post-erase", TBSTYLE_CUSTOMERASE, 0, 0, CDRF_NOTIFYPOSTERASE,
            {CDDS_PREERASE, CDDS_POSTERASE, CDDS_PREPAINT}},
        {"no erase notices without the style", 0, 0, 0, CDRF_NOTIFYPOSTERASE, {CDDS_PREPAINT}},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, r.style);
        Add(tb, {Btn(1), Sep(), Btn(2)});
        Pump();
        Answer() = [&](NMHDR* h) -> LRESULT {
            if (h->code != NM_CUSTOMDRAW)
                return 0;
            const DWORD stage = reinterpret_cast<NMCUSTOMDRAW*>(h)->dwDrawStage;
            if (stage == CDDS_PREPAINT)
                return r.first;
            if (stage == CDDS_ITEMPREPAINT)
                return r.item;
            if (stage == CDDS_PREERASE)
                return r.erase;
            return 0;
        };
        Repaint(tb);
        EXPECT_EQ(Stages(), r.want) << r.name;
        Answer() = nullptr;
        DestroyWindow(parent);
    }
}

TEST_F(ToolbarPaint, ItemNoticesDescribeTheButton)
{
    HWND tb = MakeToolbar(MakeParent(), TBSTYLE_FLAT);
    Send(tb, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(L"Go\0"));
    Add(tb, {Btn(1, 0, BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED, 0), Btn(2, 0, BTNS_BUTTON, TBSTATE_MARKED, 0)});
    Send(tb, TB_SETHOTITEM, 0);
    std::vector<NMTBCUSTOMDRAW> seen;
    Answer() = [&](NMHDR* h) -> LRESULT {
        if (h->code != NM_CUSTOMDRAW)
            return 0;
        auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(h);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            seen.push_back(*cd);
        return 0;
    };
    Repaint(tb);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].nmcd.uItemState, static_cast<UINT>(CDIS_CHECKED | CDIS_HOT));
    EXPECT_EQ(seen[1].nmcd.uItemState, static_cast<UINT>(CDIS_DISABLED | CDIS_MARKED));
    EXPECT_EQ(seen[1].nmcd.lItemlParam, 20);
    EXPECT_EQ(seen[0].nmcd.rc.right - seen[0].nmcd.rc.left, ItemRect(tb, 0).right);
    EXPECT_EQ(seen[0].clrText, Sys(COLOR_BTNTEXT));
    EXPECT_EQ(seen[0].clrBtnFace, Sys(COLOR_BTNFACE));
    EXPECT_EQ(seen[0].clrBtnHighlight, Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_NE(seen[0].hbrMonoDither, nullptr);
    EXPECT_EQ(seen[0].rcText.top, 3 + 15) << "the text starts under the image";
    EXPECT_EQ(seen[0].nStringBkMode, TRANSPARENT);
}

TEST_F(ToolbarPaint, SkipDefaultLeavesThePixelsAlone)
{
    HWND tb = MakeToolbar(MakeParent(), TBSTYLE_CUSTOMERASE, 200, 30);
    Add(tb, {Btn(1), Btn(2)});
    Send(tb, TB_PRESSBUTTON, 1, TRUE);
    Pump();
    // Paint the screen under the toolbar magenta; a toolbar that skips everything keeps it.
    RECT w{};
    GetWindowRect(tb, &w);
    HDC screen = GetDC(nullptr);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(screen, &w, magenta);
    ReleaseDC(nullptr, screen);
    DeleteObject(magenta);
    Answer() = [](NMHDR* h) -> LRESULT { return h->code == NM_CUSTOMDRAW ? CDRF_SKIPDEFAULT : 0; };
    Repaint(tb);
    for (POINT p : {POINT{0, 0}, POINT{5, 0}, POINT{12, 10}, POINT{150, 20}})
        EXPECT_EQ(Pixel(tb, p.x, p.y), RGB(255, 0, 255)) << p.x << "," << p.y;

    // An item that skips is erased but not drawn: no sunken edge on the pressed button.
    Answer() = [](NMHDR* h) -> LRESULT {
        if (h->code != NM_CUSTOMDRAW)
            return 0;
        const DWORD stage = reinterpret_cast<NMCUSTOMDRAW*>(h)->dwDrawStage;
        return stage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : (stage == CDDS_ITEMPREPAINT ? CDRF_SKIPDEFAULT : 0);
    };
    Repaint(tb);
    EXPECT_EQ(Pixel(tb, 5, 0), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(tb, 150, 20), Sys(COLOR_BTNFACE));
    Answer() = nullptr;
    Repaint(tb);
    EXPECT_EQ(Pixel(tb, 5, 0), Sys(COLOR_3DSHADOW)) << "drawn by default: the sunken edge";
}

TEST_F(ToolbarPaint, ClassicEdgesByState)
{
    struct Probe {
        int x, y;
        int colour; // a system colour index
    };
    struct Row {
        const char* name;
        DWORD style;
        BYTE state;
        bool hot;
        LRESULT itemAnswer;
        std::vector<Probe> probes;
    };
    const Row rows[] = {
        {"3-D raised", 0, TBSTATE_ENABLED, false, 0,
            {{5, 0, COLOR_3DLIGHT}, {0, 5, COLOR_3DLIGHT}, {5, 1, COLOR_3DHIGHLIGHT}, {5, 21, COLOR_3DDKSHADOW},
                {23, 5, COLOR_3DDKSHADOW}, {5, 20, COLOR_3DSHADOW}}},
        {"3-D pressed sinks", 0, TBSTATE_ENABLED | TBSTATE_PRESSED, false, 0,
            {{5, 0, COLOR_3DSHADOW}, {5, 1, COLOR_3DDKSHADOW}, {5, 21, COLOR_3DHIGHLIGHT}, {5, 20, COLOR_3DLIGHT}}},
        {"flat plain has no edge", TBSTYLE_FLAT, TBSTATE_ENABLED, false, 0,
            {{5, 0, COLOR_BTNFACE}, {5, 21, COLOR_BTNFACE}}},
        {"flat hot is raised one pixel", TBSTYLE_FLAT, TBSTATE_ENABLED, true, 0,
            {{5, 0, COLOR_3DHIGHLIGHT}, {0, 5, COLOR_3DHIGHLIGHT}, {5, 21, COLOR_3DSHADOW}, {23, 5, COLOR_3DSHADOW},
                {5, 1, COLOR_BTNFACE}}},
        {"flat pressed is sunk one pixel", TBSTYLE_FLAT, TBSTATE_ENABLED | TBSTATE_PRESSED, false, 0,
            {{5, 0, COLOR_3DSHADOW}, {5, 21, COLOR_3DHIGHLIGHT}}},
        {"no edges", 0, TBSTATE_ENABLED | TBSTATE_PRESSED, false, TBCDRF_NOEDGES,
            {{5, 0, COLOR_BTNFACE}, {5, 21, COLOR_BTNFACE}}},
        {"marked fills with the mark colour", TBSTYLE_FLAT, TBSTATE_ENABLED | TBSTATE_MARKED, false, 0,
            {{2, 10, COLOR_HIGHLIGHT}}},
        {"no mark", TBSTYLE_FLAT, TBSTATE_ENABLED | TBSTATE_MARKED, false, TBCDRF_NOMARK, {{2, 10, COLOR_BTNFACE}}},
        {"no background", TBSTYLE_FLAT, TBSTATE_ENABLED | TBSTATE_MARKED, false, TBCDRF_NOBACKGROUND,
            {{2, 10, COLOR_BTNFACE}}},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, r.style, 200, 30);
        Add(tb, {Btn(1, -1, BTNS_BUTTON, r.state)});
        if (r.hot)
            Send(tb, TB_SETHOTITEM, 0);
        Answer() = [&](NMHDR* h) -> LRESULT {
            if (h->code != NM_CUSTOMDRAW)
                return 0;
            const DWORD stage = reinterpret_cast<NMCUSTOMDRAW*>(h)->dwDrawStage;
            return stage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : (stage == CDDS_ITEMPREPAINT ? r.itemAnswer : 0);
        };
        Repaint(tb);
        for (const Probe& p : r.probes)
            EXPECT_EQ(Pixel(tb, p.x, p.y), Sys(p.colour)) << r.name << " at " << p.x << "," << p.y;
        Answer() = nullptr;
        DestroyWindow(parent);
    }
}

TEST_F(ToolbarPaint, ImagesShiftWhenPressedAndEmbossWhenDisabled)
{
    struct Row {
        const char* name;
        BYTE state;
        LRESULT itemAnswer;
        POINT origin;       // where the image's top-left lands
        bool embossed;
    };
    const Row rows[] = {
        // The list's 16 x 15 images make 23 x 21 buttons: the image sits (23 - 16) / 2 in
        // and half the vertical padding down.
        {"normal", TBSTATE_ENABLED, 0, {3, 3}, false},
        {"pressed: one pixel right and down", TBSTATE_ENABLED | TBSTATE_PRESSED, 0, {4, 4}, false},
        {"checked too", TBSTATE_ENABLED | TBSTATE_CHECKED, 0, {4, 4}, false},
        {"no offset", TBSTATE_ENABLED | TBSTATE_PRESSED, TBCDRF_NOOFFSET, {3, 3}, false},
        {"disabled: embossed", 0, 0, {3, 3}, true},
    };
    for (const Row& r : rows) {
        HWND parent = MakeParent();
        HWND tb = MakeToolbar(parent, TBSTYLE_FLAT, 200, 30);
        HIMAGELIST list = MakeImages(1, {kRed});
        Send(tb, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
        Add(tb, {Btn(1, 0, BTNS_BUTTON, r.state)});
        Answer() = [&](NMHDR* h) -> LRESULT {
            if (h->code != NM_CUSTOMDRAW)
                return 0;
            const DWORD stage = reinterpret_cast<NMCUSTOMDRAW*>(h)->dwDrawStage;
            return stage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : (stage == CDDS_ITEMPREPAINT ? r.itemAnswer : 0);
        };
        Repaint(tb);
        const int x = r.origin.x, y = r.origin.y;
        if (!r.embossed) {
            EXPECT_EQ(Pixel(tb, x, y), kRed) << r.name;
            EXPECT_EQ(Pixel(tb, x + 15, y + 14), kRed) << r.name;
            EXPECT_NE(Pixel(tb, x - 1, y + 5), kRed) << r.name;
            EXPECT_NE(Pixel(tb, x + 16, y + 5), kRed) << r.name;
        } else {
            EXPECT_EQ(Pixel(tb, x, y), Sys(COLOR_3DSHADOW)) << r.name;
            EXPECT_EQ(Pixel(tb, x + 16, y + 15), Sys(COLOR_3DHIGHLIGHT)) << r.name << ": the light one pixel out";
        }
        Answer() = nullptr;
        DestroyWindow(parent);
        ImageList_Destroy(list);
    }
}

TEST_F(ToolbarPaint, SeparatorsInsertMarkAndCheckedDither)
{
    HWND tb = MakeToolbar(MakeParent(), TBSTYLE_FLAT, 200, 30);
    Add(tb, {Btn(1, -1), Sep(), Btn(2, -1), Btn(3, -1, BTNS_CHECK, TBSTATE_ENABLED | TBSTATE_CHECKED)});
    Repaint(tb);
    // The separator spans 24..32: its etched line at 27 (shadow) and 28 (light).
    for (int y : {0, 11, 21}) {
        EXPECT_EQ(Pixel(tb, 27, y), Sys(COLOR_3DSHADOW)) << y;
        EXPECT_EQ(Pixel(tb, 28, y), Sys(COLOR_3DHIGHLIGHT)) << y;
        EXPECT_EQ(Pixel(tb, 26, y), Sys(COLOR_BTNFACE)) << y;
    }
    // The checked button (56..80) is dithered inside its one-pixel edge.
    const COLORREF a = Pixel(tb, 60, 10), b = Pixel(tb, 61, 10), c = Pixel(tb, 60, 11);
    EXPECT_NE(a, b);
    EXPECT_EQ(b, c) << "a checkerboard";
    for (COLORREF px : {a, b})
        EXPECT_TRUE(px == Sys(COLOR_BTNFACE) || px == Sys(COLOR_BTNHIGHLIGHT));

    // The insert mark before button 2 (left edge 32): stem over 31..32, serifs 29..34.
    const COLORREF mark = RGB(255, 0, 255);
    Send(tb, TB_SETINSERTMARKCOLOR, 0, mark);
    EXPECT_EQ(static_cast<COLORREF>(Send(tb, TB_GETINSERTMARKCOLOR)), mark);
    TBINSERTMARK im{2, 0};
    Send(tb, TB_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(&im));
    Pump();
    struct P {
        int x, y;
        bool on;
    };
    for (const P& p : {P{31, 10, true}, P{32, 10, true}, P{30, 10, false}, P{33, 10, false}, P{29, 0, true},
             P{34, 0, true}, P{28, 0, false}, P{35, 0, false}, P{29, 21, true}, P{34, 21, true}, P{30, 1, false}})
        EXPECT_EQ(Pixel(tb, p.x, p.y) == mark, p.on) << p.x << "," << p.y;
    im = TBINSERTMARK{2, TBIMHT_AFTER};
    Send(tb, TB_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(&im));
    Pump();
    EXPECT_EQ(Pixel(tb, 56, 10), mark) << "after: at the right edge (56)";
    EXPECT_EQ(Pixel(tb, 55, 10), mark);
    EXPECT_NE(Pixel(tb, 32, 10), mark);
    im = TBINSERTMARK{9, 0};
    Send(tb, TB_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(&im));
    Send(tb, TB_GETINSERTMARK, 0, reinterpret_cast<LPARAM>(&im));
    EXPECT_EQ(im.iButton, -1) << "a mark on no button is no mark";
}

} // namespace
} // namespace zyn::test
