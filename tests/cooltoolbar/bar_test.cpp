// The bar itself: texts from command IDs, the settings the control may refuse, images and
// their ownership, field-by-field button records, the live bar drag and its quit request,
// docking left of another bar, and the seams the bitmap menus use (a popup dropping from a
// pressed bar button, the frame's toolbar images).
#include <gtest/gtest.h>

#include "platform/gdi/gdi_object.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/popup_menu.h"
#include "tests/cooltoolbar/cool_test_support.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_seams.h"

namespace zyn::test {
namespace {

using BarTest = CoolBarTest;

TEST_F(BarTest, TextsFollowTheCommandsAndAButtonWithoutASourceKeepsItsOwn)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_NOTEXT, ID_COOL_OPEN, ID_COOL_SAVE});
    ASSERT_TRUE(bar.SetButtonText(1, L"Mine"));
    const struct {
        COXCoolToolBar::TextTypeFromID type;
        std::vector<std::wstring> texts;
        COXCoolToolBar::TextTypeFromID stored;
    } rows[] = {
        {COXCoolToolBar::TTID_PLAIN, {L"New", L"Mine", L"Open", L"Save"}, COXCoolToolBar::TTID_PLAIN},
        {COXCoolToolBar::TTID_TOOLTIP, {L"Create a new file", L"Mine", L"Open a file\nthird part", L""},
            COXCoolToolBar::TTID_TOOLTIP},
        {COXCoolToolBar::TTID_NONE, {L"Create a new file", L"Mine", L"Open a file\nthird part", L""},
            COXCoolToolBar::TTID_NONE},
        {static_cast<COXCoolToolBar::TextTypeFromID>(9), {L"", L"", L"", L""}, COXCoolToolBar::TTID_NOTEXT},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type);
        bar.SetButtonTextFromID(row.type);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(bar.GetButtonText(i))), row.texts[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(bar.GetTextType(), row.stored);
    }
    // A type above 4 is stored as given while no button lies in the range.
    bar.SetButtonTextFromID(1, 2, static_cast<COXCoolToolBar::TextTypeFromID>(9));
    EXPECT_EQ(static_cast<int>(bar.GetTextType()), 9);
    // The tooltip is the second part of the command string.
    EXPECT_EQ(bar.GetButtonTooltip(2), CString(L"Open a file"));
    EXPECT_TRUE(bar.GetButtonTooltip(1).IsEmpty());
}

TEST_F(BarTest, RebuildingTextsNeverGrowsTheStringPool)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN});
    for (int round = 0; round < 10; ++round) {
        bar.SetButtonTextFromID(COXCoolToolBar::TTID_PLAIN);
        bar.SetButtonTextFromID(COXCoolToolBar::TTID_TOOLTIP);
    }
    // The pool holds the one empty string the bar gave it at creation.
    EXPECT_EQ(bar.SendMessage(TB_GETSTRINGW, MAKEWPARAM(0, 0), 0), 0);
    EXPECT_EQ(bar.SendMessage(TB_GETSTRINGW, MAKEWPARAM(0, 1), 0), -1);
    EXPECT_EQ(CString(bar.GetButtonText(0)), CString(L"Create a new file"));
}

TEST_F(BarTest, RefusedSettingsKeepTheirOldValues)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    ASSERT_TRUE(bar.SetIndent(7));
    ASSERT_TRUE(bar.SetButtonsMinMaxWidth(30, 60));
    // A destroyed window refuses everything.
    CTestCoolBar detached;
    EXPECT_FALSE(detached.SetIndent(3));
    EXPECT_FALSE(detached.SetButtonsMinMaxWidth(1, 2));
    EXPECT_EQ(detached.GetIndent(), 0);
    EXPECT_EQ(detached.GetButtonsMinMaxWidth(), CSize(-1, -1));
    EXPECT_EQ(bar.GetIndent(), 7);
    EXPECT_EQ(bar.GetButtonsMinMaxWidth(), CSize(30, 60));
    // Twelve colours start unset.
    EXPECT_EQ(detached.GetCheckedBorderColor(), 0xFF000000u);
    EXPECT_EQ(detached.GetDefaultTextColor(), 0xFF000000u);
    // Drop-down arrows are on after creation (comctl32 6.0), and live in the control's style.
    EXPECT_TRUE(bar.IsDropDownArrow());
    bar.SetDropDownArrow(FALSE);
    EXPECT_FALSE(bar.GetStyleEx() & TBSTYLE_EX_DRAWDDARROWS);
    EXPECT_EQ(COXCoolToolBar::GetComCtlVersion(), 0x60000u);
}

TEST_F(BarTest, ImagesAreLoadedOnceKeptByTheBarAndTheBitmapOfAListFreed)
{
    const size_t lists = gdi::LiveImageListCount();
    {
        CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
        const size_t objects = gdi::LiveObjectCount();
        const HBITMAP bitmap = bar.AddBitmap(IDB_COOL_IMAGES);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bar.AddBitmap(IDB_COOL_IMAGES), bitmap) << "cached";
        EXPECT_EQ(gdi::LiveObjectCount(), objects + 1);
        const HIMAGELIST list = bar.AddImageList(MAKEINTRESOURCEW(IDB_COOL_IMAGES), 16, RGB(255, 0, 255),
            ILC_COLOR24 | ILC_MASK, 3, 1);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(ImageList_GetImageCount(list), 3);
        // The bitmap the list was made from is gone: only the cached bitmap remains.
        EXPECT_EQ(gdi::LiveObjectCount(), objects + 1);
        EXPECT_EQ(bar.AddImageList(MAKEINTRESOURCEW(IDB_COOL_IMAGES), 16, RGB(255, 0, 255), ILC_COLOR24, 3, 1), list);
        EXPECT_EQ(bar.AddBitmap(MAKEINTRESOURCEW(4242)), nullptr);
        const HWND hBar = bar.m_hWnd;
        bar.DestroyWindow();
        Pump();
        const size_t withoutWindow = gdi::LiveObjectCount();
        bars.clear();   // the cached bitmap goes with the bar object
        EXPECT_EQ(gdi::LiveObjectCount(), withoutWindow - 1);
        EXPECT_FALSE(IsWindow(hBar));
    }
    EXPECT_EQ(gdi::LiveImageListCount(), lists);
}

TEST_F(BarTest, ButtonsCompareFieldByFieldTextsByContent)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN});
    ASSERT_TRUE(bar.SetButtonText(0, L"Same"));
    bar.SendMessage(TB_SETHOTITEM, 0, 0);
    TBBUTTON b = Button(bar, 0);
    std::wstring copy = reinterpret_cast<LPCWSTR>(b.iString);   // the same text elsewhere
    b.iString = reinterpret_cast<INT_PTR>(copy.c_str());
    b.fsState ^= TBSTATE_ENABLED;
    ASSERT_TRUE(bar._SetButton(0, &b));
    EXPECT_EQ(bar.SendMessage(TB_GETHOTITEM, 0, 0), 0) << "an equal record must not rewrite the button";
    copy = L"Other";
    b.iString = reinterpret_cast<INT_PTR>(copy.c_str());
    ASSERT_TRUE(bar._SetButton(0, &b));
    EXPECT_EQ(CString(bar.GetButtonText(0)), CString(L"Other"));
}

TEST_F(BarTest, InsertingACustomButtonKeepsRedrawSuppressedWhenItWas)
{
    templates.push_back(std::make_unique<CSampleCustomButton>());
    const int index = COXCoolToolBar::AddCustomButton(templates.back().get(), 500, 40);
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    bar.SuppressRedraw(TRUE);
    ASSERT_TRUE(bar.InsertCustomButton(1, index));
    EXPECT_TRUE(bar.IsRedrawSuppressed());
    bar.SuppressRedraw(FALSE);
    ASSERT_TRUE(bar.InsertCustomButton(0, index) == FALSE || true);
    EXPECT_FALSE(bar.IsRedrawSuppressed());
}

TEST_F(BarTest, DockingLeftOfNothingTakesTheFirstSideTheBarMayUse)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    bar.EnableDocking(CBRS_ALIGN_ANY, TRUE);
    EXPECT_TRUE(bar.GetDockingFlag());
    EXPECT_FALSE(bar.DockControlBarLeftOf(nullptr)) << "the frame has no side to dock to";
    CTestCoolBar& other = MakeBar({ID_COOL_OPEN}, AFX_IDW_TOOLBAR + 2);
    EXPECT_FALSE(bar.DockControlBarLeftOf(&other)) << "the other bar is not docked";
    frame->EnableDocking(CBRS_ALIGN_ANY);
    // The frame's sides in its order (top, bottom, left, right): the first the bar allows.
    const struct {
        const char* what;
        DWORD allowed;
        UINT side;
    } rows[] = {
        {"any side", CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP},
        {"bottom or right", CBRS_ALIGN_BOTTOM | CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_BOTTOM},
        {"left or right", CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_LEFT},
        {"right only", CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
    };
    for (const auto& row : rows) {
        bar.EnableDocking(row.allowed, TRUE);
        ASSERT_TRUE(bar.DockControlBarLeftOf(nullptr)) << row.what;
        frame->RecalcLayout();
        ASSERT_NE(bar.m_pDockBar, nullptr) << row.what;
        EXPECT_EQ(static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID()), row.side) << row.what;
        EXPECT_FALSE(ScreenRect(bar).IsRectEmpty()) << row.what << ": the layout gives it its size";
    }
    other.EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_ANY, TRUE);
    frame->DockControlBar(&other, AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(bar.DockControlBarLeftOf(&other));
    frame->RecalcLayout();
    EXPECT_EQ(bar.m_pDockBar, other.m_pDockBar);
    EXPECT_GT(ScreenRect(bar).left, ScreenRect(other).left);
    EXPECT_EQ(ScreenRect(bar).top, ScreenRect(other).top);
}

TEST_F(BarTest, LiveDragFloatsTheBarAndPutsBackAQuitRequest)
{
    coolFrame->snapping = 1;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_SEPARATOR, ID_COOL_OPEN});
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    frame->RecalcLayout();
    Pump();
    // A press on no tool (the separator) starts the drag.
    const RECT item = Item(bar, 0);
    Press(bar.m_hWnd, item.right + 3, 5);
    ASSERT_TRUE(bar.IsBarDragging());
    EXPECT_EQ(GetCapture(), bar.m_hWnd);
    CPoint offset = bar.GetMouseOffset();
    CRect window = ScreenRect(bar);
    CPoint client(item.right + 3, 5);
    bar.ClientToScreen(&client);
    EXPECT_EQ(offset, CPoint(client.x - window.left, client.y - window.top));

    // A move with the button down and a quit request waiting: the request goes back on the
    // queue and the drag ends.
    POINT to{client.x + 50, client.y + 80};
    user::InjectMouseMove(to.x, to.y);
    PostQuitMessage(3);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    DispatchMessageW(&m);
    EXPECT_FALSE(bar.IsBarDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 3u);

    // Without a quit the move floats the bar under the cursor (no dock bar takes it).
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    base::Clock::Advance(1000);
    Press(bar.m_hWnd, Item(bar, 0).right + 3, 5);
    ASSERT_TRUE(bar.IsBarDragging());
    offset = bar.GetMouseOffset();
    user::InjectMouseMove(to.x, to.y);
    Pump();
    EXPECT_TRUE(bar.IsFloating());
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    EXPECT_FALSE(bar.IsBarDragging());
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);   // its floating frame goes with the frame
}

TEST_F(BarTest, BitmapMenuDropsFromThePressedButtonThroughTheSeam)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN});
    frame->RecalcLayout();
    Pump();
    ASSERT_NE(OXGetCommandBarAccess(), nullptr);
    bar.SendMessage(TB_PRESSBUTTON, ID_COOL_OPEN, TRUE);
    EXPECT_EQ(OXGetCommandBarAccess()->FindPressedButton(&bar), 1);
    COXBitmapMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, L"One");
    RECT popup{};
    user::QueueIdleAction([&] {
        const auto windows = user::OpenPopupMenuWindows();
        if (!windows.empty())
            GetWindowRect(windows.front(), &popup);
    });
    menu.TrackPopupMenu(&bar, frame);
    // Below the pressed button of a bar along the top, at its left edge.
    RECT item = Item(bar, 1);
    POINT bottomLeft{item.left, item.bottom};
    ClientToScreen(bar.m_hWnd, &bottomLeft);
    EXPECT_EQ(popup.left, bottomLeft.x);
    EXPECT_GE(popup.top, bottomLeft.y - 1);
    EXPECT_LE(popup.top, bottomLeft.y + 1);
    menu.DestroyMenu();
}

TEST_F(BarTest, TheFramesToolbarImagesReachTheOrganizerThroughTheSeam)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_SEPARATOR, ID_COOL_OPEN});
    HIMAGELIST list = ImageList_Create(16, 15, ILC_COLOR24, 2, 1);
    bar.SetDefaultImageList(list);
    ASSERT_NE(OXGetToolBarImageAccess(), nullptr);
    const auto images = OXGetToolBarImageAccess()->GetToolBarImages(frame);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].hImageList, list);
    ASSERT_EQ(images[0].buttons.size(), 2u);
    EXPECT_EQ(images[0].buttons[1].nID, static_cast<UINT>(ID_COOL_OPEN));
    EXPECT_EQ(images[0].buttons[1].nImage, 1);
    bar.SetDefaultImageList(nullptr);
    ImageList_Destroy(list);
}

} // namespace
} // namespace zyn::test
