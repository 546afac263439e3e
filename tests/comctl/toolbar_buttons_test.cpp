// The toolbar's items by messages: inserting in both forms and record sizes, deleting,
// moving (remembered indexes follow), the string pool, TBBUTTONINFO, and button states
// with check groups.
#include <cstring>

#include "platform/base/module.h"
#include "tests/comctl/toolbar_test_support.h"

namespace zyn::test {
namespace {

using ToolbarButtons = ToolbarTest;

std::vector<int> Commands(HWND tb)
{
    std::vector<int> out;
    const auto n = static_cast<int>(SendMessageW(tb, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        TBBUTTON b{};
        SendMessageW(tb, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        out.push_back(b.idCommand);
    }
    return out;
}

std::wstring TextOf(HWND tb, int command)
{
    const auto n = SendMessageW(tb, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), 0);
    if (n < 0)
        return L"<none>";
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(tb, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(n));
    return text;
}

TEST_F(ToolbarButtons, InsertPlacesBeforeTheIndexAndAppendsForMinusOneOrPastTheEnd)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    Add(tb, {Btn(10), Btn(20)});
    struct Row {
        const char* name;
        INT_PTR at;
        bool ok;
        std::vector<int> after;
    };
    const Row rows[] = {
        {"front", 0, true, {1, 10, 20}},
        {"middle", 2, true, {1, 10, 2, 20}},
        {"append -1", -1, true, {1, 10, 2, 20, 3}},
        {"past the end", 99, true, {1, 10, 2, 20, 3, 4}},
        {"other negative", -2, false, {1, 10, 2, 20, 3, 4}},
    };
    int next = 1;
    for (const Row& r : rows) {
        const TBBUTTON b = Btn(r.ok ? next : 77);
        EXPECT_EQ(SendMessageW(tb, TB_INSERTBUTTONW, static_cast<WPARAM>(r.at), reinterpret_cast<LPARAM>(&b)) != 0,
            r.ok)
            << r.name;
        if (r.ok)
            ++next;
        EXPECT_EQ(Commands(tb), r.after) << r.name;
    }
    EXPECT_EQ(Send(tb, TB_COMMANDTOINDEX, 20), 3);
    EXPECT_EQ(Send(tb, TB_COMMANDTOINDEX, 555), -1);
}

TEST_F(ToolbarButtons, NarrowAndWideTextsAndShortRecordsReadTheSame)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    TBBUTTON narrow = Btn(1);
    const char* abc = "Abc\xE9"; // e-acute in the ANSI code page
    narrow.iString = reinterpret_cast<INT_PTR>(abc);
    ASSERT_TRUE(Send(tb, TB_INSERTBUTTONA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&narrow)));
    TBBUTTON wide = Btn(2);
    wide.iString = reinterpret_cast<INT_PTR>(L"Wide");
    ASSERT_TRUE(Send(tb, TB_INSERTBUTTONW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&wide)));
    EXPECT_EQ(TextOf(tb, 1), L"Abc\u00E9");
    EXPECT_EQ(TextOf(tb, 2), L"Wide");
    char buffer[16] = {};
    EXPECT_EQ(Send(tb, TB_GETBUTTONTEXTA, 2, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, "Wide");
    EXPECT_EQ(Send(tb, TB_GETBUTTONTEXTW, 99, 0), -1) << "unknown command";

    // A caller built with a record ending before dwData: the array steps by that size and
    // the missing fields read as zero.
    constexpr size_t shortSize = offsetof(TBBUTTON, dwData);
    std::vector<uint8_t> records(2 * shortSize, 0);
    for (int k = 0; k < 2; ++k) {
        TBBUTTON b = Btn(30 + k, 5 + k);
        std::memcpy(records.data() + k * shortSize, &b, shortSize);
    }
    Send(tb, TB_BUTTONSTRUCTSIZE, shortSize);
    ASSERT_TRUE(Send(tb, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(records.data())));
    Send(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    TBBUTTON got{};
    ASSERT_TRUE(Send(tb, TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(got.idCommand, 31);
    EXPECT_EQ(got.iBitmap, 6);
    EXPECT_EQ(got.dwData, 0u);
    EXPECT_EQ(got.iString, 0) << "a missing iString is pool string 0, as zero bytes say";
    EXPECT_FALSE(Send(tb, TB_GETBUTTON, 4, reinterpret_cast<LPARAM>(&got)));
}

TEST_F(ToolbarButtons, DeleteAndMoveKeepTheHotItemOnItsButton)
{
    HWND tb = MakeToolbar(MakeParent(), TBSTYLE_FLAT);
    Add(tb, {Btn(1), Btn(2), Btn(3), Btn(4)});
    Send(tb, TB_SETHOTITEM, 2); // command 3
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 2);
    EXPECT_TRUE(Send(tb, TB_MOVEBUTTON, 2, 0));
    EXPECT_EQ(Commands(tb), (std::vector<int>{3, 1, 2, 4}));
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 0);
    EXPECT_TRUE(Send(tb, TB_MOVEBUTTON, 1, 3));
    EXPECT_EQ(Commands(tb), (std::vector<int>{3, 2, 4, 1}));
    EXPECT_FALSE(Send(tb, TB_MOVEBUTTON, 0, 4)) << "no index 4";
    EXPECT_TRUE(Send(tb, TB_DELETEBUTTON, 1));
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), 0);
    EXPECT_TRUE(Send(tb, TB_DELETEBUTTON, 0));
    EXPECT_EQ(Send(tb, TB_GETHOTITEM), -1) << "the hot button went";
    EXPECT_FALSE(Send(tb, TB_DELETEBUTTON, 2));
    EXPECT_EQ(Commands(tb), (std::vector<int>{4, 1}));
    EXPECT_EQ(Only(TBN_DELETINGBUTTON).size(), 2u);
}

TEST_F(ToolbarButtons, TheStringPoolTakesListsInBothForms)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    EXPECT_EQ(Send(tb, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(L"One\0Two\0")), 0);
    EXPECT_EQ(Send(tb, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>("Three\0")), 2);
    EXPECT_EQ(Send(tb, TB_ADDSTRINGW, 0, 0), -1);
    EXPECT_EQ(Send(tb, TB_ADDSTRINGW, reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)), 59999), -1)
        << "a string resource that does not exist";
    Add(tb, {Btn(1, 0, BTNS_BUTTON, TBSTATE_ENABLED, 1), Btn(2, 0, BTNS_BUTTON, TBSTATE_ENABLED, 2),
                Btn(3, 0, BTNS_BUTTON, TBSTATE_ENABLED, 9)});
    EXPECT_EQ(TextOf(tb, 1), L"Two");
    EXPECT_EQ(TextOf(tb, 2), L"Three");
    EXPECT_EQ(TextOf(tb, 3), L"") << "an index past the pool is no text";
    wchar_t buf[4] = {};
    EXPECT_EQ(Send(tb, TB_GETSTRINGW, MAKEWPARAM(4, 2), reinterpret_cast<LPARAM>(buf)), 3) << "cut to the buffer";
    EXPECT_STREQ(buf, L"Thr");
    EXPECT_EQ(Send(tb, TB_GETSTRINGW, MAKEWPARAM(4, 3), reinterpret_cast<LPARAM>(buf)), -1);
}

TEST_F(ToolbarButtons, ButtonInfoByCommandOrIndex)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    Add(tb, {Btn(10, 1), Btn(20, 2)});
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_COMMAND | TBIF_IMAGE | TBIF_LPARAM | TBIF_STATE | TBIF_STYLE | TBIF_SIZE;
    EXPECT_EQ(Send(tb, TB_GETBUTTONINFOW, 20, reinterpret_cast<LPARAM>(&info)), 1);
    EXPECT_EQ(info.idCommand, 20);
    EXPECT_EQ(info.iImage, 2);
    EXPECT_EQ(info.lParam, 200u);
    EXPECT_EQ(info.fsState, TBSTATE_ENABLED);
    EXPECT_EQ(info.cx, 24) << "the laid-out width";
    info.dwMask = TBIF_COMMAND | TBIF_BYINDEX;
    EXPECT_EQ(Send(tb, TB_GETBUTTONINFOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.idCommand, 10);
    EXPECT_EQ(Send(tb, TB_GETBUTTONINFOW, 2, reinterpret_cast<LPARAM>(&info)), -1) << "no index 2";
    info.cbSize = sizeof info - 4;
    EXPECT_EQ(Send(tb, TB_GETBUTTONINFOW, 0, reinterpret_cast<LPARAM>(&info)), -1) << "a wrong cbSize";

    TBBUTTONINFOA set{};
    set.cbSize = sizeof set;
    set.dwMask = TBIF_TEXT | TBIF_SIZE | TBIF_COMMAND | TBIF_BYINDEX;
    set.pszText = const_cast<LPSTR>("Longer text");
    set.cx = 50;
    set.idCommand = 11;
    EXPECT_TRUE(Send(tb, TB_SETBUTTONINFOA, 0, reinterpret_cast<LPARAM>(&set)));
    EXPECT_EQ(ItemRect(tb, 0).right - ItemRect(tb, 0).left, 50);
    EXPECT_EQ(ItemRect(tb, 1).left, 50) << "the next button moved";
    wchar_t buf[7] = {};
    info = TBBUTTONINFOW{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = buf;
    info.cchText = 7;
    EXPECT_EQ(Send(tb, TB_GETBUTTONINFOW, 11, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_STREQ(buf, L"Longer") << "cut to cchText with the terminator";
}

TEST_F(ToolbarButtons, StatesByCommandAndCheckGroups)
{
    HWND tb = MakeToolbar(MakeParent(), 0);
    Add(tb, {Btn(1, 0, BTNS_CHECKGROUP, TBSTATE_ENABLED | TBSTATE_CHECKED), Btn(2, 0, BTNS_CHECKGROUP),
                Btn(3, 0, BTNS_CHECKGROUP), Sep(), Btn(4, 0, BTNS_CHECKGROUP, TBSTATE_ENABLED | TBSTATE_CHECKED)});
    EXPECT_TRUE(Send(tb, TB_CHECKBUTTON, 3, TRUE));
    EXPECT_FALSE(Send(tb, TB_ISBUTTONCHECKED, 1)) << "the group's other button lost its check";
    EXPECT_TRUE(Send(tb, TB_ISBUTTONCHECKED, 3));
    EXPECT_TRUE(Send(tb, TB_ISBUTTONCHECKED, 4)) << "a separator ends the group";

    struct Row {
        const char* name;
        UINT set, is;
        BYTE bit;
    };
    const Row rows[] = {
        {"enable", TB_ENABLEBUTTON, TB_ISBUTTONENABLED, TBSTATE_ENABLED},
        {"press", TB_PRESSBUTTON, TB_ISBUTTONPRESSED, TBSTATE_PRESSED},
        {"hide", TB_HIDEBUTTON, TB_ISBUTTONHIDDEN, TBSTATE_HIDDEN},
        {"indeterminate", TB_INDETERMINATE, TB_ISBUTTONINDETERMINATE, TBSTATE_INDETERMINATE},
        {"mark", TB_MARKBUTTON, TB_ISBUTTONHIGHLIGHTED, TBSTATE_MARKED},
    };
    for (const Row& r : rows) {
        const LRESULT before = Send(tb, TB_GETSTATE, 2);
        EXPECT_TRUE(Send(tb, r.set, 2, MAKELPARAM(1, 0))) << r.name;
        EXPECT_TRUE(Send(tb, r.is, 2)) << r.name;
        EXPECT_EQ(Send(tb, TB_GETSTATE, 2), before | r.bit) << r.name;
        EXPECT_TRUE(Send(tb, r.set, 2, MAKELPARAM(0, 0))) << r.name;
        EXPECT_FALSE(Send(tb, r.is, 2)) << r.name;
        EXPECT_FALSE(Send(tb, r.set, 99, MAKELPARAM(1, 0))) << r.name << ": unknown command";
        EXPECT_EQ(Send(tb, r.is, 99), 0) << r.name << ": unknown command";
    }
    EXPECT_EQ(Send(tb, TB_GETSTATE, 99), -1);
    // Hiding a button moves the ones after it.
    EXPECT_EQ(ItemRect(tb, 2).left, 48);
    Send(tb, TB_SETSTATE, 1, MAKELPARAM(TBSTATE_ENABLED | TBSTATE_HIDDEN, 0));
    EXPECT_EQ(ItemRect(tb, 2).left, 24);
    RECT r{};
    EXPECT_FALSE(Send(tb, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) << "a hidden button has no rectangle";
    EXPECT_TRUE(Send(tb, TB_SETCMDID, 0, 100));
    EXPECT_EQ(Send(tb, TB_COMMANDTOINDEX, 100), 0);
}

} // namespace
} // namespace zyn::test
