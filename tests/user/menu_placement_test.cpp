// Where popup menus go: the placement rules worked by hand on a small work area, the same
// rules through TrackPopupMenuEx at the four screen edges, beside an exclusion rectangle
// and on a second monitor, and the monitor functions the placement asks.
#include "platform/user/menu.h"
#include "platform/user/monitor.h"
#include "platform/user/popup_menu.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;

std::string Str(POINT p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }

struct PlaceRow {
    const char* name;
    POINT pt;
    SIZE size;
    UINT flags;
    bool hasExclude;
    RECT exclude;
    POINT expected;
};

// Work area 800 x 600 at the origin; a menu 100 x 200 unless the row says otherwise.
const PlaceRow kPlaceRows[] = {
    {"LeftTopPutsThePointAtTheCorner", {50, 50}, {100, 200}, TPM_LEFTALIGN | TPM_TOPALIGN, false, {}, {50, 50}},
    {"RightAlignEndsAtThePoint", {300, 50}, {100, 200}, TPM_RIGHTALIGN, false, {}, {200, 50}},
    {"CenterAlignCentresOnIt", {300, 50}, {100, 200}, TPM_CENTERALIGN, false, {}, {250, 50}},
    {"BottomAlignEndsAtThePoint", {50, 300}, {100, 200}, TPM_BOTTOMALIGN, false, {}, {50, 100}},
    {"VCenterAlignCentresOnIt", {50, 300}, {100, 200}, TPM_VCENTERALIGN, false, {}, {50, 200}},
    // 750 + 100 crosses 800: the menu opens leftwards, its right edge on the point.
    {"TheRightEdgeFlipsALeftAlignedMenu", {750, 50}, {100, 200}, 0, false, {}, {650, 50}},
    // 500 + 200 crosses 600: the menu opens upwards.
    {"TheBottomEdgeFlipsATopAlignedMenu", {50, 500}, {100, 200}, 0, false, {}, {50, 300}},
    // 60 - 100 crosses 0: a right-aligned menu opens rightwards.
    {"TheLeftEdgeFlipsARightAlignedMenu", {60, 50}, {100, 200}, TPM_RIGHTALIGN, false, {}, {60, 50}},
    {"TheTopEdgeFlipsABottomAlignedMenu", {50, 100}, {100, 200}, TPM_BOTTOMALIGN, false, {}, {50, 100}},
    {"TheBottomRightCornerFlipsBoth", {790, 590}, {100, 200}, 0, false, {}, {690, 390}},
    // Centred at 790 it would end at 840: it is pushed back to end at 800.
    {"ACentredMenuIsPushedInside", {790, 50}, {100, 200}, TPM_CENTERALIGN, false, {}, {700, 50}},
    // Wider than the work area: flipped to -890, then pushed; its left edge wins.
    {"AMenuWiderThanTheAreaKeepsItsLeftEdgeIn", {10, 10}, {900, 200}, 0, false, {}, {0, 10}},
    // A button at the bottom: below it the menu does not fit; flipped it would cover the
    // button; it goes above the button.
    {"VerticalMovesAboveTheExcludedButton", {300, 520}, {100, 200}, TPM_VERTICAL, true, {300, 500, 380, 520},
        {300, 300}},
    // A button at the right edge: flipped left, the menu would cover it; it goes left of it.
    {"HorizontalMovesLeftOfTheExcludedButton", {780, 100}, {100, 200}, TPM_HORIZONTAL, true, {700, 100, 780, 120},
        {600, 100}},
    // A full-height strip: neither below nor above fits, so the menu goes to its right.
    {"VerticalFallsBackToTheSides", {100, 300}, {100, 200}, TPM_VERTICAL, true, {0, 0, 200, 600}, {200, 300}},
    // Horizontal tries the sides first: right of the strip fits.
    {"HorizontalTriesTheSidesFirst", {100, 300}, {100, 200}, TPM_HORIZONTAL, true, {50, 250, 150, 350}, {150, 300}},
    // A right-aligned menu prefers the left side of the rectangle.
    {"RightAlignedPrefersTheLeftSide", {300, 300}, {100, 200}, TPM_RIGHTALIGN, true, {250, 250, 350, 350},
        {150, 300}},
    // No side fits around a rectangle covering everything: the menu stays put.
    {"NoSideFitsTheMenuStays", {50, 50}, {100, 200}, TPM_VERTICAL, true, {0, 0, 800, 600}, {50, 50}},
    // A menu clear of the rectangle does not move.
    {"ClearOfTheRectangleNothingMoves", {300, 400}, {100, 200}, TPM_BOTTOMALIGN | TPM_VERTICAL, true,
        {300, 400, 380, 420}, {300, 200}},
};

TEST(MenuPlacement, PopupsKeepToTheWorkAreaAndAwayFromTheExclusion)
{
    const RECT work{0, 0, 800, 600};
    for (const PlaceRow& row : kPlaceRows) {
        const POINT got = user::PlacePopupMenu(row.pt, row.size, row.flags, row.hasExclude ? &row.exclude : nullptr, work);
        EXPECT_TRUE(got.x == row.expected.x && got.y == row.expected.y)
            << row.name << ": got " << Str(got) << ", want " << Str(row.expected);
    }
}

TEST(MenuPlacement, SubmenusOpenBesideTheirParentAndFlipAtTheEdge)
{
    const RECT work{0, 0, 800, 600};
    struct Row {
        const char* name;
        RECT parent;
        RECT item;
        bool leftFirst;
        POINT expected;
        bool left;
    };
    // A 120 x 100 submenu; its frame (3 pixels) lies over the parent's, so it starts 3
    // pixels inside the parent's right edge and 3 above its item.
    const Row rows[] = {
        {"RightOfTheParent", {100, 100, 250, 300}, {103, 150, 247, 167}, false, {247, 147}, false},
        // 787 + 120 > 800: mirrored over the left edge, 650 + 3 - 120.
        {"LeftAtTheRightEdge", {650, 100, 790, 300}, {653, 150, 787, 167}, false, {533, 147}, true},
        {"LeftFirstWhenTheParentWentLeft", {300, 100, 450, 300}, {303, 150, 447, 167}, true, {183, 147}, true},
        // No room on the left (50 + 3 - 120 < 0): right after all.
        {"RightWhenTheLeftHasNoRoom", {50, 100, 200, 300}, {53, 150, 197, 167}, true, {197, 147}, false},
        // 547 + 100 > 600: pushed up to end at the bottom.
        {"PushedUpAtTheBottom", {100, 100, 250, 580}, {103, 550, 247, 567}, false, {247, 500}, false},
    };
    for (const Row& r : rows) {
        bool left = !r.left;
        const POINT got = user::PlaceSubmenu(r.parent, r.item, SIZE{120, 100}, work, r.leftFirst, left);
        EXPECT_TRUE(got.x == r.expected.x && got.y == r.expected.y)
            << r.name << ": got " << Str(got) << ", want " << Str(r.expected);
        EXPECT_EQ(left, r.left) << r.name;
    }
}

// ---- through TrackPopupMenuEx -----------------------------------------------------------------------------------

class MenuPlacementTest : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        Clock::UseVirtual(10000);
        user::SetScriptedMode(true);
        owner = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 1, L"&First item");
        AppendMenuW(menu, MF_STRING, 2, L"&Second item");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub = CreatePopupMenu()), L"&More");
        AppendMenuW(sub, MF_STRING, 3, L"&Inner");
    }
    void TearDown() override
    {
        DestroyMenu(menu);
        DestroyWindow(owner);
        UserTest::TearDown();
    }
    // Where the popup went (its window rectangle).
    RECT Track(POINT pt, UINT flags, TPMPARAMS* tpm = nullptr, bool openSub = false, RECT* subRect = nullptr)
    {
        RECT r{};
        user::QueueIdleAction([&] {
            GetWindowRect(user::OpenPopupMenuWindows().at(0), &r);
            if (!openSub) {
                EndMenu();
                return;
            }
            user::InjectKeyPress(VK_END);
            user::InjectKeyPress(VK_RIGHT);
            user::QueueIdleAction([&] {
                GetWindowRect(user::OpenPopupMenuWindows().at(1), subRect);
                EndMenu();
            });
        });
        EXPECT_TRUE(TrackPopupMenuEx(menu, flags, pt.x, pt.y, owner, tpm));
        return r;
    }
    HWND owner = nullptr;
    HMENU menu = nullptr;
    HMENU sub = nullptr;
};

TEST_F(MenuPlacementTest, AtTheFourScreenEdgesTheMenuOpensAwayFromThem)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    struct Row {
        const char* name;
        POINT pt;
        bool byRight, byBottom; // which edges of the menu lie on the point
    };
    const Row rows[] = {
        {"TopLeft", {5, 5}, false, false},
        {"TopRight", {cx - 5, 5}, true, false},
        {"BottomLeft", {5, cy - 5}, false, true},
        {"BottomRight", {cx - 5, cy - 5}, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RECT r = Track(row.pt, 0);
        EXPECT_EQ(row.byRight ? r.right : r.left, row.pt.x);
        EXPECT_EQ(row.byBottom ? r.bottom : r.top, row.pt.y);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= cx && r.bottom <= cy);
    }
}

TEST_F(MenuPlacementTest, AnExclusionRectangleKeepsAButtonUncovered)
{
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    // A toolbar button at the bottom of the screen: the menu cannot drop below it.
    TPMPARAMS tpm{sizeof tpm, {300, cy - 30, 360, cy - 5}};
    const RECT r = Track(POINT{300, cy - 5}, TPM_VERTICAL, &tpm);
    EXPECT_EQ(r.bottom, cy - 30);
    EXPECT_EQ(r.left, 300);
}

TEST_F(MenuPlacementTest, OnASecondMonitorTheMenuKeepsToThatMonitorsWorkArea)
{
    // Two monitors side by side; the primary has a 40-pixel task bar at the bottom.
    const user::MonitorDesc layout[] = {
        {{0, 0, 640, 1024}, {0, 0, 640, 984}, true},
        {{640, 0, 1280, 1024}, {640, 0, 1280, 1024}, false},
    };
    ASSERT_TRUE(user::SetMonitorLayout(layout));
    // On the primary near its right edge: the menu opens leftwards rather than spill onto
    // the second monitor, and upwards from the task bar's top.
    RECT r = Track(POINT{630, 980}, 0);
    EXPECT_EQ(r.right, 630);
    EXPECT_EQ(r.bottom, 980);
    // Just across on the second monitor: rightwards; the bottom is the screen's.
    r = Track(POINT{645, 990}, 0);
    EXPECT_EQ(r.left, 645);
    EXPECT_EQ(r.bottom, 990);
    r = Track(POINT{645, 900}, 0);
    EXPECT_EQ(r.top, 900);
    // A cascade from a popup at the primary's right edge opens to the left.
    RECT subRect{};
    r = Track(POINT{638, 100}, TPM_RIGHTALIGN, nullptr, true, &subRect);
    EXPECT_EQ(r.right, 638);
    EXPECT_EQ(subRect.right, r.left + 3);
}

// ---- monitors -----------------------------------------------------------------------------------------------------

TEST_F(UserTest, MonitorsAnswerFromTheLayout)
{
    // The default: one primary monitor over the desktop.
    HMONITOR only = MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL);
    ASSERT_TRUE(only);
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    ASSERT_TRUE(GetMonitorInfoW(only, &mi));
    EXPECT_EQ(mi.rcMonitor.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(mi.dwFlags, MONITORINFOF_PRIMARY);

    const user::MonitorDesc layout[] = {
        {{0, 0, 640, 1024}, {0, 0, 640, 984}, true},
        {{640, 0, 1280, 1024}, {700, 0, 1280, 1024}, false},
    };
    ASSERT_TRUE(user::SetMonitorLayout(layout));
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    // The old handle names nothing now.
    SetLastError(0);
    EXPECT_FALSE(GetMonitorInfoW(only, &mi));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTONULL);
    const HMONITOR second = MonitorFromPoint(POINT{640, 0}, MONITOR_DEFAULTTONULL);
    ASSERT_TRUE(primary && second);
    EXPECT_NE(primary, second);
    struct Row {
        const char* name;
        HMONITOR got;
        HMONITOR want;
    };
    const RECT mostlySecond{600, 10, 700, 20};  // 40 on the primary, 60 on the second
    const RECT farRight{2000, 10, 2100, 20};
    const RECT evenSplit{590, 10, 690, 20};     // 50 and 50: the first in layout order
    const Row rows[] = {
        {"PointOnTheSecond", MonitorFromPoint(POINT{1000, 500}, MONITOR_DEFAULTTONULL), second},
        {"PointOffEveryMonitorNull", MonitorFromPoint(POINT{-5, 500}, MONITOR_DEFAULTTONULL), nullptr},
        {"PointOffEveryMonitorPrimary", MonitorFromPoint(POINT{1500, 500}, MONITOR_DEFAULTTOPRIMARY), primary},
        {"PointOffEveryMonitorNearest", MonitorFromPoint(POINT{1500, 500}, MONITOR_DEFAULTTONEAREST), second},
        {"RectMostlyOnTheSecond", MonitorFromRect(&mostlySecond, MONITOR_DEFAULTTONULL), second},
        {"RectSplitEvenly", MonitorFromRect(&evenSplit, MONITOR_DEFAULTTONULL), primary},
        {"RectOffEveryMonitorNearest", MonitorFromRect(&farRight, MONITOR_DEFAULTTONEAREST), second},
        {"RectOffEveryMonitorNull", MonitorFromRect(&farRight, MONITOR_DEFAULTTONULL), nullptr},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.got, r.want) << r.name;
    // A window belongs where most of it is.
    HWND w = Make(WS_POPUP, 620, 100, 200, 100);
    EXPECT_EQ(MonitorFromWindow(w, MONITOR_DEFAULTTONULL), second);
    DestroyWindow(w);

    MONITORINFOEXW ex{};
    ex.cbSize = sizeof ex;
    ASSERT_TRUE(GetMonitorInfoW(second, &ex));
    EXPECT_EQ(ex.rcWork.left, 700);
    EXPECT_EQ(ex.dwFlags, 0u);
    EXPECT_STREQ(ex.szDevice, L"\\\\.\\DISPLAY2");

    // Enumeration: every monitor meeting the clip, with the part that meets it.
    static std::vector<std::pair<HMONITOR, RECT>> seen;
    seen.clear();
    const RECT clip{600, 0, 700, 50};
    EXPECT_TRUE(EnumDisplayMonitors(nullptr, &clip, [](HMONITOR h, HDC, LPRECT r, LPARAM) -> BOOL {
        seen.emplace_back(h, *r);
        return TRUE;
    }, 0));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, primary);
    EXPECT_EQ(seen[0].second.left, 600);
    EXPECT_EQ(seen[0].second.right, 640);
    EXPECT_EQ(seen[1].second.left, 640);
    EXPECT_EQ(seen[1].second.right, 700);
    // The callback can stop it.
    seen.clear();
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR h, HDC, LPRECT r, LPARAM) -> BOOL {
        seen.emplace_back(h, *r);
        return FALSE;
    }, 0);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(UserTest, ImpossibleMonitorLayoutsAreRefusedAndChangeNothing)
{
    const RECT desk{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    struct Row {
        const char* name;
        std::vector<user::MonitorDesc> layout;
    };
    const Row rows[] = {
        {"Overlapping", {{{0, 0, 700, 500}, {0, 0, 700, 500}, true}, {{600, 0, 1200, 500}, {600, 0, 1200, 500}, false}}},
        {"OutsideTheDesktop", {{{0, 0, desk.right + 10, 500}, {0, 0, 100, 100}, true}}},
        {"WorkAreaOutsideItsMonitor", {{{0, 0, 640, 500}, {0, 0, 700, 500}, true}}},
        {"EmptyWorkArea", {{{0, 0, 640, 500}, {0, 0, 0, 0}, true}}},
        {"NoPrimary", {{{0, 0, 640, 500}, {0, 0, 640, 500}, false}}},
        {"TwoPrimaries", {{{0, 0, 640, 500}, {0, 0, 640, 500}, true}, {{640, 0, 1280, 500}, {640, 0, 1280, 500}, true}}},
    };
    for (const Row& r : rows) {
        SetLastError(0);
        EXPECT_FALSE(user::SetMonitorLayout(r.layout)) << r.name;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << r.name;
        ASSERT_EQ(user::MonitorLayout().size(), 1u) << r.name;
        EXPECT_TRUE(EqualRect(&user::MonitorLayout()[0].monitor, &desk)) << r.name;
    }
}

} // namespace
} // namespace zyn::test
