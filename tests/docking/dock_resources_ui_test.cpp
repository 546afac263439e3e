// The docking unit's resources reach it through the resource chain: the drag prompt and
// the context-menu texts of the common module, the class library's hide text, and the two
// splitter cursors; and the paints a bar waits for leave an application's WM_QUIT queued.
#include "platform/afx/afxres.h"
#include "platform/base/cstring.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "tests/docking/docking_test_support.h"
#include "toolkit/docking/dock_util.h"

namespace zyn::test {
namespace {

TEST(DockResources, TheStringsOfTheDragAndTheMenusAreThere)
{
    struct Row {
        UINT id;
        const wchar_t* text;   // null: any text
    };
    const Row rows[] = {
        {ID_OX_DRAG_PROMPT, nullptr},
        {ID_OX_FLOAT_AS_MDI, L"Float as a &document window"},
        {IDS_OX_ALLOW_DOCKING, L"&Allow docking"},
        {IDS_OX_HIDE_BAR, L"&Hide"},
        {AFX_IDS_HIDE, L"&Hide"},
    };
    for (const Row& row : rows) {
        CString text;
        EXPECT_TRUE(text.LoadString(row.id)) << row.id;
        EXPECT_FALSE(text.IsEmpty()) << row.id;
        if (row.text) {
            EXPECT_STREQ(text.GetString(), row.text) << row.id;
        }
    }
}

TEST(DockResources, TheSplitterCursorsAreThere)
{
    for (const UINT id : {AFX_IDC_HSPLITBAR, AFX_IDC_VSPLITBAR}) {
        const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(static_cast<WORD>(id)), RT_GROUP_CURSOR);
        ASSERT_NE(module, nullptr) << id;
        const HCURSOR cursor = ::LoadCursorW(module, MAKEINTRESOURCEW(static_cast<WORD>(id)));
        EXPECT_NE(cursor, nullptr) << id;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(cursor, &info)) << id;
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, 15u);
        EXPECT_EQ(info.yHotspot, 15u);
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
    }
}

class PaintPumpTest : public SizeDockTest {};

TEST_F(PaintPumpTest, WaitingPaintsAreDoneAndAQuitStaysForTheApplication)
{
    ASSERT_TRUE(MakeSizeFrame());
    ::InvalidateRect(view, nullptr, TRUE);
    ::PostQuitMessage(9);
    OXDispatchPendingPaints();
    EXPECT_FALSE(::GetUpdateRect(view, nullptr, FALSE)) << "the view was painted";
    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 9u);
}

} // namespace
} // namespace zyn::test
