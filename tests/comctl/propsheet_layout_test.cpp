// Property-sheet geometry (the tab control around the largest page, the buttons, the
// sheet's size and place) and the child sheet inside a parent window's tab order.
#include "tests/comctl/propsheet_test_support.h"

#include <cstring>
#include <tuple>

#include "platform/base/tchar.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/vkeys.h"

namespace zyn::test {
namespace {

using Log = std::vector<std::wstring>;

auto Tie(const RECT& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); }

// The geometry rules of a sheet worked from the measured font.
struct Expect {
    SIZE u;
    int X(int v) const { return MulDiv(v, u.cx, 4); }
    int Y(int v) const { return MulDiv(v, u.cy, 8); }
    // A row of tabs: the font height, twice the default padding (3), the raised edge (2).
    int RowHeight() const { return u.cy + 2 * 3 + 2; }
};

// Classic templates only: ours is one.
int MakeChild(HWND, UINT msg, LPARAM lParam)
{
    if (msg == PSCB_PRECREATE) {
        DWORD style = WS_CHILD | WS_VISIBLE;
        std::memcpy(reinterpret_cast<void*>(lParam), &style, sizeof style);
    }
    return 0;
}

TEST_F(PropSheetTest, TheTabControlSurroundsTheLargestPageAndTheButtonsFollowIt)
{
    const Expect e{ShellDlgUnits()};
    // Pages of 140 x 90, 180 x 60 and 100 x 40 dialog units: the page is the widest
    // width and the tallest height.
    const int ph = e.Y(90);
    const int rows = 1;
    struct Row {
        const char* name;
        DWORD flags;
        std::vector<int> buttons; // left to right
    };
    const std::vector<Row> table = {
        {"OK, Cancel and Apply Now", 0, {IDOK, IDCANCEL, IDC_PS_APPLYNOW}},
        {"no Apply Now", PSH_NOAPPLYNOW, {IDOK, IDCANCEL}},
        {"with Help", PSH_HASHELP, {IDOK, IDCANCEL, IDC_PS_APPLYNOW, IDHELP}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        // The tab control around the page, unless the buttons need more room.
        const int n = static_cast<int>(row.buttons.size());
        const int rowWidth = n * e.X(50) + (n - 1) * e.X(4);
        const int tabW = std::max(e.X(180) + 2 * 4, rowWidth);
        const int pw = tabW - 2 * 4;
        const int tabH = 2 + rows * e.RowHeight() + 4 + ph + 4;
        const HWND sheet = MakeModeless(row.flags);
        const RECT tab = RectIn(Tab(sheet), sheet);
        EXPECT_EQ(tab.left, e.X(7));
        EXPECT_EQ(tab.top, e.Y(7));
        EXPECT_EQ(tab.right - tab.left, tabW);
        EXPECT_EQ(tab.bottom - tab.top, tabH);
        EXPECT_EQ(SendMessageW(Tab(sheet), TCM_GETROWCOUNT, 0, 0), rows);
        const RECT page = RectIn(Current(sheet), sheet);
        EXPECT_EQ(page.left, tab.left + 4);
        EXPECT_EQ(page.top, tab.top + 2 + e.RowHeight() + 4);
        EXPECT_EQ(page.right - page.left, pw);
        EXPECT_EQ(page.bottom - page.top, ph);
        // The buttons, right-aligned with the tab control, X(4) apart.
        int right = tab.right;
        const int top = tab.bottom + e.Y(7);
        for (auto it = row.buttons.rbegin(); it != row.buttons.rend(); ++it) {
            const RECT b = RectIn(Item(sheet, *it), sheet);
            EXPECT_EQ(b.right, right) << "button " << *it;
            EXPECT_EQ(b.right - b.left, e.X(50));
            EXPECT_EQ(b.top, top);
            EXPECT_EQ(b.bottom - b.top, e.Y(14));
            right = b.left - e.X(4);
        }
        RECT client{};
        GetClientRect(sheet, &client);
        EXPECT_EQ(client.right, tab.right + e.X(7));
        EXPECT_EQ(client.bottom, top + e.Y(14) + e.Y(7));
        // Centred in the work area (no owner).
        RECT work{}, w{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(sheet, &w);
        EXPECT_EQ(w.left, work.left + ((work.right - work.left) - (w.right - w.left)) / 2);
        EXPECT_EQ(w.top, work.top + ((work.bottom - work.top) - (w.bottom - w.top)) / 2);
        DestroyWindow(sheet);
        TakeLog();
    }
}

TEST_F(PropSheetTest, APageKeepsItsSizeUnderSeveralRowsOfTabs)
{
    const Expect e{ShellDlgUnits()};
    std::vector<PROPSHEETPAGEW> pages;
    for (int i = 0; i < 10; ++i)
        pages.push_back(Page(IDD_PS_ONE, L"One"));
    // (OK and Cancel alone are narrower than the page.)
    const HWND sheet = MakeModeless(PSH_NOAPPLYNOW, pages);
    const int rows = static_cast<int>(SendMessageW(Tab(sheet), TCM_GETROWCOUNT, 0, 0));
    EXPECT_GE(rows, 2) << "ten tabs do not fit on a page of 140 dialog units";
    const RECT tab = RectIn(Tab(sheet), sheet);
    const RECT page = RectIn(Current(sheet), sheet);
    EXPECT_EQ(page.right - page.left, e.X(140));
    EXPECT_EQ(page.bottom - page.top, e.Y(90));
    EXPECT_EQ(tab.bottom - tab.top, 2 + rows * e.RowHeight() + 4 + e.Y(90) + 4);
    DestroyWindow(sheet);
    TakeLog();
}

TEST_F(PropSheetTest, AChildSheetIsTheTabControlAndThePageWithNoButtons)
{
    const Expect e{ShellDlgUnits()};
    const HWND parent = MakeHost(50, 40, 500, 400);
    const HWND before = CreateWindowExW(0, L"Button", L"Before", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 300, 80, 24,
        parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(501)), nullptr, nullptr);
    std::vector<PROPSHEETPAGEW> pages = {Page(IDD_PS_ONE, L"One"), Page(IDD_PS_TWO, L"Two")};
    PROPSHEETHEADERW h = Header(pages, PSH_MODELESS | PSH_USECALLBACK, parent);
    h.pfnCallback = &MakeChild;
    const auto sheet = reinterpret_cast<HWND>(PropertySheetW(&h));
    ASSERT_TRUE(sheet);
    const HWND after = CreateWindowExW(0, L"Button", L"After", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 100, 300, 80, 24,
        parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(502)), nullptr, nullptr);

    EXPECT_EQ(GetParent(sheet), parent);
    EXPECT_TRUE(GetWindowLongPtrW(sheet, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    for (int id : {IDOK, IDCANCEL, IDC_PS_APPLYNOW, IDHELP})
        EXPECT_EQ(Item(sheet, id), nullptr) << "button " << id;
    // The sheet at the parent's origin, exactly the tab control around the page.
    const int pw = e.X(180), ph = e.Y(90);
    const RECT r = RectIn(sheet, parent);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, pw + 8);
    EXPECT_EQ(r.bottom, 2 + e.RowHeight() + 4 + ph + 4);
    const RECT tab = RectIn(Tab(sheet), sheet);
    EXPECT_EQ(Tie(tab), Tie(RECT{0, 0, r.right, r.bottom}));
    const RECT page = RectIn(Current(sheet), sheet);
    EXPECT_EQ(Tie(page), Tie(RECT{4, 2 + e.RowHeight() + 4, 4 + pw, 2 + e.RowHeight() + 4 + ph}));

    // The parent's dialog manager walks into the sheet, through the page, and out again.
    SetFocus(before);
    const std::vector<int> forward = {IDC_PS_EDIT, IDC_PS_CHECK, IDC_PS_TABCONTROL, 502, 501};
    for (int id : forward) {
        user::InjectKeyPress(VK_TAB);
        PumpDialog(parent);
        EXPECT_EQ(FocusId(), id);
    }
    const std::vector<int> backward = {502, IDC_PS_TABCONTROL, IDC_PS_CHECK, IDC_PS_EDIT, 501};
    for (int id : backward) {
        Key(nullptr, VK_TAB, false, true);
        PumpDialog(parent);
        EXPECT_EQ(FocusId(), id);
    }
    // Ctrl+Tab through the sheet's own keys.
    SetFocus(Item(Current(sheet), IDC_PS_EDIT));
    Key(sheet, VK_TAB, true);
    EXPECT_EQ(NameOf(Current(sheet)), L"Two");
    EXPECT_EQ(FocusId(), IDC_PS_PRESS);
    // OK on a child sheet applies, but the sheet stays: its parent's form owns the end.
    TakeLog();
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_EQ(TakeLog(), (Log{L"Two:killactive", L"One:apply-ok", L"Two:apply-ok"}));
    EXPECT_TRUE(Current(sheet));
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(after));
    TakeLog();
}

} // namespace
} // namespace zyn::test
