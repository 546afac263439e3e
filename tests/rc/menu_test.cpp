// The menu data model: items, searching by command, the buffer rules, destruction,
// loading, the system menu and the menu bar.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/rc/menu_test_support.h"
#include "tests/rc/rc_test_ids.h"
#include "tests/rc/rc_test_support.h"

namespace zyn::rc::test {
namespace {

constexpr UINT kNone = static_cast<UINT>(-1);

std::wstring Text(HMENU m, UINT item, UINT flags)
{
    wchar_t buf[128];
    const int n = GetMenuStringW(m, item, buf, 128, flags);
    return std::wstring(buf, static_cast<size_t>(std::max(n, 0)));
}

// File: New(100), Recent > [One(110), Two(111) > [Deep(120)]], separator, Exit(101).
struct Nested {
    HMENU top = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    HMENU two = CreatePopupMenu();
    Nested()
    {
        AppendMenuW(two, MF_STRING, 120, L"Deep");
        AppendMenuW(recent, MF_STRING, 110, L"One");
        AppendMenuW(recent, MF_POPUP, reinterpret_cast<UINT_PTR>(two), L"Two");
        AppendMenuW(file, MF_STRING, 100, L"&New");
        AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"&Recent");
        AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(file, MF_STRING, 101, L"E&xit");
        AppendMenuW(top, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    }
};

TEST_F(MenuTest, ItemsByPositionAndKind)
{
    Nested n;
    EXPECT_EQ(GetMenuItemCount(n.top), 1);
    EXPECT_EQ(GetMenuItemCount(n.file), 4);
    EXPECT_EQ(GetSubMenu(n.top, 0), n.file);
    EXPECT_EQ(GetSubMenu(n.file, 0), nullptr);
    EXPECT_EQ(GetMenuItemID(n.file, 0), 100u);
    EXPECT_EQ(GetMenuItemID(n.file, 1), kNone) << "an item opening a submenu";
    EXPECT_EQ(GetMenuItemID(n.file, 2), 0u);
    EXPECT_EQ(GetMenuItemID(n.file, 9), kNone);
    EXPECT_EQ(GetMenuState(n.file, 2, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(n.file, 1, MF_BYPOSITION), (2u << 8) | MF_POPUP) << "the submenu's count in the high byte";
    EXPECT_EQ(Text(n.file, 101, MF_BYCOMMAND), L"E&xit");

    // A string item without a string is a separator; owner-drawn and bitmap items keep
    // their value.
    AppendMenuW(n.file, MF_STRING, 102, nullptr);
    EXPECT_EQ(GetMenuState(n.file, 102, MF_BYCOMMAND), MF_SEPARATOR);
    const HBITMAP bmp = CreateCompatibleBitmap(nullptr, 4, 4);
    AppendMenuW(n.file, MF_BITMAP | MF_GRAYED, 103, reinterpret_cast<LPCWSTR>(bmp));
    AppendMenuW(n.file, MF_OWNERDRAW | MF_CHECKED, 104, reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(0x1234)));
    EXPECT_EQ(GetMenuState(n.file, 103, MF_BYCOMMAND), MF_BITMAP | MF_GRAYED);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_TYPE | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(n.file, 103, FALSE, &mii));
    EXPECT_EQ(mii.fType, MFT_BITMAP);
    EXPECT_EQ(mii.dwTypeData, reinterpret_cast<LPWSTR>(bmp));
    ASSERT_TRUE(GetMenuItemInfoW(n.file, 104, FALSE, &mii));
    EXPECT_EQ(mii.fType, MFT_OWNERDRAW);
    EXPECT_EQ(mii.dwItemData, 0x1234u);
    EXPECT_TRUE(DestroyMenu(n.top));
    DeleteObject(bmp);
}

TEST_F(MenuTest, ByCommandSearchesSubmenusDepthFirst)
{
    Nested n;
    EXPECT_EQ(CheckMenuItem(n.top, 120, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(GetMenuState(n.two, 0, MF_BYPOSITION), MF_CHECKED);
    EXPECT_EQ(CheckMenuItem(n.top, 120, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(n.top, 110, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(EnableMenuItem(n.top, 110, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(Text(n.top, 120, MF_BYCOMMAND), L"Deep");

    // Inserting by command goes into the submenu holding the command, before it.
    ASSERT_TRUE(InsertMenuW(n.top, 120, MF_BYCOMMAND | MF_STRING, 121, L"Before deep"));
    EXPECT_EQ(GetMenuItemCount(n.two), 2);
    EXPECT_EQ(GetMenuItemID(n.two, 0), 121u);
    ASSERT_TRUE(ModifyMenuW(n.top, 121, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 122, L"Changed"));
    EXPECT_EQ(GetMenuItemID(n.two, 0), 122u);
    EXPECT_EQ(GetMenuState(n.two, 0, MF_BYPOSITION), MF_CHECKED);
    ASSERT_TRUE(DeleteMenu(n.top, 122, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(n.two), 1);

    // Not there: failures that say so.
    SetLastError(0);
    EXPECT_EQ(CheckMenuItem(n.top, 999, MF_BYCOMMAND), static_cast<DWORD>(-1));
    EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);
    EXPECT_EQ(EnableMenuItem(n.top, 999, MF_BYCOMMAND), -1);
    EXPECT_EQ(GetMenuState(n.top, 999, MF_BYCOMMAND), kNone);
    EXPECT_FALSE(InsertMenuW(n.top, 999, MF_BYCOMMAND, 1, L"x"));
    EXPECT_FALSE(DeleteMenu(n.top, 5, MF_BYPOSITION));
    EXPECT_TRUE(DestroyMenu(n.top));
}

TEST_F(MenuTest, InsertByPositionAppendsBeyondTheEnd)
{
    const HMENU m = CreatePopupMenu();
    InsertMenuW(m, 0, MF_BYPOSITION, 2, L"b");
    InsertMenuW(m, 0, MF_BYPOSITION, 1, L"a");
    InsertMenuW(m, kNone, MF_BYPOSITION, 4, L"d");
    InsertMenuW(m, 2, MF_BYPOSITION, 3, L"c");
    InsertMenuW(m, 77, MF_BYPOSITION, 5, L"e");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(GetMenuItemID(m, i), static_cast<UINT>(i + 1));
    EXPECT_TRUE(DestroyMenu(m));
}

TEST_F(MenuTest, StringBufferRules)
{
    const HMENU m = CreatePopupMenu();
    AppendMenuW(m, MF_STRING, 1, L"Hello");
    AppendMenuW(m, MF_SEPARATOR, 2, nullptr);
    wchar_t buf[16];
    EXPECT_EQ(GetMenuStringW(m, 1, nullptr, 0, MF_BYCOMMAND), 5) << "no buffer: the length";
    EXPECT_EQ(GetMenuStringW(m, 1, buf, 0, MF_BYCOMMAND), 5) << "no room: the length";
    std::fill(std::begin(buf), std::end(buf), L'#');
    EXPECT_EQ(GetMenuStringW(m, 1, buf, 3, MF_BYCOMMAND), 2);
    EXPECT_EQ(std::wstring(buf), L"He") << "cut and terminated";
    EXPECT_EQ(buf[3], L'#') << "nothing written past the buffer";
    EXPECT_EQ(GetMenuStringW(m, 1, buf, 6, MF_BYCOMMAND), 5);
    EXPECT_EQ(std::wstring(buf), L"Hello");
    buf[0] = L'#';
    EXPECT_EQ(GetMenuStringW(m, 2, buf, 16, MF_BYCOMMAND), 0);
    EXPECT_EQ(buf[0], L'\0');
    EXPECT_EQ(GetMenuStringW(m, 99, buf, 16, MF_BYCOMMAND), 0);

    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STRING;
    ASSERT_TRUE(GetMenuItemInfoW(m, 1, FALSE, &mii));
    EXPECT_EQ(mii.cch, 5u) << "no buffer: the length";
    std::fill(std::begin(buf), std::end(buf), L'#');
    mii.dwTypeData = buf;
    mii.cch = 3;
    ASSERT_TRUE(GetMenuItemInfoW(m, 1, FALSE, &mii));
    EXPECT_EQ(std::wstring(buf), L"He");
    EXPECT_EQ(mii.cch, 2u);
    mii.cch = 16;
    ASSERT_TRUE(GetMenuItemInfoW(m, 1, FALSE, &mii));
    EXPECT_EQ(std::wstring(buf), L"Hello");
    EXPECT_EQ(mii.cch, 5u);

    // Bad sizes and masks are refused.
    mii.cbSize = sizeof mii - 1;
    EXPECT_FALSE(GetMenuItemInfoW(m, 1, FALSE, &mii));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    mii.cbSize = offsetof(MENUITEMINFOW, hbmpItem); // the older size is accepted
    EXPECT_TRUE(GetMenuItemInfoW(m, 1, FALSE, &mii));
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_TYPE | MIIM_STRING;
    EXPECT_FALSE(GetMenuItemInfoW(m, 1, FALSE, &mii));
    EXPECT_TRUE(DestroyMenu(m));
}

TEST_F(MenuTest, ItemInfoRoundTrip)
{
    const HMENU m = CreatePopupMenu();
    const HMENU sub = CreatePopupMenu();
    MENUITEMINFOW in{};
    in.cbSize = sizeof in;
    in.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | MIIM_DATA | MIIM_BITMAP |
        MIIM_CHECKMARKS;
    in.fType = MFT_RADIOCHECK | MFT_RIGHTJUSTIFY;
    in.fState = MFS_CHECKED | MFS_DEFAULT | MFS_GRAYED;
    in.wID = 4242;
    wchar_t text[] = L"&Item";
    in.dwTypeData = text;
    in.hSubMenu = sub;
    in.dwItemData = 77;
    in.hbmpItem = HBMMENU_POPUP_CLOSE;
    in.hbmpChecked = reinterpret_cast<HBITMAP>(0x10001);
    in.hbmpUnchecked = reinterpret_cast<HBITMAP>(0x10002);
    ASSERT_TRUE(InsertMenuItemW(m, 0, TRUE, &in));
    MENUITEMINFOW out{};
    out.cbSize = sizeof out;
    out.fMask = in.fMask;
    wchar_t buf[32];
    out.dwTypeData = buf;
    out.cch = 32;
    ASSERT_TRUE(GetMenuItemInfoW(m, 0, TRUE, &out));
    EXPECT_EQ(out.fType, in.fType);
    EXPECT_EQ(out.fState, in.fState);
    EXPECT_EQ(out.wID, 4242u);
    EXPECT_EQ(std::wstring(buf), L"&Item");
    EXPECT_EQ(out.hSubMenu, sub);
    EXPECT_EQ(out.dwItemData, 77u);
    EXPECT_EQ(out.hbmpItem, HBMMENU_POPUP_CLOSE);
    EXPECT_EQ(out.hbmpChecked, in.hbmpChecked);
    EXPECT_EQ(out.hbmpUnchecked, in.hbmpUnchecked);
    // The item opening `sub` is found by its own ID after the submenu's items.
    EXPECT_EQ(Text(m, 4242, MF_BYCOMMAND), L"&Item");

    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_STATE | MIIM_STRING;
    set.fState = 0;
    wchar_t renamed[] = L"Renamed";
    set.dwTypeData = renamed;
    ASSERT_TRUE(SetMenuItemInfoW(m, 4242, FALSE, &set));
    EXPECT_EQ(Text(m, 0, MF_BYPOSITION), L"Renamed");
    EXPECT_EQ(GetMenuState(m, 0, MF_BYPOSITION) & 0xFF, MF_POPUP);
    EXPECT_TRUE(DestroyMenu(m));
    EXPECT_FALSE(IsMenu(sub)) << "destroyed with its parent";
}

TEST_F(MenuTest, DestroyIsRecursiveAndStaleHandlesFailCleanly)
{
    const size_t before = user::LiveMenuCount();
    Nested n;
    EXPECT_EQ(user::LiveMenuCount(), before + 4);
    ASSERT_TRUE(DestroyMenu(n.top));
    EXPECT_EQ(user::LiveMenuCount(), before);
    for (HMENU h : {n.top, n.file, n.recent, n.two}) {
        EXPECT_FALSE(IsMenu(h));
        SetLastError(0);
        EXPECT_EQ(GetMenuItemCount(h), -1);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
        EXPECT_FALSE(AppendMenuW(h, MF_STRING, 1, L"x"));
        EXPECT_FALSE(DestroyMenu(h));
        EXPECT_EQ(GetSubMenu(h, 0), nullptr);
    }
    // A new menu does not take a stale handle's identity.
    const HMENU fresh = CreateMenu();
    EXPECT_NE(fresh, n.top);
    EXPECT_FALSE(IsMenu(n.top));
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(0x1234)));
    EXPECT_FALSE(IsMenu(nullptr));
    EXPECT_TRUE(DestroyMenu(fresh));
}

TEST_F(MenuTest, DeleteDestroysRemoveKeepsModifyReplaces)
{
    Nested n;
    ASSERT_TRUE(RemoveMenu(n.file, 1, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(n.recent)) << "RemoveMenu hands the submenu back";
    ASSERT_TRUE(AppendMenuW(n.file, MF_POPUP, reinterpret_cast<UINT_PTR>(n.recent), L"Again"));
    ASSERT_TRUE(DeleteMenu(n.file, GetMenuItemCount(n.file) - 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(n.recent));
    EXPECT_FALSE(IsMenu(n.two));

    // ModifyMenu replacing a popup by a plain item destroys the popup.
    const HMENU sub = CreatePopupMenu();
    AppendMenuW(n.file, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Sub");
    const UINT pos = static_cast<UINT>(GetMenuItemCount(n.file) - 1);
    ASSERT_TRUE(ModifyMenuW(n.file, pos, MF_BYPOSITION | MF_STRING, 300, L"Plain"));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(GetMenuItemID(n.file, static_cast<int>(pos)), 300u);
    EXPECT_TRUE(DestroyMenu(n.top));
}

TEST_F(MenuTest, MenusNeverContainThemselves)
{
    const HMENU a = CreatePopupMenu();
    const HMENU b = CreatePopupMenu();
    EXPECT_FALSE(AppendMenuW(a, MF_POPUP, reinterpret_cast<UINT_PTR>(a), L"self"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(AppendMenuW(a, MF_POPUP, reinterpret_cast<UINT_PTR>(b), L"b"));
    EXPECT_FALSE(AppendMenuW(b, MF_POPUP, reinterpret_cast<UINT_PTR>(a), L"a"));
    AppendMenuW(b, MF_STRING, 1, L"x");
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_SUBMENU;
    mii.hSubMenu = a;
    EXPECT_FALSE(SetMenuItemInfoW(b, 0, TRUE, &mii));
    EXPECT_FALSE(AppendMenuW(a, MF_POPUP, 0x55555, L"bad handle"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_EQ(GetMenuItemCount(a), 1);
    EXPECT_TRUE(DestroyMenu(a));
}

TEST_F(MenuTest, RadioDefaultAndMenuInfo)
{
    const HMENU m = CreatePopupMenu();
    for (UINT id = 10; id < 14; ++id)
        AppendMenuW(m, MF_STRING, id, L"r");
    ASSERT_TRUE(CheckMenuRadioItem(m, 10, 12, 11, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(m, 11, MF_BYCOMMAND), MF_CHECKED);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(m, 11, FALSE, &mii);
    EXPECT_EQ(mii.fType, MFT_RADIOCHECK);
    CheckMenuItem(m, 13, MF_BYCOMMAND | MF_CHECKED);
    ASSERT_TRUE(CheckMenuRadioItem(m, 0, 2, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuState(m, 10, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuState(m, 11, MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuState(m, 13, MF_BYCOMMAND), MF_CHECKED) << "outside the range";
    EXPECT_FALSE(CheckMenuRadioItem(m, 0, 2, 3, MF_BYPOSITION));

    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, 0), kNone);
    ASSERT_TRUE(SetMenuDefaultItem(m, 12, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, 0), 12u);
    EXPECT_EQ(GetMenuDefaultItem(m, TRUE, 0), 2u);
    ASSERT_TRUE(SetMenuDefaultItem(m, 1, TRUE));
    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, 0), 11u) << "one default at a time";
    EnableMenuItem(m, 11, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, 0), kNone);
    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, GMDI_USEDISABLED), 11u);
    ASSERT_TRUE(SetMenuDefaultItem(m, kNone, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, GMDI_USEDISABLED), kNone);
    EXPECT_FALSE(SetMenuDefaultItem(m, 99, FALSE));

    const HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING | MF_DEFAULT, 50, L"inner default");
    AppendMenuW(m, MF_POPUP | MF_DEFAULT, reinterpret_cast<UINT_PTR>(sub), L"sub");
    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, GMDI_GOINTOPOPUPS), 50u);

    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_STYLE | MIM_MENUDATA | MIM_MAXHEIGHT | MIM_APPLYTOSUBMENUS;
    mi.dwStyle = MNS_CHECKORBMP;
    mi.dwMenuData = 99;
    mi.cyMax = 300;
    ASSERT_TRUE(SetMenuInfo(m, &mi));
    MENUINFO got{};
    got.cbSize = sizeof got;
    got.fMask = MIM_STYLE | MIM_MENUDATA | MIM_MAXHEIGHT | MIM_BACKGROUND;
    ASSERT_TRUE(GetMenuInfo(sub, &got));
    EXPECT_EQ(got.dwStyle, MNS_CHECKORBMP);
    EXPECT_EQ(got.dwMenuData, 99u);
    EXPECT_EQ(got.cyMax, 300u);
    EXPECT_EQ(got.hbrBack, nullptr);
    got.cbSize = 8;
    EXPECT_FALSE(GetMenuInfo(m, &got));
    EXPECT_TRUE(DestroyMenu(m));
}

TEST_F(MenuTest, LoadMenuFromTheTestScript)
{
    const HMENU m = LoadMenuW(nullptr, MAKEINTRESOURCE(IDR_MAIN));
    ASSERT_NE(m, nullptr) << GetLastError();
    ASSERT_EQ(GetMenuItemCount(m), 3);
    EXPECT_EQ(Text(m, 0, MF_BYPOSITION), L"&File");
    EXPECT_EQ(GetMenuState(m, 1, MF_BYPOSITION) & 0xFF, MF_POPUP | MF_GRAYED);
    EXPECT_EQ(GetMenuState(m, 2, MF_BYPOSITION), MF_HELP) << "HELP is MFT_RIGHTJUSTIFY";
    const HMENU file = GetSubMenu(m, 0);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(Text(file, 0xE101, MF_BYCOMMAND), L"&Open...\tCtrl+O");
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(Text(m, IDM_DEEP, MF_BYCOMMAND), L"Deep") << "found two levels down";
    EXPECT_EQ(GetMenuState(m, IDM_BREAK, MF_BYCOMMAND), MF_MENUBREAK);
    EXPECT_EQ(GetMenuState(m, IDM_INACTIVE, MF_BYCOMMAND), MF_DISABLED);
    EXPECT_EQ(GetMenuState(m, 0xE122, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_TRUE(DestroyMenu(m));

    const HMENU ex = LoadMenuW(nullptr, MAKEINTRESOURCE(IDR_EX));
    ASSERT_NE(ex, nullptr);
    ASSERT_EQ(GetMenuItemCount(ex), 2);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoW(ex, 0, TRUE, &mii));
    EXPECT_EQ(mii.wID, static_cast<UINT>(IDM_VIEW_POPUP));
    EXPECT_EQ(GetMenuContextHelpId(mii.hSubMenu), 77u);
    ASSERT_TRUE(GetMenuItemInfoW(ex, IDM_RADIO, FALSE, &mii));
    EXPECT_EQ(mii.fType, MFT_RADIOCHECK);
    EXPECT_EQ(mii.fState, MFS_CHECKED | MFS_DEFAULT);
    EXPECT_EQ(GetMenuState(ex, 1, MF_BYPOSITION), MF_RIGHTJUSTIFY);
    EXPECT_EQ(GetMenuState(GetSubMenu(ex, 0), 1, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_TRUE(DestroyMenu(ex));

    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCE(9999)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

TEST_F(MenuTest, LoadMenuIndirectAndMalformedTemplates)
{
    const Bytes tpl = Bytes()
                          .w(0)
                          .w(0)
                          .w(MF_POPUP | MF_END)
                          .s(u"P")
                          .w(0)
                          .w(7)
                          .s(u"a")
                          .w(MF_END | MF_GRAYED)
                          .w(8)
                          .s(u"b");
    const HMENU m = LoadMenuIndirectW(tpl.v().data());
    ASSERT_NE(m, nullptr);
    const HMENU p = GetSubMenu(m, 0);
    EXPECT_EQ(GetMenuItemCount(p), 2);
    EXPECT_EQ(GetMenuState(p, 8, MF_BYCOMMAND), MF_GRAYED) << "MF_END is not a state";
    EXPECT_TRUE(DestroyMenu(m));

    const size_t before = user::LiveMenuCount();
    for (size_t cut = 5; cut < tpl.v().size(); ++cut) {
        std::vector<uint8_t> truncated(tpl.v().begin(), tpl.v().begin() + static_cast<std::ptrdiff_t>(cut));
        SetLastError(0);
        EXPECT_EQ(user::LoadMenuFromTemplate(truncated), nullptr) << cut;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    }
    EXPECT_EQ(user::LoadMenuFromTemplate(Bytes().w(7).w(0).v()), nullptr) << "unknown version";
    EXPECT_EQ(user::LiveMenuCount(), before) << "nothing left behind";
    const HMENU empty = user::LoadMenuFromTemplate(Bytes().w(0).w(0).v());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GetMenuItemCount(empty), 0);
    DestroyMenu(empty);
}

TEST_F(MenuTest, SystemMenuCopyAndRevert)
{
    const HWND w = MakeFrame();
    const HMENU sys = GetSystemMenu(w, FALSE);
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(GetSystemMenu(w, FALSE), sys) << "one copy per window";
    const UINT ids[] = {static_cast<UINT>(SC_RESTORE), static_cast<UINT>(SC_MOVE), static_cast<UINT>(SC_SIZE),
        static_cast<UINT>(SC_MINIMIZE), static_cast<UINT>(SC_MAXIMIZE), 0, static_cast<UINT>(SC_CLOSE)};
    ASSERT_EQ(GetMenuItemCount(sys), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(GetMenuItemID(sys, i), ids[i]);
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_STYLE;
    GetMenuInfo(sys, &mi);
    EXPECT_EQ(mi.dwStyle, MNS_CHECKORBMP);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_BITMAP;
    GetMenuItemInfoW(sys, static_cast<UINT>(SC_CLOSE), FALSE, &mii);
    EXPECT_EQ(mii.hbmpItem, HBMMENU_POPUP_CLOSE);
    GetMenuItemInfoW(sys, static_cast<UINT>(SC_RESTORE), FALSE, &mii);
    EXPECT_EQ(mii.hbmpItem, HBMMENU_POPUP_RESTORE);
    EXPECT_EQ(GetMenuDefaultItem(sys, FALSE, 0), static_cast<UINT>(SC_CLOSE));
    EXPECT_EQ(GetMenuState(sys, static_cast<UINT>(SC_RESTORE), MF_BYCOMMAND), MF_GRAYED) << "not minimised or maximised";
    EXPECT_EQ(GetMenuState(sys, static_cast<UINT>(SC_MAXIMIZE), MF_BYCOMMAND), 0u);

    // Reverting destroys the copy; the next call makes a fresh one.
    EnableMenuItem(sys, static_cast<UINT>(SC_MOVE), MF_BYCOMMAND | MF_GRAYED);
    EXPECT_EQ(GetSystemMenu(w, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(sys));
    const HMENU again = GetSystemMenu(w, FALSE);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(GetMenuState(again, static_cast<UINT>(SC_MOVE), MF_BYCOMMAND), 0u);

    // A maximised window without a sizing frame.
    const HWND z = MakeFrame(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MAXIMIZE);
    const HMENU zs = GetSystemMenu(z, FALSE);
    EXPECT_EQ(GetMenuState(zs, static_cast<UINT>(SC_RESTORE), MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuState(zs, static_cast<UINT>(SC_MAXIMIZE), MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(zs, static_cast<UINT>(SC_SIZE), MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(zs, static_cast<UINT>(SC_MINIMIZE), MF_BYCOMMAND), MF_GRAYED);

    DestroyWindow(w);
    DestroyWindow(z);
    EXPECT_FALSE(IsMenu(again)) << "freed with its window";
    EXPECT_FALSE(IsMenu(zs));
    EXPECT_EQ(GetSystemMenu(w, FALSE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(MenuTest, MenuBarOfAWindow)
{
    Nested n;
    AppendMenuW(n.top, MF_STRING | MF_GRAYED, 200, L"&Gray");
    AppendMenuW(n.top, MF_STRING | MF_RIGHTJUSTIFY, 201, L"&Help");
    const HWND w = MakeFrame(n.top);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(GetMenu(w), n.top);
    RECT window{}, client{};
    GetWindowRect(w, &window);
    GetClientRect(w, &client);
    const int bar = user::MenuBarHeight(n.top, 400);
    EXPECT_EQ(bar, GetSystemMetrics(SM_CYMENU));

    // Items left to right; the right-justified one ends at the bar's right edge.
    RECT r0{}, r1{}, r2{};
    ASSERT_TRUE(GetMenuItemRect(w, n.top, 0, &r0));
    ASSERT_TRUE(GetMenuItemRect(w, n.top, 1, &r1));
    ASSERT_TRUE(GetMenuItemRect(w, n.top, 2, &r2));
    EXPECT_EQ(r1.left, r0.right);
    EXPECT_GT(r2.left, r1.right);
    POINT clientOrigin{0, 0};
    ClientToScreen(w, &clientOrigin);
    EXPECT_EQ(r0.bottom, clientOrigin.y) << "the bar sits right above the client area";
    EXPECT_EQ(r2.right, clientOrigin.x + client.right);
    EXPECT_FALSE(GetMenuItemRect(w, n.top, 3, &r0));
    EXPECT_EQ(MenuItemFromPoint(w, n.top, POINT{(r1.left + r1.right) / 2, (r1.top + r1.bottom) / 2}), 1);
    EXPECT_EQ(MenuItemFromPoint(w, n.top, POINT{r1.right + 2, r1.top + 2}), -1);
    EXPECT_EQ(MenuItemFromPoint(w, n.file, POINT{r1.left + 2, r1.top + 2}), -1) << "not the window's bar";

    // SetMenu refuses what is not a menu; replacing the bar hands the old one back.
    EXPECT_FALSE(SetMenu(w, reinterpret_cast<HMENU>(0x123456)));
    const HMENU other = CreateMenu();
    AppendMenuW(other, MF_STRING, 1, L"Only");
    ASSERT_TRUE(SetMenu(w, other));
    EXPECT_TRUE(IsMenu(n.top));
    EXPECT_TRUE(DrawMenuBar(w));
    DestroyWindow(w);
    EXPECT_FALSE(IsMenu(other)) << "a window destroys its menu";
    EXPECT_TRUE(DestroyMenu(n.top));
}

TEST_F(MenuTest, ClassMenuLoadsFromTheModule)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZynMenuClassMenu";
    wc.lpszMenuName = MAKEINTRESOURCE(IDR_MAIN);
    ASSERT_NE(RegisterClassExW(&wc), 0);
    const HWND w = CreateWindowExW(0, L"ZynMenuClassMenu", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
        wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    const HMENU m = GetMenu(w);
    ASSERT_TRUE(IsMenu(m));
    EXPECT_EQ(GetMenuItemCount(m), 3);
    DestroyWindow(w);
    EXPECT_FALSE(IsMenu(m));
}

TEST_F(MenuTest, BarWrapsAndBreaks)
{
    const HMENU m = CreateMenu();
    for (int i = 0; i < 8; ++i)
        AppendMenuW(m, MF_STRING, 100 + i, L"Wide item");
    const int row = GetSystemMetrics(SM_CYMENU);
    EXPECT_EQ(user::MenuBarHeight(m, 2000), row);
    EXPECT_GE(user::MenuBarHeight(m, 200), 3 * row);
    EXPECT_EQ(user::MenuBarHeight(m, 1), 8 * row) << "one item per row, never an empty row";
    ModifyMenuW(m, 4, MF_BYPOSITION | MF_STRING | MF_MENUBREAK, 104, L"Wide item");
    EXPECT_EQ(user::MenuBarHeight(m, 2000), 2 * row);
    EXPECT_EQ(user::MenuBarHeight(reinterpret_cast<HMENU>(0x0BADBAD0), 500), row) << "a stale bar keeps its height";
    const HMENU empty = CreateMenu();
    EXPECT_EQ(user::MenuBarHeight(empty, 500), row);
    DestroyMenu(empty);
    DestroyMenu(m);
}

// The bar drawn into a bitmap: background, normal and grayed text colours, a pushed
// highlighted item, owner-drawn items through WM_MEASUREITEM / WM_DRAWITEM.
TEST_F(MenuTest, DrawMenuBarInto)
{
    const HMENU m = CreateMenu();
    AppendMenuW(m, MF_STRING, 1, L"&File");
    AppendMenuW(m, MF_STRING | MF_GRAYED, 2, L"&Edit");
    AppendMenuW(m, MF_OWNERDRAW, 3, reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(0xABC)));
    const HWND w = MakeFrame(m);
    Pump();
    EXPECT_FALSE(Of(WM_MEASUREITEM).empty());
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bmp = CreateCompatibleBitmap(screen, 300, 40);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc, bmp);
    const RECT bar{0, 0, 300, 40};
    Log().clear();
    user::DrawMenuBarInto(dc, bar, m, w);
    ASSERT_EQ(Of(WM_DRAWITEM).size(), 1u) << "the owner-drawn item, once";

    RECT r0{}, r1{}, r2{};
    ASSERT_TRUE(user::MenuBarItemRect(m, bar, 0, r0, w));
    ASSERT_TRUE(user::MenuBarItemRect(m, bar, 1, r1, w));
    ASSERT_TRUE(user::MenuBarItemRect(m, bar, 2, r2, w));
    EXPECT_EQ(r2.right - r2.left, 40) << "the owner's width";
    EXPECT_EQ(r2.bottom - r2.top, 30) << "a taller item makes the row taller";
    EXPECT_EQ(r0.bottom - r0.top, 30);
    auto colours = [&](const RECT& r) {
        std::set<COLORREF> seen;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                seen.insert(GetPixel(dc, x, y));
        return seen;
    };
    const COLORREF menu = GetSysColor(COLOR_MENU), text = GetSysColor(COLOR_MENUTEXT),
                   gray = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_EQ(GetPixel(dc, 299, 0), menu);
    const auto c0 = colours(r0), c1 = colours(r1);
    EXPECT_TRUE(c0.count(menu) && c0.count(text)) << "text in COLOR_MENUTEXT";
    EXPECT_TRUE(c1.count(gray)) << "grayed text in COLOR_GRAYTEXT";
    EXPECT_FALSE(c1.count(text));

    // A highlighted item is pushed in: its top-left edge in the shadow colour.
    HiliteMenuItem(w, m, 0, MF_BYPOSITION | MF_HILITE);
    user::DrawMenuBarInto(dc, bar, m, w);
    EXPECT_EQ(GetPixel(dc, r0.left, r0.top + 5), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetMenuState(m, 0, MF_BYPOSITION), MF_HILITE);

    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    DestroyWindow(w);
}

} // namespace
} // namespace zyn::rc::test
