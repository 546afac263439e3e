// The list view at the session log's size: filling and emptying a report of 100,000 rows
// (appending or inserting at the front) costs about ten times 10,000 rows (linear, not
// quadratic), and painting and scrolling ask only about the rows that show.
#include <chrono>

#include "tests/comctl/listview_test_support.h"
#include "tests/support/timing.h"

namespace zyn::test {
namespace {

class ListScale : public ListViewTest {
protected:
    // Seconds to append n rows with a second column, then delete half from the end one by
    // one and the rest at once; with `front`, each row goes in at index 0 and the first
    // half is deleted from the front.
    double FillAndEmpty(HWND list, int n, bool front = false)
    {
        const auto start = std::chrono::steady_clock::now();
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.pszText = const_cast<LPWSTR>(L"Jul 05 2008 03:04:05PM");
        LVITEMW sub{};
        sub.iSubItem = 1;
        sub.pszText = const_cast<LPWSTR>(L"Success");
        for (int i = 0; i < n; ++i) {
            item.iItem = front ? 0 : i;
            item.lParam = i;
            const int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
        }
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), n);
        for (int i = n - 1; i >= n / 2; --i)
            SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(front ? 0 : i), 0);
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

TEST_F(ListScale, TenTimesTheRowsCostAboutTenTimesTheTime)
{
    HWND list = MakeList(LVS_REPORT | LVS_SHOWSELALWAYS, 300, 200);
    AddColumn(list, 0, L"Date", 150);
    AddColumn(list, 1, L"Status", 100);
    FillAndEmpty(list, 2000); // warm up caches and allocators
    const double small = BestOf([&] { return FillAndEmpty(list, 10000) + FillAndEmpty(list, 10000, true); });
    const double large = BestOf([&] { return FillAndEmpty(list, 100000) + FillAndEmpty(list, 100000, true); });
    // Linear work gives a ratio near 10; quadratic work would give 100. The bound leaves
    // room for a loaded machine, where 100k rows also fall out of the caches (ratios up to
    // about 45 were seen under a full parallel suite).
    EXPECT_LT(large / small, 60.0) << "10k: " << small << " s, 100k: " << large << " s";
    DestroyWindow(list);
}

TEST_F(ListScale, OnlyShownRowsAreAskedForOrDrawn)
{
    HWND list = MakeList(LVS_REPORT | LVS_OWNERDRAWFIXED, 300, 200);
    AddColumn(list, 0, L"Date", 150);
    AddColumn(list, 1, L"Status", 100);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = LPSTR_TEXTCALLBACKW;
    for (int i = 0; i < 100000; ++i) {
        item.iItem = i;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    Pump();
    user::PaintPendingWindows();
    EXPECT_TRUE(Only({LVN_GETDISPINFOW}).empty()) << "an owner-drawn list draws its own texts";
    const auto drawn = Only({WM_DRAWITEM});
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_GE(static_cast<int>(drawn.size()), rows);
    EXPECT_LE(static_cast<int>(drawn.size()), rows + 1);
    // The same list drawn by the control asks for the texts of the rows that show.
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) & ~static_cast<LONG>(LVS_OWNERDRAWFIXED));
    events.clear();
    SendMessageW(list, LVM_ENSUREVISIBLE, 99999, FALSE);
    Pump();
    user::PaintPendingWindows();
    const auto asked = Only({LVN_GETDISPINFOW});
    EXPECT_FALSE(asked.empty());
    EXPECT_LE(static_cast<int>(asked.size()), 2 * (rows + 1)) << "two columns of the rows shown";
    for (const Event& e : asked)
        EXPECT_GE(e.item, 99999 - rows) << "only the last page";
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    DestroyWindow(list);
}

} // namespace
} // namespace zyn::test
