// Recently used items with the real organizer: which items a popup shows (separators
// included), the expansion item brought into play by a click, a right click or Enter
// through the thread hooks, a choice deep in the menus making its submenus recently used,
// and the deep copy of a popup.
#include "tests/menus/organizer_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT EXP = ID_OX_SHOWALLITEMS;
constexpr UINT SEP = 0;

TEST_F(OrganizerTest, AFirstShowingKeepsOnlyRecentlyUsedItemsAndTheSeparatorsBetweenThem)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    struct Row {
        const char* what;
        std::vector<UINT> items; // SEP: a separator
        std::vector<UINT> excluded;
        std::vector<UINT> shown;
    };
    // Worked from the rule: a separator stays only after an item that stayed; an item
    // taken out right after a separator makes the next separator go too.
    const Row rows[] = {
        {"the group of a hidden item loses its closing separator", {1, SEP, 2, SEP, 3}, {2}, {1, SEP, 3, EXP}},
        {"an item of the group stays: so does the separator", {1, SEP, 2, 3, SEP, 4}, {2}, {1, SEP, 3, SEP, 4, EXP}},
        {"a whole group hidden", {1, SEP, 2, 3, SEP, 4}, {2, 3}, {1, SEP, 4, EXP}},
        {"a leading separator goes", {SEP, 1, 2}, {}, {1, 2, EXP}},
        {"a hidden first item takes the separator after it", {1, SEP, 2}, {1}, {2, EXP}},
        {"hidden after an item, not a separator", {1, 2, SEP, 3}, {2}, {1, SEP, 3, EXP}},
        {"nothing taken out: no expansion item", {1, SEP, 2}, {}, {1, SEP, 2}},
    };
    for (const Row& row : rows) {
        const HMENU popup = ::CreatePopupMenu();
        for (const UINT id : row.items)
            ::AppendMenuW(popup, id == SEP ? MF_SEPARATOR : MF_STRING, id, id == SEP ? nullptr : L"&item");
        for (const UINT id : row.excluded)
            organizer.ExcludeFromRecentlyUsed(static_cast<int>(id));
        organizer.OnInitMenuPopup(CMenu::FromHandle(popup), 0, FALSE);
        EXPECT_EQ(IdsOf(popup), row.shown) << row.what;
        COXBitmapMenu* wrapper = organizer.FindConvertedMenu(popup);
        ASSERT_NE(wrapper, nullptr) << row.what;
        EXPECT_EQ(organizer.GetSavedItems(wrapper).size(), row.items.size() + (row.shown.back() == EXP) - row.shown.size())
            << row.what;
        organizer.RestoreBitmapMenu(wrapper, TRUE);
        EXPECT_EQ(IdsOf(popup), row.items) << row.what << ": restored";
        for (const UINT id : row.excluded)
            organizer.AddToRecentlyUsed(static_cast<int>(id));
        ::DestroyMenu(popup);
    }
}

// Counts the button messages that reach a mouse hook installed before the organizer's.
int g_buttonsSeen = 0;
HHOOK g_olderHook = nullptr;
LRESULT OlderMouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && wParam != WM_MOUSEMOVE && wParam != WM_NCMOUSEMOVE)
        ++g_buttonsSeen;
    return ::CallNextHookEx(g_olderHook, code, wParam, lParam);
}

TEST_F(OrganizerTest, TheExpansionItemShowsThePopupAgainWithAllItems)
{
    const std::vector<UINT> all{ID_O_NEW, ID_O_OPEN, SEP, ID_O_PRINT, static_cast<UINT>(-1), ID_O_PICTURE,
        ID_O_RADIO, ID_O_OWNER, ID_O_EXIT};
    const std::vector<UINT> recentOnly{ID_O_OPEN, SEP, ID_O_PRINT, ID_O_RADIO, ID_O_OWNER, ID_O_EXIT, EXP};
    enum class How { Click, RightClick, Enter };
    struct Row {
        const char* what;
        How how;
    };
    for (const Row& row : {Row{"a click", How::Click}, Row{"a right click", How::RightClick}, Row{"Enter", How::Enter}}) {
        COXBitmapMenuOrganizer organizer;
        ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
        organizer.ExcludeFromRecentlyUsed(static_cast<int>(ID_O_NEW));
        organizer.ExcludeFromRecentlyUsed(static_cast<int>(ID_O_PICTURE));
        organizer.ExcludeSubmenuFromRecentlyUsed(m_frame->recent);
        g_buttonsSeen = 0;
        g_olderHook = ::SetWindowsHookExW(WH_MOUSE, &OlderMouseHook, nullptr, ::GetCurrentThreadId());
        std::vector<UINT> first, second;
        bool reopened = false;
        user::QueueIdleAction([&] {
            first = IdsOf(m_frame->file);
            if (row.how == How::Enter) {
                user::InjectKeyPress(VK_UP); // from the first item up to the last
                user::InjectKeyPress(VK_RETURN);
                return;
            }
            RECT r{};
            ASSERT_TRUE(::GetMenuItemRect(nullptr, m_frame->file, static_cast<UINT>(first.size() - 1), &r));
            user::InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2,
                row.how == How::Click ? user::MouseButton::Left : user::MouseButton::Right);
        });
        user::QueueIdleAction([&] {
            second = IdsOf(m_frame->file);
            reopened = OnlyPopup() != nullptr;
            user::InjectKeyPress(VK_ESCAPE);
            user::InjectKeyPress(VK_ESCAPE);
        });
        OpenBar(L'f');
        ::UnhookWindowsHookEx(g_olderHook);
        EXPECT_EQ(first, recentOnly) << row.what;
        EXPECT_EQ(second, all) << row.what;
        EXPECT_TRUE(reopened) << row.what;
        if (row.how != How::Enter) {
            EXPECT_EQ(g_buttonsSeen, 0) << row.what << ": the loop never saw the button on the expansion item";
        }
        EXPECT_EQ(m_frame->commands, std::vector<UINT>{EXP}) << row.what;
        EXPECT_EQ(organizer.FindConvertedMenu(m_frame->file), nullptr) << row.what << ": the loop's end restores it";
        EXPECT_EQ(IdsOf(m_frame->file), all) << row.what;
        m_frame->commands.clear();
    }
}

TEST_F(OrganizerTest, AChoiceThreeLevelsDownMakesItsSubmenusRecentlyUsedButNotTheTopPopup)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    organizer.ExcludeFromRecentlyUsed(static_cast<int>(ID_O_DEEP));
    organizer.ExcludeSubmenuFromRecentlyUsed(m_frame->edit);
    organizer.ExcludeSubmenuFromRecentlyUsed(m_frame->more);
    organizer.ExcludeSubmenuFromRecentlyUsed(m_frame->deeper);
    std::vector<UINT> shown;
    // "&More" is hidden: expand (Enter on the expansion item), then More, Deeper and the
    // command by their mnemonics.
    user::QueueIdleAction([&] {
        shown = IdsOf(m_frame->edit);
        user::InjectKeyPress(VK_UP);
        user::InjectKeyPress(VK_RETURN);
    });
    user::QueueIdleAction([] {
        user::InjectChar(L'm');
        user::InjectChar(L'd');
        user::InjectChar(L'e');
    });
    OpenBar(L'e');
    Pump();
    EXPECT_EQ(shown, (std::vector<UINT>{ID_O_UNDO, ID_O_REDO, EXP}));
    EXPECT_EQ(m_frame->commands, (std::vector<UINT>{EXP, ID_O_DEEP}));
    EXPECT_TRUE(organizer.IsRecentlyUsed(static_cast<int>(ID_O_DEEP)));
    EXPECT_TRUE(organizer.IsSubmenuRecentlyUsed(m_frame->more));
    EXPECT_TRUE(organizer.IsSubmenuRecentlyUsed(m_frame->deeper));
    EXPECT_FALSE(organizer.IsSubmenuRecentlyUsed(m_frame->edit)) << "the top-level popup is not on the way";
    EXPECT_EQ(m_frame->changedNotes, 1);

    // Nothing changes the second time: no note.
    user::QueueIdleAction([] {
        user::InjectChar(L'm');
        user::InjectChar(L'd');
        user::InjectChar(L'e');
    });
    OpenBar(L'e');
    Pump();
    EXPECT_EQ(m_frame->changedNotes, 1);
    // A command sent by a control (notification 0, a window) is no menu choice.
    organizer.ExcludeFromRecentlyUsed(static_cast<int>(ID_O_DEEP));
    ::SendMessageW(m_frame->GetSafeHwnd(), WM_COMMAND, ID_O_DEEP, reinterpret_cast<LPARAM>(m_frame->GetSafeHwnd()));
    EXPECT_FALSE(organizer.IsRecentlyUsed(static_cast<int>(ID_O_DEEP)));
}

TEST_F(OrganizerTest, ACopyOfAPopupIsWholeAndTakesOverItsExclusion)
{
    auto organizer = std::make_unique<COXBitmapMenuOrganizer>();
    const std::wstring longText(400, L'w');
    const HMENU original = ::CreatePopupMenu();
    const HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, 7, (longText + L"\tCtrl+W").c_str());
    ::AppendMenuW(original, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Sub");
    ::AppendMenuW(original, MF_STRING | MF_CHECKED, 8, L"&Eight");
    organizer->ExcludeSubmenuFromRecentlyUsed(original);
    organizer->ExcludeSubmenuFromRecentlyUsed(sub);
    const HMENU copy = organizer->CopyPopupMenu(original);
    ASSERT_NE(copy, nullptr);
    const HMENU subCopy = ::GetSubMenu(copy, 0);
    ASSERT_NE(subCopy, nullptr);
    EXPECT_NE(subCopy, sub);
    wchar_t text[512] = {};
    ::GetMenuStringW(subCopy, 0, text, 512, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), longText + L"\tCtrl+W") << "no cut at 300 characters";
    EXPECT_EQ(::GetMenuState(copy, 1, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(organizer->GetExcludedSubmenus(), (std::set<HMENU>{copy, subCopy}));
    organizer.reset();
    EXPECT_FALSE(::IsMenu(copy)) << "a copy goes with the organizer";
    EXPECT_TRUE(::IsMenu(original));
    ::DestroyMenu(original);
}

} // namespace
} // namespace zyn::test

namespace zyn::test {
namespace {

// What customising asks of the organizer, through the bitmap menus' seam: a popup no
// bitmap menu wraps yet is wrapped and converted once (the same wrapper on the second
// ask), and an item's recently-used state is set either way and read back.
TEST_F(OrganizerTest, CustomisationReachesTheOrganizerThroughTheSeam)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    COXMenuOrganizerAccess& access = organizer;
    const HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, 11, L"&one");
    ::AppendMenuW(popup, MF_STRING, 12, L"&two");
    EXPECT_EQ(access.WrapMenu(nullptr), nullptr);
    COXBitmapMenu* wrapped = access.WrapMenu(popup);
    ASSERT_NE(wrapped, nullptr);
    EXPECT_EQ(wrapped, organizer.FindConvertedMenu(popup));
    EXPECT_EQ(access.WrapMenu(popup), wrapped) << "asked again: the same wrapper";
    EXPECT_EQ(::GetMenuState(popup, 0, MF_BYPOSITION) & MF_OWNERDRAW, UINT(MF_OWNERDRAW));

    EXPECT_TRUE(access.SetRecentlyUsed(wrapped, 1, FALSE));
    EXPECT_FALSE(organizer.IsRecentlyUsed(12));
    EXPECT_TRUE(access.SetRecentlyUsed(wrapped, 1, FALSE)) << "already so: nothing to do, no failure";
    EXPECT_TRUE(access.SetRecentlyUsed(wrapped, 1, TRUE));
    EXPECT_TRUE(organizer.IsRecentlyUsed(12));
    EXPECT_FALSE(access.SetRecentlyUsed(nullptr, 0, TRUE));

    organizer.RestoreBitmapMenu(wrapped, TRUE);
    EXPECT_EQ(IdsOf(popup), (std::vector<UINT>{11, 12}));
    ::DestroyMenu(popup);
}

} // namespace
} // namespace zyn::test
