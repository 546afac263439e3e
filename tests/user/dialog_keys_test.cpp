// The dialog manager driven by keys: the tab order through nested control parents,
// groups and arrows, Enter and Escape, mnemonics, and the default button's look.
#include "tests/user/dialog_test_support.h"

namespace zyn::test {
namespace {

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD ex = 0)
{
    return CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 40, 14, parent,
        reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
}

bool LooksDefault(HWND b) { return (GetWindowLongPtrW(b, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }

bool Got(HWND h, UINT msg)
{
    for (const Rec& r : Recorder::Get().Log())
        if (r.hwnd == h && r.msg == msg)
            return true;
    return false;
}

TEST_F(DialogTest, TabWalksViewSheetPageComponentAndBack)
{
    HWND frame = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400);
    HWND view = Create(R"(
20 DIALOG 0, 0, 250, 180
STYLE DS_CONTROL | WS_CHILD | WS_VISIBLE
BEGIN
    CONTROL "&Apply", 21, "Button", BS_PUSHBUTTON | WS_TABSTOP, 5, 5, 40, 14
END)",
        20, frame);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(view, GWL_EXSTYLE) & WS_EX_CONTROLPARENT); // DS_CONTROL
    HWND sheet = Child(view, kRecClass, L"", 0, 30, WS_EX_CONTROLPARENT);
    HWND tab = Child(sheet, L"Button", L"Tab", WS_TABSTOP, 31);
    HWND page = Create(R"(
40 DIALOG 0, 0, 150, 100
STYLE DS_CONTROL | WS_CHILD | WS_VISIBLE
BEGIN
    CONTROL "", 41, "TestEdit", WS_TABSTOP, 5, 5, 60, 12
    CONTROL "hidden", 42, "Button", BS_PUSHBUTTON | WS_TABSTOP | NOT WS_VISIBLE, 5, 20, 40, 14
    CONTROL "no stop", 43, "Button", BS_PUSHBUTTON, 5, 40, 40, 14
END)",
        40, sheet);
    ASSERT_NE(page, nullptr);
    HWND comp = Child(page, kRecClass, L"", 0, 50, WS_EX_CONTROLPARENT);
    HWND c1 = Child(comp, L"Button", L"One", WS_TABSTOP, 51);
    HWND c2 = Child(comp, L"Button", L"Two", WS_TABSTOP | WS_DISABLED, 52);
    HWND c3 = Child(comp, L"Button", L"Three", WS_TABSTOP, 53);
    HWND z = Child(view, L"Button", L"Z", WS_TABSTOP, 22);
    HWND apply = GetDlgItem(view, 21);
    HWND edit = GetDlgItem(page, 41);
    (void)c2;

    const std::vector<HWND> order = {apply, tab, edit, c1, c3, z};
    EXPECT_EQ(GetNextDlgTabItem(view, nullptr, FALSE), apply);
    EXPECT_EQ(GetNextDlgTabItem(view, nullptr, TRUE), z);
    SetFocus(apply);
    rec().Clear();
    for (size_t i = 1; i <= order.size(); ++i) {
        Press(view, VK_TAB);
        EXPECT_EQ(GetFocus(), order[i % order.size()]) << "Tab " << i;
    }
    EXPECT_TRUE(Got(edit, 0x00B1)) << "the edit's text is selected when tabbed into";
    for (size_t i = order.size(); i-- > 0;) {
        Press(view, VK_TAB, true);
        EXPECT_EQ(GetFocus(), order[i]) << "Shift+Tab to " << i;
    }
    // A disabled page takes its controls out of the order; so does a hidden component.
    EnableWindow(page, FALSE);
    SetFocus(tab);
    Press(view, VK_TAB);
    EXPECT_EQ(GetFocus(), z);
    EnableWindow(page, TRUE);
    ShowWindow(comp, SW_HIDE);
    SetFocus(edit);
    Press(view, VK_TAB);
    EXPECT_EQ(GetFocus(), z);
    // A control that is no stop still has its place in the order.
    EXPECT_EQ(GetNextDlgTabItem(view, GetDlgItem(page, 43), FALSE), z);
    DestroyWindow(frame);
}

TEST_F(DialogTest, ArrowsMoveWithinAGroupAndClickRadioButtons)
{
    HWND frame = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
    HWND dlg = Create(R"(
60 DIALOG 0, 0, 200, 120
STYLE DS_CONTROL | WS_CHILD | WS_VISIBLE
BEGIN
    CONTROL "Fast", 61, "Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 5, 5, 60, 10
    CONTROL "Medium", 62, "Button", BS_AUTORADIOBUTTON, 5, 17, 60, 10
    CONTROL "Slow", 63, "Button", BS_AUTORADIOBUTTON | WS_DISABLED, 5, 29, 60, 10
    CONTROL "Off", 64, "Button", BS_AUTORADIOBUTTON, 5, 41, 60, 10
    CONTROL "Log", 65, "Button", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 5, 60, 60, 10
    CONTROL "", 66, "TestEdit", WS_GROUP | WS_TABSTOP, 5, 80, 60, 12
END)",
        60, frame);
    ASSERT_NE(dlg, nullptr);
    CheckRadioButton(dlg, 61, 64, 61);
    SetFocus(GetDlgItem(dlg, 61));
    Log().clear();
    struct Step {
        int vk;
        int focus;   // the control with the focus after the key
        int checked; // the checked radio button
    };
    const Step steps[] = {
        {VK_DOWN, 62, 62}, {VK_RIGHT, 64, 64}, // the disabled one is passed over
        {VK_DOWN, 61, 61},                     // wraps within the group
        {VK_UP, 64, 64},   {VK_LEFT, 62, 62},
    };
    for (const Step& s : steps) {
        Press(dlg, s.vk);
        EXPECT_EQ(FocusId(), s.focus) << "key " << s.vk;
        for (int id = 61; id <= 64; ++id)
            EXPECT_EQ(IsDlgButtonChecked(dlg, id), id == s.checked ? BST_CHECKED : BST_UNCHECKED) << id;
    }
    // Each move clicked the radio button it reached.
    EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{62, 0}, {64, 0}, {61, 0}, {64, 0}, {62, 0}}));
    // Only the checked radio button is a tab stop, so Tab enters the group there.
    EXPECT_FALSE(GetWindowLongPtrW(GetDlgItem(dlg, 61), GWL_STYLE) & WS_TABSTOP);
    SetFocus(GetDlgItem(dlg, 65));
    Press(dlg, VK_TAB, true);
    EXPECT_EQ(FocusId(), 62);
    // A control that wants arrows keeps them.
    SetFocus(GetDlgItem(dlg, 66));
    rec().Clear();
    Press(dlg, VK_DOWN);
    EXPECT_EQ(FocusId(), 66);
    EXPECT_TRUE(Got(GetDlgItem(dlg, 66), WM_KEYDOWN));
    DestroyWindow(frame);
}

constexpr std::string_view kButtons = R"(
70 DIALOG 0, 0, 200, 120
STYLE WS_POPUP | WS_CAPTION | WS_VISIBLE
BEGIN
    CONTROL "", 75, "TestEdit", WS_TABSTOP, 5, 5, 60, 12
    CONTROL "OK", IDOK, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 90, 40, 14
    CONTROL "Cancel", IDCANCEL, "Button", BS_PUSHBUTTON | WS_TABSTOP, 50, 90, 40, 14
    CONTROL "Three", 3, "Button", BS_PUSHBUTTON | WS_TABSTOP, 95, 90, 40, 14
    CONTROL "Four", 4, "Button", BS_PUSHBUTTON | WS_TABSTOP, 140, 90, 40, 14
END)";

TEST_F(DialogTest, EnterAndEscapeNameTheirButtons)
{
    struct Row {
        const char* name;
        std::function<void(HWND)> setup;
        int vk;
        std::vector<std::pair<int, int>> commands;
    };
    const Row rows[] = {
        {"Enter in an edit: the default button", [](HWND) {}, VK_RETURN, {{IDOK, BN_CLICKED}}},
        {"Enter after DM_SETDEFID", [](HWND d) { SendMessageW(d, DM_SETDEFID, 3, 0); }, VK_RETURN, {{3, 0}}},
        // SetFocus alone gives a push button no default look: Enter names the default.
        {"Enter on a push button focused by SetFocus: the default", [](HWND d) { SetFocus(GetDlgItem(d, 4)); },
            VK_RETURN, {{IDOK, BN_CLICKED}}},
        {"Enter on a push button the dialog manager moved to: that one", [](HWND d) {
             SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, 4)), TRUE);
         }, VK_RETURN, {{4, 0}}},
        {"Enter with the default disabled", [](HWND d) { EnableWindow(GetDlgItem(d, IDOK), FALSE); }, VK_RETURN, {}},
        {"Enter with no default: IDOK", [](HWND d) {
             SendMessageW(d, DM_SETDEFID, 0, 0);
             DestroyWindow(GetDlgItem(d, IDOK));
         }, VK_RETURN, {{IDOK, 0}}},
        {"Escape: IDCANCEL", [](HWND) {}, VK_ESCAPE, {{IDCANCEL, 0}}},
        {"Escape with Cancel disabled", [](HWND d) { EnableWindow(GetDlgItem(d, IDCANCEL), FALSE); }, VK_ESCAPE, {}},
    };
    for (const Row& row : rows) {
        HWND dlg = Create(kButtons, 70);
        ASSERT_NE(dlg, nullptr);
        ASSERT_EQ(FocusId(), 75) << row.name;
        row.setup(dlg);
        Log().clear();
        Press(dlg, row.vk);
        EXPECT_EQ(Commands(), row.commands) << row.name;
        DestroyWindow(dlg);
    }
    // A control asking for every message gets Enter itself.
    Answer() = nullptr;
    HWND dlg = Create(kButtons, 70);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        Recorder::Get().Record(h, m, wp, lp);
        return m == WM_GETDLGCODE ? DLGC_WANTALLKEYS : DefWindowProcW(h, m, wp, lp);
    };
    wc.lpszClassName = L"WantAll";
    RegisterClassExW(&wc);
    HWND all = Child(dlg, L"WantAll", L"", WS_TABSTOP, 80);
    SetFocus(all);
    Log().clear();
    rec().Clear();
    Press(dlg, VK_RETURN);
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(Got(all, WM_KEYDOWN));
    EXPECT_TRUE(Got(all, WM_CHAR)); // translated as any other message
    DestroyWindow(dlg);
}

TEST_F(DialogTest, MnemonicsWithAndWithoutAlt)
{
    HWND dlg = Create(R"(
90 DIALOG 0, 0, 200, 160
STYLE WS_POPUP | WS_CAPTION | WS_VISIBLE
BEGIN
    CONTROL "&Name:", 91, "Static", SS_LEFT, 5, 5, 40, 8
    CONTROL "", 92, "TestEdit", WS_TABSTOP, 50, 5, 60, 12
    CONTROL "&Verbose", 93, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 20, 60, 10
    CONTROL "&Apply", 94, "Button", BS_PUSHBUTTON | WS_TABSTOP, 5, 35, 40, 14
    CONTROL "&Dup", 95, "Button", BS_PUSHBUTTON | WS_TABSTOP, 50, 35, 40, 14
    CONTROL "&Dup", 96, "Button", BS_PUSHBUTTON | WS_TABSTOP, 95, 35, 40, 14
    CONTROL "&Xeno", 97, "Static", SS_LEFT | SS_NOPREFIX, 5, 55, 40, 8
    CONTROL "&Group", 98, "Button", BS_GROUPBOX, 5, 70, 100, 40
    CONTROL "Inside", 99, "Button", BS_AUTORADIOBUTTON | WS_TABSTOP, 10, 80, 60, 10
END)",
        90);
    ASSERT_NE(dlg, nullptr);
    SetFocus(GetDlgItem(dlg, 93));
    HWND edit = GetDlgItem(dlg, 92);
    struct Step {
        const char* name;
        int vk;
        bool alt;
        int focus;
        std::vector<std::pair<int, int>> commands;
    };
    const Step steps[] = {
        {"Alt+N: the label passes it to the edit", 'N', true, 92, {}},
        {"v in the edit is typed", 'V', false, 92, {}},
        {"Alt+V toggles the box", 'V', true, 93, {{93, BN_CLICKED}}},
        {"a from the box clicks Apply", 'A', false, 94, {{94, BN_CLICKED}}},
        {"Alt+D: two owners, focus only", 'D', true, 95, {}},
        {"Alt+D again: the next one", 'D', true, 96, {}},
        {"Alt+D cycles", 'D', true, 95, {}},
        {"Alt+X: SS_NOPREFIX has none", 'X', true, 95, {}},
        {"q matches nothing", 'Q', false, 95, {}},
        {"Alt+G: the group box passes it on", 'G', true, 99, {}},
    };
    for (const Step& s : steps) {
        Log().clear();
        rec().Clear();
        Press(dlg, s.vk, false, s.alt);
        EXPECT_EQ(FocusId(), s.focus) << s.name;
        EXPECT_EQ(Commands(), s.commands) << s.name;
        if (s.focus == 92 && !s.alt) {
            EXPECT_TRUE(Got(edit, WM_CHAR)) << s.name;
        }
    }
    EXPECT_EQ(IsDlgButtonChecked(dlg, 93), BST_CHECKED);
    DestroyWindow(dlg);
}

TEST_F(DialogTest, TheDefaultLookFollowsTheFocusAmongPushButtons)
{
    HWND dlg = Create(kButtons, 70);
    ASSERT_NE(dlg, nullptr);
    HWND ok = GetDlgItem(dlg, IDOK), cancel = GetDlgItem(dlg, IDCANCEL), three = GetDlgItem(dlg, 3);
    EXPECT_EQ(SendMessageW(dlg, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    struct Step {
        const char* name;
        std::function<void()> act;
        HWND looks;
    };
    // The look moves only with the dialog manager's navigation (Tab goes through
    // WM_NEXTDLGCTL, which the procedure sees); a focus set by SetFocus or a click leaves it.
    const Step steps[] = {
        {"Tab to OK", [&] { Press(dlg, VK_TAB); }, ok},
        {"Tab to Cancel", [&] { Press(dlg, VK_TAB); }, cancel},
        {"Tab to Three", [&] { Press(dlg, VK_TAB); }, three},
        {"SetFocus back to the edit: the look stays", [&] { SetFocus(GetDlgItem(dlg, 75)); }, three},
        {"WM_NEXTDLGCTL to the edit: the default again", [&] {
             SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, 75)), TRUE);
         }, ok},
        {"SetFocus on Four: no look", [&] { SetFocus(GetDlgItem(dlg, 4)); }, ok},
        {"Shift+Tab from Four to Three", [&] { Press(dlg, VK_TAB, true); }, three},
        {"DM_SETDEFID moves it", [&] { SendMessageW(dlg, DM_SETDEFID, 3, 0); }, three},
        {"a click on Cancel", [&] {
             RECT r;
             GetWindowRect(cancel, &r);
             user::InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
             PumpDialog(dlg);
         }, three},
        {"WM_NEXTDLGCTL to the edit", [&] { SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, 75)), TRUE); }, three},
    };
    for (const Step& s : steps) {
        Log().clear();
        s.act();
        int nextDlgCtl = 0, getDefId = 0;
        for (const Rec& r : Log()) {
            nextDlgCtl += r.msg == WM_NEXTDLGCTL && r.lp == FALSE;
            getDefId += r.msg == DM_GETDEFID;
        }
        EXPECT_EQ(nextDlgCtl, std::string_view(s.name).find("Tab") != std::string_view::npos ? 1 : 0) << s.name;
        EXPECT_EQ(getDefId, 0) << s.name << ": the procedure is not asked on a focus move";
        for (HWND b : {ok, cancel, three, GetDlgItem(dlg, 4)}) {
            EXPECT_EQ(LooksDefault(b), b == s.looks) << s.name << ": button " << GetDlgCtrlID(b);
            const UINT code = static_cast<UINT>(SendMessageW(b, WM_GETDLGCODE, 0, 0));
            EXPECT_EQ((code & DLGC_DEFPUSHBUTTON) != 0, b == s.looks) << s.name;
        }
    }
    EXPECT_EQ(SendMessageW(dlg, DM_GETDEFID, 0, 0), MAKELRESULT(3, DC_HASDEFID));
    // WM_NEXTDLGCTL without a handle steps through the tab order.
    SendMessageW(dlg, WM_NEXTDLGCTL, 0, FALSE);
    EXPECT_EQ(GetFocus(), ok);
    SendMessageW(dlg, WM_NEXTDLGCTL, 1, FALSE);
    EXPECT_EQ(FocusId(), 75);
    DestroyWindow(dlg);
}

} // namespace
} // namespace zyn::test
