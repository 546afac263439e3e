// CToolBarCtrl: each member reaches its TB_ message (a representative round of them,
// checked by what the control then answers).
#include "platform/afx/toolbarctrl.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/base/cstring.h"
#include "tests/comctl/toolbar_test_support.h"

namespace zyn::test {
namespace {

using AfxToolBar = ToolbarTest;

TEST_F(AfxToolBar, MembersSendTheirMessages)
{
    HWND parentWnd = MakeParent();
    CWnd parent;
    ASSERT_TRUE(parent.Attach(parentWnd));
    {
        CToolBarCtrl bar;
        ASSERT_TRUE(bar.Create(WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_FLAT,
            CRect(0, 0, 300, 40), &parent, 12));
        EXPECT_EQ(GetDlgCtrlID(bar.m_hWnd), 12);
        const TBBUTTON buttons[] = {Btn(1), Sep(), Btn(2)};
        EXPECT_TRUE(bar.AddButtons(3, buttons));
        const TBBUTTON front = Btn(5);
        EXPECT_TRUE(bar.InsertButton(0, &front));
        EXPECT_EQ(bar.GetButtonCount(), 4);
        EXPECT_EQ(bar.CommandToIndex(2), 3u);
        EXPECT_TRUE(bar.MoveButton(3, 0));
        EXPECT_EQ(bar.CommandToIndex(2), 0u);
        EXPECT_TRUE(bar.CheckButton(1));
        EXPECT_TRUE(bar.IsButtonChecked(1));
        EXPECT_TRUE(bar.EnableButton(1, FALSE));
        EXPECT_FALSE(bar.IsButtonEnabled(1));
        EXPECT_EQ(bar.GetState(1), TBSTATE_CHECKED);
        EXPECT_EQ(bar.AddStrings(L"Alpha\0Beta\0"), 0);
        CString text;
        EXPECT_EQ(bar.GetString(1, text), 4);
        EXPECT_EQ(text, CString(L"Beta"));
        EXPECT_EQ(bar.GetButtonText(99), CString());
        EXPECT_EQ(bar.GetButtonSize(), CSize(24, 22));
        EXPECT_TRUE(bar.SetBitmapSize(CSize(20, 18)));
        EXPECT_EQ(bar.GetButtonSize(), CSize(27, 24)) << "20 + 7 by 18 + 6";
        EXPECT_EQ(bar.SetPadding(3, 3), static_cast<DWORD>(MAKELONG(7, 6)));
        int h = 0, v = 0;
        bar.GetPadding(h, v);
        EXPECT_EQ(h, 3);
        EXPECT_EQ(v, 3);
        CRect r;
        EXPECT_TRUE(bar.GetItemRect(0, &r));
        CPoint pt(r.left + 2, r.top + 2);
        EXPECT_EQ(bar.HitTest(&pt), 0);
        EXPECT_EQ(bar.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS), 0u);
        EXPECT_EQ(bar.GetExtendedStyle(), TBSTYLE_EX_DRAWDDARROWS);
        EXPECT_EQ(bar.SetHotItem(0), -1);
        EXPECT_EQ(bar.GetHotItem(), 0);
        CImageList list;
        ASSERT_TRUE(list.Create(16, 15, ILC_COLOR32 | ILC_MASK, 1, 1));
        EXPECT_EQ(bar.SetImageList(&list), nullptr);
        EXPECT_EQ(bar.GetImageList()->GetSafeHandle(), list.GetSafeHandle());
        EXPECT_EQ(bar.SetOwner(nullptr), &parent);
        EXPECT_TRUE(bar.DeleteButton(0));
        EXPECT_EQ(bar.GetButtonCount(), 3);
        bar.DestroyWindow();
    }
    parent.DestroyWindow();
}

} // namespace
} // namespace zyn::test
