// SetWindowPlacement keeps a top-level window reachable: a normal rectangle that lies on no
// monitor moves the least distance into the work area of the nearest monitor (no larger
// than it); one that meets a monitor, and a child window's, stay as given.
#include <climits>

#include "platform/user/monitor.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

class PlacementTest : public UserTest {
protected:
    static RECT Placed(HWND h, RECT normal)
    {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        wp.showCmd = SW_SHOWNORMAL;
        wp.rcNormalPosition = normal;
        EXPECT_TRUE(SetWindowPlacement(h, &wp));
        RECT r{};
        GetWindowRect(h, &r);
        return r;
    }
};

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(PlacementTest, ARectangleOnNoMonitorMovesOntoTheNearestWorkArea)
{
    // Two monitors side by side; the primary's work area leaves 40 pixels at the bottom.
    const user::MonitorDesc layout[] = {
        {{0, 0, 640, 1024}, {0, 0, 640, 984}, true},
        {{640, 0, 1280, 1024}, {640, 0, 1280, 1024}, false},
    };
    ASSERT_TRUE(user::SetMonitorLayout(layout));
    HWND h = Make(WS_OVERLAPPEDWINDOW, 10, 10, 100, 100);
    struct Row {
        const char* what;
        RECT normal;
        RECT expected;
    };
    const Row rows[] = {
        {"right of the second monitor: against its right edge", {2000, 100, 2300, 300}, {980, 100, 1280, 300}},
        {"below and left of the primary: into its work area's corner", {-500, 2000, -200, 2100},
            {0, 884, 300, 984}},
        {"partly on the second monitor: stays", {600, -50, 900, 150}, {600, -50, 900, 150}},
        {"on the primary: stays", {100, 100, 400, 300}, {100, 100, 400, 300}},
        {"too large and off: the whole work area", {3000, 0, 4000, 1200}, {640, 0, 1280, 1024}},
    };
    for (const Row& row : rows) {
        const RECT got = Placed(h, row.normal);
        EXPECT_TRUE(Same(got, row.expected)) << row.what << ": " << got.left << "," << got.top << "," << got.right
                                             << "," << got.bottom;
        WINDOWPLACEMENT back{};
        back.length = sizeof back;
        ASSERT_TRUE(GetWindowPlacement(h, &back));
        EXPECT_TRUE(Same(back.rcNormalPosition, row.expected)) << row.what << ": the placement read back";
    }
    // A child's rectangle is its parent's business.
    HWND child = Make(WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, h);
    const RECT inParent = {5000, 5000, 5020, 5020};
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.showCmd = SW_SHOWNORMAL;
    wp.rcNormalPosition = inParent;
    ASSERT_TRUE(SetWindowPlacement(child, &wp));
    WINDOWPLACEMENT back{};
    back.length = sizeof back;
    ASSERT_TRUE(GetWindowPlacement(child, &back));
    EXPECT_TRUE(Same(back.rcNormalPosition, inParent));
    DestroyWindow(h);
}

TEST_F(PlacementTest, TheDefaultMonitorCoversTheDesktop)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 10, 10, 100, 100);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Placements of top-level windows are in work-area coordinates.
    const RECT got = Placed(h, RECT{5000, 5000, 5300, 5200});
    EXPECT_TRUE(Same(got, RECT{work.right - 300, work.bottom - 200, work.right, work.bottom}));
    DestroyWindow(h);
}

// A placement out of a damaged profile: coordinates or a size whose arithmetic would
// overflow 32 bits are refused, and the window stays where it is.
TEST_F(PlacementTest, CoordinatesBeyondAnyScreenAreRefused)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 10, 10, 100, 100);
    RECT before{};
    GetWindowRect(h, &before);
    const struct {
        const char* what;
        RECT normal;
    } rows[] = {
        {"left at the largest integer", {INT_MAX, 0, INT_MAX, 100}},
        {"right at the smallest integer", {0, 0, INT_MIN, 100}},
        {"a width past 32 bits", {INT_MIN + 1, 0, INT_MAX, 100}},
        {"a height past 32 bits", {0, -2000000000, 100, 2000000000}},
    };
    for (const auto& row : rows) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        wp.showCmd = SW_SHOWNORMAL;
        wp.rcNormalPosition = row.normal;
        SetLastError(0);
        EXPECT_FALSE(SetWindowPlacement(h, &wp)) << row.what;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << row.what;
        RECT r{};
        GetWindowRect(h, &r);
        EXPECT_TRUE(Same(r, before)) << row.what;
    }
    DestroyWindow(h);
}

} // namespace
} // namespace zyn::test
