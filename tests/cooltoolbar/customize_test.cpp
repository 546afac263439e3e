// Customisation: advanced mode by scripted mouse and the context menu, with every edit
// offered first to the customisation window, which may veto it; the control's own
// customisation notices answered from the bitmap command IDs.
#include <gtest/gtest.h>

#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/popup_menu.h"
#include "tests/cooltoolbar/cool_test_support.h"

namespace zyn::test {
namespace {

using user::AnswerKind;
using user::AnswerScript;
using user::MouseButton;

UINT g_ids[] = {ID_COOL_NEW, ID_COOL_OPEN, ID_COOL_SAVE, ID_COOL_PRINT};

class CustomizeTest : public CoolBarTest {
protected:
    // NEW OPEN | SAVE, texts from the command strings, advanced mode on.
    CTestCoolBar& MakeCustomizable()
    {
        CTestCoolBar& bar = MakeBar({ID_COOL_NEW, ID_COOL_OPEN, ID_SEPARATOR, ID_COOL_SAVE});
        bar.SetBitmapIds(g_ids, 4);
        bar.SetButtonTextFromID(COXCoolToolBar::TTID_PLAIN);
        bar.SetAdvancedCustomizationMode(TRUE, Recorder());
        Pump();
        Events().clear();
        return bar;
    }
    static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

struct MenuItem {
    UINT id;
    UINT state;   // MF_CHECKED | MF_GRAYED bits
    bool operator==(const MenuItem&) const = default;
};

TEST_F(CustomizeTest, RightClickSelectsAndShowsTheButtonsMenu)
{
    CTestCoolBar& bar = MakeCustomizable();
    const POINT open = Centre(Item(bar, 1));
    std::vector<MenuItem> shown;
    user::QueueIdleAction([&] {
        for (HWND popup : user::OpenPopupMenuWindows()) {
            const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            for (int i = 0; i < GetMenuItemCount(menu); ++i)
                shown.push_back(MenuItem{GetMenuItemID(menu, i),
                    GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED)});
        }
    });
    Press(bar.m_hWnd, open.x, open.y, MouseButton::Right);
    Release(bar.m_hWnd, open.x, open.y, MouseButton::Right);
    EXPECT_EQ(bar.GetCustomizedButton(), 1);
    // OPEN has text and an image: "image and text" is checked; the separator after it
    // greys "separator after"; the button before it is no separator.
    const std::vector<MenuItem> expected = {{ID_OXCUSTTB_DELETE, 0}, {0, 0}, {ID_OXCUSTTB_APPEARANCE, 0},
        {ID_OXCUSTTB_IMAGEONLY, 0}, {ID_OXCUSTTB_IMAGETEXT, MF_CHECKED}, {0, 0},
        {ID_OXCUSTTB_SEPARATOR_BEFORE, 0}, {ID_OXCUSTTB_SEPARATOR_AFTER, MF_GRAYED}};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(EventCodes(), std::vector<UINT>{ID_OXCUSTTB_SELECTED});
    // A right press on empty space deselects.
    const RECT last = Item(bar, 3);
    Press(bar.m_hWnd, last.right + 40, 5, MouseButton::Right);
    Release(bar.m_hWnd, last.right + 40, 5, MouseButton::Right);
    EXPECT_EQ(bar.GetCustomizedButton(), -1);
}

TEST_F(CustomizeTest, DeleteFromTheMenuIsVetoedThenDone)
{
    CTestCoolBar& bar = MakeCustomizable();
    const POINT open = Centre(Item(bar, 1));
    Veto() = [](UINT event) { return event == ID_OXCUSTTB_DELETE ? 1 : 0; };
    AnswerScript::Push(AnswerKind::PopupMenu, static_cast<int>(ID_OXCUSTTB_DELETE));
    Press(bar.m_hWnd, open.x, open.y, MouseButton::Right);
    Release(bar.m_hWnd, open.x, open.y, MouseButton::Right);
    EXPECT_EQ(Count(bar), 4) << "the host vetoed the delete";
    EXPECT_EQ(EventCodes(), (std::vector<UINT>{ID_OXCUSTTB_SELECTED, ID_OXCUSTTB_DELETE}));

    Veto() = nullptr;
    Events().clear();
    base::Clock::Advance(1000);   // a second click, not a double click
    AnswerScript::Push(AnswerKind::PopupMenu, static_cast<int>(ID_OXCUSTTB_DELETE));
    Press(bar.m_hWnd, open.x, open.y, MouseButton::Right);
    Release(bar.m_hWnd, open.x, open.y, MouseButton::Right);
    ASSERT_EQ(Count(bar), 3);
    EXPECT_EQ(static_cast<UINT>(Button(bar, 1).idCommand), 0u);   // the separator moved up
    // Selected again, the delete offered, then the selection dropped with its button.
    EXPECT_EQ(EventCodes(), (std::vector<UINT>{ID_OXCUSTTB_SELECTED, ID_OXCUSTTB_DELETE, ID_OXCUSTTB_SELECTED}));
    EXPECT_EQ(bar.GetCustomizedButton(), -1);
}

TEST_F(CustomizeTest, ImageOnlyKeepsTheTextForImageAndText)
{
    CTestCoolBar& bar = MakeCustomizable();
    bar.SetCustomizedButton(1);
    const struct {
        UINT command;
        const wchar_t* text;   // OPEN's text afterwards
    } steps[] = {
        {ID_OXCUSTTB_IMAGEONLY, L""},
        {ID_OXCUSTTB_IMAGEONLY, L""},       // no text: nothing changes
        {ID_OXCUSTTB_IMAGETEXT, L"Open"},   // the recent text comes back
        {ID_OXCUSTTB_IMAGETEXT, L"Open"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        bar.SendMessage(WM_COMMAND, step.command, 0);
        EXPECT_EQ(CString(bar.GetButtonText(1)), CString(step.text));
    }
    EXPECT_EQ(bar.GetRecentButtonText(ID_COOL_OPEN), CString(L"Open"));
    // Separator before / after insert plain separators around the selection.
    bar.SendMessage(WM_COMMAND, ID_OXCUSTTB_SEPARATOR_BEFORE, 0);
    ASSERT_EQ(Count(bar), 5);
    EXPECT_TRUE(Button(bar, 1).fsStyle & TBSTYLE_SEP);
    EXPECT_EQ(bar.GetCustomizedButton(), 2) << "the selection stays with OPEN";
}

TEST_F(CustomizeTest, LeftPressSelectsWithoutPressingOrHoldingTheMouse)
{
    CTestCoolBar& bar = MakeCustomizable();
    const POINT save = Centre(Item(bar, 3));
    Press(bar.m_hWnd, save.x, save.y);
    EXPECT_EQ(bar.GetCustomizedButton(), 3);
    EXPECT_EQ(GetCapture(), nullptr) << "selecting must leave the mouse free";
    EXPECT_FALSE(Button(bar, 3).fsState & TBSTATE_PRESSED);
    Release(bar.m_hWnd, save.x, save.y);
    EXPECT_EQ(EventCodes(), std::vector<UINT>{ID_OXCUSTTB_SELECTED});
    // Leaving the mode drops the selection.
    bar.SetAdvancedCustomizationMode(FALSE);
    EXPECT_EQ(bar.GetCustomizedButton(), -1);
}

TEST_F(CustomizeTest, StandardCustomisationAsksTheBitmapCommands)
{
    CTestCoolBar& bar = MakeBar({ID_COOL_NEW});
    bar.SetBitmapIds(g_ids, 4);
    bar.SetCustomizable(TRUE, FALSE);
    EXPECT_TRUE(bar.IsCustomizable(FALSE));
    EXPECT_FALSE(bar.IsCustomizable(TRUE));
    struct Row {
        int item;
        int buffer;
        LRESULT result;
        int command;
        const wchar_t* text;
    } rows[] = {
        {0, 64, TRUE, ID_COOL_NEW, L"Create a new file"},
        {1, 64, TRUE, ID_COOL_OPEN, L"Open a file\nthird part"},
        {2, 64, TRUE, ID_COOL_SAVE, L"???"},   // no newline in its string
        {0, 5, TRUE, ID_COOL_NEW, L"Crea"},    // cut to the buffer
        {4, 64, FALSE, 0, L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        wchar_t text[64] = {};
        NMTOOLBARW nm{};
        nm.hdr.hwndFrom = bar.m_hWnd;
        nm.hdr.idFrom = static_cast<UINT_PTR>(bar.GetDlgCtrlID());
        nm.hdr.code = TBN_GETBUTTONINFOW;
        nm.iItem = row.item;
        nm.pszText = text;
        nm.cchText = row.buffer;
        EXPECT_EQ(SendMessageW(frame->m_hWnd, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)), row.result);
        EXPECT_EQ(nm.tbButton.idCommand, row.command);
        EXPECT_EQ(std::wstring(text), std::wstring(row.text));
    }
}

} // namespace
} // namespace zyn::test
